#pragma once

namespace flow {

struct Game;

// Composes the static picture of the current screen into sceneSurface: the background, and on
// the play screen its frame, or the menu screen's panel and fixed texts when a menu is open. Runs
// when the screen changes, after a picture reload and after a window mode switch.
void recomposeScene(Game& game);

}  // namespace flow
