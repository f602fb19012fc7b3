#include "present/sprite_font.hpp"

#include <gtest/gtest.h>

namespace present {
namespace {

// Like the game's map: capitals (first class), small letters (narrow), digits and a full stop
// (third class), and "A" once more at the end, where it must not count.
std::vector<uint8_t> characterMap() {
    std::vector<uint8_t> map;
    for (const auto& [first, last] : {std::pair{'A', 'Z'}, {'a', 'z'}, {'0', '9'}, {'.', '.'}, {'A', 'A'}})
        for (char c = first; c <= last; ++c) map.push_back(static_cast<uint8_t>(c));
    return map;
}

// The leftmost and rightmost columns and the top and bottom rows that are not 0.
std::array<int, 4> drawnBox(const Surface& s) {
    std::array<int, 4> box{s.width, -1, s.height, -1};
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.at(x, y) != 0) box = {std::min(box[0], x), std::max(box[1], x), std::min(box[2], y), std::max(box[3], y)};
    return box;
}

TEST(SpriteFont, MeasuringByGlyphClass) {
    const std::vector<uint8_t> map = characterMap();
    EXPECT_EQ(glyphIndex(map, 'A'), 0);
    EXPECT_EQ(glyphIndex(map, ' '), -1);
    EXPECT_EQ(measureText(map, "AB"), 31);
    EXPECT_EQ(measureText(map, "Ab"), 26);
    EXPECT_EQ(measureText(map, "aB"), 26);
    EXPECT_EQ(measureText(map, "A B"), 15 + 13 + 16);  // a gap, then the wide advance again
    EXPECT_EQ(measureText(map, "1."), 31);             // the third class measures like the first
    EXPECT_EQ(measureText({}, "Hi!"), 39);             // no map: every character is a gap
}

TEST(SpriteFont, DrawingPlacesGlyphsAndGlows) {
    // Glyph cell i of each strip is colour base + i, with the key colour in its top-left corner.
    const std::vector<uint8_t> map = characterMap();
    Surface normal = Surface::create(15 * 64, 26, kMagentaKey), white = normal;
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 15 * 64; ++x) {
            normal.row(y)[x] = x % 15 == 0 && y == 0 ? 0xFFFF00FF : 0xFF100000u + static_cast<uint32_t>(x / 15);
            white.row(y)[x] = normal.row(y)[x] + (x % 15 == 0 && y == 0 ? 0 : 0x100000);
        }
    const PixelImage glow{std::vector<uint32_t>(1824 * 35, 0x00FFFFFF), 1824, 35};
    const SpriteFont font{map, &normal, &white, &glow};

    // "A" centred in a field of 156 starts at x + 70.
    Surface target = Surface::create(400, 120);
    drawText(font, 100, 10, 156, "A", target, FontNormal);
    EXPECT_EQ(drawnBox(target), (std::array{170, 184, 10, 35}));
    EXPECT_EQ(target.at(170, 10), 0u);  // the cell's key pixel left the target alone
    // With field 0 the text starts at x; a leading wide glyph moves the pen 16, a narrow one 11.
    target.fill(0);
    drawText(font, 100, 10, 0, "AbZ", target, FontWhite);
    EXPECT_EQ(target.at(101, 10), 0xFF200000u);       // "A" at 100
    EXPECT_EQ(target.at(117, 10), 0xFF200000u + 27);  // "b" at 116
    EXPECT_EQ(target.at(128, 10), 0xFF200000u + 25);  // "Z" at 127
    EXPECT_EQ(drawnBox(target)[1], 141);
    // Style 3 draws like style 0; a text wider than its field starts left of it: (20 - 31) / 2 = -5.
    target.fill(0);
    drawText(font, 100, 10, 20, "AB", target, 3);
    EXPECT_EQ(drawnBox(target)[0], 95);
    EXPECT_EQ(target.at(96, 10), 0xFF100000u);

    // The glow of a character with its pen at (100, 50) covers x 94..117 and y 44..78, added at 60 %.
    target.fill(0);
    drawText(font, 100, 50, 0, "A", target, FontGlow);
    EXPECT_EQ(drawnBox(target), (std::array{94, 117, 44, 78}));
    EXPECT_EQ(target.at(100, 60), 0x00999999u);

    // Gaps and missing pictures draw nothing; text over the edge is clipped.
    target.fill(0);
    drawText(font, 0, 0, 0, "  ", target, FontNormal);
    for (int style : {FontNormal, FontGlow}) drawText(SpriteFont{map, nullptr, nullptr, nullptr}, 0, 0, 0, "AB", target, style);
    EXPECT_EQ(drawnBox(target)[1], -1);
    drawText(font, -10, 110, 0, "AAAA", target, FontGlow);
    drawText(font, 395, -10, 0, "AAAA", target, FontNormal);
    EXPECT_EQ(target.at(399, 0), 0xFF100000u);
}

}  // namespace
}  // namespace present
