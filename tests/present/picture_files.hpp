#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

// Small picture files for the presentation tests, written and read straight through SDL and
// SDL2_image, so the game's own loader is checked against files it did not write.
namespace picture_files {

enum class Kind { PngAlpha, PngOpaque, Jpeg, Bmp, PngPalette };

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, rows without padding
};

inline Picture solid(int width, int height, uint32_t colour) {
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), colour)};
}

// Writes `picture` as a file of the given kind (JPEG at the highest quality; a palette PNG takes
// its colours from the pixels, those with alpha 0 as its transparent entries).
void write(const std::filesystem::path& file, const Picture& picture, Kind kind);

// Reads any picture SDL2_image knows; empty when it cannot.
Picture read(const std::filesystem::path& file);

}  // namespace picture_files
