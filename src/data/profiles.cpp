#include "data/profiles.hpp"

#include <algorithm>

#include "data/byte_fields.hpp"

namespace data {

namespace {

// Header layout.
constexpr size_t kWindowedAt = 0;        // int32, only the lowest byte counts
constexpr size_t kMusicVolumeAt = 4;     // int32
constexpr size_t kMusicSliderXAt = 8;    // int32
constexpr size_t kSoundVolumeAt = 12;    // int32
constexpr size_t kSoundSliderXAt = 16;   // int32
constexpr size_t kCurrentPlayerAt = 20;  // uint8

// Record layout: the fields of one mode are spread over the record, and the modes do not come in
// the same order in every group of fields.
constexpr size_t kRunIdAt = 0;      // int32
constexpr size_t kNameAt = 4;       // 15 bytes
constexpr size_t kReservedAt = 22;  // 2 bytes
constexpr size_t kToShowTipsAt = 1872;
constexpr size_t kShowHelpAt = 1873;
constexpr size_t kOwnCursorAt = 1874;
constexpr size_t kShuffleTipAt = 1875;

struct SavedRunLayout {
    size_t level;               // int8
    size_t total;               // int32
    size_t levelScore;          // int32
    size_t elapsedOrMovesLeft;  // int32
    size_t runes;               // int32
    size_t board;               // 100 bytes
    size_t bonusLayer;          // 100 bytes
    size_t cellTimes;           // 100 int32
};

constexpr SavedRunLayout kActionLayout{19, 24, 36, 40, 60, 72, 372, 672};
constexpr SavedRunLayout kStrategyLayout{20, 28, 52, 56, 64, 272, 572, 1472};
constexpr SavedRunLayout kActionPuzzleLayout{21, 32, 44, 48, 68, 172, 472, 1072};

void readSavedRun(std::span<const uint8_t> record, const SavedRunLayout& at, SavedRun& run) {
    run.level = static_cast<int8_t>(record[at.level]);
    run.total = readInt32(record, at.total);
    run.levelScore = readInt32(record, at.levelScore);
    run.elapsedOrMovesLeft = readInt32(record, at.elapsedOrMovesLeft);
    run.runes = readInt32(record, at.runes);
    readBytes(record, at.board, run.board);
    readBytes(record, at.bonusLayer, run.bonusLayer);
    for (size_t i = 0; i < run.cellTimes.size(); ++i) run.cellTimes[i] = readInt32(record, at.cellTimes + 4 * i);
}

void writeSavedRun(std::span<uint8_t> record, const SavedRunLayout& at, const SavedRun& run) {
    record[at.level] = static_cast<uint8_t>(run.level);
    writeInt32(record, at.total, run.total);
    writeInt32(record, at.levelScore, run.levelScore);
    writeInt32(record, at.elapsedOrMovesLeft, run.elapsedOrMovesLeft);
    writeInt32(record, at.runes, run.runes);
    writeBytes(record, at.board, run.board);
    writeBytes(record, at.bonusLayer, run.bonusLayer);
    for (size_t i = 0; i < run.cellTimes.size(); ++i) writeInt32(record, at.cellTimes + 4 * i, run.cellTimes[i]);
}

PlayerProfile readRecord(std::span<const uint8_t> record) {
    PlayerProfile p;
    p.runId = readInt32(record, kRunIdAt);
    readBytes(record, kNameAt, p.nameField);
    readBytes(record, kReservedAt, p.reserved);
    readSavedRun(record, kActionLayout, p.action);
    readSavedRun(record, kStrategyLayout, p.strategy);
    readSavedRun(record, kActionPuzzleLayout, p.actionPuzzle);
    p.toShowTips = record[kToShowTipsAt];
    p.showHelpBeforeGame = record[kShowHelpAt];
    p.ownCursor = record[kOwnCursorAt];
    p.shuffleTipShown = record[kShuffleTipAt];
    return p;
}

void writeRecord(std::span<uint8_t> record, const PlayerProfile& p) {
    writeInt32(record, kRunIdAt, p.runId);
    writeBytes(record, kNameAt, p.nameField);
    writeBytes(record, kReservedAt, p.reserved);
    writeSavedRun(record, kActionLayout, p.action);
    writeSavedRun(record, kStrategyLayout, p.strategy);
    writeSavedRun(record, kActionPuzzleLayout, p.actionPuzzle);
    record[kToShowTipsAt] = p.toShowTips;
    record[kShowHelpAt] = p.showHelpBeforeGame;
    record[kOwnCursorAt] = p.ownCursor;
    record[kShuffleTipAt] = p.shuffleTipShown;
}

}  // namespace

std::string PlayerProfile::name() const {
    const auto end = std::find(nameField.begin(), nameField.end(), uint8_t{0});
    return std::string(nameField.begin(), end);
}

void PlayerProfile::setName(std::string_view name) {
    const size_t kept = std::min(name.size(), kNameFieldSize - 1);
    std::copy_n(name.begin(), kept, nameField.begin());
    nameField[kept] = 0;
}

SavedRun* PlayerProfile::savedRun(rules::GameMode mode) {
    return const_cast<SavedRun*>(static_cast<const PlayerProfile*>(this)->savedRun(mode));
}

const SavedRun* PlayerProfile::savedRun(rules::GameMode mode) const {
    switch (mode) {
        case rules::GameMode::Action: return &action;
        case rules::GameMode::Strategy: return &strategy;
        case rules::GameMode::ActionPuzzle: return &actionPuzzle;
        case rules::GameMode::Puzzle: break;
    }
    return nullptr;
}

PlayerProfile* currentProfile(Profiles& profiles) {
    return const_cast<PlayerProfile*>(currentProfile(static_cast<const Profiles&>(profiles)));
}

const PlayerProfile* currentProfile(const Profiles& profiles) {
    return profiles.currentPlayer < profiles.players.size() ? &profiles.players[profiles.currentPlayer] : nullptr;
}

int savedLevel(const PlayerProfile& profile, rules::GameMode mode) {
    const SavedRun* run = profile.savedRun(mode);
    return run != nullptr && run->level > 0 ? run->level : 0;
}

Profiles parseProfiles(std::span<const uint8_t> bytes) {
    Profiles profiles;
    if (bytes.size() < kProfileHeaderSize) return profiles;
    profiles.windowed = bytes[kWindowedAt] != 0;
    profiles.musicVolume = readInt32(bytes, kMusicVolumeAt);
    profiles.musicSliderX = readInt32(bytes, kMusicSliderXAt);
    profiles.soundVolume = readInt32(bytes, kSoundVolumeAt);
    profiles.soundSliderX = readInt32(bytes, kSoundSliderXAt);
    profiles.currentPlayer = bytes[kCurrentPlayerAt];
    for (size_t at = kProfileHeaderSize; bytes.size() - at >= kProfileRecordSize; at += kProfileRecordSize)
        profiles.players.push_back(readRecord(bytes.subspan(at, kProfileRecordSize)));
    if (profiles.currentPlayer >= profiles.players.size()) profiles.currentPlayer = 0;
    return profiles;
}

std::vector<uint8_t> serialiseProfiles(const Profiles& profiles) {
    std::vector<uint8_t> bytes(kProfileHeaderSize + profiles.players.size() * kProfileRecordSize);
    const std::span<uint8_t> all(bytes);
    writeInt32(all, kWindowedAt, profiles.windowed ? 1 : 0);
    writeInt32(all, kMusicVolumeAt, profiles.musicVolume);
    writeInt32(all, kMusicSliderXAt, profiles.musicSliderX);
    writeInt32(all, kSoundVolumeAt, profiles.soundVolume);
    writeInt32(all, kSoundSliderXAt, profiles.soundSliderX);
    all[kCurrentPlayerAt] = profiles.currentPlayer;
    for (size_t i = 0; i < profiles.players.size(); ++i)
        writeRecord(all.subspan(kProfileHeaderSize + i * kProfileRecordSize, kProfileRecordSize), profiles.players[i]);
    return bytes;
}

void loadProfiles(const GameFolder& folder, Profiles& profiles, HighScores& highScores) {
    loadHighScores(folder, highScores);
    const std::filesystem::path file = folder.resolveWritable(kProfileFile);
    const auto bytes = readWholeFile(file, kProfileFileLimit);
    profiles = bytes ? parseProfiles(*bytes) : Profiles{};
    profiles.keepFile = !bytes && unreadableFile(file);
}

WriteResult saveAll(const GameFolder& folder, const Profiles& profiles, const HighScores& highScores) {
    const std::vector<uint8_t> bytes = serialiseProfiles(profiles);
    WriteResult result = profiles.keepFile ? keptUnread(kProfileFile) : writeFileAtomically(folder.writable(kProfileFile), bytes);
    const WriteResult scores = writeHighScores(folder, highScores);
    if (!scores.ok) {
        result.ok = false;
        result.error += (result.error.empty() ? "" : "; ") + scores.error;
    }
    return result;
}

}  // namespace data
