#pragma once
#include "flow/game.hpp"

namespace flow {

// Runs menu button action `action` (the numbers of the menu layout).
void runMenuAction(Game& game, int action);

// Runs the title's button `button` (0 players, 1..3 the three modes, 4 high scores, 5 help,
// 6 options, 7 quit).
void pressTitleButton(Game& game, int button);

// The options screen's check box `box` (present::menu::OptionBox) changes to the other state.
void toggleOptionBox(Game& game, int box);

// Alt+Enter, and the options screen's full-screen box: the other window mode. When the desktop
// refuses a window, the game stays in full screen and says so in a dialog.
void toggleWindowMode(Game& game);

}  // namespace flow
