#pragma once
#include "game/board_geometry.hpp"
#include "game/state.hpp"

namespace rules {

// A click on the play screen at picture point (x, y): offered to the frame's arrow buttons first,
// otherwise it may start a quarter turn of the 2 by 2 block under it.
void turnBlock(GameState& state, Services& services, int x, int y, Direction direction);

// Starts a board turn when (x, y) lies on one of the frame's eight arrow buttons; true if it did.
bool turnBoardAt(GameState& state, Services& services, int x, int y);

// Starts a quarter turn of the whole board (only in StatePlaying).
void turnBoard(GameState& state, Services& services, Direction direction);

// One frame of a pending block turn: the turn takes its next frame, and on the fifth the cells are
// permuted and the turn is over (that frame still shows the block turning).
void advanceBlockTurn(GameState& state);

// The rotation step (0..5) at which the turning block is drawn in this frame: a counter-clockwise
// turn runs its steps forwards, a clockwise one backwards; 0 is upright (no turn shows).
int blockTurnStep(const PendingBlockTurn& turn);

// One frame of a board turn (StateRotating). At the sixth the arrays are turned and play resumes.
void advanceBoardTurn(GameState& state);

// The board-turn angles of frames 0..5, in degrees, before the direction's sign.
inline constexpr int kBoardTurnAngles[6] = {5, 15, 45, 75, 85, 0};

}  // namespace rules
