#include "flow/screens.hpp"

#include "flow/game.hpp"
#include "flow/scene.hpp"
#include "game/pause.hpp"
#include "present/blitter.hpp"

namespace flow {

namespace {

void fillCapture(Game& game, DialogBackdrop backdrop) {
    present::Display& display = game.display;
    switch (backdrop) {
        case DialogBackdrop::Screen: present::captureScreen(display, game.platform); break;
        case DialogBackdrop::BackBuffer:
            present::copyRect(display.backBuffer, 0, 0, 0, 0, present::kScreenWidth, present::kScreenHeight,
                              display.captureSurface, present::ColourKey::Ignore);
            break;
        case DialogBackdrop::Prepared: break;
    }
}

}  // namespace

ActiveScreen activeScreen(const Game& game) {
    const rules::PlayState state = game.rules.playState;
    if (state == rules::StateLogo) return ActiveScreen::Logo;
    if (state == rules::StatePaused) return ActiveScreen::Paused;
    if (game.screens.menuActive) return ActiveScreen::Menu;
    if (state == rules::StateTitle) return ActiveScreen::Title;
    return ActiveScreen::Play;
}

void openMenuScreen(Game& game, int32_t screen) {
    ScreenState& screens = game.screens;
    screens.menuScreen = screen;
    screens.screenStack.push_back(screen);
    screens.menuActive = true;
    screens.menuGlow = {};
    recomposeScene(game);
}

void openDialog(Game& game, int32_t dialog, DialogBackdrop backdrop) {
    ScreenState& screens = game.screens;
    fillCapture(game, backdrop);
    screens.dialogId = dialog;
    screens.dialogStack.push_back(dialog);
    screens.menuScreen = ScreenDialogHost;
    screens.screenStack.push_back(ScreenDialogHost);
    screens.menuActive = true;
    screens.menuGlow = {};
    recomposeScene(game);
}

void openDialogPausingClock(Game& game, int32_t dialog, DialogBackdrop backdrop) {
    openDialog(game, dialog, backdrop);
    rules::pauseLevel(game.rules, game.services);
    game.screens.screenStack.push_back(ClockMarker);
}

void closeMenuScreen(Game& game) {
    ScreenState& screens = game.screens;
    std::vector<int32_t>& stack = screens.screenStack;
    if (stack.empty()) return;
    if (stack.back() == ClockMarker) {
        rules::resumeLevel(game.rules, game.services);
        stack.pop_back();
        if (stack.empty()) {
            screens.menuActive = false;
            recomposeScene(game);
            return;
        }
    }
    if (stack.back() == ScreenDialogHost) {
        if (!screens.dialogStack.empty()) screens.dialogStack.pop_back();
        screens.dialogId = screens.dialogStack.empty() ? DialogNone : screens.dialogStack.back();
    }
    stack.pop_back();
    if (stack.empty()) {
        screens.menuActive = false;
    } else {
        // A marker is never shown: the screen under it is.
        screens.menuScreen = stack.back() == ClockMarker && stack.size() >= 2 ? stack[stack.size() - 2] : stack.back();
    }
    screens.menuGlow = {};
    recomposeScene(game);
}

}  // namespace flow
