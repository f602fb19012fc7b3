#pragma once
#include <nlohmann/json.hpp>
#include <string_view>

#include "flow/game.hpp"

namespace sim {

using flow::Game;

// The game state as lumerik-sim's `state` writes it, keyed by the game's own names.
nlohmann::json stateJson(const Game& game);

// Sets a named integer or real state variable (`set NAME VALUE`); false for an unknown name.
bool setStateVariable(Game& game, std::string_view name, double value);

}  // namespace sim
