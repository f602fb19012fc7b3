#include "flow/startup.hpp"

#include "game/runes.hpp"

namespace flow {

void startGame(Game& game) {
    game.overlayFont.open(LUMERIK_OVERLAY_FONT, 13);
    game.app.showMainStatus = game.rules.settings.mainStatus;
    game.app.showFps = game.rules.settings.fps;
    game.app.displayedFps = 30.0f;
    game.rules.moves.pendingBlockTurn = {};
    game.rules.level.nextLevel = game.rules.settings.startingLevel;
    // After the level file is read: the tips look up the first level of each bonus.
    game::computeBonusFirstLevels(game.rules);
    game.rules.playState = game::StateLogo;
    game.screens.logoStartedAt = game.platform.clock().now();
}

void shutdownGame(Game& game) {
    for (int id = 0; id < game::kSoundCount; ++id) game.sound.stop(static_cast<game::SoundId>(id));
}

}  // namespace flow
