#include "flow/scene.hpp"

#include "flow/game.hpp"
#include "present/blitter.hpp"

namespace flow {

void recomposeScene(Game& game) {
    using present::SurfacePicture;
    const rules::GameState& rules = game.rules;
    // The title's background on the title, else the background of the current level group.
    SurfacePicture background = SurfacePicture::MenuBackground;
    if (rules.playState != rules::StateTitle) {
        const int group = rules::groupEntry(rules.gameMode, rules.level.currentLevel);
        background = static_cast<SurfacePicture>(static_cast<int>(SurfacePicture::Background1) + group);
    }
    present::copyRect(game.pictures.surface(background), 0, 0, 0, 0, present::kScreenWidth, present::kScreenHeight,
                      game.display.sceneSurface, present::ColourKey::Ignore);
}

}  // namespace flow
