#include "present/picture_files.hpp"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace picture_files {

namespace {

// Copies rows between a packed pixel block and a surface with its own pitch.
void copyRows(void* to, int toPitch, const void* from, int fromPitch, int rowBytes, int rows) {
    for (int y = 0; y < rows; ++y)
        std::memcpy(static_cast<uint8_t*>(to) + y * toPitch, static_cast<const uint8_t*>(from) + y * fromPitch,
                    static_cast<size_t>(rowBytes));
}

SDL_Surface* paletteSurface(const Picture& p) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, p.width, p.height, 8, SDL_PIXELFORMAT_INDEX8);
    std::vector<uint32_t> colours;
    for (size_t i = 0; i < p.pixels.size(); ++i) {
        auto at = std::find(colours.begin(), colours.end(), p.pixels[i]);
        if (at == colours.end()) at = colours.insert(colours.end(), p.pixels[i]);
        static_cast<uint8_t*>(s->pixels)[(i / p.width) * s->pitch + i % p.width] = static_cast<uint8_t>(at - colours.begin());
    }
    // The saver writes a palette entry's alpha as the file's transparency chunk.
    for (size_t i = 0; i < colours.size(); ++i) {
        const uint32_t c = colours[i];
        const SDL_Color colour{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(c >> 24 ? 255 : 0)};
        SDL_SetPaletteColors(s->format->palette, &colour, static_cast<int>(i), 1);
    }
    return s;
}

}  // namespace

void write(const std::filesystem::path& file, const Picture& picture, Kind kind) {
    std::filesystem::create_directories(file.parent_path());
    SDL_Surface* argb = SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 32, SDL_PIXELFORMAT_ARGB8888);
    copyRows(argb->pixels, argb->pitch, picture.pixels.data(), picture.width * 4, picture.width * 4, picture.height);
    SDL_Surface* saved = kind == Kind::PngAlpha     ? argb
                         : kind == Kind::PngPalette ? paletteSurface(picture)
                                                    : SDL_ConvertSurfaceFormat(argb, SDL_PIXELFORMAT_RGB24, 0);
    const int result = kind == Kind::Jpeg  ? IMG_SaveJPG(saved, file.c_str(), 100)
                       : kind == Kind::Bmp ? SDL_SaveBMP(saved, file.c_str())
                                           : IMG_SavePNG(saved, file.c_str());
    if (saved != argb) SDL_FreeSurface(saved);
    SDL_FreeSurface(argb);
    ASSERT_EQ(result, 0) << SDL_GetError();
}

Picture read(const std::filesystem::path& file) {
    SDL_Surface* loaded = IMG_Load(file.c_str());
    if (!loaded) return {};
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    Picture picture = solid(argb->w, argb->h, 0);
    copyRows(picture.pixels.data(), argb->w * 4, argb->pixels, argb->pitch, argb->w * 4, argb->h);
    SDL_FreeSurface(argb);
    return picture;
}

}  // namespace picture_files
