#pragma once
#include <array>
#include <cstdint>

#include "game/board.hpp"
#include "game/clock.hpp"
#include "game/level_types.hpp"
#include "game/random.hpp"
#include "game/sound_ids.hpp"
#include "game/types.hpp"

namespace game {

// Hover glow of a button: state 0 off, 1 mouse over, 2 fading out; frame 0..5.
struct GlowPair {
    int32_t state = 0;
    int32_t frame = 0;
    bool operator==(const GlowPair&) const = default;
};

struct PendingBlockTurn {
    bool active = false;
    int32_t blockColumn = 0;  // 0..4
    int32_t blockRow = 0;     // 0..4
    Direction direction = Direction::CounterClockwise;
    int32_t frame = 0;        // 0..5
};

struct BoardTurn {
    Direction direction = Direction::CounterClockwise;
    int32_t frame = 0;  // 0..6, live while playState is StateRotating
};

struct MoveState {
    PendingBlockTurn pendingBlockTurn;
    BoardTurn boardTurn;
    bool moveMade = false;               // a move that counts; consumed by the mode rules each frame
    uint32_t lastBoardClickTime = 0;
    bool lastBoardClickTimeSet = false;  // the first board click ever starts the 2000 ms window
};

// One of the 18 slots of the rune meter: state 0 dark, 1 lit, 2 fading; and its animation counter.
struct RuneSlot {
    int32_t state = 0;
    int32_t counter = 0;
};
inline constexpr int kRuneSlots = 18;

// The fall animation and the board step it paces.
struct FallState {
    int32_t fallOffset = 28;    // pixels the falling balls are drawn below their cells, 0..28
    bool fallStepDue = true;    // a 28-pixel drop has been drawn; the arrays may move
    bool fallPrimed = false;    // the first drop of this fall has been animated
    int32_t fallSoundIndex = 0; // which falling sound the next step plays, 0..4
};

// How the current level runs and ends.
struct LevelState {
    int32_t nextLevel = 1;
    int32_t currentLevel = 0;
    int32_t levelScore = 0;
    int32_t totalScore = 0;
    int32_t target = 0;
    int32_t limit = 0;
    float remaining = 0;          // whole seconds left, or moves left
    int32_t progressPercent = 0;
    uint32_t levelStartTime = 0;  // may lie ahead of now after startPlay: compare signed
    bool freezeOn = false;
    uint32_t freezeStart = 0;
    bool thawOn = false;
    uint32_t thawStart = 0;
    uint32_t pauseStart = 0;
    bool levelWon = true;         // no level has ended yet in this run of the program
    bool levelRunning = false;
    float endBonusBase = 0;
    float endBonusShown = 0;
    int32_t endTotalScore = 0;    // totalScore when the level ended; the end bonus adds to it
    bool resumeSaved = false;
    bool inResumedLevel = false;
    int32_t currentRunId = 0;
    int32_t passPoints = 0;
    int32_t passFigures = 0;
    LevelDefinition definition;   // the values of the level being played
};

// Everything the rules read and write. Plain data; a test builds one with `GameState state;`.
struct GameState {
    Board board;
    PlayState playState = StateLogo;
    GameMode gameMode = GameMode::Action;
    MoveState moves;
    LevelState level;
    int32_t runePoints = 0;
    std::array<RuneSlot, kRuneSlots> runeSlots{};
    FallState fall;
    std::array<GlowPair, 12> playGlow{};  // the play screen's twelve buttons; 0..7 are the arrows

    // Filled once from the level file at start-up.
    LevelTable levels;
    LevelSettings settings;
};

// The services a rule may use: time from the one clock, draws from the one generator, and sounds.
struct Services {
    const Clock& clock;
    Random& random;
    SoundSink& sound;
    uint32_t now() const { return clock.now(); }
};

}  // namespace game
