#pragma once
#include "flow/game.hpp"

namespace flow {

// The drawing step of the play screen. It is also where the board animations advance: a pending
// block turn steps once per frame while nothing falls, a board turn once per frame of StateRotating,
// the drop animation while something falls; the rune slots and the effect queues play one frame.
void drawPlayView(Game& game);

// The picture of a level group's intermission.
void drawIntermissionView(Game& game);

}  // namespace flow
