// The two drawing primitives against SDL's own blitter on the same work, and the opaque full-frame
// copy against a plain memcpy. Each pair draws the same pixels into the same 800 by 600 frame.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "present/blitter.hpp"

namespace {

using present::PixelImage;
using present::Surface;

// A picture like the game's: a round shape in the key colour's surround, shaded inside.
Surface keyedPicture(int side) {
    Surface s = Surface::create(side, side, present::kMagentaKey);
    const double r = side / 2.0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double dx = x + 0.5 - r, dy = y + 0.5 - r;
            s.row(y)[x] =
                dx * dx + dy * dy < r * r ? 0xFF000000u | uint32_t(x * 255 / side) << 16 | uint32_t(y * 255 / side) : 0xFFFF00FFu;
        }
    return s;
}

// A glow: black around a soft bright middle, opaque as decoded.
PixelImage glowPicture(int width, int height) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double dx = (x - width / 2.0) / (width / 2.0), dy = (y - height / 2.0) / (height / 2.0);
            const double v = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy));
            const uint32_t c = static_cast<uint32_t>(v * 255);
            image.pixels[static_cast<size_t>(y * width + x)] = 0xFF000000u | c << 16 | c << 8 | c;
        }
    return image;
}

Surface frame(uint32_t fill) {
    Surface s = Surface::create(present::kScreenWidth, present::kScreenHeight);
    s.fill(fill);
    return s;
}

SDL_Surface* sdlView(const uint32_t* pixels, int width, int height, int pitch) {
    return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32, pitch * 4,
                                              SDL_PIXELFORMAT_ARGB8888);
}

void BM_CopyRectOpaque800x600(benchmark::State& state) {
    const Surface source = frame(0x00123456);
    Surface target = frame(0);
    for (auto _ : state) {
        present::copyRect(source, 0, 0, 0, 0, 800, 600, target, present::ColourKey::Ignore);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyRectOpaque800x600);

void BM_SdlBlitOpaque800x600(benchmark::State& state) {
    const Surface source = frame(0x00123456);
    Surface target = frame(0);
    SDL_Surface* src = sdlView(source.pixels.data(), 800, 600, source.pitch);
    SDL_Surface* dst = sdlView(target.pixels.data(), 800, 600, target.pitch);
    SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
    for (auto _ : state) {
        SDL_BlitSurface(src, nullptr, dst, nullptr);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}
BENCHMARK(BM_SdlBlitOpaque800x600);

void BM_Memcpy800x600(benchmark::State& state) {
    const Surface source = frame(0x00123456);
    Surface target = frame(0);
    for (auto _ : state) {
        std::memcpy(target.pixels.data(), source.pixels.data(), source.pixels.size() * 4);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy800x600);

void BM_CopyRectKeyed448(benchmark::State& state) {
    const Surface source = keyedPicture(448);
    Surface target = frame(0x00203040);
    for (auto _ : state) {
        present::copyRect(source, 0, 0, 176, 76, 448, 448, target, present::ColourKey::Use);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyRectKeyed448);

void BM_SdlBlitKeyed448(benchmark::State& state) {
    const Surface source = keyedPicture(448);
    Surface target = frame(0x00203040);
    SDL_Surface* src = sdlView(source.pixels.data(), 448, 448, source.pitch);
    SDL_Surface* dst = sdlView(target.pixels.data(), 800, 600, target.pitch);
    SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
    SDL_SetColorKey(src, SDL_TRUE, 0xFFFF00FF);
    SDL_Rect at{176, 76, 448, 448};
    for (auto _ : state) {
        SDL_Rect place = at;
        SDL_BlitSurface(src, nullptr, dst, &place);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}
BENCHMARK(BM_SdlBlitKeyed448);

void BM_BlendBlitAdd212x72(benchmark::State& state) {
    const PixelImage source = glowPicture(212, 72);
    Surface target = frame(0x00203040);
    for (auto _ : state) {
        present::blendBlit(0, 0, 294, 264, 212, 72, source, target, 1.0f, 1.0f);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlendBlitAdd212x72);

void BM_SdlBlitAdd212x72(benchmark::State& state) {
    const PixelImage source = glowPicture(212, 72);
    Surface target = frame(0x00203040);
    SDL_Surface* src = sdlView(source.pixels.data(), 212, 72, source.width);
    SDL_Surface* dst = sdlView(target.pixels.data(), 800, 600, target.pitch);
    SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_ADD);
    SDL_Rect at{294, 264, 212, 72};
    for (auto _ : state) {
        SDL_Rect place = at;
        SDL_BlitSurface(src, nullptr, dst, &place);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}
BENCHMARK(BM_SdlBlitAdd212x72);

// The other factor pairs the game draws with, for reference: the 60 % glow and a cross-fade.
void BM_BlendBlitGlow212x72(benchmark::State& state) {
    const PixelImage source = glowPicture(212, 72);
    Surface target = frame(0x00203040);
    for (auto _ : state) {
        present::blendBlit(0, 0, 294, 264, 212, 72, source, target, 0.6f, 1.0f);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlendBlitGlow212x72);

void BM_BlendBlitCrossFade212x72(benchmark::State& state) {
    const PixelImage source = glowPicture(212, 72);
    Surface target = frame(0x00203040);
    for (auto _ : state) {
        present::blendBlit(0, 0, 294, 264, 212, 72, source, target, 0.35f, 0.65f);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlendBlitCrossFade212x72);

}  // namespace
