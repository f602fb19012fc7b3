#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/file_io.hpp"
#include "data/game_folder.hpp"
#include "data/high_scores.hpp"
#include "game/types.hpp"

namespace data {

// "profile\profile": a 21-byte header of machine-wide settings, then one 1876-byte record per
// player, back to back, little-endian.
inline constexpr size_t kProfileHeaderSize = 21;
inline constexpr size_t kProfileRecordSize = 1876;
inline constexpr size_t kNameFieldSize = 15;
inline constexpr size_t kMaxNameLength = 12;  // what name entry accepts
// The current player is stored in one byte; the list is held to 255 players, so the count fits in
// it as well as every index. A file with more still loads whole; no more are created then.
inline constexpr size_t kMaxPlayers = 255;
// Larger files are not ours: they read as missing.
inline constexpr size_t kProfileFileLimit = 32u << 20;
inline constexpr const char* kProfileFile = "profile\\profile";

// One mode's saved run inside a player's record.
struct SavedRun {
    int8_t level = 0;        // the level to resume, 1..127; 0: no saved run
    int32_t total = 0;       // the run's total score
    int32_t levelScore = 0;  // points earned so far in the saved level
    // Seconds of the level's time already used (Action, ActionPuzzle), or the moves still
    // available (Strategy).
    int32_t elapsedOrMovesLeft = 0;
    int32_t runes = 0;  // the rune meter
    std::array<uint8_t, rules::kCellCount> board{};
    std::array<uint8_t, rules::kCellCount> bonusLayer{};
    std::array<int32_t, rules::kCellCount> cellTimes{};  // bonus timers as ages, not clock values

    bool operator==(const SavedRun&) const = default;
};

// One player. A new player is all zeros but for the three options that default to on. Every byte
// of the record is held here, so a record read and written back comes out byte for byte the same,
// the reserved bytes and whatever follows a name's terminator included.
struct PlayerProfile {
    int32_t runId = 0;                                // the player's current run; links it to its high-score entry
    std::array<uint8_t, kNameFieldSize> nameField{};  // the name, its terminator, and what follows
    std::array<uint8_t, 2> reserved{};
    SavedRun action;
    SavedRun strategy;
    SavedRun actionPuzzle;
    uint8_t toShowTips = 1;
    uint8_t showHelpBeforeGame = 1;
    uint8_t ownCursor = 1;
    uint8_t shuffleTipShown = 0;

    // The name up to its terminator. A damaged record may have none: the name then ends with the
    // field.
    std::string name() const;
    // Stores `name` (at most 14 bytes are kept) and a terminator; the bytes after it stay.
    void setName(std::string_view name);

    // The saved run of a mode; Puzzle keeps none.
    SavedRun* savedRun(rules::GameMode mode);
    const SavedRun* savedRun(rules::GameMode mode) const;

    bool operator==(const PlayerProfile&) const = default;
};

// The whole profile file: the machine-wide settings and the players.
struct Profiles {
    bool windowed = false;       // stored as an int32 of which only the lowest byte counts
    int32_t musicVolume = 50;    // percent
    int32_t musicSliderX = 400;  // the options screen's knob positions, kept beside the volumes
    int32_t soundVolume = 50;
    int32_t soundSliderX = 400;
    uint8_t currentPlayer = 0;  // index into players
    std::vector<PlayerProfile> players;
    // The file was there but could not be read: saves do not put the defaults in its place.
    bool keepFile = false;

    bool operator==(const Profiles&) const = default;
};

// The current player, or null when there is none. An index past the end of the list (possible
// for a moment while the player screen rearranges the list) has no player either.
PlayerProfile* currentProfile(Profiles& profiles);
const PlayerProfile* currentProfile(const Profiles& profiles);

// The level a player's saved run of `mode` continues at; 0 when there is none (Puzzle, or a
// damaged negative level byte).
int savedLevel(const PlayerProfile& profile, rules::GameMode mode);

// The file's bytes as profiles. A file shorter than its header gives the defaults (full screen,
// volumes 50, knobs at 400, no players); a trailing piece shorter than a record is dropped; a
// current player past the end of the list becomes player 0.
Profiles parseProfiles(std::span<const uint8_t> bytes);
std::vector<uint8_t> serialiseProfiles(const Profiles& profiles);

// Program start, before the window exists: the high-score tables, then the profile file. Missing
// or unreadable files give empty tables and the default profile settings.
void loadProfiles(const GameFolder& folder, Profiles& profiles, HighScores& highScores);

// Writes the profile file and then the three high-score files, each one atomically. All four are
// attempted; the result names every file that could not be written.
WriteResult saveAll(const GameFolder& folder, const Profiles& profiles, const HighScores& highScores);

}  // namespace data
