#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "game/board_geometry.hpp"
#include "present/platform.hpp"

namespace flow {

struct Game;

// What a player without a mouse steers: the block cursor on the board, and the focus among the
// controls of the title, the menus and the dialogs.
enum class FocusKind { MenuButton, TitleButton, PlayerList, Slider, OptionBox, HelpBox, NameKey };

struct FocusItem {
    FocusKind kind = FocusKind::MenuButton;
    int index = 0;     // the button, slider (0 music, 1 sound), check box or letter key
    rules::Rect area;  // where it stands: the focus moves between these by their places
};

struct NavigationState {
    rules::Point block{2, 2};  // the block cursor: column and row among the 5 by 5 blocks
    bool blockShown = false;   // shown once moved by a controller or the keys, hidden when the mouse moves
    // The focus: an index into focusItems() of the screen it was set on. Another screen (a menu
    // opened or closed, a dialog) starts without one.
    int focus = -1;
    int32_t focusScreen = -1;
    std::optional<rules::Point> pointerSeen;  // the pointer at the last tick
};

// The controls the focus can stand on in the screen now active, in the Tab order.
std::vector<FocusItem> focusItems(const Game& game);

// The control the focus stands on, if it shows on the screen now active.
std::optional<FocusItem> focusedItem(const Game& game);

// A controller's button, after the window procedure has resumed a pause.
void handlePadButton(Game& game, present::PadButton button);

// The keys that steer without the mouse: the block cursor and its turns on the board, Tab and
// Return for the focus, Left and Right on a focused slider. True when the key was one of them.
bool handleNavigationKey(Game& game, const present::InputEvent& event);

// The controller went away: a level under way pauses, as when the window loses the focus.
void padDisconnected(Game& game);

// Once a tick: a mouse that moved takes over again, hiding the block cursor and the focus.
void watchPointer(Game& game);

}  // namespace flow
