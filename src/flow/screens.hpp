#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "game/state.hpp"
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
    std::array<rules::GlowPair, present::menu::kMaxButtons> menuGlow{};  // one per button of the current menu screen
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

// The one decision of which screen is active, in dispatch order: the logo sequence, the pause
// screen, the menu overlay, the title, else the play screen.
ActiveScreen activeScreen(const Game& game);

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
