#pragma once
#include "flow/game.hpp"

namespace flow {

// What a play frame shows, from the rules' state and the play screen's, which it only reads: the
// bars and the flash, the board (upright, a block or the whole board turning, a drop, the end
// animation), score and level, the end texts, the rune meter, bonus pictures and flights, the
// buttons' glows, the effects and the level's caption.
present::PlayView buildPlayView(const Game& game);

// The first row of the time bar's picture that shows, for the time or moves the bar shows now.
int timeBarTop(const rules::GameState& rules, const PlayScreenState& play);

// The picture of a level group's intermission, drawn into the back buffer.
void drawIntermissionView(Game& game);

}  // namespace flow
