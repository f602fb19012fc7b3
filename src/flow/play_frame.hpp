#pragma once
#include "flow/game.hpp"

namespace flow {

// The play screen's tick: the level's state step, the step of the play screen's animations and
// its drawing, hover, the rules that follow the drawing, the rules' requests (dialogs, flights,
// music, the run's record), the diagnostic overlay and the present.
void runPlayFrame(Game& game);

// The same up to the present: the frame as composed in the back buffer. True when this frame is
// to be shown; a tick that ends early (the level-advance decision, a level lost on its limit, the
// way back to the title) leaves the previous frame on screen.
bool composePlayFrame(Game& game);

}  // namespace flow
