#pragma once
#include <string_view>

#include "data/game_folder.hpp"
#include "game/level_types.hpp"

namespace data {

// Reads "ini\levels.txt" into the four level lists and the file-wide settings. Both are reset
// first, so a missing or empty file leaves empty lists and every setting at its default. Values no
// level can be played with are brought into range: "Colors" to 2..7, a target of at least 1, and a
// "SWAP" of at least 1 for every group.
void loadLevelFile(const GameFolder& folder, game::LevelTable& levels, game::LevelSettings& settings);

// The same over text already in memory.
void scanLevelText(std::string_view text, game::LevelTable& levels, game::LevelSettings& settings);

}  // namespace data
