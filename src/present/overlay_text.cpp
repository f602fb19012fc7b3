#include "present/overlay_text.hpp"

#include <SDL_ttf.h>

#include <string>

namespace present {

OverlayFont::~OverlayFont() {
    if (font_) TTF_CloseFont(font_);
}

bool OverlayFont::open(const std::filesystem::path& fontFile, int pointSize) {
    if (!TTF_WasInit() && TTF_Init() != 0) return false;
    if (font_) TTF_CloseFont(font_);
    font_ = TTF_OpenFont(fontFile.c_str(), pointSize);
    return font_ != nullptr;
}

void OverlayFont::draw(Surface& target, int x, int y, std::string_view text, uint32_t colour) const {
    if (!font_ || text.empty() || target.empty()) return;
    const std::string str(text);
    const SDL_Color fg{static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour), 255};
    SDL_Surface* rendered = TTF_RenderText_Blended(font_, str.c_str(), fg);
    if (!rendered) return;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!argb) return;
    // Blend the antialiased glyphs over the picture by their coverage, clipped to the target.
    for (int row = 0; row < argb->h; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= target.height) continue;
        const auto* src = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) + row * argb->pitch);
        uint32_t* dst = target.row(ty);
        for (int col = 0; col < argb->w; ++col) {
            const int tx = x + col;
            if (tx < 0 || tx >= target.width) continue;
            const uint32_t a = src[col] >> 24;
            if (a == 0) continue;
            const uint32_t d = dst[tx];
            uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const uint32_t s = (colour >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                out |= ((s * a + dc * (255 - a)) / 255) << shift;
            }
            dst[tx] = out;
        }
    }
    SDL_FreeSurface(argb);
}

}  // namespace present
