#pragma once
#include "game/state.hpp"

namespace rules {

// True while a drop is being drawn, or while the board has a hole to fill: any empty cell in the
// refilled modes, a ball standing above an empty cell in the others.
bool needsFall(const GameState& state);

// True when the board has a hole to fill, as `needsFall` counts holes.
bool boardHasHole(const GameState& state);

// The board step of a fall, once per frame while the board may fall. Every fourth frame (when the
// drawing has finished a 28-pixel drop) each column with a hole moves down by one cell above its
// lowest hole, and in the refilled modes a new ball enters at the top. True while falling.
bool fallStep(GameState& state, Services& services);

// How far a ball drops from one cell to the next, in pixels.
inline constexpr int kDropPixels = 28;

// One frame of the drop animation while fallOffset is below 28: the balls hang 7 pixels lower, and
// once they are a whole cell lower the next fall step is due.
void advanceFallAnimation(GameState& state);

// The chain bookkeeping right after resolveMatches in StatePlaying: the first figures after a
// quiet frame start a chain, figures found after the falls they caused earn combo points.
void afterMatches(GameState& state, Services& services, bool cleared);

// Fills the board with `colours` colours (held to 2..7) and no figure.
void generateBoard(GameState& state, Services& services, int colours);

// The level's opening: the board (generated or restored) becomes the prepared board and leaves
// the screen, to come back colour by colour. Sets StateBoardFill.
void startReveal(GameState& state, Services& services);

// One frame of the opening: brings in the next colour once the previous one has landed. True when
// every colour is out and its reveal effects have played.
bool advanceReveal(GameState& state, Services& services);

}  // namespace rules
