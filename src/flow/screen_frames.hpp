#pragma once
#include "flow/game.hpp"

// The ticks of the screens around the play screen, one file each.
namespace flow {

// The opening logos: the splash logo fading out, then the studio logo fading in and out. True
// when the sequence ended in this tick (nothing was drawn then).
bool runLogoSequence(Game& game);

// The pause screen: the level group's background hides the board, with the pause message.
void drawPauseScreen(Game& game);

// The menu overlay's tick: the open screen, its button glows and hover, the tips' animations and
// the fireworks of the game-complete dialog.
void runMenuFrame(Game& game);

// The title screen's tick: Escape asks to quit, the eight buttons glow under the pointer, and the
// player is greeted.
void runTitleFrame(Game& game);

// The title button a press at `p` hits, or -1. The glass's right and bottom edges do not take a
// press.
int titleButtonPressed(present::Point p);

}  // namespace flow
