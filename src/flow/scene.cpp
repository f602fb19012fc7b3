#include "flow/scene.hpp"

#include "flow/game.hpp"
#include "flow/menu_view.hpp"

namespace flow {

void recomposeScene(Game& game) {
    present::rebuildMenuScreen(menuView(game), game.display.sceneSurface, game.random);
}

}  // namespace flow
