#pragma once
#include <string_view>

#include "data/game_folder.hpp"
#include "game/level_types.hpp"

namespace data {

// Reads "ini\levels.txt" into the four level lists and the file-wide settings. Both are reset
// first, so a missing or empty file leaves empty lists and every setting at its default. Values are
// stored as written; the rules keep a level with odd values playable.
void loadLevelFile(const GameFolder& folder, rules::LevelTable& levels, rules::LevelSettings& settings);

// The same over text already in memory.
void scanLevelText(std::string_view text, rules::LevelTable& levels, rules::LevelSettings& settings);

}  // namespace data
