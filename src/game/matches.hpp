#pragma once
#include "game/state.hpp"

namespace rules {

// Scoring off is for board generation: figures are removed, but no points, rune points or clear
// effects are booked.
enum class Scoring { Off, On };

// Finds every figure of one colour on the board (squares, 2 by 3 rectangles, straight lines of four
// when the level file enables them, diagonal runs of four or more), lets the bonuses caught in them
// act, empties the cells and books points and rune points. True when a cell was emptied.
bool resolveMatches(GameState& state, Services& services, Scoring scoring);

// The same with an explicit number of colours, for a board being generated.
bool resolveMatchesWithColours(GameState& state, Services& services, Scoring scoring, int colours);

// Adds to a 32-bit score, holding at the ends of its range rather than wrapping.
void addClamped(int32_t& total, int64_t amount);

}  // namespace rules
