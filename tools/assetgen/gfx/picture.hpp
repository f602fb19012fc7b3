#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "layer.hpp"

namespace assetgen {

// A finished picture in the game's pixel layout: 0xAARRGGBB, rows without padding.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    bool withAlpha = false;  // written with an alpha channel (only the window icon and cursor)

    Picture() = default;
    Picture(int w, int h, uint32_t value = 0xFF000000u)
        : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), value) {}
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    uint32_t at(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    // Copies `src` in at (x, y), clipped.
    void paste(const Picture& src, int x, int y);
};

inline constexpr uint32_t kMagenta = 0xFFFF00FFu;

// Drawn with the colour key 0xFF00FF: coverage below `threshold` becomes magenta; partly covered
// pixels that stay are finished over `matte`, so their antialiased edge darkens instead of fringing.
Picture keyed(const Layer& layer, Rgb matte, float threshold = 0.5f);
// Drawn by the blender, where black is transparent: the colour over black, alpha dropped.
Picture overBlack(const Layer& layer);
// Kept as a surface with black as its key: pixels dimmer than `threshold` become exactly black, so
// no dark fringe is copied; the rest are opaque.
Picture blackKeyed(const Layer& layer, float threshold);
// Fully opaque over a background colour.
Picture opaque(const Layer& layer, Rgb background);
// Straight alpha, for the window icon and cursor.
Picture withAlpha(const Layer& layer);

// An opaque pixel from channels 0..1, never exactly the magenta key.
uint32_t packRgb(float r, float g, float b);

// Reads a PNG back (for looking at pictures closely).
Picture readPng(const std::filesystem::path& file);

void writePng(const std::filesystem::path& file, const Picture& picture);
void writeJpeg(const std::filesystem::path& file, const Picture& picture, int quality);
void writeBmp(const std::filesystem::path& file, const Picture& picture);
// By the file name's extension (.png, .jpg, .bmp, any case).
void writePicture(const std::filesystem::path& file, const Picture& picture);

}  // namespace assetgen
