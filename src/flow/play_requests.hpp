#pragma once
#include "flow/game.hpp"

namespace flow {

// Reads and clears what the rules asked of the screens around the play screen, after the frame is
// drawn: a new music track, the run's record, the tips (Explode 700 ms after its bonus, figures,
// the level's bonus kinds, the first shuffle), the no-more-figures dialog, the completed game; and
// the refused window mode. Then opens the dialogs of the frame, in the order they became due.
void serveRuleRequests(Game& game);

}  // namespace flow
