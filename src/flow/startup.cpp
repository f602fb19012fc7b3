#include "flow/startup.hpp"

#include "data/gfx_settings.hpp"
#include "data/levels.hpp"
#include "data/texts.hpp"
#include "flow/audio.hpp"
#include "flow/display_steps.hpp"

namespace flow {

void startGame(Game& game) {
    data::loadGraphicsSettings(game.folder, game.gfx);
    game.overlayFont.open(LUMERIK_OVERLAY_FONT, 13);
    data::loadLevelFile(game.folder, game.rules.levels, game.rules.settings);
    // The level file comes before the pictures: its colours tint the balls.
    loadStartupPictures(game);
    game.app.showMainStatus = game.rules.settings.mainStatus;
    game.app.showFps = game.rules.settings.fps;
    game.app.displayedFps = 30.0f;
    // The sounds, then their volumes (the level file has set the music limit by now).
    game.sound.loadSounds(game.folder);
    applyVolumes(game, present::Volumes::On);
    game.rules.moves.pendingBlockTurn = {};
    game.rules.level.nextLevel = game.rules.settings.startingLevel;
    present::createLogoSurface(game.display);
    data::loadCharacterMap(game.folder, game.characterMap);
    data::loadTexts(game.folder, game.texts);
    game.rules.playState = game::StateLogo;
    game.screens.logoStartedAt = game.platform.clock().now();
}

void shutdownGame(Game& game) {
    game.sound.stopAll();
}

}  // namespace flow
