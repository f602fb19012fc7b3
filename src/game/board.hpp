#pragma once
#include <array>
#include <cstdint>

#include "game/types.hpp"

namespace rules {

// The three per-cell arrays; they are always permuted, turned, shuffled and saved together.
struct Board {
    std::array<uint8_t, kCellCount> cells{};      // 0 empty, 1..7 ball colour
    std::array<uint8_t, kCellCount> cellBonus{};  // BonusKind carried by the ball
    std::array<int32_t, kCellCount> cellStamp{};  // tick the bonus was placed (its age while paused)

    void clear() { *this = Board{}; }
    bool operator==(const Board&) const = default;
};

// Turns all three arrays a quarter turn. Clockwise, (c, r) moves to (9 - r, c); counter-clockwise
// it moves to (r, 9 - c).
void turnQuarter(Board& board, Direction direction);

// Permutes the four cells of block (blockColumn, blockRow), each 0..4, a quarter turn.
void turnBlockCells(Board& board, int blockColumn, int blockRow, Direction direction);

}  // namespace rules
