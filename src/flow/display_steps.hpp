#pragma once
#include "flow/game.hpp"
#include "present/pictures.hpp"

namespace flow {

// What a picture reload of this game works on.
present::PictureJob pictureJob(Game& game);

// Reloads every surface picture (start-up, a mode switch, the first tick after a suspension).
void reloadGamePictures(Game& game);

// Switches between window and full screen as `game.profiles.windowed` now asks, and reloads the pictures.
void switchGameWindowMode(Game& game);

// The display and picture part of start-up: the display, every surface picture, the opening logos,
// the still logo on screen, the capture surface and the pictures kept in plain memory.
void loadStartupPictures(Game& game);

}  // namespace flow
