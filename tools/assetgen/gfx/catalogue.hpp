#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "art.hpp"

namespace assetgen {

// One picture of the game: the path exactly as the game writes it, its size, what it is for, and
// how to draw it.
struct CatalogueEntry {
    std::string gamePath;
    int width;
    int height;
    std::string use;
    std::function<Picture(Art&)> draw;
};

// Every picture the game loads, in the order the game loads them.
const std::vector<CatalogueEntry>& catalogue();

// The real file for a game path, relative to the game folder: slashes collapsed, and the folders
// the game spells two ways ("Menu" and "menu", "Logo" and "logo") given one spelling each. The
// file name keeps its case.
std::string realPath(std::string_view gamePath);

}  // namespace assetgen
