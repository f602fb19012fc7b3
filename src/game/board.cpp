#include "game/board.hpp"

namespace rules {

namespace {

struct CellValue {
    uint8_t ball, bonus;
    int32_t stamp;
};

CellValue take(const Board& board, int index) { return {board.cells[index], board.cellBonus[index], board.cellStamp[index]}; }

void put(Board& board, int index, CellValue value) {
    board.cells[index] = value.ball;
    board.cellBonus[index] = value.bonus;
    board.cellStamp[index] = value.stamp;
}

}  // namespace

void turnQuarter(Board& board, Direction direction) {
    const Board before = board;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const int to = direction == Direction::Clockwise ? cellIndex(9 - r, c) : cellIndex(r, 9 - c);
            put(board, to, take(before, cellIndex(c, r)));
        }
    }
}

void turnBlockCells(Board& board, int blockColumn, int blockRow, Direction direction) {
    const int tl = cellIndex(2 * blockColumn, 2 * blockRow);
    const int bl = tl + 1;
    const int tr = cellIndex(2 * blockColumn + 1, 2 * blockRow);
    const int br = tr + 1;
    const CellValue oldTl = take(board, tl), oldTr = take(board, tr);
    const CellValue oldBl = take(board, bl), oldBr = take(board, br);
    if (direction == Direction::CounterClockwise) {
        put(board, tl, oldTr);
        put(board, tr, oldBr);
        put(board, br, oldBl);
        put(board, bl, oldTl);
    } else {
        put(board, tl, oldBl);
        put(board, bl, oldBr);
        put(board, br, oldTr);
        put(board, tr, oldTl);
    }
}

}  // namespace rules
