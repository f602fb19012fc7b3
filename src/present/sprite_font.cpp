#include "present/sprite_font.hpp"

#include <algorithm>

#include "present/blitter.hpp"

namespace present {

namespace {

constexpr int kNarrowFirst = 26;  // map positions 26 to 51 are the narrow class
constexpr int kNarrowLast = 51;
constexpr int kNoGlyphAdvance = 13;
constexpr int kNarrowAdvance = 11;
constexpr int kGlowOffset = 6;  // a glow cell sits 6 pixels up and left of its glyph
constexpr float kGlowSource = 0.6f;
constexpr float kGlowTarget = 1.0f;

bool isNarrow(int index) { return index >= kNarrowFirst && index <= kNarrowLast; }

// How far the pen moves past a character. A wide glyph after a narrow one moves 15, otherwise 16;
// the first character of a text moves `firstWide`.
int advance(int index, int previousIndex, bool first, int firstWide) {
    if (index < 0) return kNoGlyphAdvance;
    if (isNarrow(index)) return kNarrowAdvance;
    if (first) return firstWide;
    return isNarrow(previousIndex) ? 15 : 16;
}

}  // namespace

SpriteFont makeSpriteFont(const Pictures& pictures, std::span<const uint8_t> characterMap) {
    return {characterMap, &pictures.surface(SurfacePicture::FontSprites), &pictures.surface(SurfacePicture::FontSpritesWhite),
            &pictures.image(StartupImage::FontGlow)};
}

int glyphIndex(std::span<const uint8_t> characterMap, char c) {
    const auto found = std::find(characterMap.begin(), characterMap.end(), static_cast<uint8_t>(c));
    return found == characterMap.end() ? -1 : static_cast<int>(found - characterMap.begin());
}

int measureText(std::span<const uint8_t> characterMap, std::string_view text) {
    int width = 0;
    int previous = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        const int index = glyphIndex(characterMap, text[i]);
        width += advance(index, previous, i == 0, 15);
        previous = index;
    }
    return width;
}

void drawText(const SpriteFont& font, int x, int y, int fieldWidth, std::string_view text, Surface& target, int style) {
    if (fieldWidth != 0) x += (fieldWidth - measureText(font.characterMap, text)) / 2;
    const Surface* strip = style == FontWhite ? font.white : font.normal;
    int pen = x;
    int previous = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        const int index = glyphIndex(font.characterMap, text[i]);
        if (index >= 0) {
            if (style == FontGlow) {
                if (font.glow)
                    blendBlit(kGlowCellWidth * index, 0, pen - kGlowOffset, y - kGlowOffset, kGlowCellWidth, kGlowCellHeight,
                              *font.glow, target, kGlowSource, kGlowTarget);
            } else if (strip) {
                copyRect(*strip, kGlyphWidth * index, 0, pen, y, kGlyphWidth, kGlyphHeight, target, ColourKey::Use);
            }
        }
        pen += advance(index, previous, i == 0, 16);
        previous = index;
    }
}

}  // namespace present
