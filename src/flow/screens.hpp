#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "game/state.hpp"

namespace flow {

struct Game;

// The menu screens, by the numbers the screen stack holds.
enum MenuScreen : int32_t {
    ScreenQuit = 0,            // quit confirmation
    ScreenHighScores = 1,
    ScreenResetScores = 2,     // confirmation to clear the shown table
    ScreenChoosePlayer = 3,
    ScreenEnterName = 4,
    ScreenDeletePlayer = 5,    // confirmation
    ScreenStartLevelOne = 6,   // new game or continue, saved level 1
    ScreenStartLater = 7,      // new game or continue, saved level 2 or more
    ScreenHelpRules = 8,
    ScreenHelpPage9 = 9,
    ScreenHelpPage10 = 10,
    ScreenOptions = 11,
    ScreenHelpPage12 = 12,
    ScreenDialogHost = 13,     // shows dialog `dialogId` over a captured picture
    ScreenHelpPage14 = 14,
    ScreenCount = 15,
    // Never shown: sits directly above a 13 whose dialog paused the level clock, which closing
    // that dialog resumes.
    ClockMarker = 15,
};

// The dialogs the dialog host shows.
enum DialogId : int32_t {
    DialogNone = 0,
    DialogFiguresTip = 1,        // the third figure of ActionPuzzle level 1
    DialogExpiryTip = 2,         // bonuses that expire
    DialogFreezeTip = 3,
    DialogScoreBoostTip = 4,
    DialogUniversalTip = 5,
    DialogColorTip = 6,
    DialogExplodeTip = 7,
    DialogGameComplete = 9,      // with fireworks
    DialogShuffleTip = 10,
    DialogNoMoves = 11,          // ActionPuzzle: no colour can make a figure any more
    DialogModeSwitched = 12,     // the window mode asked for was refused
};

// A firework particle: a rocket, or a spark of one that burst.
struct Particle {
    float x = 0, y = 0, vx = 0, vy = 0;
    uint32_t stamp = 0;
    int32_t colour = 0;
    bool isRocket = false;
};

// Which screen a tick shows, and which screen input goes to.
enum class ActiveScreen { Logo, Paused, Menu, Title, Play };

// The screens around the play screen. Only the operations below write the menu overlay and its
// stacks.
struct ScreenState {
    bool menuActive = false;
    int32_t menuScreen = 0;
    int32_t dialogId = 0;
    std::vector<int32_t> screenStack;
    std::vector<int32_t> dialogStack;
    uint32_t logoStartedAt = 0;
    uint32_t titleEnteredAt = 0;
    uint32_t intermissionStartedAt = 0;
    int32_t menuTickCount = 0;
    std::array<rules::GlowPair, 8> titleGlow{};
    std::array<rules::GlowPair, 5> menuGlow{};  // one per button of the current menu screen
    std::vector<Particle> fireworks;
    uint32_t lastRocketAt = 0;
};

// Where a dialog's backdrop comes from.
enum class DialogBackdrop {
    Screen,          // the picture on display now (the tips)
    BackBuffer,      // the frame drawn so far in this tick (no moves left)
    Prepared,        // already in captureSurface (game complete, the refused mode switch)
};

// The one decision of which screen is active, in dispatch order: the logo sequence, the pause
// screen, the menu overlay, the title, else the play screen.
ActiveScreen activeScreen(const Game& game);

// Shows menu screen `screen` on top of the stack.
void openMenuScreen(Game& game, int32_t screen);

// Shows dialog `dialog` in the dialog host over the backdrop taken from `backdrop`.
void openDialog(Game& game, int32_t dialog, DialogBackdrop backdrop);

// A dialog that stops the level clock while it is open; closing it resumes the level.
void openDialogPausingClock(Game& game, int32_t dialog, DialogBackdrop backdrop);

// The back action of every screen: resumes a clock the closed dialog stopped, saves when the
// options screen closes, and shows the screen below (or none).
void closeMenuScreen(Game& game);

}  // namespace flow
