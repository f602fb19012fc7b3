#include "game/modes.hpp"

#include <algorithm>
#include <limits>

#include "game/falling.hpp"
#include "game/matches.hpp"
#include "game/pause.hpp"
#include "game/shuffle.hpp"

namespace rules {

namespace {

constexpr int kFallenPixels = 429;  // a ball this far below its cell has left the screen
constexpr int kRowDelays[kColumns] = {1, 2, 4, 5, 7, 8, 10, 11, 13, 14};
constexpr int kEndBonusFrames = 128;
constexpr int kFallOutDraws = 1000;
constexpr int kFiguresTipEvents = 3;
constexpr uint32_t kLevelTipDelayMs = 500;

enum class LossCost { KeepTotal, TakeLevelScore };

// A level can end during a shuffle's sweep (its clock runs out): the deal is finished first, so
// no ball is lost or doubled.
void enterLevelOver(GameState& state) {
    if (state.playState == StateShuffle) completeShuffle(state);
    state.playState = StateLevelOver;
}

void loseLevel(GameState& state, LossCost cost) {
    LevelState& level = state.level;
    if (cost == LossCost::KeepTotal)
        level.totalScore = std::max(level.totalScore, 0);
    else
        level.totalScore = static_cast<int32_t>(std::max<int64_t>(static_cast<int64_t>(level.totalScore) - level.levelScore, 0));
    level.levelScore = 0;
    level.nextLevel = level.currentLevel;
    level.levelWon = false;
    level.levelRunning = false;
    enterLevelOver(state);
}

void winLevel(GameState& state) {
    LevelState& level = state.level;
    level.nextLevel = level.currentLevel + 1;
    level.levelWon = true;
    level.levelRunning = false;
    enterLevelOver(state);
}

int32_t percentOf(int64_t value, int32_t target) {
    return static_cast<int32_t>(std::clamp<int64_t>(value * 100 / std::max(target, 1), 0, 1000000));
}

int emptyCells(const Board& board) { return static_cast<int>(std::count(board.cells.begin(), board.cells.end(), uint8_t{0})); }

bool someColourHasFour(const Board& board) {
    std::array<int, 8> count{};
    for (uint8_t ball : board.cells)
        if (ball >= 1 && ball <= 7) ++count[ball];
    return std::any_of(count.begin() + 1, count.end(), [](int n) { return n >= 4; });
}

// The clock of the timed modes, with its freezes. True when the level ran out of time.
bool runClock(GameState& state, uint32_t now) {
    LevelState& level = state.level;
    const int32_t freezeMs = std::max(state.settings.freezeDurationMs, 0);
    if (level.freezeOn) {
        // While frozen the clock neither advances nor runs out.
        if (elapsedSince(now, level.freezeStart) < static_cast<uint32_t>(freezeMs)) return false;
        level.freezeOn = false;
        level.levelStartTime += static_cast<uint32_t>(freezeMs);
        level.thawOn = true;
        level.thawStart = now;
    }
    // startPlay sets the clock's start a second ahead; until then it shows the whole limit.
    const int32_t elapsedMs = std::max(static_cast<int32_t>(now - level.levelStartTime), 0);
    level.remaining = static_cast<float>(static_cast<int64_t>(level.limit) - elapsedMs / 1000);
    return level.remaining <= 0;
}

// The move budget: a block turn, seen in StatePlaying, costs two moves in Strategy; a board turn,
// seen in StateRotating, one. True when the level ran out of moves.
bool runMoves(GameState& state) {
    LevelState& level = state.level;
    const bool moveMade = state.moves.moveMade;
    if (state.gameMode == GameMode::Strategy) {
        if (moveMade) level.remaining -= 1;
        // The level is lost only when the board turn has finished.
        if (state.playState == StateRotating) return false;
    }
    if (moveMade) level.remaining -= 1;
    return level.remaining <= 0;
}

// A continued level plays on the board it was saved with; its bonus timers come back from ages
// to clock values. A ball of a colour this level does not have would never be revealed, and a
// value past the seven colours or the five bonus kinds can only come from a damaged file: such a
// cell starts empty, and the opening's settling refills it.
void restoreSavedBoard(GameState& state, uint32_t now) {
    Board& board = state.board;
    board = state.level.resumeBoard;
    const int colours = ballColours(state);
    for (int i = 0; i < kCellCount; ++i) {
        if (board.cells[i] > colours) board.cells[i] = 0;
        if (board.cells[i] == 0 || board.cellBonus[i] > kBonusKindCount) board.cellBonus[i] = BonusNone;
        if (board.cellBonus[i] == BonusNone) board.cellStamp[i] = 0;
    }
    toggleStampAges(board, now);
}

}  // namespace

void beginLevelSequence(GameState& state) { state.playState = StateLevelAdvance; }

bool setupLevel(GameState& state, Services& services, GameMode mode) {
    LevelState& level = state.level;
    state.gameMode = mode;
    level.currentLevel = level.nextLevel;
    const LevelDefinition* record = state.levels.findLevel(mode, level.currentLevel);
    if (record == nullptr) return false;

    // A target below 1 would divide progress by zero and win the level before it is shown; such a
    // level is won by its first point (or first empty cell). Colours are held to 2..7 by ballColours.
    level.definition = *record;
    level.definition.target = std::max(record->target, 1);
    level.definition.colors = std::clamp(record->colors, 2, 7);
    level.target = level.definition.target;
    level.limit = record->limit;

    const uint32_t now = services.now();
    if (!level.resumeSaved) {
        addClamped(level.totalScore, level.levelScore);
        state.runePoints = 0;
        level.levelScore = 0;
        level.levelStartTime = now;
        if (!isTimed(mode)) level.remaining = static_cast<float>(level.limit);
        level.inResumedLevel = false;
    } else {
        level.resumeSaved = false;
        if (isTimed(mode)) {
            // A damaged save cannot start the clock ahead of now or past the level's end.
            const int64_t elapsed = std::clamp<int64_t>(level.resumeElapsedSeconds, 0, std::max(level.limit, 0));
            level.levelStartTime = now - static_cast<uint32_t>(elapsed * 1000);
        } else {
            level.remaining = static_cast<float>(level.resumeMovesLeft);
        }
        restoreSavedBoard(state, now);
    }

    level.progressPercent = 0;
    level.freezeOn = false;
    state.moves.pendingBlockTurn = {};
    state.playState = StateLevelStart;
    state.runeSlots = {};
    state.chain = {};
    state.fall = {};
    state.requests.explodeTipShown = false;
    level.levelRunning = true;
    return true;
}

void startPlay(GameState& state, Services& services) {
    LevelState& level = state.level;
    // The clock starts a little after the opening, longer for boards of fewer colours.
    level.levelStartTime += 1000u + 1000u / static_cast<uint32_t>(11 * ballColours(state));
    level.tipTimerAt = services.now();
    level.tipPending = true;
    state.playState = StatePlaying;
    state.requests.recordRun = true;
}

void askForTips(GameState& state, uint32_t now) {
    if (!state.player.toShowTips) return;
    LevelState& level = state.level;
    ChainState& chain = state.chain;
    if (chain.matchEvents == kFiguresTipEvents && level.currentLevel == 1 && state.gameMode == GameMode::ActionPuzzle) {
        ++chain.matchEvents;  // so that it comes once
        state.requests.figuresTip = true;
    }
    if (level.tipPending && elapsedSince(now, level.tipTimerAt) > kLevelTipDelayMs) {
        level.tipPending = false;
        state.requests.levelTips = true;
    }
}

RuleStep applyModeRules(GameState& state, Services& services) {
    // Without a level set up (a board staged for a test) there is no limit to run and no goal.
    if (!state.level.levelRunning) return RuleStep::Continue;
    const GameMode mode = state.gameMode;
    const bool lost = isTimed(mode) ? runClock(state, services.now()) : runMoves(state);
    if (lost) {
        loseLevel(state, isTimed(mode) ? LossCost::KeepTotal : LossCost::TakeLevelScore);
        return RuleStep::LevelLost;
    }

    LevelState& level = state.level;
    if (isRefilled(mode)) {
        level.progressPercent = percentOf(level.levelScore, level.target);
        if (level.levelScore >= level.target) winLevel(state);
    } else if (state.playState == StatePlaying) {
        const int empty = emptyCells(state.board);
        level.progressPercent = percentOf(empty, level.target);
        if (empty >= level.target) {
            winLevel(state);
            services.sound.play(SoundLevelJingle);
        }
    }

    if (mode == GameMode::ActionPuzzle && state.playState == StatePlaying && !someColourHasFour(state.board))
        state.requests.stuckDialog = true;
    return RuleStep::Continue;
}

void finishLevel(GameState& state, Services& services) {
    LevelState& level = state.level;
    level.freezeOn = true;
    // The board settles and its last figures still score, without combo multipliers.
    if (fallStep(state, services)) return;
    if (resolveMatches(state, services, Scoring::On)) return;

    if (state.gameMode != GameMode::ActionPuzzle) services.sound.play(SoundFallLevel);
    startFallOut(state, services);
    level.endBonusShown = 0;
    level.endBonusBase = level.remaining;
    level.endTotalScore = level.totalScore;
    state.playState = StateFallOut;
}

void startFallOut(GameState& state, Services& services) {
    FallOutState& fallOut = state.fallOut;
    fallOut.fallOffsets.fill(0);
    fallOut.fallenCount = 0;
    state.moves.pendingBlockTurn = {};
    for (int r = 0; r < kRows; ++r) {
        const int base = -135 + 15 * r;
        for (int delay : kRowDelays) {
            int column = -1;
            for (int draws = 0; draws < kFallOutDraws && column < 0; ++draws) {
                const int c = services.random.mod(kColumns);
                if (fallOut.fallOffsets[cellIndex(c, r)] == 0) column = c;
            }
            for (int c = 0; c < kColumns && column < 0; ++c)
                if (fallOut.fallOffsets[cellIndex(c, r)] == 0) column = c;
            fallOut.fallOffsets[cellIndex(column, r)] = base - delay;
        }
    }
}

bool advanceFallOut(GameState& state) {
    FallOutState& fallOut = state.fallOut;
    const int32_t fallenBefore = fallOut.fallenCount;
    fallOut.fallenCount = 0;
    bool moving = false;
    for (int32_t& offset : fallOut.fallOffsets) {
        if (offset < 1)
            offset += 1;
        else if (offset <= kFallenPixels)
            offset += 1 + offset / 2;  // 1, 2, 4, 7, 11, 17, 26, 40, 61, 92, 139, 209, 314, 472
        if (offset > kFallenPixels)
            ++fallOut.fallenCount;
        else
            moving = true;
    }
    // The end bonus starts from 0 on the tick the 20th ball leaves. The count stays at 20 for a
    // second tick (the next row is not out yet); starting over then would drop a paid frame.
    if (fallenBefore < kEndBonusStartCount && fallOut.fallenCount >= kEndBonusStartCount) state.level.endBonusShown = 0;
    return !moving;
}

bool endBonusPaying(const GameState& state) {
    return state.playState == StateFallOut && state.level.levelWon && state.fallOut.fallenCount >= kEndBonusStartCount;
}

void payEndBonus(GameState& state) {
    LevelState& level = state.level;
    if (level.remaining == 0) return;
    if (level.endBonusBase <= 0) {
        level.remaining = 0;
        return;
    }
    const int group = groupEntry(state.gameMode, level.currentLevel);
    const int32_t rate = state.gameMode == GameMode::Strategy ? state.settings.moveBonus[group] : state.settings.timeBonus[group];
    level.endBonusShown += level.endBonusBase * static_cast<float>(rate) / kEndBonusFrames;
    level.remaining -= level.endBonusBase / kEndBonusFrames;
    if (level.remaining < 0) level.remaining = 0;
    const double limit = std::numeric_limits<int32_t>::max();
    const double total = level.endTotalScore + std::clamp(static_cast<double>(level.endBonusShown), -limit, limit);
    level.totalScore = static_cast<int32_t>(std::clamp(total, -limit - 1, limit));
}

void chooseNextLevel(GameState& state) {
    const LevelState& level = state.level;
    const int next = level.nextLevel;
    const int group = levelGroup(state.gameMode, next);
    // Past the last group (level 26, or 51 in ActionPuzzle) there is no picture to show: the
    // set-up finds the game complete, unless the file goes on.
    const bool newGroup = next >= 1 && group < kLevelGroups && (next - 1) % levelGroupSize(state.gameMode) == 0;
    state.playState = level.levelWon && newGroup ? StateIntermission : StateLevelStart;
}

void loseStuckLevel(GameState& state) { loseLevel(state, LossCost::TakeLevelScore); }

}  // namespace rules
