#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

// Writing and reading small picture files for the presentation tests, straight through SDL and
// SDL2_image, so the game's own loader is checked against files it did not write.
namespace picture_files {

enum class Kind { PngAlpha, PngOpaque, Jpeg, Bmp };

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, rows without padding
};

// A picture of one colour.
Picture solid(int width, int height, uint32_t colour);

// Writes `picture` as a file of the given kind (JPEG at the highest quality); parent folders are made.
void write(const std::filesystem::path& file, const Picture& picture, Kind kind);

// Writes an 8-bit palette PNG; `transparent` (if not -1) is the palette entry that is see-through.
void writePalettePng(const std::filesystem::path& file, int width, int height, const std::vector<uint8_t>& indices,
                     const std::vector<uint32_t>& palette, int transparent);

// Reads any picture SDL2_image knows into 0xAARRGGBB pixels.
Picture read(const std::filesystem::path& file);

}  // namespace picture_files
