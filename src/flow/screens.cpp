#include "flow/screens.hpp"

#include <algorithm>

#include "flow/current_player.hpp"
#include "flow/game.hpp"
#include "flow/persistence.hpp"
#include "flow/scene.hpp"
#include "game/modes.hpp"
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

Screen activeScreen(const Game& game) {
    const Screen base = game.screens.base;
    if (base == Screen::Logo || base == Screen::Pause) return base;
    return game.screens.menuActive ? Screen::Menu : base;
}

void showLogos(Game& game) {
    ScreenState& screens = game.screens;
    screens.base = Screen::Logo;
    screens.logoClicked = false;
    screens.logoStartedAt = game.platform.clock().now();
}

void showTitle(Game& game) {
    game.screens.base = Screen::Title;
    game.sound.play(rules::SoundMenuMusic);
}

void beginPlay(Game& game) {
    game.screens.base = Screen::Play;
    rules::beginLevelSequence(game.rules);
}

void pauseGame(Game& game) {
    game.screens.base = Screen::Pause;
    rules::pauseLevel(game.rules, game.services);
}

void resumeGame(Game& game) {
    game.screens.base = Screen::Play;
    rules::resumeLevel(game.rules, game.services);
}

void leaveGameForTitle(Game& game) {
    game.screens.base = Screen::Title;
    // Escape may still be held as the title comes in: the title's guard against quitting starts now.
    game.screens.titleEnteredAt = game.services.now();
    recordRun(game);
    saveAll(game);
    for (rules::SoundId track :
         {rules::SoundMusicAction, rules::SoundMusicPuzzle, rules::SoundMusicSpace, rules::SoundMusicStrategy})
        game.sound.stop(track);
    game.sound.play(rules::SoundMenuMusic);
}

void recordLevelOnClose(Game& game) {
    const bool inGame = game.screens.base == Screen::Play || game.screens.base == Screen::Pause;
    if (!inGame || !game.rules.level.levelRunning) return;
    // While the level stands still its bonus stamps hold ages; the record takes them as times.
    if (game.screens.base == Screen::Pause || levelClockHeld(game.screens) || game.app.pausedByFocus)
        rules::resumeLevel(game.rules, game.services);
    recordRun(game);
    saveAll(game);
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

bool levelClockHeld(const ScreenState& screens) {
    return std::find(screens.screenStack.begin(), screens.screenStack.end(), ClockMarker) != screens.screenStack.end();
}

void holdLevelClock(Game& game) {
    // A second pause would restart the pause's stamp and turn the bonus ages back into stamps: the
    // clock stops once, however many screens hold it.
    if (!levelClockHeld(game.screens)) rules::pauseLevel(game.rules, game.services);
    game.screens.screenStack.push_back(ClockMarker);
}

void openDialogPausingClock(Game& game, int32_t dialog, DialogBackdrop backdrop) {
    openDialog(game, dialog, backdrop);
    holdLevelClock(game);
}

namespace {

// The steps of one back action, without the rebuild.
void closeTop(Game& game) {
    ScreenState& screens = game.screens;
    std::vector<int32_t>& stack = screens.screenStack;
    if (stack.back() == ClockMarker) {
        stack.pop_back();
        if (!levelClockHeld(screens)) rules::resumeLevel(game.rules, game.services);
        if (stack.empty()) {
            screens.menuActive = false;
            return;
        }
    }
    if (stack.back() == ScreenOptions) saveAfterOptions(game);
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
}

// The dialog host showing a tip is on top (with or without its marker above it).
bool tipOnTop(const ScreenState& screens) {
    const std::vector<int32_t>& stack = screens.screenStack;
    if (stack.empty()) return false;
    const bool host = stack.back() == ScreenDialogHost ||
                      (stack.back() == ClockMarker && stack.size() >= 2 && stack[stack.size() - 2] == ScreenDialogHost);
    return host && present::menu::isTip(screens.dialogId);
}

}  // namespace

void closeMenuScreen(Game& game) {
    ScreenState& screens = game.screens;
    if (screens.screenStack.empty()) return;
    const bool closingTip = tipOnTop(screens);
    closeTop(game);
    // The player who turned the tips off does not want the ones still waiting either: each goes
    // with its marker, and the level clock runs again once the last marker is gone.
    if (closingTip)
        while (!tipsWanted(game) && tipOnTop(screens)) closeTop(game);
    screens.menuGlow = {};
    recomposeScene(game);
}

}  // namespace flow
