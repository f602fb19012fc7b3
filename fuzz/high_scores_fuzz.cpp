// "profile\hi0x00" to "hi0x02": a high-score table from any bytes, back to bytes, and a run entered
// into it.
#include <algorithm>
#include <span>

#include "data/high_scores.hpp"
#include "fuzz_check.hpp"

namespace {

bool bestFirst(const data::HighScoreTable& table) {
    return std::is_sorted(table.begin(), table.end(),
                          [](const data::HighScoreEntry& a, const data::HighScoreEntry& b) { return a.score > b.score; });
}

bool holds(const data::HighScoreTable& table, int32_t runId, std::string_view name, uint32_t score) {
    return std::any_of(table.begin(), table.end(),
                       [&](const data::HighScoreEntry& e) { return e.runId == runId && e.name() == name && e.score == score; });
}

// Enters a run and checks what a table may become: unchanged when the run is refused, otherwise best
// first, at most one entry longer, and holding the run with at least its total.
void enter(data::HighScoreTable table, int32_t runId, std::string_view name, uint32_t total) {
    const data::HighScoreTable before = table;
    const bool changed = data::enterHighScore(table, runId, name, total);
    if (!changed) {
        FUZZ_CHECK(table == before);
        return;
    }
    FUZZ_CHECK(bestFirst(table));
    FUZZ_CHECK(table.size() == before.size() || (table.size() == before.size() + 1 && before.size() < data::kHighScoreTableSize));
    // A new entry keeps the first 15 bytes of the name.
    FUZZ_CHECK(holds(table, runId, name, total) || holds(table, runId, name.substr(0, data::kHighScoreNameSize - 1), total));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const data::HighScoreTable table = data::parseHighScores(std::span<const uint8_t>(data, size));
    // Whole entries in file order, written back byte for byte.
    const size_t entries = size / data::kHighScoreEntrySize;
    FUZZ_CHECK(table.size() == entries);
    const std::vector<uint8_t> written = data::serialiseHighScores(table);
    FUZZ_CHECK(written.size() == entries * data::kHighScoreEntrySize && std::equal(written.begin(), written.end(), data));
    for (const data::HighScoreEntry& e : table) FUZZ_CHECK(e.name().size() <= data::kHighScoreNameSize);

    // A run already in the table beats its score by one; a new run comes with the first entry's
    // score, and with nothing.
    if (!table.empty()) {
        const data::HighScoreEntry& first = table[data[0] % table.size()];
        const std::string name = first.name();
        if (first.score < UINT32_MAX) enter(table, first.runId, name, first.score + 1);
        enter(table, first.runId ^ 0x5a5a5a5a, "NEWCOMER", first.score);
    }
    enter(table, 7, "NEWCOMER", 0);
    enter(table, 7, "A NAME OF SIXTEEN", 100);
    return 0;
}
