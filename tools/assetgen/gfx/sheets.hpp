#pragma once
#include <filesystem>
#include <map>
#include <string>

#include "picture.hpp"

namespace assetgen {

// Every drawn picture by its game path.
using PictureSet = std::map<std::string, Picture>;

// Pages of every picture with its path and size: keyed pictures over a grey checker, the blended
// ones over black.
void writeContactSheets(const PictureSet& pictures, const std::filesystem::path& folder);

// The title screen, the play screen (at rest and in mid-turn) and two menu screens, composed from
// the pictures at the positions the game uses.
void writeMockups(const PictureSet& pictures, const std::string& characterMap, const std::filesystem::path& folder);

}  // namespace assetgen
