#include "present/sprite_font.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace present {
namespace {

// A map like the game's: capitals (wide), small letters (narrow), then digits and punctuation
// (wide); "A" appears a second time at the end, where it must not count.
std::vector<uint8_t> characterMap() {
    std::vector<uint8_t> map;
    for (char c = 'A'; c <= 'Z'; ++c) map.push_back(static_cast<uint8_t>(c));
    for (char c = 'a'; c <= 'z'; ++c) map.push_back(static_cast<uint8_t>(c));
    for (char c = '0'; c <= '9'; ++c) map.push_back(static_cast<uint8_t>(c));
    map.push_back('.');
    map.push_back('A');
    return map;
}

// Glyph strips whose cell i is filled with colour base + i, except a magenta key pixel in each
// cell's top-left corner; a glow strip whose cells are white.
struct FontPictures {
    Surface normal = Surface::create(15 * 64, 26, kMagentaKey);
    Surface white = Surface::create(15 * 64, 26, kMagentaKey);
    PixelImage glow;
    std::vector<uint8_t> map = characterMap();

    FontPictures() {
        for (int y = 0; y < 26; ++y) {
            for (int x = 0; x < 15 * 64; ++x) {
                const bool corner = x % 15 == 0 && y == 0;
                normal.row(y)[x] = corner ? 0xFFFF00FF : 0xFF100000u + static_cast<uint32_t>(x / 15);
                white.row(y)[x] = corner ? 0xFFFF00FF : 0xFF200000u + static_cast<uint32_t>(x / 15);
            }
        }
        glow.width = 1824;
        glow.height = 35;
        glow.pixels.assign(1824 * 35, 0x00FFFFFF);
    }
    SpriteFont font() const { return {map, &normal, &white, &glow}; }
};

// The leftmost and rightmost column of `target` that differ from `background`, or -1.
std::pair<int, int> drawnColumns(const Surface& target, uint32_t background) {
    int first = -1, last = -1;
    for (int x = 0; x < target.width; ++x)
        for (int y = 0; y < target.height; ++y)
            if (target.at(x, y) != background) {
                if (first < 0) first = x;
                last = x;
            }
    return {first, last};
}

TEST(SpriteFont, MeasuringByGlyphClass) {
    const std::vector<uint8_t> map = characterMap();
    EXPECT_EQ(glyphIndex(map, 'A'), 0);  // the first of its two places
    EXPECT_EQ(glyphIndex(map, 'b'), 27);
    EXPECT_EQ(glyphIndex(map, ' '), -1);
    EXPECT_EQ(glyphIndex(map, '\xC9'), -1);
    EXPECT_EQ(measureText(map, ""), 0);
    EXPECT_EQ(measureText(map, "AB"), 31);
    EXPECT_EQ(measureText(map, "Ab"), 26);
    EXPECT_EQ(measureText(map, "aB"), 26);
    EXPECT_EQ(measureText(map, "A B"), 15 + 13 + 16);  // after a gap the wide advance is 16
    EXPECT_EQ(measureText(map, "1."), 31);              // the third class measures like the first
    EXPECT_EQ(measureText({}, "Hi!"), 39);              // no map: every character is a gap
}

TEST(SpriteFont, DrawingPlacesGlyphsAndGlows) {
    FontPictures pictures;
    const SpriteFont font = pictures.font();

    // "A" centred in a field of 156 starts at x + 70; the next glyph after it sits 16 further.
    Surface target = Surface::create(400, 60);
    drawText(font, 100, 10, 156, "A", target, FontNormal);
    EXPECT_EQ(drawnColumns(target, 0), std::make_pair(170, 184));
    EXPECT_EQ(target.at(170, 10), 0u);  // the cell's key pixel left the target alone
    EXPECT_EQ(target.at(171, 10), 0xFF100000u);
    EXPECT_EQ(target.at(184, 35), 0xFF100000u);

    target.fill(0);
    drawText(font, 100, 10, 0, "AbZ", target, FontWhite);
    EXPECT_EQ(target.at(101, 10), 0xFF200000u);       // A at 100 (field 0: exactly at x)
    EXPECT_EQ(target.at(117, 10), 0xFF200000u + 27);  // b at 116: a leading wide glyph moves 16
    EXPECT_EQ(target.at(128, 10), 0xFF200000u + 25);  // Z at 127: 11 after the narrow b
    EXPECT_EQ(drawnColumns(target, 0), std::make_pair(100, 141));

    // Styles 3 and above draw like style 0; a text wider than its field starts left of it.
    target.fill(0);
    drawText(font, 100, 10, 20, "AB", target, 7);
    EXPECT_EQ(drawnColumns(target, 0).first, 95);  // (20 - 31) / 2 truncates toward zero, to -5
    EXPECT_EQ(target.at(96, 10), 0xFF100000u);

    // The glow cell of a character with its pen at (100, 50) covers x 94..117 and y 44..78,
    // added at 60 %.
    Surface glowTarget = Surface::create(300, 120);
    drawText(font, 100, 50, 0, "A", glowTarget, FontGlow);
    int top = 999, bottom = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 300; ++x)
            if (glowTarget.at(x, y) != 0) top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_EQ(drawnColumns(glowTarget, 0), std::make_pair(94, 117));
    EXPECT_EQ(top, 44);
    EXPECT_EQ(bottom, 78);
    EXPECT_EQ(glowTarget.at(100, 60), 0x00999999u);

    // Characters without a glyph, and missing pictures, draw nothing; near the edge it is clipped.
    Surface edge = Surface::create(40, 40);
    drawText(font, 0, 0, 0, "  ", edge, FontNormal);
    drawText(SpriteFont{pictures.map, nullptr, nullptr, nullptr}, 0, 0, 0, "AB", edge, FontNormal);
    drawText(SpriteFont{pictures.map, nullptr, nullptr, nullptr}, 0, 0, 0, "AB", edge, FontGlow);
    EXPECT_EQ(drawnColumns(edge, 0).first, -1);
    drawText(font, 30, 30, 0, "AAAA", edge, FontGlow);
    drawText(font, -10, -10, 0, "AAAA", edge, FontNormal);
    EXPECT_EQ(edge.at(0, 0), 0xFF100000u);
}

}  // namespace
}  // namespace present
