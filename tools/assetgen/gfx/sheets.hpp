#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "picture.hpp"

namespace assetgen {

// Every drawn picture by its game path.
using PictureSet = std::map<std::string, Picture>;

// Pages of every picture with its path and size: keyed pictures over a grey checker, the blended
// ones over black.
void writeContactSheets(const PictureSet& pictures, const std::filesystem::path& folder);

// Texts for the mock-ups: the title and side-button captions (text00) and the level-group titles
// (text04). Sample words stand in for missing lines.
struct MockupTexts {
    std::vector<std::string> captions;      // text00: title and side buttons
    std::vector<std::string> messages;      // text04: level groups and in-game messages
    std::vector<std::string> menuCaptions;  // text01: menu buttons
    std::vector<std::string> labels;        // text02: menu labels
    std::vector<std::string> help;          // text03: help and dialog texts
};

// The title screen, the play screen (at rest and in mid-turn), menu screens, a tip, the opening
// logos and the five intermissions, composed from the pictures at the positions the game uses.
void writeMockups(const PictureSet& pictures, const std::string& characterMap, const MockupTexts& texts,
                  const std::filesystem::path& folder);

}  // namespace assetgen
