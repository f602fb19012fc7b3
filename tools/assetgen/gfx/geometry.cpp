#include "geometry.hpp"

#include <algorithm>
#include <cmath>

namespace assetgen::geo {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWordCell = 22.0;   // room each rune of a word takes
constexpr double kWordMargin = 4.0;  // halo around a word
constexpr std::array<std::array<int, 4>, 4> kWordGlyphs = {{{4, 9, 2, 0}, {18, 11, 0, 0}, {20, 3, 15, 23}, {6, 1, 17, 0}}};

struct WordLayout {
    std::vector<PlacedRune> runes;
    Rect box;
};

WordLayout layoutWord(int w) {
    const double r = kRuneRadius;
    const double half = kWordCell / 2.0;
    // The first rune's centre sits so that the word's left edge falls on its given x.
    const double firstX = present::layout::kRuneWords[static_cast<size_t>(w)].x + kWordMargin + half;
    double theta = std::atan2(-std::sqrt(r * r - (firstX - kCentreX) * (firstX - kCentreX)), firstX - kCentreX);
    const double step = (kWordCell + 2.0) / r;
    WordLayout out;
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (int i = 0; i < kWordRunes[static_cast<size_t>(w)]; ++i, theta += step) {
        PlacedRune rune{kCentreX + r * std::cos(theta), kCentreY + r * std::sin(theta), theta + kPi / 2,
                        kWordGlyphs[static_cast<size_t>(w)][static_cast<size_t>(i)]};
        minX = std::min(minX, rune.x - half);
        maxX = std::max(maxX, rune.x + half);
        minY = std::min(minY, rune.y - half);
        maxY = std::max(maxY, rune.y + half);
        out.runes.push_back(rune);
    }
    // Shift the word so that its box starts exactly where the game draws it.
    const double dx = present::layout::kRuneWords[static_cast<size_t>(w)].x - (minX - kWordMargin);
    const double dy = present::layout::kRuneWords[static_cast<size_t>(w)].y - (minY - kWordMargin);
    for (PlacedRune& rune : out.runes) {
        rune.x += dx;
        rune.y += dy;
    }
    out.box = {present::layout::kRuneWords[static_cast<size_t>(w)].x, present::layout::kRuneWords[static_cast<size_t>(w)].y,
               static_cast<int>(std::ceil(maxX - minX + 2 * kWordMargin)),
               static_cast<int>(std::ceil(maxY - minY + 2 * kWordMargin))};
    return out;
}

}  // namespace

PlacedRune slotRune(int slot) {
    const double x = present::layout::kRuneSlots[static_cast<size_t>(slot)].x + kSlotSize / 2.0;
    const double y = present::layout::kRuneSlots[static_cast<size_t>(slot)].y + kSlotSize / 2.0;
    // Along the bottom of the ring a rune's top points at the board, so it reads upright.
    const double theta = std::atan2(y - kCentreY, x - kCentreX);
    return {x, y, theta - kPi / 2, (slot * 7 + 3) % 24};
}

std::vector<PlacedRune> wordRunes(int w) { return layoutWord(w).runes; }

Rect wordBox(int w) { return layoutWord(w).box; }

}  // namespace assetgen::geo
