#include "present/surface.hpp"

namespace present {

namespace {

// No picture of the game comes near this (the largest strips are a few thousand pixels wide); a
// size beyond it comes from a damaged file and is refused rather than allocated.
constexpr int kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t{1} << 24;

}  // namespace

Surface Surface::create(int width, int height, int64_t colorKey) {
    Surface s;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return s;
    if (int64_t{width} * height > kMaxPixels) return s;
    s.width = width;
    s.height = height;
    s.pitch = width;
    s.colorKey = colorKey;
    s.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return s;
}

}  // namespace present
