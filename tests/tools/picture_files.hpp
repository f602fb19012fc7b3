#pragma once
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Reading the built game folder's pictures and settings the way the game does, for the tool tests.
namespace tools_test {

// A picture decoded by SDL_image and converted to 0xAARRGGBB, as the game loads it.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> px;
    uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    uint32_t rgb(int x, int y) const { return at(x, y) & 0xFFFFFFu; }
    bool isKey(int x, int y) const { return rgb(x, y) == 0xFF00FFu; }
};

// The file the game finds for a path as it writes it ("gfx//Menu//..."), through its path mapper.
std::filesystem::path gameFile(const std::string& gamePath);
// Decodes the picture at a game path; an empty result when it does not decode.
Pixels loadPicture(const std::string& gamePath);

// The graphics settings as the game's keyword scanner reads them.
struct Strip {
    int type = 0, frames = 0, frameWidth = 0, centerX = 0, centerY = 0;
    float transparencyS = 0, transparencyD = 0;
};
struct GraphicsSettings {
    Strip strips[3];  // Rise, Explode, Level
    int bonus[5][4] = {};
    float menuTransparency = 0;
};
GraphicsSettings scanGraphicsSettings(const std::string& text);

// The eleven lines of the branding file.
std::vector<std::string> brandingLines();

inline int luminance(uint32_t p) { return static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3; }
inline int maxChannel(uint32_t p) {
    const int r = static_cast<int>((p >> 16) & 0xFF), g = static_cast<int>((p >> 8) & 0xFF), b = static_cast<int>(p & 0xFF);
    return std::max(r, std::max(g, b));
}

}  // namespace tools_test
