#include "game/moves.hpp"

namespace rules {

namespace {

constexpr uint32_t kStaleTurnMs = 2000;

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
    const int dx = x - kBoardLeft, dy = y - kBoardTop;
    if (dx < 0 || dx > kBoardHitSpan || dy < 0 || dy > kBoardHitSpan) return;

    PendingBlockTurn& turn = moves.pendingBlockTurn;
    turn = {true, dx / kBlockPitch, dy / kBlockPitch, direction, 0};
    services.sound.play(direction == Direction::CounterClockwise ? SoundBlockLeft : SoundBlockRight);
    // Turning four empty cells animates but costs nothing.
    if (blockHoldsBall(state.board, turn.blockColumn, turn.blockRow)) moves.moveMade = true;
}

bool turnBoardAt(GameState& state, Services& services, int x, int y) {
    if (state.playState != StatePlaying) return false;
    for (const ArrowButton& button : kArrowButtons) {
        const Rect& r = button.rect;
        if (x >= r.x && x <= r.x + r.w && y >= r.y && y <= r.y + r.h) {
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
    for (int i = 0; i < 8; ++i) state.playGlow[i] = {};
    state.moves.moveMade = true;
    services.sound.play(direction == Direction::CounterClockwise ? SoundBoardLeft : SoundBoardRight);
}

int advanceBlockTurn(GameState& state) {
    PendingBlockTurn& turn = state.moves.pendingBlockTurn;
    if (!turn.active) return 0;
    // A shuffle or the level's end may start while a turn is still pending: the turn is dropped
    // then, so it can neither cut the shuffle short nor send a finished level back to play.
    if (state.playState != StatePlaying && state.playState != StateSettling) {
        turn.active = false;
        return 0;
    }
    turn.frame += 1;
    const int step = turn.direction == Direction::CounterClockwise ? turn.frame : 6 - turn.frame;
    if (turn.frame >= 5) {
        turnBlockCells(state.board, turn.blockColumn, turn.blockRow, turn.direction);
        turn.active = false;
        state.playState = StatePlaying;
    }
    return step;
}

int advanceBoardTurn(GameState& state) {
    BoardTurn& turn = state.moves.boardTurn;
    if (state.playState != StateRotating) return turn.frame;
    turn.frame += 1;
    if (turn.frame >= 6) {
        turnQuarter(state.board, turn.direction);
        state.playState = StatePlaying;
    }
    return turn.frame;
}

}  // namespace rules
