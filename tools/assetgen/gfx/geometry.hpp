#pragma once
#include <array>
#include <vector>

#include "present/layout.hpp"

// Where the game puts the pictures, so that the art lines up with it. These are the game's screen
// positions; the art is drawn in screen coordinates first and cut into pictures afterwards.
namespace assetgen::geo {

using present::layout::kScreenH;
using present::layout::kScreenW;
using present::layout::Rect;

// The board turns about the picture's centre.
inline constexpr double kCentreX = present::layout::kTurnCentre.x;
inline constexpr double kCentreY = present::layout::kTurnCentre.y;

// Angles of the six rotation steps of a quarter turn, in degrees, counter-clockwise on screen.
inline constexpr std::array<double, 6> kStepAngles = {0, 5, 15, 45, 75, 85};

// The rune meter's glows are 24 by 24.
inline constexpr int kSlotSize = 24;
// The four rune words flashed at a level's start: how many runes each holds.
inline constexpr std::array<int, 4> kWordRunes = {3, 2, 4, 3};

// Rune ring: the carved runes sit on this radius around the board's centre.
inline constexpr double kRuneRadius = 234.0;
inline constexpr double kRuneGlyph = 15.0;  // rune height in pixels

// One rune of the ring: its centre, its turn (radians, 0 upright) and which glyph it shows.
struct PlacedRune {
    double x, y, angle;
    int glyph;
};
// The rune of each meter slot, centred in its 24 by 24 glow.
PlacedRune slotRune(int slot);
// The runes of word `w` (0..3), and the word picture's size.
std::vector<PlacedRune> wordRunes(int w);
Rect wordBox(int w);

// Opening screens and the title: where trader.ini puts the small logos, and the partner's big logo.
inline constexpr Rect kSmallLogo = {262, 4, 276, 52};
inline constexpr Rect kPartnerLogo = {676, 548, 112, 44};

inline constexpr int kPartnerBigW = 440;
inline constexpr int kPartnerBigH = 220;

}  // namespace assetgen::geo
