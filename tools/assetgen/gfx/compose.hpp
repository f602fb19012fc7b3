#pragma once
#include <string>

#include "picture.hpp"

// A small model of how the game puts pictures on screen, for the logos and the mock-ups: the
// keyed copy, the blender and the sprite font, with the same rules as the game.
namespace assetgen::compose {

// The seven ball colours of the default level file, red, green, blue.
inline constexpr int kDefaultTints[8][3] = {{255, 0, 254}, {0, 0, 255},     {255, 217, 0}, {59, 192, 38},
                                            {201, 0, 32},  {244, 255, 230}, {182, 0, 198}, {16, 218, 255}};

// The 140 by 20 ball surface the game builds from the template with the default tints.
Picture tintBalls(const Picture& ballTemplate);
// The same balls with each colour's symbol laid over it by its alpha; the key stays round them.
Picture symbolBalls(const Picture& balls, const Picture& symbols);

// Copy of a rectangle; with `keyed`, source pixels equal to the magenta key (or, with blackKey,
// to black) are left out. Clipped to both pictures.
void copyRect(const Picture& src, int sx, int sy, int w, int h, Picture& dst, int dx, int dy, bool keyed, bool blackKey = false);
// The blender: black is transparent, each channel s * fs + d * fd, truncated and clamped. Unlike
// the game's it clips, because mock-ups place things freely.
void blendBlit(const Picture& src, int sx, int sy, int w, int h, Picture& dst, int dx, int dy, float fs, float fd);

// The sprite font: advances and drawing as the game does them.
struct SpriteFont {
    const Picture* gold = nullptr;
    const Picture* white = nullptr;
    const Picture* glow = nullptr;
    std::string map;
};
int measureText(const SpriteFont& font, const std::string& text);
void drawText(const SpriteFont& font, Picture& dst, int x, int y, int field, const std::string& text, int style);

// A layer from a keyed picture: magenta becomes transparent.
Layer layerFromKeyed(const Picture& picture);

}  // namespace assetgen::compose
