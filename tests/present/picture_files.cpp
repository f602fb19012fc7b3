#include "present/picture_files.hpp"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstring>

namespace picture_files {

namespace {

SDL_Surface* argbSurface(const Picture& picture) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch, &picture.pixels[static_cast<size_t>(y * picture.width)],
                    static_cast<size_t>(picture.width) * 4);
    return s;
}

}  // namespace

Picture solid(int width, int height, uint32_t colour) {
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), colour)};
}

void write(const std::filesystem::path& file, const Picture& picture, Kind kind) {
    std::filesystem::create_directories(file.parent_path());
    SDL_Surface* argb = argbSurface(picture);
    ASSERT_NE(argb, nullptr);
    SDL_Surface* saved = argb;
    if (kind != Kind::PngAlpha) saved = SDL_ConvertSurfaceFormat(argb, SDL_PIXELFORMAT_RGB24, 0);
    ASSERT_NE(saved, nullptr);
    int result = -1;
    switch (kind) {
        case Kind::PngAlpha:
        case Kind::PngOpaque: result = IMG_SavePNG(saved, file.c_str()); break;
        case Kind::Jpeg: result = IMG_SaveJPG(saved, file.c_str(), 100); break;
        case Kind::Bmp: result = SDL_SaveBMP(saved, file.c_str()); break;
    }
    if (saved != argb) SDL_FreeSurface(saved);
    SDL_FreeSurface(argb);
    ASSERT_EQ(result, 0) << SDL_GetError();
}

void writePalettePng(const std::filesystem::path& file, int width, int height, const std::vector<uint8_t>& indices,
                     const std::vector<uint32_t>& palette, int transparent) {
    std::filesystem::create_directories(file.parent_path());
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, width, height, 8, SDL_PIXELFORMAT_INDEX8);
    ASSERT_NE(s, nullptr);
    std::vector<SDL_Color> colours;
    // The saver writes a palette entry's alpha as the file's transparency chunk.
    for (size_t i = 0; i < palette.size(); ++i) {
        const uint32_t c = palette[i];
        const uint8_t alpha = static_cast<int>(i) == transparent ? 0 : 255;
        colours.push_back({static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c), alpha});
    }
    SDL_SetPaletteColors(s->format->palette, colours.data(), 0, static_cast<int>(colours.size()));
    for (int y = 0; y < height; ++y)
        std::memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch, &indices[static_cast<size_t>(y * width)],
                    static_cast<size_t>(width));
    const int result = IMG_SavePNG(s, file.c_str());
    SDL_FreeSurface(s);
    ASSERT_EQ(result, 0) << SDL_GetError();
}

Picture read(const std::filesystem::path& file) {
    Picture picture;
    SDL_Surface* loaded = IMG_Load(file.c_str());
    if (!loaded) return picture;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!argb) return picture;
    picture.width = argb->w;
    picture.height = argb->h;
    picture.pixels.resize(static_cast<size_t>(argb->w * argb->h));
    for (int y = 0; y < argb->h; ++y)
        std::memcpy(&picture.pixels[static_cast<size_t>(y * argb->w)], static_cast<uint8_t*>(argb->pixels) + y * argb->pitch,
                    static_cast<size_t>(argb->w) * 4);
    SDL_FreeSurface(argb);
    return picture;
}

}  // namespace picture_files
