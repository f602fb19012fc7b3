#pragma once
#include "flow/game.hpp"

namespace flow {

// Loads everything the game needs, in a fixed order, and leaves it on the opening logo screen.
// Every step that fails leaves its data empty and the sequence goes on.
void startGame(Game& game);

// Releases the display and stops every sound.
void shutdownGame(Game& game);

}  // namespace flow
