#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "game/board.hpp"
#include "game/clock.hpp"
#include "game/level_types.hpp"
#include "game/random.hpp"
#include "game/sound_ids.hpp"
#include "game/types.hpp"

namespace rules {

// A block turning: it shows frames 1 to 5 of its turn, and its cells are permuted on the fifth,
// which ends the turn; that frame still shows the block turning, from the cells as they stood.
struct PendingBlockTurn {
    bool active = false;
    int32_t blockColumn = 0;  // 0..4
    int32_t blockRow = 0;     // 0..4
    Direction direction = Direction::CounterClockwise;
    int32_t frame = 0;  // the frame shown, 0 when no turn shows
};

// The whole board turning: frames 1 to 5 show it turned part of the way; the sixth turns the arrays
// and play goes on.
struct BoardTurn {
    Direction direction = Direction::CounterClockwise;
    int32_t frame = 0;  // the frame shown, live while playState is StateRotating
};

struct MoveState {
    PendingBlockTurn pendingBlockTurn;
    BoardTurn boardTurn;
    bool moveMade = false;  // a move that counts; consumed by the mode rules each frame
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
    int32_t fallOffset = 28;     // pixels the falling balls are drawn below their cells, 0..28
    bool fallStepDue = true;     // a 28-pixel drop has been drawn; the arrays may move
    bool fallPrimed = false;     // the first drop of this fall has been animated
    int32_t fallSoundIndex = 0;  // which falling sound the next step plays, 0..4
};

// How the current level runs and ends.
struct LevelState {
    int32_t nextLevel = 1;
    int32_t currentLevel = 0;
    int32_t levelScore = 0;
    int32_t totalScore = 0;
    int32_t target = 0;
    int32_t limit = 0;
    float remaining = 0;  // whole seconds left, or moves left
    int32_t progressPercent = 0;
    uint32_t levelStartTime = 0;  // may lie ahead of now after startPlay: compare signed
    bool freezeOn = false;
    uint32_t freezeStart = 0;
    bool thawOn = false;
    uint32_t thawStart = 0;
    uint32_t pauseStart = 0;
    bool levelWon = true;  // no level has ended yet in this run of the program
    bool levelRunning = false;
    float endBonusBase = 0;
    float endBonusShown = 0;
    int32_t endTotalScore = 0;  // totalScore when the level ended; the end bonus adds to it
    bool resumeSaved = false;
    int32_t resumeElapsedSeconds = 0;      // what a saved run brings back: the clock of a timed mode,
    int32_t resumeMovesLeft = 0;           // or the moves left of the others,
    Board resumeBoard;                     // and the board, its cellStamp holding ages
    bool inResumedLevel = false;           // set by continuing a saved run, cleared by a fresh set-up
    PlayState pausedState = StatePlaying;  // where resuming a pause goes back to
    uint32_t intermissionStartedAt = 0;
    uint32_t tipTimerAt = 0;  // the level's tips are looked at once, 500 ms after play begins
    bool tipPending = false;
    int32_t currentRunId = 0;
    int32_t passPoints = 0;
    int32_t passFigures = 0;
    LevelDefinition definition;  // the values of the level being played
};

// Cells that finished falling and balls that new figures complete continue a chain.
struct ChainState {
    bool chainRunning = false;
    int32_t comboIndex = 0;
    int32_t matchEvents = 0;  // figure events in the level, for the tips
};

// The level's opening: the board to show, and the colours brought in so far.
struct RevealState {
    std::array<uint8_t, kCellCount> preparedCells{};
    std::array<uint8_t, 7> revealOrder{};
    int32_t revealColours = 0;  // how many entries of revealOrder are used
    int32_t revealCount = 0;
};

// The deal of a shuffle, waiting to be swept in diagonal by diagonal.
struct ShuffleState {
    std::array<uint8_t, kCellCount> shuffleCells{};  // 255: an occupied place not yet dealt
    std::array<uint8_t, kCellCount> shuffleBonus{};
    std::array<int32_t, kCellCount> shuffleStamps{};
    int32_t shuffleTick = 0;  // 0..68
};

// The end animation: a negative offset is a wait in ticks, a positive one how far the ball fell.
struct FallOutState {
    std::array<int32_t, kCellCount> fallOffsets{};
    int32_t fallenCount = 0;
};

// An effect played over one cell; the play screen draws it and raises its frame each tick.
struct EffectEntry {
    int32_t column = 0;
    int32_t row = 0;
    int32_t frame = 0;
    bool operator==(const EffectEntry&) const = default;
};

// The three effect queues the rules fill and the play screen plays. A reveal entry drawn at its
// last frame puts the cell's ball on the board.
struct EffectQueues {
    std::vector<EffectEntry> burst;   // "gfx//Rise.png": new balls, expired bonuses, blasts
    std::vector<EffectEntry> clear;   // "gfx//Explode.png": balls of a figure
    std::vector<EffectEntry> reveal;  // "gfx//Level.png": the opening and the shuffle sweep
    // Frame counts of the three strips (Rise, Explode, Level) from the graphics settings. A count
    // below 1 plays as a single frame, so a missing strip never stalls a reveal.
    std::array<int32_t, 3> frames{};
};

// A new bonus flying from the rune meter to its cell; the play screen turns it into a flight.
struct BonusFlightRequest {
    int32_t pictureRow = 0;  // the bonus kind - 1
    int32_t startSlot = 0;   // the rune slot it leaves from
    int32_t column = 0;
    int32_t row = 0;
    bool operator==(const BonusFlightRequest&) const = default;
};

// What the rules ask of the screens around them. The flow acts on these and clears them.
struct RuleRequests {
    std::vector<BonusFlightRequest> bonusFlights;
    bool explodeTipPending = false;  // show the Explode tip 700 ms after explodeTipAt
    uint32_t explodeTipAt = 0;
    bool explodeTipShown = false;  // at most once per level
    int32_t explodeTipColour = 0;  // the colour of the bonus's ball, less one, for the tip's text
    bool shuffleTip = false;       // the tip that follows the player's first shuffle
    bool stuckDialog = false;      // no colour can make a figure any more (dialog 11)
    bool recordRun = false;        // the run should be recorded and saved now
    bool gameComplete = false;     // no level left to set up (dialog 9)
    bool startGameMusic = false;   // a new game track, at the start of an intermission
    bool levelSetUp = false;       // a level was set up: the play screen starts it afresh
    bool figuresTip = false;       // the tip on figures, after the first few of a game's first level
    bool levelTips = false;        // the tips of the bonus kinds this level is the first to have
};

// The current player's wishes that the rules look at; the flow copies them from the profile and
// writes shuffleTipShown back.
struct PlayerTips {
    bool toShowTips = true;
    bool shuffleTipShown = false;
};

// For each mode, the first level that has each bonus property (-1: none): entry 0 bonuses expire,
// the others each kind's firstLevelEntry (game/bonus_kinds.hpp).
using BonusFirstLevels = std::array<std::array<int32_t, 6>, kModeCount>;

// Everything the rules read and write. Plain data; a test builds one with `GameState state;`.
struct GameState {
    Board board;
    PlayState playState = StateLevelAdvance;
    GameMode gameMode = GameMode::Action;
    MoveState moves;
    LevelState level;
    int32_t runePoints = 0;
    std::array<RuneSlot, kRuneSlots> runeSlots{};
    FallState fall;
    ChainState chain;
    RevealState reveal;
    ShuffleState shuffle;
    FallOutState fallOut;
    EffectQueues effects;
    RuleRequests requests;
    PlayerTips player;

    // Filled once from the level file at start-up.
    LevelTable levels;
    LevelSettings settings;
    BonusFirstLevels bonusFirstLevel = [] {
        BonusFirstLevels none;
        for (auto& mode : none) mode.fill(-1);
        return none;
    }();
};

// The number of ball colours in play. A level file may ask for fewer than two (every board would
// hold figures) or more than seven (there are seven balls); the rules hold it to 2..7.
inline int ballColours(const GameState& state) { return std::clamp(state.level.definition.colors, 2, 7); }

// The services a rule may use: time from the one clock, draws from the one generator, and sounds.
struct Services {
    const Clock& clock;
    Random& random;
    SoundSink& sound;
    uint32_t now() const { return clock.now(); }
};

}  // namespace rules
