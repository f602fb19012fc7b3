#pragma once
#include "flow/game.hpp"

namespace flow {

// The Explode tip, once 700 ms have passed since the rules asked for it.
void checkExplodeTip(Game& game);

// The checks of a frame of play: the figures tip of ActionPuzzle level 1, the tips of a level that
// is the first to have some kind of bonus (500 ms into play), and the level-1 sweep over the
// frame's arrows.
void checkPlayTips(Game& game);

// Reads and clears every request of the rules: a new music track, bonus flights, the run's record,
// the shuffle tip, the no-more-figures dialog, the completed game; and the refused window mode.
// Then opens the dialogs of the frame, in the order they became due.
void serveRuleRequests(Game& game);

}  // namespace flow
