#include "flow/startup.hpp"

#include "flow/display_steps.hpp"

namespace flow {

void startGame(Game& game) {
    game.overlayFont.open(LUMERIK_OVERLAY_FONT, 13);
    loadStartupPictures(game);
    game.app.showMainStatus = game.rules.settings.mainStatus;
    game.app.showFps = game.rules.settings.fps;
    game.app.displayedFps = 30.0f;
    game.rules.moves.pendingBlockTurn = {};
    game.rules.level.nextLevel = game.rules.settings.startingLevel;
    present::createLogoSurface(game.display);
    game.rules.playState = game::StateLogo;
    game.screens.logoStartedAt = game.platform.clock().now();
}

void shutdownGame(Game& game) {
    for (int id = 0; id < game::kSoundCount; ++id) game.sound.stop(static_cast<game::SoundId>(id));
}

}  // namespace flow
