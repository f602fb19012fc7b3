#pragma once
#include "flow/game.hpp"

namespace flow {

// The play screen's tick: the level's state step, the drawing step (which advances block turns,
// board turns and the fall animation), the rules that follow it, the overlay and the present.
void runPlayFrame(Game& game);

}  // namespace flow
