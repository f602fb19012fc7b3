#include "data/high_scores.hpp"

#include <algorithm>

#include "data/byte_fields.hpp"

namespace data {

namespace {

// Entry layout.
constexpr size_t kRunIdAt = 0;  // int32
constexpr size_t kScoreAt = 4;  // uint32
constexpr size_t kNameAt = 8;   // 16 bytes, NUL-terminated

std::string boundedName(std::span<const uint8_t> field) {
    const auto end = std::find(field.begin(), field.end(), uint8_t{0});
    return std::string(field.begin(), end);
}

}  // namespace

std::string HighScoreEntry::name() const { return boundedName(nameField); }

int highScoreTableIndex(rules::GameMode mode) {
    switch (mode) {
        case rules::GameMode::ActionPuzzle: return 1;
        case rules::GameMode::Strategy: return 2;
        default: return 0;
    }
}

std::string highScoreFileName(int table) { return "profile\\hi0x0" + std::to_string(table); }

HighScoreTable& highScoreTable(HighScores& highScores, rules::GameMode mode) {
    return highScores.tables[static_cast<size_t>(highScoreTableIndex(mode))];
}

const HighScoreTable& highScoreTable(const HighScores& highScores, rules::GameMode mode) {
    return highScores.tables[static_cast<size_t>(highScoreTableIndex(mode))];
}

HighScoreTable parseHighScores(std::span<const uint8_t> bytes) {
    HighScoreTable table;
    for (size_t at = 0; bytes.size() - at >= kHighScoreEntrySize; at += kHighScoreEntrySize) {
        const std::span<const uint8_t> entry = bytes.subspan(at, kHighScoreEntrySize);
        HighScoreEntry e;
        e.runId = readInt32(entry, kRunIdAt);
        e.score = readUint32(entry, kScoreAt);
        readBytes(entry, kNameAt, e.nameField);
        table.push_back(e);
    }
    return table;
}

std::vector<uint8_t> serialiseHighScores(const HighScoreTable& table) {
    std::vector<uint8_t> bytes(table.size() * kHighScoreEntrySize);
    for (size_t i = 0; i < table.size(); ++i) {
        const std::span<uint8_t> entry = std::span(bytes).subspan(i * kHighScoreEntrySize, kHighScoreEntrySize);
        writeInt32(entry, kRunIdAt, table[i].runId);
        writeUint32(entry, kScoreAt, table[i].score);
        writeBytes(entry, kNameAt, table[i].nameField);
    }
    return bytes;
}

void loadHighScores(const GameFolder& folder, HighScores& highScores) {
    for (int t = 0; t < kHighScoreTables; ++t) {
        const std::filesystem::path file = folder.resolveWritable(highScoreFileName(t));
        const auto bytes = readWholeFile(file, kHighScoreFileLimit);
        highScores.tables[static_cast<size_t>(t)] = bytes ? parseHighScores(*bytes) : HighScoreTable{};
        highScores.keepFile[static_cast<size_t>(t)] = !bytes && unreadableFile(file);
    }
}

WriteResult writeHighScores(const GameFolder& folder, const HighScores& highScores) {
    WriteResult all;
    for (int t = 0; t < kHighScoreTables; ++t) {
        const std::vector<uint8_t> bytes = serialiseHighScores(highScores.tables[static_cast<size_t>(t)]);
        const WriteResult one = highScores.keepFile[static_cast<size_t>(t)]
                                    ? keptUnread(highScoreFileName(t))
                                    : writeFileAtomically(folder.writable(highScoreFileName(t)), bytes);
        if (!one.ok) {
            all.ok = false;
            all.error += (all.error.empty() ? "" : "; ") + one.error;
        }
    }
    return all;
}

bool enterHighScore(HighScoreTable& table, int32_t runId, std::string_view name, uint32_t total) {
    const auto own =
        std::find_if(table.begin(), table.end(), [&](const HighScoreEntry& e) { return e.runId == runId && e.name() == name; });
    if (own != table.end()) {
        if (own->score >= total) return false;
        own->score = total;
    } else {
        if (table.size() >= kHighScoreTableSize) {
            // The first of several equal lowest scores goes.
            const auto lowest = std::min_element(
                table.begin(), table.end(), [](const HighScoreEntry& a, const HighScoreEntry& b) { return a.score < b.score; });
            if (lowest->score > total) return false;
            table.erase(lowest);
        }
        HighScoreEntry entry;
        entry.runId = runId;
        entry.score = total;
        const size_t kept = std::min(name.size(), kHighScoreNameSize - 1);
        std::copy_n(name.begin(), kept, entry.nameField.begin());
        table.push_back(entry);
    }
    // Best first; of two equal scores the older entry stays above.
    std::stable_sort(table.begin(), table.end(),
                     [](const HighScoreEntry& a, const HighScoreEntry& b) { return a.score > b.score; });
    return true;
}

void clearHighScores(HighScores& highScores, rules::GameMode mode) { highScoreTable(highScores, mode).clear(); }

}  // namespace data
