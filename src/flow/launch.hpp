#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "flow/game.hpp"

namespace flow {

// The start-up the game and lumerik-sim share, in this order: the high-score tables, the profile
// file (which decides the window mode) and the settings file, the window in that mode, the game
// object with the players' files in it, the sound device (`openSound`), and the start-up sequence.
// Null when the window cannot be created.
std::unique_ptr<Game> launchGame(present::Platform& platform, data::GameFolder folder, uint32_t seed,
                                 const std::function<void(Game&)>& openSound);

}  // namespace flow
