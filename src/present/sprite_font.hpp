#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "present/images.hpp"
#include "present/pictures.hpp"
#include "present/surface.hpp"

namespace present {

// Glyph cells of the two glyph strips and of the glow strip.
inline constexpr int kGlyphWidth = 15;
inline constexpr int kGlyphHeight = 26;
inline constexpr int kGlowCellWidth = 24;
inline constexpr int kGlowCellHeight = 35;

// The sprite font: the character map (byte i is the character of glyph cell i), the normal and
// white glyph strips (surfaces keyed magenta) and the glow strip. Missing pictures draw nothing.
struct SpriteFont {
    std::span<const uint8_t> characterMap;
    const Surface* normal = nullptr;
    const Surface* white = nullptr;
    const PixelImage* glow = nullptr;
};

// The font made of the loaded pictures and a character map.
SpriteFont makeSpriteFont(const Pictures& pictures, std::span<const uint8_t> characterMap);

// 0 the normal strip, 1 the white strip, 2 the glow strip drawn additively; 3 and above as 0.
enum FontStyle : int { FontNormal = 0, FontWhite = 1, FontGlow = 2 };

// The first position of `c` in the map, or -1 when the font has no glyph for it.
int glyphIndex(std::span<const uint8_t> characterMap, char c);

// The width of `text` in pixels: 13 for a character without a glyph, 11 for the narrow class (map
// positions 26 to 51), 15 or 16 for the others (15 first or after a narrow one).
int measureText(std::span<const uint8_t> characterMap, std::string_view text);

// Draws `text` at (x, y), centred in a field of `fieldWidth` pixels starting at x unless that is 0.
// A leading wide glyph moves the pen by 16 where measuring counts 15, so a drawn run can be one
// pixel wider than measured. Clipped to the target.
void drawText(const SpriteFont& font, int x, int y, int fieldWidth, std::string_view text, Surface& target, int style);

}  // namespace present
