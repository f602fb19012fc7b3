#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "game/state.hpp"
#include "present/glow.hpp"
#include "present/menu_layout.hpp"
#include "present/menus.hpp"

namespace flow {

struct Game;

using present::menu::DialogId;
using present::menu::MenuScreen;
using enum present::menu::DialogId;
using enum present::menu::MenuScreen;

// A firework particle: a rocket, or a spark of one that burst.
struct Particle {
    float x = 0, y = 0, vx = 0, vy = 0;
    uint32_t stamp = 0;
    int32_t colour = 0;
    bool isRocket = false;
};

// The screens of the game. The logo, the title, the play screen and the pause screen stand on their
// own; menus and dialogs (Menu) stand over the title or the play screen.
enum class Screen { Logo, Title, Play, Pause, Menu };

// The screens around the play screen. Only the operations below write the screens, the menu
// overlay and its stacks.
struct ScreenState {
    Screen base = Screen::Logo;  // the screen under the menus: the logo, the title, play or pause
    bool menuActive = false;
    int32_t menuScreen = 0;
    int32_t dialogId = 0;
    std::vector<int32_t> screenStack;
    std::vector<int32_t> dialogStack;
    uint32_t logoStartedAt = 0;
    uint32_t titleEnteredAt = 0;
    int32_t menuTickCount = 0;
    int64_t helpDemosShownAtTick = -2;  // the frame tick that last showed the rules help's demonstrations
    std::array<present::glow::GlowPair, 8> titleGlow{};
    std::array<present::glow::GlowPair, present::menu::kMaxButtons> menuGlow{};  // one per button of the menu screen
    std::vector<Particle> fireworks;
    uint32_t lastRocketAt = 0;
    present::MenuLiveState menuLive;  // list arrows, slider drags and the live pass's counters
    bool logoClicked = false;         // a click arrived while the opening logos showed
    bool logoCentred = false;         // the studio logo's place is worked out on its first frame
    int32_t logoX = 0, logoY = 0;
};

// Where a dialog's backdrop comes from.
enum class DialogBackdrop {
    Screen,      // the picture on display now (the tips)
    BackBuffer,  // the frame drawn so far in this tick (no moves left)
    Prepared,    // already in captureSurface (game complete, the refused mode switch)
};

// The one decision of which screen is active, which a tick shows and input goes to, in dispatch
// order: the logo sequence, the pause screen, the menu overlay, the title, else the play screen.
Screen activeScreen(const Game& game);

// The opening logos begin, from now.
void showLogos(Game& game);

// The opening logos have ended: the title (or a menu opened over it) shows, with the menu music.
void showTitle(Game& game);

// A run begins or goes on (its values are in the rules): the play screen shows and the next play
// frame chooses the level.
void beginPlay(Game& game);

// The pause button: the pause screen hides the board and the level clock stops. Any key or click
// resumes the level where it was.
void pauseGame(Game& game);
void resumeGame(Game& game);

// Every way out of a game to the title (Escape, the play screen's back button, closing the
// game-complete dialog): the run is recorded and saved, the game music stops and the title music
// plays.
void leaveGameForTitle(Game& game);

// The window closes (its close box, the window manager, a stop signal) while a level is under way:
// the run is recorded and saved as leaving with Escape records it.
void recordLevelOnClose(Game& game);

// Shows menu screen `screen` on top of the stack.
void openMenuScreen(Game& game, int32_t screen);

// Shows dialog `dialog` in the dialog host over the backdrop taken from `backdrop`.
void openDialog(Game& game, int32_t dialog, DialogBackdrop backdrop);

// A dialog that stops the level clock while it is open; closing it resumes the level.
void openDialogPausingClock(Game& game, int32_t dialog, DialogBackdrop backdrop);

// Marks the screen on top as holding the level clock (a clock marker above it): the clock stops
// now unless an earlier marker already stopped it, and runs again when the last marker goes.
void holdLevelClock(Game& game);

// Whether a screen on the stack holds the level clock.
bool levelClockHeld(const ScreenState& screens);

// The back action of every screen: resumes a clock the closed dialog stopped, saves when the
// options screen closes, and shows the screen below (or none). With tips turned off, closing a
// tip also closes the tips waiting under it.
void closeMenuScreen(Game& game);

}  // namespace flow
