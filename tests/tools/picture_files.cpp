#include "tools/picture_files.hpp"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <fstream>
#include <string_view>

#include "data/game_folder.hpp"
#include "support/test_support.hpp"

namespace tools_test {

std::filesystem::path gameFile(const std::string& gamePath) {
    const data::GameFolder folder(testing_support::builtGameFolder());
    return folder.resolve(gamePath);
}

Pixels loadPicture(const std::string& gamePath) {
    Pixels out;
    SDL_Surface* loaded = IMG_Load(gameFile(gamePath).c_str());
    if (!loaded) return out;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb) return out;
    out.width = argb->w;
    out.height = argb->h;
    out.px.resize(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h));
    for (int y = 0; y < argb->h; ++y)
        std::memcpy(&out.px[static_cast<size_t>(y) * static_cast<size_t>(argb->w)],
                    static_cast<const uint8_t*>(argb->pixels) + static_cast<ptrdiff_t>(y) * argb->pitch,
                    static_cast<size_t>(argb->w) * 4);
    SDL_FreeSurface(argb);
    return out;
}

namespace {

// The scanner walks the text byte by byte, tests the keys in table order at each position, and
// takes the number after a key wherever it is.
struct Scan {
    std::string_view text;
    size_t pos = 0;

    bool skipToDigit() {
        while (pos < text.size() && (text[pos] < '0' || text[pos] > '9')) ++pos;
        return pos < text.size();
    }
    int integer() {
        if (!skipToDigit()) return 0;
        int v = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') v = v * 10 + (text[pos++] - '0');
        return v;
    }
    float real() {
        if (!skipToDigit()) return 0;
        const float v = std::stof(std::string(text.substr(pos, 32)));
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
        return v;
    }
};

}  // namespace

GraphicsSettings scanGraphicsSettings(const std::string& text) {
    static constexpr const char* keys[] = {"Explode",       "Level",         "Rise",      "type",
                                           "frames",        "frame_width",   "center_x",  "center_y",
                                           "transparencyS", "transparencyD", "bonus_gfx", "MenuTransparency"};
    GraphicsSettings out;
    int strip = 0;
    Scan scan{text};
    while (scan.pos < text.size()) {
        bool realTaken = false;
        for (int k = 0; k < 12 && !realTaken && scan.pos < text.size(); ++k) {
            const std::string_view key = keys[k];
            if (text.compare(scan.pos, key.size(), key) != 0) continue;
            scan.pos += key.size();
            Strip& s = out.strips[strip];
            switch (k) {
                case 0: strip = 1; break;
                case 1: strip = 2; break;
                case 2: strip = 0; break;
                case 3: s.type = scan.integer(); break;
                case 4: s.frames = scan.integer(); break;
                case 5: s.frameWidth = scan.integer(); break;
                case 6: s.centerX = scan.integer(); break;
                case 7: s.centerY = scan.integer(); break;
                case 8:
                    s.transparencyS = scan.real();
                    realTaken = true;
                    break;
                case 9:
                    s.transparencyD = scan.real();
                    realTaken = true;
                    break;
                case 10:
                    for (auto& bonus : out.bonus)
                        for (int& v : bonus) v = scan.integer();
                    break;
                case 11:
                    out.menuTransparency = scan.real();
                    realTaken = true;
                    break;
            }
        }
        ++scan.pos;
    }
    return out;
}

std::vector<std::string> brandingLines() {
    std::ifstream in(gameFile("gfx//logo//trader.ini"));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

}  // namespace tools_test
