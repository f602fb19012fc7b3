#pragma once
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace present {

inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;

// The three colour bytes of a pixel; the fourth byte is never part of a comparison or a blend.
inline constexpr uint32_t kColourMask = 0x00FFFFFF;
inline constexpr int64_t kNoColourKey = -1;
inline constexpr int64_t kMagentaKey = 0xFF00FF;
inline constexpr int64_t kBlackKey = 0;

// Whether a rectangle copy skips the source pixels that match the source's colour key.
enum class ColourKey { Ignore, Use };

// A picture held by the display layer: pixels 0xAARRGGBB, rows `pitch` pixels apart, and an
// optional source colour key (-1 = none). "Locking" it is simply using its pixels. An empty surface
// (no pixels) is a slot whose picture is missing; every drawing path skips it.
struct Surface {
    int width = 0;
    int height = 0;
    int pitch = 0;
    int64_t colorKey = kNoColourKey;
    std::vector<uint32_t> pixels;

    // A zero-filled surface, or an empty one when a side is not positive or the size is absurd.
    static Surface create(int width, int height, int64_t colorKey = kNoColourKey);

    bool empty() const { return pixels.empty(); }
    bool hasColourKey() const { return colorKey >= 0; }
    // The key compares the colour bytes only: opaque magenta 0xFFFF00FF matches the key 0xFF00FF.
    uint32_t keyColour() const { return static_cast<uint32_t>(colorKey) & kColourMask; }

    uint32_t* row(int y) {
        assert(y >= 0 && y < height);
        return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    }
    const uint32_t* row(int y) const {
        assert(y >= 0 && y < height);
        return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    }
    uint32_t at(int x, int y) const {
        assert(x >= 0 && x < width);
        return row(y)[x];
    }
    void fill(uint32_t value) { pixels.assign(pixels.size(), value); }
};

}  // namespace present
