#include "flow/menu_view.hpp"

#include "flow/current_player.hpp"

namespace flow {

present::MenuView menuView(const Game& game) {
    const rules::GameState& rules = game.rules;
    present::MenuView view;
    view.pictures = &game.pictures;
    view.font = present::makeSpriteFont(game.pictures, game.characterMap);
    view.texts = &game.texts;
    view.gfx = &game.gfx;

    // The opening logos lead to the title, so a menu opened under them already stands on its background.
    const bool title = rules.playState == rules::StateTitle || rules.playState == rules::StateLogo;
    if (title) {
        view.background = present::SurfacePicture::MenuBackground;
    } else {
        const int group = rules::groupEntry(rules.gameMode, rules.level.currentLevel);
        view.background = static_cast<present::SurfacePicture>(static_cast<int>(present::SurfacePicture::Background1) + group);
    }
    view.playScreenFrame = !title;
    view.menuActive = game.screens.menuActive;
    view.screen = game.screens.menuScreen;
    view.dialogId = game.screens.dialogId;
    view.capture = &game.display.captureSurface;
    view.gameMode = static_cast<int32_t>(rules.gameMode);

    view.savedLevel = savedLevel(game, rules.gameMode);
    view.showHelpBeforeGame = helpBeforeGame(game);
    view.ownCursor = ownCursorWanted(game);
    view.toShowTips = tipsWanted(game);
    view.fullScreen = !game.app.windowed;
    view.explodeTipColour = rules.requests.explodeTipColour;
    view.pointer = present::cursorToClient(game.platform);
    return view;
}

present::VolumeSliders volumeSliders(const Game& game) {
    return {game.app.musicSliderX, game.app.musicVolume, game.app.soundSliderX, game.app.soundVolume};
}

void storeVolumeSliders(Game& game, const present::VolumeSliders& sliders) {
    game.app.musicSliderX = sliders.musicSliderX;
    game.app.musicVolume = sliders.musicVolume;
    game.app.soundSliderX = sliders.soundSliderX;
    game.app.soundVolume = sliders.soundVolume;
}

}  // namespace flow
