#pragma once
#include "game/state.hpp"

namespace game {

// True while a drop is being drawn, or while the board has a hole to fill: any empty cell in the
// refilled modes, a ball standing above an empty cell in the others.
bool needsFall(const GameState& state);

// True when the board has a hole to fill, as `needsFall` counts holes.
bool boardHasHole(const GameState& state);

}  // namespace game
