#include "flow/frame_tick.hpp"

#include "flow/audio.hpp"
#include "flow/current_player.hpp"
#include "flow/display_steps.hpp"
#include "flow/navigation.hpp"
#include "flow/persistence.hpp"
#include "flow/play_frame.hpp"
#include "flow/scene.hpp"
#include "flow/screen_frames.hpp"

namespace flow {

namespace {

constexpr uint32_t kLostSurfaceGraceMs = 4000;

void handleLostSurfaces(Game& game) {
    const uint32_t now = game.platform.clock().now();
    // Just after an activation the display may still be settling: skip the frame, try again.
    if (rules::elapsedSince(now, game.app.activatedAt) < kLostSurfaceGraceMs) {
        game.log.writeLog("extra EXIT __DENIED!");
        return;
    }
    game.log.writeLog("extra EXIT marking");
    game.app.suspended = true;
    applyVolumes(game, present::Volumes::Off);
    present::freeRiseImage(game.pictures);
    game.app.graphicsLoaded = false;
}

void chooseCursor(Game& game) { game.platform.setCursor(playerCursor(game)); }

}  // namespace

void frameTick(Game& game) {
    if (game.app.suspended) return;
    ++game.app.tickNumber;
    game.app.swallowedCharacter = 0;
    game.sound.setTickNumber(game.app.tickNumber);

    if (present::surfacesLost(game.platform)) {
        handleLostSurfaces(game);
        return;
    }
    if (!game.app.graphicsLoaded) {
        game.app.graphicsLoaded = true;
        reloadGamePictures(game);
        recomposeScene(game);
    }
    chooseCursor(game);
    watchPointer(game);
    syncPlayerTips(game);
    game.pictures.symbolsShown = colourSymbolsWanted(game);
    dispatchScreen(game);
}

void dispatchScreen(Game& game) {
    if (activeScreen(game) == Screen::Logo) {
        if (!runLogoSequence(game)) return;
        // The title (or the name screen over it) follows in this same tick.
        showTitle(game);
    }
    switch (activeScreen(game)) {
        case Screen::Logo: return;
        case Screen::Pause: drawPauseScreen(game); return;
        case Screen::Menu: runMenuFrame(game); return;
        case Screen::Title: runTitleFrame(game); return;
        case Screen::Play: runPlayFrame(game); return;
    }
}

}  // namespace flow
