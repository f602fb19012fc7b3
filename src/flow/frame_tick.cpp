#include "flow/frame_tick.hpp"

#include "flow/audio.hpp"
#include "flow/current_player.hpp"
#include "flow/display_steps.hpp"
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
    syncPlayerTips(game);
    dispatchScreen(game);
}

void dispatchScreen(Game& game) {
    if (activeScreen(game) == ActiveScreen::Logo) {
        if (!runLogoSequence(game)) return;
        // The title (or the name screen over it) follows in this same tick.
        game.rules.playState = rules::StateTitle;
        game.sound.play(rules::SoundMenuMusic);
    }
    switch (activeScreen(game)) {
        case ActiveScreen::Logo: return;
        case ActiveScreen::Paused: drawPauseScreen(game); return;
        case ActiveScreen::Menu: runMenuFrame(game); return;
        case ActiveScreen::Title: runTitleFrame(game); return;
        case ActiveScreen::Play: runPlayFrame(game); return;
    }
}

}  // namespace flow
