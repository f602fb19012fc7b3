#pragma once
#include "flow/game.hpp"
#include "present/menus.hpp"

namespace flow {

// What the menus draw, taken from the game: the screen, the texts and pictures, the players, the
// high scores and the options.
present::MenuView menuView(const Game& game);

// The options screen's sliders as the game holds them, and back.
present::VolumeSliders volumeSliders(const Game& game);
void storeVolumeSliders(Game& game, const present::VolumeSliders& sliders);

}  // namespace flow
