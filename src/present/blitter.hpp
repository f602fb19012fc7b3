#pragma once
#include <cstdint>

#include "present/images.hpp"
#include "present/surface.hpp"

namespace present {

// The part of a rectangle copy that lies inside both pictures.
struct BlitRect {
    int srcX = 0, srcY = 0;
    int dstX = 0, dstY = 0;
    int width = 0, height = 0;
};

// Shrinks `rect` to the pixels that exist in a source of srcWidth by srcHeight and a destination of
// dstWidth by dstHeight, moving both corners together. False when nothing is left.
bool clipRect(BlitRect& rect, int srcWidth, int srcHeight, int dstWidth, int dstHeight);

// Draws the rectangle (srcX, srcY, width, height) of `source` with its corner at (dstX, dstY) of
// `target`. A source pixel whose colour bytes are all 0 is transparent whatever its fourth byte;
// every other pixel becomes, per colour channel, trunc(s * fs + d * fd) in double precision,
// clamped to 0..255, with 0 in the fourth byte. Clipped to both pictures; an empty one draws nothing.
void blendBlit(int srcX, int srcY, int dstX, int dstY, int width, int height, const PixelImage& source, Surface& target, float fs,
               float fd);

// Copies the rectangle (srcX, srcY, width, height) of `source` to (dstX, dstY) of `destination`,
// whole pixels, skipping those that match the source's colour key when `key` is ColourKey::Use
// (a source without a key is copied opaque). Clipped to both surfaces; false when either is empty or
// nothing of the rectangle lies inside them.
bool copyRect(const Surface& source, int srcX, int srcY, int dstX, int dstY, int width, int height, Surface& destination,
              ColourKey key);

// The outline of the rectangle (x, y, width, height), `thickness` pixels wide inside it, in one
// opaque colour; clipped to the target. The block cursor and the focus of controls without a glow
// of their own are drawn so.
void drawOutline(int x, int y, int width, int height, int thickness, uint32_t colour, Surface& target);
// Their colour: a cool white that stands out on the glass and on every ball colour.
inline constexpr uint32_t kFocusFrameColour = 0x00E8F0FF;

// The glass panel picture is cut as a nine-slice: 66-pixel corners and 116-pixel edges and centre.
inline constexpr int kGlassCorner = 66;
inline constexpr int kGlassTile = 116;

// A framed, see-through box cross-faded with opacity `a` from the 248 by 248 glass picture: corners
// alone for 0 rows and 0 columns, (132 + 116 * columns) by (132 + 116 * rows) pixels in all.
void drawGlassPanel(int x, int y, int rows, int columns, float a, Surface& target, const PixelImage& glass);

}  // namespace present
