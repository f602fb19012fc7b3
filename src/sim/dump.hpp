#pragma once
#include <nlohmann/json.hpp>
#include <string_view>

#include "flow/game.hpp"

namespace sim {

using flow::Game;

// lumerik-sim's `dump`: the level table and global settings ("levels"), the graphics settings
// ("gfx") or the text tables ("texts") as JSON. False for an unknown table name.
bool dumpJson(const Game& game, std::string_view what, nlohmann::json& json);

}  // namespace sim
