#include "game/falling.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/effects.hpp"
#include "game/matches.hpp"

namespace rules {

namespace {

constexpr int kDropStep = 7;
constexpr int kLastFallingSound = 4;
constexpr int kLastComboSound = 6;
constexpr int kLastComboFactor = 7;  // Combo 9 serves the ninth figure set of a chain and later ones

// The repair loop of generateBoard settles within a few passes from three colours up. With two
// colours it can wander for a long time, so after this many passes the board is built cell by
// cell instead, which always finds a figure-free board quickly.
constexpr int kRepairPasses = 200;
constexpr int kBuildStepsPerTry = 20000;

// Moves the cells of rows 0..lowest - 1 of a column down by one; row 0 is left empty.
void dropColumn(Board& board, int column, int lowest) {
    for (int r = lowest; r >= 1; --r) {
        const int to = cellIndex(column, r), from = cellIndex(column, r - 1);
        board.cells[to] = board.cells[from];
        board.cellBonus[to] = board.cellBonus[from];
        board.cellStamp[to] = board.cellStamp[from];
    }
    const int top = cellIndex(column, 0);
    board.cells[top] = 0;
    board.cellBonus[top] = 0;
    board.cellStamp[top] = 0;
}

int lowestEmptyRow(const Board& board, int column) {
    for (int r = kRows - 1; r >= 0; --r)
        if (board.cells[cellIndex(column, r)] == 0) return r;
    return -1;
}

// Whether placing the ball at (c, r) completes a figure, with the board filled row by row up to it:
// a square, a straight line (when lines count) or a diagonal of four that ends at this cell.
bool completesFigure(const std::array<uint8_t, kCellCount>& cells, int c, int r, bool lines) {
    const uint8_t v = cells[cellIndex(c, r)];
    auto same = [&](int cc, int rr) { return cc >= 0 && cc < kColumns && rr >= 0 && cells[cellIndex(cc, rr)] == v; };
    if (same(c - 1, r) && same(c, r - 1) && same(c - 1, r - 1)) return true;
    if (same(c - 1, r - 1) && same(c - 2, r - 2) && same(c - 3, r - 3)) return true;
    if (same(c + 1, r - 1) && same(c + 2, r - 2) && same(c + 3, r - 3)) return true;
    if (!lines) return false;
    return (same(c - 1, r) && same(c - 2, r) && same(c - 3, r)) || (same(c, r - 1) && same(c, r - 2) && same(c, r - 3));
}

// Builds a figure-free board cell by cell, row by row, trying the colours in a random order and
// stepping back where no colour fits. Gives up (false) after a bounded number of steps.
bool buildFigureFree(std::array<uint8_t, kCellCount>& cells, Random& random, int colours, bool lines) {
    std::array<std::array<uint8_t, 7>, kCellCount> order{};
    std::array<int, kCellCount> tried{};
    auto shuffleOrder = [&](int slot) {
        for (int k = 0; k < colours; ++k) order[slot][k] = static_cast<uint8_t>(k + 1);
        for (int k = colours - 1; k > 0; --k) std::swap(order[slot][k], order[slot][random.mod(k + 1)]);
        tried[slot] = 0;
    };
    int slot = 0;
    shuffleOrder(0);
    for (int steps = 0; steps < kBuildStepsPerTry; ++steps) {
        if (slot == kCellCount) return true;
        const int c = slot % kColumns, r = slot / kColumns;
        if (tried[slot] == colours) {
            cells[cellIndex(c, r)] = 0;
            if (--slot < 0) return false;
            continue;
        }
        cells[cellIndex(c, r)] = order[slot][tried[slot]++];
        if (completesFigure(cells, c, r, lines)) continue;
        if (++slot < kCellCount) shuffleOrder(slot);
    }
    return slot == kCellCount;
}

}  // namespace

bool boardHasHole(const GameState& state) {
    const auto& cells = state.board.cells;
    if (isRefilled(state.gameMode)) {
        for (uint8_t cell : cells)
            if (cell == 0) return true;
        return false;
    }
    // Empty cells at the top of a column stay empty for good; only a ball above a hole falls.
    for (int c = 0; c < kColumns; ++c) {
        bool ballAbove = false;
        for (int r = 0; r < kRows; ++r) {
            if (cells[cellIndex(c, r)] != 0)
                ballAbove = true;
            else if (ballAbove)
                return true;
        }
    }
    return false;
}

bool needsFall(const GameState& state) { return !state.fall.fallStepDue || boardHasHole(state); }

bool fallStep(GameState& state, Services& services) {
    FallState& fall = state.fall;
    if (!fall.fallStepDue) return true;
    if (!boardHasHole(state)) {
        if (state.playState == StatePlaying) fall.fallSoundIndex = 0;
        return false;
    }
    fall.fallOffset = 0;
    if (!fall.fallPrimed) {
        // The first drop of a fall is drawn before the arrays move.
        fall.fallPrimed = true;
    } else {
        services.sound.play(static_cast<SoundId>(SoundFalling0 + fall.fallSoundIndex));
        fall.fallSoundIndex = std::min(fall.fallSoundIndex + 1, kLastFallingSound);
        const bool refill = isRefilled(state.gameMode);
        for (int c = 0; c < kColumns; ++c) {
            const int lowest = lowestEmptyRow(state.board, c);
            if (lowest < 0) continue;
            dropColumn(state.board, c, lowest);
            if (refill) {
                state.board.cells[cellIndex(c, 0)] = static_cast<uint8_t>(1 + services.random.mod(ballColours(state)));
                queueEffect(state.effects.burst, c, 0);
            }
        }
    }
    fall.fallStepDue = false;
    return true;
}

void advanceFallAnimation(GameState& state) {
    FallState& fall = state.fall;
    fall.fallOffset += kDropStep;
    if (fall.fallOffset >= kDropPixels) {
        fall.fallOffset = kDropPixels;
        fall.fallStepDue = true;
        if (!boardHasHole(state)) fall.fallPrimed = false;
    }
}

void afterMatches(GameState& state, Services& services, bool cleared) {
    ChainState& chain = state.chain;
    if (!cleared) {
        chain.chainRunning = false;
        return;
    }
    if (!chain.chainRunning) {
        if (!services.sound.isPlaying(SoundDisappear)) services.sound.play(SoundDisappear);
        chain.comboIndex = 0;
        chain.chainRunning = true;
        chain.matchEvents += 1;
        return;
    }
    // The pass's base points are booked already; the combo adds its multiple on top.
    LevelState& level = state.level;
    const int factor = std::min(chain.comboIndex, kLastComboFactor) + 2;
    const double score = level.levelScore + level.passPoints * state.settings.comboFactor(factor);
    const double limit = std::numeric_limits<int32_t>::max();
    level.levelScore = static_cast<int32_t>(std::clamp(std::trunc(score), -limit - 1, limit));
    services.sound.play(static_cast<SoundId>(SoundCombo1 + std::min(chain.comboIndex, kLastComboSound)));
    chain.comboIndex = std::min(chain.comboIndex + 1, std::numeric_limits<int32_t>::max() - 1);
    chain.matchEvents += 1;
}

void generateBoard(GameState& state, Services& services, int colours) {
    colours = std::clamp(colours, 2, 7);
    Board& board = state.board;
    board.clear();
    for (int pass = 0; pass < kRepairPasses; ++pass) {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
                if (board.cells[cellIndex(c, r)] == 0)
                    board.cells[cellIndex(c, r)] = static_cast<uint8_t>(1 + services.random.mod(colours));
        if (!resolveMatchesWithColours(state, services, Scoring::Off, colours)) return;
    }
    board.clear();
    const bool lines = state.settings.verticals != 0;
    while (!buildFigureFree(board.cells, services.random, colours, lines)) board.clear();
}

void startReveal(GameState& state, Services& services) {
    RevealState& reveal = state.reveal;
    reveal.preparedCells = state.board.cells;
    state.board.cells.fill(0);

    // Colour 1 comes first; the others follow in a random order.
    const int colours = ballColours(state);
    std::array<int, 6> slots{};
    std::array<bool, 6> used{};
    for (int value = 1; value < colours; ++value) {
        int pick = services.random.mod(colours - value);
        for (int s = 0; s < colours - 1; ++s) {
            if (used[s]) continue;
            if (pick-- == 0) {
                used[s] = true;
                slots[s] = value;
                break;
            }
        }
    }
    reveal.revealOrder = {};
    reveal.revealOrder[0] = 1;
    for (int s = 0; s < colours - 1; ++s) reveal.revealOrder[s + 1] = static_cast<uint8_t>(slots[s] + 1);
    reveal.revealColours = colours;
    reveal.revealCount = 0;
    services.sound.play(SoundRuneShine);
    state.playState = StateBoardFill;
}

bool advanceReveal(GameState& state, Services& services) {
    RevealState& reveal = state.reveal;
    if (reveal.revealCount < reveal.revealColours && state.effects.reveal.empty()) {
        const uint8_t colour = reveal.revealOrder[reveal.revealCount];
        services.sound.play(SoundNewBalls);
        for (int i = 0; i < kCellCount; ++i)
            if (reveal.preparedCells[i] == colour) queueEffect(state.effects.reveal, i / kRows, i % kRows);
        reveal.revealCount += 1;
    }
    return reveal.revealCount >= reveal.revealColours && state.effects.reveal.empty();
}

}  // namespace rules
