#pragma once
#include <array>
#include <vector>

// Where the game puts the pictures, so that the art lines up with it. These are the game's screen
// positions; the art is drawn in screen coordinates first and cut into pictures afterwards.
namespace assetgen::geo {

inline constexpr int kScreenW = 800;
inline constexpr int kScreenH = 600;

// The board turns about (400, 300); the 25 blocks sit 56 apart from (257, 157), 62 by 62, on
// sockets 66 by 66 from (255, 155).
inline constexpr double kCentreX = 400.0;
inline constexpr double kCentreY = 300.0;

// Angles of the six rotation steps of a quarter turn, in degrees, counter-clockwise on screen.
inline constexpr std::array<double, 6> kStepAngles = {0, 5, 15, 45, 75, 85};

// The centre piece: 448 by 448 at (176, 76).
inline constexpr int kCentreLeft = 176;
inline constexpr int kCentreTop = 76;
inline constexpr int kCentreSize = 448;

// The two bar tubes and the freeze glass: the centre piece is drawn after them, so it keeps
// clear of these rectangles.
struct Rect {
    int x, y, w, h;
};
inline constexpr Rect kTimeBar = {158, 165, 51, 270};
inline constexpr Rect kProgressBar = {591, 165, 51, 270};
inline constexpr Rect kFreezeGlass = {158, 159, 57, 306};

// The frame pieces: where each part of the two-part pictures lands on the play screen.
inline constexpr Rect kLeftPiece = {127, 121, 108, 358};
inline constexpr Rect kRightPiece = {565, 121, 108, 358};
inline constexpr Rect kTopPiece = {235, 10, 330, 134};
inline constexpr Rect kBottomPiece = {235, 456, 330, 134};
inline constexpr Rect kLeftArm = {23, 221, 104, 158};
inline constexpr Rect kRightArm = {673, 221, 104, 158};

// The four side buttons (back, shuffle, options, pause): where their cells are drawn and where they
// are hit. The first is drawn 3 pixels above its hit rectangle.
inline constexpr std::array<Rect, 4> kSideButtonDraw = {{{36, 246, 118, 48}, {646, 249, 118, 48}, {36, 303, 118, 48}, {646, 303, 118, 48}}};
inline constexpr std::array<Rect, 4> kSideButtonHit = {{{36, 249, 118, 48}, {646, 249, 118, 48}, {36, 303, 118, 48}, {646, 303, 118, 48}}};
inline constexpr std::array<std::array<int, 2>, 4> kSideGlowAt = {{{14, 226}, {623, 226}, {14, 279}, {623, 279}}};

// The eight frame arrows: rectangle and whether the arrow turns the board clockwise.
struct Arrow {
    Rect rect;
    bool clockwise;
};
inline constexpr std::array<Arrow, 8> kArrows = {{
    {{361, 109, 34, 25}, false}, {{209, 302, 25, 34}, false}, {{563, 261, 25, 34}, false},
    {{402, 463, 34, 25}, false}, {{402, 109, 34, 25}, true},  {{209, 261, 25, 34}, true},
    {{563, 302, 25, 34}, true},  {{361, 463, 34, 25}, true},
}};

// Top-left corners of the 18 rune slot glows (24 by 24) along the bottom of the ring.
inline constexpr int kSlotSize = 24;
inline constexpr std::array<std::array<int, 2>, 18> kSlots = {{
    {220, 452}, {236, 469}, {256, 482}, {273, 491}, {291, 501}, {313, 511}, {335, 516}, {356, 520}, {380, 521},
    {404, 522}, {428, 519}, {449, 514}, {469, 507}, {491, 499}, {509, 489}, {527, 479}, {544, 463}, {557, 452},
}};

// The four rune words flashed at a level's start: top-left corners and rune counts.
inline constexpr std::array<std::array<int, 2>, 4> kWordAt = {{{222, 87}, {298, 58}, {372, 52}, {494, 78}}};
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

// Score digits (15 by 26) lie on an arc over the board; the level number sits below it.
inline constexpr std::array<std::array<int, 2>, 6> kScoreEven = {{{353, 32}, {369, 29}, {385, 28}, {401, 28}, {417, 29}, {433, 32}}};
inline constexpr std::array<std::array<int, 2>, 5> kScoreOdd = {{{361, 30}, {377, 28}, {393, 27}, {409, 28}, {425, 30}}};

// Title screen.
inline constexpr std::array<std::array<int, 2>, 8> kTitleButtons = {
    {{392, 104}, {274, 167}, {274, 230}, {274, 293}, {227, 354}, {227, 409}, {330, 464}, {330, 519}}};
inline constexpr Rect kGameLogo = {596, 284, 186, 212};
inline constexpr std::array<Rect, 4> kTitleOrnaments = {{{265, 153, 199, 186}, {383, 90, 199, 63}, {321, 449, 174, 110}, {218, 339, 174, 110}}};
// Where trader.ini puts the small game logo and the studio's small logo on the title.
inline constexpr Rect kSmallLogo = {262, 4, 276, 52};
inline constexpr Rect kPartnerLogo = {676, 548, 112, 44};

// Opening screens.
inline constexpr Rect kLogoBig = {322, 203, 160, 147};
inline constexpr int kPartnerBigW = 440;
inline constexpr int kPartnerBigH = 220;

}  // namespace assetgen::geo
