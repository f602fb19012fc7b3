#include "compose.hpp"

#include <algorithm>
#include <cmath>

namespace assetgen::compose {

Picture tintBalls(const Picture& templ) {
    Picture out(140, 20, kMagenta);
    for (int k = 0; k < 7; ++k) {
        const int* tint = kDefaultTints[k + 1];
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                const uint32_t shape = templ.at(20 + x, y);
                if (shape == kMagenta) continue;
                const uint32_t shade = templ.at(x, y);
                auto ch = [&](int c, int shift) {
                    const int v = static_cast<int>((shade >> shift) & 0xFF);
                    return static_cast<uint32_t>(0.4 * c + 0.6 * v);
                };
                out.at(20 * k + x, y) = (shape & 0xFF000000u) | (ch(tint[0], 16) << 16) | (ch(tint[1], 8) << 8) | ch(tint[2], 0);
            }
        }
    }
    return out;
}

Picture symbolBalls(const Picture& balls, const Picture& symbols) {
    Picture out = balls;
    for (int y = 0; y < out.height && y < symbols.height; ++y)
        for (int x = 0; x < out.width && x < symbols.width; ++x) {
            uint32_t& d = out.at(x, y);
            const uint32_t s = symbols.at(x, y), a = s >> 24;
            if (d == kMagenta || a == 0) continue;
            uint32_t mixed = d & 0xFF000000u;
            for (int shift : {0, 8, 16})
                mixed |= ((((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a) + 127) / 255) << shift;
            d = mixed;
        }
    return out;
}

void copyRect(const Picture& src, int sx, int sy, int w, int h, Picture& dst, int dx, int dy, bool keyed, bool blackKey) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int px = sx + x, py = sy + y, tx = dx + x, ty = dy + y;
            if (px < 0 || py < 0 || px >= src.width || py >= src.height) continue;
            if (tx < 0 || ty < 0 || tx >= dst.width || ty >= dst.height) continue;
            const uint32_t p = src.at(px, py);
            if (keyed && !blackKey && (p & 0xFFFFFF) == 0xFF00FF) continue;
            if (keyed && blackKey && (p & 0xFFFFFF) == 0) continue;
            dst.at(tx, ty) = p;
        }
    }
}

void blendBlit(const Picture& src, int sx, int sy, int w, int h, Picture& dst, int dx, int dy, float fs, float fd) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int px = sx + x, py = sy + y, tx = dx + x, ty = dy + y;
            if (px < 0 || py < 0 || px >= src.width || py >= src.height) continue;
            if (tx < 0 || ty < 0 || tx >= dst.width || ty >= dst.height) continue;
            const uint32_t s = src.at(px, py);
            if ((s & 0xFFFFFF) == 0) continue;
            const uint32_t d = dst.at(tx, ty);
            uint32_t out = 0;
            for (int shift : {0, 8, 16}) {
                const double v = static_cast<double>((s >> shift) & 0xFF) * static_cast<double>(fs) +
                                 static_cast<double>((d >> shift) & 0xFF) * static_cast<double>(fd);
                const int c = std::clamp(static_cast<int>(v), 0, 255);
                out |= static_cast<uint32_t>(c) << shift;
            }
            dst.at(tx, ty) = out | 0xFF000000u;
        }
    }
}

namespace {

int glyphIndex(const SpriteFont& font, char c) {
    const size_t i = font.map.find(c);
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

bool isNarrow(int i) { return i >= 26 && i < 52; }

}  // namespace

int measureText(const SpriteFont& font, const std::string& text) {
    int width = 0;
    int previous = -2;  // none yet
    for (size_t k = 0; k < text.size(); ++k) {
        const int i = glyphIndex(font, text[k]);
        if (i < 0) {
            width += 13;
        } else if (isNarrow(i)) {
            width += 11;
        } else if (k == 0) {
            width += 15;
        } else {
            width += (previous >= 0 && isNarrow(previous)) ? 15 : 16;
        }
        previous = i;
    }
    return width;
}

void drawText(const SpriteFont& font, Picture& dst, int x, int y, int field, const std::string& text, int style) {
    if (field != 0) x += (field - measureText(font, text)) / 2;
    const Picture* strip = style == 1 ? font.white : font.gold;
    int previous = -2;
    for (size_t k = 0; k < text.size(); ++k) {
        const int i = glyphIndex(font, text[k]);
        if (i < 0) {
            x += 13;
            previous = i;
            continue;
        }
        if (style == 2) {
            blendBlit(*font.glow, 24 * i, 0, 24, 35, dst, x - 6, y - 6, 0.6f, 1.0f);
        } else {
            copyRect(*strip, 15 * i, 0, 15, 26, dst, x, y, true);
        }
        if (isNarrow(i)) {
            x += 11;
        } else if (k == 0 || previous < 0 || !isNarrow(previous)) {
            x += 16;
        } else {
            x += 15;
        }
        previous = i;
    }
}

Layer layerFromKeyed(const Picture& picture) {
    Layer out(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.at(x, y);
            if ((p & 0xFFFFFF) == 0xFF00FF) continue;
            out.at(x, y) = {static_cast<float>((p >> 16) & 0xFF) / 255.0f, static_cast<float>((p >> 8) & 0xFF) / 255.0f,
                            static_cast<float>(p & 0xFF) / 255.0f, 1.0f};
        }
    }
    return out;
}

}  // namespace assetgen::compose
