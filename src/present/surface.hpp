#pragma once
#include <cstdint>
#include <vector>

namespace present {

// A picture held by the display layer: pixels 0xAARRGGBB, rows `pitch` pixels apart, and an
// optional source colour key (-1 = none). "Locking" it is simply using its pixels.
struct Surface {
    int width = 0;
    int height = 0;
    int pitch = 0;
    int64_t colorKey = -1;
    std::vector<uint32_t> pixels;

    static Surface create(int width, int height, int64_t colorKey = -1) {
        Surface s;
        if (width <= 0 || height <= 0) return s;
        s.width = width;
        s.height = height;
        s.pitch = width;
        s.colorKey = colorKey;
        s.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        return s;
    }
    bool empty() const { return pixels.empty(); }
    uint32_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch); }
    const uint32_t* row(int y) const {
        return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    }
    void fill(uint32_t value) { pixels.assign(pixels.size(), value); }
};

inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;

}  // namespace present
