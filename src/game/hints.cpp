#include "game/hints.hpp"

#include "game/board.hpp"
#include "game/falling.hpp"
#include "game/frame.hpp"
#include "game/matches.hpp"

namespace rules {

namespace {

constexpr int kBlocksAcross = 5;
constexpr Direction kDirections[] = {Direction::CounterClockwise, Direction::Clockwise};
// A board's falls end within a few dozen frames; the bound only guards the loop.
constexpr int kFallFrames = 1000;

// What a trial reads: the board, the mode, the level's prices and the file's settings. The level
// table and the queues stay behind, so copying it for every move is cheap.
GameState trialBase(const GameState& state) {
    GameState base;
    base.board = state.board;
    base.playState = StatePlaying;
    base.gameMode = state.gameMode;
    base.level.definition = state.level.definition;
    base.settings = state.settings;
    return base;
}

bool waitingForPlayer(const GameState& state) {
    return state.playState == StatePlaying && !state.moves.pendingBlockTurn.active && !needsFall(state);
}

// Four cells alike in ball and bonus (four empty ones too) look the same after a turn.
bool turnChangesBlock(const Board& board, int blockColumn, int blockRow) {
    const int tl = cellIndex(2 * blockColumn, 2 * blockRow);
    const int tr = cellIndex(2 * blockColumn + 1, 2 * blockRow);
    for (int index : {tl + 1, tr, tr + 1})
        if (board.cells[index] != board.cells[tl] || board.cellBonus[index] != board.cellBonus[tl]) return true;
    return false;
}

// The balls fall as the game's own frames let them fall, drop by drop, until none hangs over a hole;
// settling finds no figures, so the first pass is left to the caller. The trial runs no level, so
// no limit runs out meanwhile.
void letBallsFall(GameState& trial, Services& services) {
    trial.playState = StateSettling;
    for (int frame = 0; frame < kFallFrames && trial.playState == StateSettling; ++frame) advanceFrame(trial, services);
}

// In the frames' order: the figures the board holds now, else those its fall completes. The points
// of that first pass, or none when neither makes a figure.
std::optional<int32_t> firstFigurePoints(GameState& trial, Services& services) {
    if (resolveMatches(trial, services, Scoring::On)) return trial.level.passPoints;
    if (!boardHasHole(trial)) return std::nullopt;
    letBallsFall(trial, services);
    if (resolveMatches(trial, services, Scoring::On)) return trial.level.passPoints;
    return std::nullopt;
}

}  // namespace

std::optional<Hint> findHint(const GameState& state) {
    if (!waitingForPlayer(state)) return std::nullopt;

    // Trials have a clock, a generator and a sound sink of their own. The clock only dates a freeze
    // bonus, and a move on a settled board leaves no hole for a refill to draw for, so neither
    // changes what a move scores.
    ManualClock clock{0};
    Random random;
    SilentSound sound;
    Services services{clock, random, sound};

    const GameState base = trialBase(state);
    GameState trial = base;
    if (firstFigurePoints(trial, services)) return std::nullopt;

    std::optional<Hint> best;
    // Only a better move replaces the best so far, so among equals the first tried wins.
    auto tryMove = [&](Hint move) {
        const std::optional<int32_t> points = firstFigurePoints(trial, services);
        if (!points || (best && *points <= best->points)) return;
        move.points = *points;
        best = move;
    };
    for (int row = 0; row < kBlocksAcross; ++row) {
        for (int column = 0; column < kBlocksAcross; ++column) {
            if (!turnChangesBlock(base.board, column, row)) continue;
            for (Direction direction : kDirections) {
                trial = base;
                turnBlockCells(trial.board, column, row, direction);
                tryMove({HintKind::BlockTurn, column, row, direction});
            }
        }
    }
    if (!isRefilled(state.gameMode)) {
        for (Direction direction : kDirections) {
            trial = base;
            turnQuarter(trial.board, direction);
            tryMove({HintKind::BoardTurn, 0, 0, direction});
        }
    }
    return best;
}

}  // namespace rules
