#include "flow/scene.hpp"

#include "flow/game.hpp"
#include "flow/menu_view.hpp"

namespace flow {

void recomposeScene(Game& game) {
    present::rebuildMenuScreen(menuView(game), game.display.sceneSurface, game.decoration);
    // The options screen comes up with both knobs at rest.
    if (game.screens.menuActive && game.screens.menuScreen == ScreenOptions) {
        game.screens.menuLive.musicSliderDrag = false;
        game.screens.menuLive.soundSliderDrag = false;
    }
}

}  // namespace flow
