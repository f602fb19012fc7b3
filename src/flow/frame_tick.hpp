#pragma once
#include "flow/game.hpp"

namespace flow {

// The 33 ms tick: nothing while suspended; lost surfaces, picture reload after a suspension and the
// cursor, then the screen dispatch, which updates and draws one screen and presents it.
void frameTick(Game& game);

// Picks the screen this tick shows.
void dispatchScreen(Game& game);

}  // namespace flow
