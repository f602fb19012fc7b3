#include "flow/play_frame.hpp"

#include "flow/overlay.hpp"
#include "flow/play_requests.hpp"
#include "flow/play_screen.hpp"
#include "flow/play_view.hpp"
#include "game/frame.hpp"

namespace flow {

namespace {

// Escape in play: the game is left for the title.
bool escapeToTitle(Game& game) {
    if (!game.platform.escapeDown() || game.rules.playState != rules::StatePlaying) return false;
    leaveGameForTitle(game);
    return true;
}

// The screens shown in between (menus, dialogs, the title) compose their own pictures into
// sceneSurface, and it is composed again for play: what was kept of it is no longer sure. A run
// begins from the menus: nothing the last game asked for and did not see before it was left (a tip
// about to open, a shuffle tip, flights) belongs to this one.
void afterAnotherScreen(Game& game) {
    PlayScreenState& play = game.play;
    play.backdrop.invalidate();
    // Time spent on other screens (a pause, a menu, a tip) is not time the board stood still.
    play.stillSince = game.services.now();
    if (game.rules.playState == rules::StateLevelAdvance) {
        rules::RuleRequests& requests = game.rules.requests;
        requests.explodeTipPending = false;
        requests.shuffleTip = false;
        requests.bonusFlights.clear();
        play.flights.clear();
    }
}

}  // namespace

bool composePlayFrame(Game& game) {
    PlayScreenState& play = game.play;
    if (game.app.tickNumber != play.lastPlayTick + 1) afterAnotherScreen(game);
    play.lastPlayTick = game.app.tickNumber;

    bool show = false;
    if (!escapeToTitle(game)) {
        game.app.tickStartedAt = game.services.now();
        switch (rules::advanceFrame(game.rules, game.services, [&game](const rules::GameState&) { showPlayFrame(game); })) {
            case rules::FrameShows::Board: show = true; break;
            case rules::FrameShows::Intermission:
                drawIntermissionView(game);
                play.backdrop.forgetBackBuffer();
                show = true;
                break;
            case rules::FrameShows::Nothing: break;
        }
    }
    serveRuleRequests(game);
    if (show && game.rules.playState != rules::StateIntermission && (game.app.showMainStatus || game.app.showFps)) {
        drawDiagnosticOverlay(game);
        play.backdrop.forgetBackBuffer();
    }
    return show;
}

void runPlayFrame(Game& game) {
    if (composePlayFrame(game)) present::presentFrame(game.display, game.platform);
}

}  // namespace flow
