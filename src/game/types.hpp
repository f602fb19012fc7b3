#pragma once
#include <cstdint>

namespace rules {

inline constexpr int kColumns = 10;
inline constexpr int kRows = 10;
inline constexpr int kCellCount = kColumns * kRows;

// Every per-cell array runs column by column: column 0 rows 0..9, then column 1, and so on.
constexpr int cellIndex(int column, int row) { return column * kRows + row; }

enum class GameMode : int32_t { Action = 0, Strategy = 1, Puzzle = 2, ActionPuzzle = 3 };
inline constexpr int kModeCount = 4;

// Levels come in groups of five, of ten in ActionPuzzle; per-group tables are indexed by this.
constexpr int levelGroupSize(GameMode mode) { return mode == GameMode::ActionPuzzle ? 10 : 5; }
constexpr int levelGroup(GameMode mode, int level) { return (level - 1) / levelGroupSize(mode); }
inline constexpr int kLevelGroups = 5;
// The entry of a five-entry group table (SWAP, TIMEbonus, MOVEbonus) for a level. A level file may
// define levels past the last group; they use the last group's entry.
constexpr int groupEntry(GameMode mode, int level) {
    const int group = levelGroup(mode, level);
    return group < 0 ? 0 : group >= kLevelGroups ? kLevelGroups - 1 : group;
}

constexpr bool isTimed(GameMode mode) { return mode == GameMode::Action || mode == GameMode::ActionPuzzle; }
constexpr bool isRefilled(GameMode mode) { return mode == GameMode::Action || mode == GameMode::Strategy; }

// The states of the level sequence. The numbers missing (7, 8 and 11) are not level states: they
// name screens around the play screen in the simulator's reports.
enum PlayState : int32_t {
    StateLevelStart = 0,
    StateBoardFill = 1,
    StatePlaying = 2,
    StateSettling = 3,
    StateRotating = 4,
    StateLevelOver = 5,
    StateFallOut = 6,
    StateLevelAdvance = 9,
    StateIntermission = 10,
    StateShuffle = 12,
};

// As seen on screen. The left mouse button and the Left key turn counter-clockwise.
enum class Direction : int32_t { CounterClockwise = 0, Clockwise = 1 };

enum BonusKind : uint8_t {
    BonusNone = 0,
    BonusExplode = 1,
    BonusColor = 2,
    BonusFreeze = 3,
    BonusUniversal = 4,
    BonusScoreBoost = 5,
};
inline constexpr int kBonusKindCount = 5;

}  // namespace rules
