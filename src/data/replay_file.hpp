#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "game/state.hpp"

namespace data {

// A replay file holds one level as it was played: what the level started from, every message the
// game read while it ran (with the clock, the pointer and the keyboard's Escape as the game saw
// them at that message), and how the level ended. The layout is in docs/replays.md.
inline constexpr std::array<uint8_t, 4> kReplayMagic{'L', 'M', 'R', 'P'};
inline constexpr uint16_t kReplayVersion = 1;
inline constexpr size_t kReplayFileLimit = 16u << 20;

// One message: a frame tick, or an input message in the window's terms (the flow's InputEvent,
// field by field, so that this room needs no window).
struct ReplayInput {
    enum class Kind : uint8_t { Tick = 0, Event = 1 };
    Kind kind = Kind::Tick;
    uint32_t time = 0;  // the clock as the game read it during the message
    int32_t pointerX = 0;
    int32_t pointerY = 0;
    bool escapeDown = false;
    bool surfacesLost = false;
    // Kind::Event only.
    uint8_t eventType = 0;
    uint8_t button = 0;
    uint8_t clicks = 1;
    uint8_t key = 0;
    uint8_t character = 0;
    uint8_t shift = 0;  // Shift held with the key
    uint8_t pad = 0;    // the controller's button
    int32_t atX = 0;
    int32_t atY = 0;
    bool operator==(const ReplayInput&) const = default;
};

// What the level started from.
struct ReplayStart {
    uint64_t levelsHash = 0;       // of "ini\levels.txt" as the game read it
    int64_t recordedAt = 0;        // seconds since 1970, for the player's eyes only
    int32_t runId = 0;             // the run, to find the level of a high-score entry
    std::string playerName;        // the current player's name, empty without one
    uint32_t startTime = 0;        // the clock when the level's first message began
    int64_t tickNumber = 0;        // the frame ticks run before it
    bool playFrameBefore = false;  // the tick before it was a play frame
    bool suspended = false;        // the window was in the background
    bool pausedByFocus = false;
    bool graphicsLoaded = true;
    uint32_t activatedAt = 0;
    uint8_t swallowedCharacter = 0;
    bool toShowTips = true;  // the player's options the level reads
    bool shuffleTipShown = false;
    bool colourSymbols = false;
    bool moveHints = false;
    int32_t cursorColumn = 2;  // the block cursor of the controller and the keys
    int32_t cursorRow = 2;
    bool cursorShown = false;
    std::vector<uint32_t> random;      // the game's generator
    std::vector<uint32_t> decoration;  // the decoration's generator
    rules::GameState state;            // without the level file's tables
};

enum class ReplayEndKind : uint8_t { Won = 1, Lost = 2, Left = 3, Closed = 4 };

// How the level ended, for a replay to be checked against.
struct ReplayEnd {
    ReplayEndKind kind = ReplayEndKind::Won;
    int32_t playState = 0;
    int32_t levelScore = 0;
    int32_t totalScore = 0;
    std::array<uint8_t, rules::kCellCount> cells{};
    bool operator==(const ReplayEnd&) const = default;
};

struct Replay {
    ReplayStart start;
    std::vector<ReplayInput> inputs;
    std::optional<ReplayEnd> end;  // none in a file cut short (a crash)
};

enum class ReplayStatus { Complete, Incomplete, Missing, NotAReplay, OtherVersion, Damaged, TooLarge };

struct ReplayRead {
    ReplayStatus status = ReplayStatus::Missing;
    Replay replay;  // what could be read; playable when Complete or Incomplete
    bool playable() const { return status == ReplayStatus::Complete || status == ReplayStatus::Incomplete; }
};

// The start of a file: magic, version, the start block and its checksum.
std::vector<uint8_t> encodeReplayStart(const ReplayStart& start);
// Appends one message, written as its difference from the message before it (`previous`; for the
// first message a ReplayInput at the start time with the pointer at 0,0).
void encodeReplayInput(std::vector<uint8_t>& out, const ReplayInput& previous, const ReplayInput& input);
// Appends the end record; `file` holds every byte written before it (its checksum covers them).
void encodeReplayEnd(std::vector<uint8_t>& file, const ReplayEnd& end);
// The first message's `previous`.
ReplayInput firstPrevious(const ReplayStart& start);

ReplayRead parseReplay(std::span<const uint8_t> bytes);
ReplayRead readReplay(const std::filesystem::path& file);

// One line for the player or the log: what kind of file this was.
std::string describeReplayStatus(ReplayStatus status);

// FNV-1a, 64 bits: the level file's fingerprint.
uint64_t hashBytes(std::span<const uint8_t> bytes);

// The name a finished level's file takes in the replays folder, and what a name says: the order
// of recording, the high-score table, the run and the level's score. Files of other names are left
// alone.
struct ReplayName {
    uint64_t sequence = 0;
    int32_t table = 0;
    int32_t runId = 0;
    int32_t levelScore = 0;
    bool operator==(const ReplayName&) const = default;
};
std::string replayFileName(const ReplayName& name);
std::optional<ReplayName> parseReplayFileName(const std::string& fileName);

// Which of the folder's files stay: the `keepLast` most recent, and for every (table, run) in
// `entries` the file of its best level (the latest of equal scores).
struct ReplayEntryKey {
    int32_t table = 0;
    int32_t runId = 0;
};
std::vector<ReplayName> replaysToRemove(const std::vector<ReplayName>& files, const std::vector<ReplayEntryKey>& entries,
                                        size_t keepLast);
// The file of an entry's best level, if it is kept.
std::optional<ReplayName> bestReplayOf(const std::vector<ReplayName>& files, ReplayEntryKey entry);

}  // namespace data
