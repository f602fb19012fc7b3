#include "game/moves.hpp"

#include <algorithm>

namespace rules {

namespace {

constexpr uint32_t kStaleTurnMs = 2000;
constexpr int kBlockTurnFrames = 5;
constexpr int kBoardTurnFrames = 6;

bool blockHoldsBall(const Board& board, int blockColumn, int blockRow) {
    for (int dc = 0; dc < 2; ++dc)
        for (int dr = 0; dr < 2; ++dr)
            if (board.cells[cellIndex(2 * blockColumn + dc, 2 * blockRow + dr)] != 0) return true;
    return false;
}

}  // namespace

void turnBlock(GameState& state, Services& services, int x, int y, Direction direction) {
    if (turnBoardAt(state, services, x, y)) return;

    const uint32_t now = services.now();
    MoveState& moves = state.moves;
    if (!moves.lastBoardClickTimeSet) {
        moves.lastBoardClickTime = now;
        moves.lastBoardClickTimeSet = true;
    }
    // A turn that never finished (frames stopped being drawn) must not block the board for ever.
    if (elapsedSince(now, moves.lastBoardClickTime) > kStaleTurnMs) moves.pendingBlockTurn.active = false;
    if (state.playState != StatePlaying || moves.pendingBlockTurn.active) return;

    moves.lastBoardClickTime = now;
    if (!kBoardHitArea.containsInclusive({x, y})) return;
    const int dx = x - kBoardLeft, dy = y - kBoardTop;

    PendingBlockTurn& turn = moves.pendingBlockTurn;
    turn = {true, dx / kBlockPitch, dy / kBlockPitch, direction, 0};
    services.sound.play(direction == Direction::CounterClockwise ? SoundBlockLeft : SoundBlockRight);
    // Turning four empty cells animates but costs nothing.
    if (blockHoldsBall(state.board, turn.blockColumn, turn.blockRow)) moves.moveMade = true;
}

bool turnBoardAt(GameState& state, Services& services, int x, int y) {
    if (state.playState != StatePlaying) return false;
    for (const ArrowButton& button : kArrowButtons) {
        if (button.rect.containsInclusive({x, y})) {
            turnBoard(state, services, button.direction);
            return true;
        }
    }
    return false;
}

void turnBoard(GameState& state, Services& services, Direction direction) {
    if (state.playState != StatePlaying) return;
    state.playState = StateRotating;
    state.moves.boardTurn = {direction, 0};
    state.moves.moveMade = true;
    services.sound.play(direction == Direction::CounterClockwise ? SoundBoardLeft : SoundBoardRight);
}

void advanceBlockTurn(GameState& state) {
    PendingBlockTurn& turn = state.moves.pendingBlockTurn;
    // A turn that ended in the last frame has been shown; its frame is over.
    if (!turn.active) {
        turn.frame = 0;
        return;
    }
    // A shuffle or the level's end may start while a turn is still pending: the turn is dropped
    // then, so it can neither cut the shuffle short nor send a finished level back to play.
    if (state.playState != StatePlaying && state.playState != StateSettling) {
        turn = {};
        return;
    }
    turn.frame += 1;
    if (turn.frame < kBlockTurnFrames) return;
    turnBlockCells(state.board, turn.blockColumn, turn.blockRow, turn.direction);
    turn.active = false;
    state.playState = StatePlaying;
}

int blockTurnStep(const PendingBlockTurn& turn) {
    if (turn.frame <= 0) return 0;
    const int frame = std::min(turn.frame, kBlockTurnFrames);
    return turn.direction == Direction::CounterClockwise ? frame : kBlockTurnFrames + 1 - frame;
}

void advanceBoardTurn(GameState& state) {
    BoardTurn& turn = state.moves.boardTurn;
    if (state.playState != StateRotating) return;
    turn.frame += 1;
    if (turn.frame >= kBoardTurnFrames) {
        turnQuarter(state.board, turn.direction);
        state.playState = StatePlaying;
    }
}

}  // namespace rules
