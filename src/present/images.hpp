#pragma once
#include <cassert>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "data/game_folder.hpp"
#include "present/platform.hpp"
#include "present/surface.hpp"

namespace present {

// A picture in plain memory, drawn by blendBlit: rows without padding, so the width is the pitch.
// Empty when its picture did not load; drawing skips it.
struct PixelImage {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;

    bool empty() const { return pixels.empty(); }
    uint32_t at(int x, int y) const {
        assert(x >= 0 && x < width && y >= 0 && y < height);
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    void clear() { *this = PixelImage{}; }
};

// A PNG, JPEG or BMP file decoded to 0xAARRGGBB pixels (alpha 0xFF where the file has none, 0 on
// a palette's transparent entry). Nothing when the file is missing, damaged, of an unknown kind or
// absurdly large.
std::optional<PixelImage> decodePicture(const std::filesystem::path& file);
// The same over the file's bytes.
std::optional<PixelImage> decodePictureBytes(std::span<const uint8_t> bytes);

// A surface of the given size, memory and colour key (-1: none); empty when it cannot be made.
Surface createSurface(int width, int height, int64_t colourKey);

// Loads the game's pictures by their game paths ("gfx//Ball.png"). A picture that does not decode
// beeps once and leaves its slot empty. Both loaders remember the size of the last picture they
// loaded, which callers copy into their own records.
class PictureLoader {
  public:
    PictureLoader(const data::GameFolder& folder, Platform& platform) : folder_(folder), platform_(platform) {}

    // The picture as a surface with the given memory and key; empty on failure.
    Surface loadSurfacePicture(std::string_view path, int64_t colourKey);
    // Fills `out` with the picture; on failure `out` keeps what it had and false is returned.
    bool loadPixelImage(std::string_view path, PixelImage& out);

    int lastLoadedWidth() const { return lastWidth_; }
    int lastLoadedHeight() const { return lastHeight_; }
    Platform& platform() { return platform_; }
    const data::GameFolder& folder() const { return folder_; }

  private:
    std::optional<PixelImage> decode(std::string_view path);

    const data::GameFolder& folder_;
    Platform& platform_;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
};

// Writes a surface as an opaque RGB PNG (the fourth byte is not part of the picture).
bool savePng(const Surface& surface, const std::filesystem::path& file);

}  // namespace present
