#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "game/level_types.hpp"
#include "game/types.hpp"

namespace levelbot {

// The look-ahead bot, a random clicker, and a player who plays the game's own move hint each time
// (the hint finder's move; a random click where there is none).
enum class PlayerKind { Bot, Random, Hints };

// A level file read for playing: its levels and file-wide settings.
struct LevelSet {
    rules::LevelTable levels;
    rules::LevelSettings settings;
};

// Reads a level file with the game's own reader. False when it cannot be read.
bool readLevelSet(const std::filesystem::path& file, LevelSet& set);

inline constexpr uint32_t kHumanPaceMs = 1000;  // one move a second in the timed modes

// One try at one level.
struct AttemptSetup {
    rules::GameMode mode = rules::GameMode::Action;
    int32_t level = 1;
    uint32_t seed = 1;
    PlayerKind player = PlayerKind::Bot;
    // Least time between the starts of two moves in the timed modes; the move modes are played as
    // fast as the board takes moves.
    uint32_t paceMs = kHumanPaceMs;
    // Play on to the limit with the target out of reach, recording when each level of progress was
    // reached: one such try answers "would it have been won" for every target at once, because
    // neither the rules nor the players look at the target before it is reached.
    bool openTarget = false;
};

// Progress reached and what was left of the limit at that moment.
struct Milestone {
    double progress = 0;
    double left = 0;
};

struct AttemptResult {
    bool won = false;
    bool stuck = false;   // ActionPuzzle: no colour had four balls left (the level is lost)
    bool cutOff = false;  // the level had not ended after a generous bound of game time
    double progress = 0;  // the best score (refilled modes) or number of empty cells reached
    double left = 0;      // seconds or moves left when the level was won; 0 when lost
    int32_t limit = 0;
    int32_t moves = 0;  // block and board turns made
    int32_t shuffles = 0;
    uint32_t gameMs = 0;                // game time from the level's set-up to its end
    std::vector<Milestone> milestones;  // every rise of progress, in order
};

// Where a try's game starts from: `gameRoot` is the game folder the start-up reads (pictures and
// sounds may be missing there: the rules do not need them), `writeRoot` takes the files the game
// writes.
struct GameFolders {
    std::filesystem::path gameRoot;
    std::filesystem::path writeRoot;
};

// Plays one try: a game started as the game starts, on a headless platform with the virtual clock
// and simulated sound, set to the level as a new game would be, then driven tick by tick through the
// game's own frame tick and window procedure. Each try has its own game, clock and generator seed,
// so it depends only on its setup and the level set.
AttemptResult playAttempt(const LevelSet& set, const GameFolders& folders, const AttemptSetup& setup);

}  // namespace levelbot
