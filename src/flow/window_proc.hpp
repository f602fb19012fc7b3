#pragma once
#include "flow/game.hpp"

namespace flow {

// The window procedure: every message other than the tick, handled between ticks on the same thread.
void handleEvent(Game& game, const present::InputEvent& event);

// The window goes to the background: the game suspends itself, silences its sound and minimises.
void deactivate(Game& game);

// The window comes back: play resumes and the next tick reloads the pictures.
void activate(Game& game);

}  // namespace flow
