// The board's pieces: the ball template, the block backdrops and sockets, the bars and the side
// buttons with their glows.
#include <algorithm>
#include <cmath>

#include "art.hpp"
#include "geometry.hpp"
#include "paint.hpp"

namespace assetgen {

namespace {

// Shading of a glass ball of radius 9.6 centred at (10, 10), in grey: light from the upper left
// gives a soft body, a sharp window highlight, and light focused through the glass pools at the
// lower right. The values stay well above black so that the darkest tint still shows its colour.
float ballShade(float x, float y) {
    const float cx = 10.0f, cy = 10.0f, r = 9.6f;
    const float dx = (x - cx) / r;
    const float dy = (y - cy) / r;
    const float d2 = dx * dx + dy * dy;
    const float nz = std::sqrt(std::max(0.0f, 1.0f - d2));
    const float lx = -0.45f, ly = -0.62f, lz = 0.64f;
    const float diffuse = std::max(0.0f, dx * lx + dy * ly + nz * lz);
    float v = 0.17f + 0.50f * std::pow(diffuse, 1.4f);
    // Light gathered through the glass on the far side.
    const float fx = x - (cx + 2.6f), fy = y - (cy + 4.2f);
    v += 0.42f * std::exp(-(fx * fx + fy * fy) / (2.0f * 2.8f * 2.8f));
    // The glossy highlight: a soft sheen plus a crisp window reflection.
    const float hx = lx, hy = ly, hz = lz + 1.0f;
    const float hn = std::sqrt(hx * hx + hy * hy + hz * hz);
    const float spec = std::pow(std::max(0.0f, (dx * hx + dy * hy + nz * hz) / hn), 24.0f);
    v += 0.45f * spec;
    const float wx = (x - (cx - 3.3f)), wy = (y - (cy - 4.0f));
    const float ca = std::cos(-0.6f), sa = std::sin(-0.6f);
    const float ex = (wx * ca - wy * sa) / 2.7f, ey = (wx * sa + wy * ca) / 1.6f;
    const float e = ex * ex + ey * ey;
    if (e < 1.0f) v = std::max(v, 1.0f - 0.25f * e * e);
    // The rim darkens towards the edge, with a thin rim of reflected light at the bottom.
    v -= 0.16f * std::pow(1.0f - nz, 2.0f);
    if (d2 > 0.70f && dy > 0.25f) v += 0.14f * smoothstep(0.70f, 0.92f, d2) * dy;
    return std::clamp(v, 0.13f, 1.0f);
}

// Colour of a block tile at tile-space point (ux, uy) around its centre, the tile turned by `a`.
struct TileLook {
    float a;
    Rgba operator()(float ux, float uy) const;
};

Rgba TileLook::operator()(float ux, float uy) const {
    const float half = 27.0f, corner = 18.0f;
    const float qx = std::max(std::abs(ux) - (half - corner), 0.0f);
    const float qy = std::max(std::abs(uy) - (half - corner), 0.0f);
    const float d = std::sqrt(qx * qx + qy * qy) - corner;  // < 0 inside
    if (d > 0.0f) return {};
    // Screen-space light: the tile turns, the light stays at the upper left.
    const float ca = std::cos(a), sa = std::sin(a);
    auto toScreen = [&](float x, float y, float& sx, float& sy) {
        sx = x * ca + y * sa;
        sy = -x * sa + y * ca;
    };
    const float grain = fbm(ux * 0.22f + 40.0f, uy * 0.22f + 11.0f, 4, 7);
    Rgb base = mix(hex(0x4A4440), hex(0x6A625A), grain);
    // Bevelled edge: the rim facing the light is bright, the other dark.
    if (d > -3.5f) {
        float nx = 0, ny = 0;
        if (qx > 0 || qy > 0) {
            const float len = std::sqrt(qx * qx + qy * qy);
            nx = (ux < 0 ? -qx : qx) / len;
            ny = (uy < 0 ? -qy : qy) / len;
        } else if (std::abs(ux) > std::abs(uy)) {
            nx = ux < 0 ? -1.0f : 1.0f;
        } else {
            ny = uy < 0 ? -1.0f : 1.0f;
        }
        float sx, sy;
        toScreen(nx, ny, sx, sy);
        const float facing = -(sx + sy) * 0.7071f;
        const float k = 1.0f - (-d) / 3.5f;
        base = facing > 0 ? mix(base, hex(0xB8AC98), 0.55f * facing * k) : scale(base, 1.0f + 0.55f * facing * k);
        if (d > -1.0f) base = scale(base, 0.7f);
    }
    // Four cups where the balls rest, and the bronze pin the block turns on.
    for (int i = 0; i < 4; ++i) {
        const float cx = (i < 2 ? -14.0f : 14.0f);
        const float cy = (i % 2 == 0 ? -14.0f : 14.0f);
        const float ex = ux - cx, ey = uy - cy;
        const float e = std::sqrt(ex * ex + ey * ey);
        if (e < 11.0f) {
            float sx, sy;
            toScreen(ex, ey, sx, sy);
            const float wall = (sx + sy) * 0.7071f / 11.0f;  // the lower-right wall catches the light
            const float depth = e / 11.0f;
            Rgb cup = scale(hex(0x2A2624), 0.85f + 0.9f * wall * depth * depth);
            if (e > 10.0f) cup = mix(cup, hex(0x8A8070), 0.5f);
            base = cup;
        }
    }
    const float pin = std::sqrt(ux * ux + uy * uy);
    if (pin < 3.2f) {
        float sx, sy;
        toScreen(ux, uy, sx, sy);
        base = mix(palette::bronze, palette::goldLight, clamp01(0.5f - (sx + sy) * 0.16f));
    }
    return {base.r, base.g, base.b, 1.0f};
}

// Fill of a bar tube: a capsule 35 wide in a 51-wide column, lit like a glass cylinder.
Layer barFill(Rgb deep, Rgb bright, Rgb white, uint32_t seed, float intensity) {
    const float left = 8.0f, width = 35.0f, radius = 17.5f;
    return render(51, 270, 3, [&](float x, float y) -> Rgba {
        const float cx = left + width / 2;
        float dy = 0;
        if (y < radius) dy = radius - y;
        if (y > 270 - radius) dy = y - (270 - radius);
        const float dx = std::abs(x - cx);
        if (dx * dx + dy * dy > radius * radius) return {};
        const float u = (x - left) / width;  // 0..1 across the tube
        const float round = std::sin(clamp01(u) * static_cast<float>(kPi));
        float light = 0.35f + 0.65f * round;
        // Slow rising streaks and a few bubbles.
        const float streak = fbm(x * 0.25f, y * 0.03f, 3, seed);
        light *= 0.8f + 0.4f * streak;
        Rgb c = mix(deep, bright, clamp01(light * intensity));
        const float gloss = std::exp(-std::pow((u - 0.28f) / 0.07f, 2.0f));
        c = mix(c, white, 0.45f * gloss);
        const float bubble = valueNoise(x * 0.5f, y * 0.5f, seed + 9);
        if (bubble > 0.93f) c = mix(c, white, (bubble - 0.93f) * 8.0f);
        return {c.r, c.g, c.b, 1.0f};
    });
}

// The face of a side button: a bronze-rimmed rounded plate of blue glass.
Layer sideButtonFace(int w, int h) {
    Layer out(w, h);
    const Layer body = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, 0.5, 0.5, w - 1, h - 1, 11); });
    out.over(metal(body, palette::goldLight, palette::bronzeLight, palette::bronzeDark, 2.0f));
    const Layer face = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, 4, 4, w - 8, h - 8, 8); });
    out.over(fill(face, [&](float, float y) {
        const float t = (y - 4) / static_cast<float>(h - 8);
        return mix(hex(0x2C5E92), hex(0x0C1E3C), std::pow(t, 0.8f));
    }));
    // Gloss on the upper half of the glass.
    const Layer gloss = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, 7, 5.5, w - 14, (h - 8) * 0.42, 6); });
    out.over(gloss.tinted(hex(0xCFE8FF), 0.22f));
    // A thin inner line of light along the bottom of the glass.
    const Layer rim = strokeMask(w, h, 1.0, [&](cairo_t* cr) {
        cairo_move_to(cr, 12, h - 6.5);
        cairo_line_to(cr, w - 12, h - 6.5);
    });
    out.add(rim.tinted(palette::cyan, 0.35f));
    return out;
}

}  // namespace

Picture ballTemplate() {
    Picture out(40, 20, kMagenta);
    const int n = 4;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            float shade = 0, cover = 0;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const float fx = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / n;
                    const float fy = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / n;
                    const float dx = fx - 10.0f, dy = fy - 10.0f;
                    if (dx * dx + dy * dy > 9.6f * 9.6f) continue;
                    shade += ballShade(fx, fy);
                    cover += 1;
                }
            }
            const float c = cover / static_cast<float>(n * n);
            if (c < 0.45f) {
                out.at(x, y) = 0xFF000000u;
                continue;
            }
            // Edge pixels darken with their missing coverage, so the kept outline is not jagged.
            float v = shade / cover;
            v = v * c + 0.2f * (1.0f - c);
            out.at(x, y) = packRgb(v, v, v);
            out.at(20 + x, y) = 0xFFFFFFFFu;
        }
    }
    return out;
}

Picture blockBackdrops() {
    Layer strip(62 * 6, 62);
    for (int s = 0; s < 6; ++s) {
        const float a = static_cast<float>(geo::kStepAngles[static_cast<size_t>(s)] * kPi / 180.0);
        const TileLook look{a};
        const Layer frame = render(62, 62, 4, [&](float x, float y) {
            // Turn the screen point back into the tile's own frame (the tile turns
            // counter-clockwise on screen).
            const float px = x - 31.0f, py = y - 31.0f;
            const float ux = px * std::cos(a) - py * std::sin(a);
            const float uy = px * std::sin(a) + py * std::cos(a);
            return look(ux, uy);
        });
        strip.over(frame, 62 * s, 0);
    }
    return keyed(strip, hex(0x1A1612));
}

Picture socket() {
    const Layer well = shapeMask(66, 66, [](cairo_t* cr) { cairo_arc(cr, 33, 33, 32.5, 0, 2 * kPi); });
    Layer out(66, 66);
    out.over(metal(well, palette::bronzeLight, palette::bronze, palette::bronzeDark, 2.5f));
    const Layer inner = shapeMask(66, 66, [](cairo_t* cr) { cairo_arc(cr, 33, 33, 28.5, 0, 2 * kPi); });
    out.over(fill(inner, [](float x, float y) {
        const float d = std::hypot(x - 33.0f, y - 33.0f) / 28.5f;
        return scale(hex(0x141210), 1.0f + 0.6f * d * d);
    }));
    return keyed(out, hex(0x120E0A));
}

Picture barsTimeProgress() {
    Layer out(102, 270);
    out.over(barFill(hex(0x06305A), hex(0x48E4FF), hex(0xFFFFFF), 31, 1.0f), 0, 0);
    out.over(barFill(hex(0x5A2A04), hex(0xFFD060), hex(0xFFFBE0), 57, 1.0f), 51, 0);
    return keyed(out, hex(0x0A1420));
}

Picture barCritical() {
    Layer out(204, 270);
    for (int f = 0; f < 4; ++f) {
        const float k = 0.55f + 0.15f * static_cast<float>(f);
        out.over(barFill(hex(0x3A0404), mix(hex(0xC02010), hex(0xFF8060), static_cast<float>(f) / 3.0f), hex(0xFFE8D8),
                         31 + static_cast<uint32_t>(f), k),
                 51 * f, 0);
    }
    return keyed(out, hex(0x0A1420));
}

Picture freezeGlass() {
    // A slab of ice over the time tube: frosted white-blue, darker where the tube shows through,
    // cracked, with a snow crystal in the middle. Drawn cross-faded, so black stays outside it.
    const Layer slab = shapeMask(57, 306, [](cairo_t* cr) { roundRect(cr, 1, 2, 55, 302, 14); });
    Layer out = fill(slab, [](float x, float y) {
        const float frost = fbm(x * 0.09f, y * 0.05f, 5, 211);
        Rgb c = mix(hex(0x9CC8E8), hex(0xEAF6FF), frost);
        const bool overTube = x > 6 && x < 45 && y > 4 && y < 278;
        if (overTube) c = mix(c, hex(0x4C88B8), 0.35f * (1.0f - frost));
        return c;
    });
    const Layer cracks = strokeMask(57, 306, 1.0, [](cairo_t* cr) {
        Rng rng(5);
        for (int i = 0; i < 14; ++i) {
            double x = rng.range(4, 53), y = rng.range(6, 300);
            cairo_move_to(cr, x, y);
            for (int j = 0; j < 4; ++j) {
                x += rng.range(-9, 9);
                y += rng.range(-14, 14);
                cairo_line_to(cr, std::clamp(x, 3.0, 54.0), std::clamp(y, 4.0, 302.0));
            }
        }
    });
    out.over(cracks.tinted(hex(0xFFFFFF), 0.7f));
    const Layer flake = strokeMask(57, 306, 2.2, [](cairo_t* cr) {
        for (int i = 0; i < 6; ++i) {
            const double a = i * kPi / 3;
            const double cx = 28.5, cy = 140;
            cairo_move_to(cr, cx, cy);
            cairo_line_to(cr, cx + 16 * std::cos(a), cy + 16 * std::sin(a));
            const double bx = cx + 10 * std::cos(a), by = cy + 10 * std::sin(a);
            cairo_move_to(cr, bx + 5 * std::cos(a + 0.8), by + 5 * std::sin(a + 0.8));
            cairo_line_to(cr, bx, by);
            cairo_line_to(cr, bx + 5 * std::cos(a - 0.8), by + 5 * std::sin(a - 0.8));
        }
    });
    out.over(flake.tinted(hex(0xFFFFFF)));
    const Layer edge = strokeMask(57, 306, 2.0, [](cairo_t* cr) { roundRect(cr, 2, 3, 53, 300, 13); });
    out.over(edge.tinted(hex(0xF4FCFF), 0.8f));
    return overBlack(out);
}

Picture sideButtons() {
    Layer out(236, 96);
    const Layer face = sideButtonFace(114, 42);
    for (int i = 0; i < 4; ++i) {
        const int cellX = (i % 2) * 118;
        const int cellY = (i / 2) * 48;
        // The back button's cell is drawn 3 pixels above its hit rectangle: its face sits 3
        // pixels lower in the cell so that all four buttons line up on screen.
        const int drop = present::layout::kPlayButtons[static_cast<size_t>(8 + i)].rect.y -
                         present::layout::kFramePieces[static_cast<size_t>(6 + i)].at.y;
        out.over(face, cellX + 2, cellY + 3 + drop);
    }
    // The cell order of the picture is back, shuffle (top row), options, pause.
    return keyed(out, hex(0x1A1008));
}

Picture sideButtonGlows() {
    Layer out(320, 186);
    for (int i = 0; i < 4; ++i) {
        const int cellX = (i % 2) * 160;
        const int cellY = (i / 2) * 93;
        const Layer body = shapeMask(160, 93, [](cairo_t* cr) { roundRect(cr, 23, 26, 114, 42, 11); });
        // The halo stays outside the face, which only brightens a little, so the caption reads.
        Layer cell = glow(body, palette::cyan, 12.0f, 1.3f);
        cell.cutOut(body);
        cell.add(body.tinted(hex(0x183048), 1.0f));
        const Layer ring = strokeMask(160, 93, 2.0, [](cairo_t* cr) { roundRect(cr, 24, 27, 112, 40, 10); });
        cell.add(glow(ring, palette::goldLight, 1.5f, 1.2f));
        out.over(cell, cellX, cellY);
    }
    return overBlack(out);
}

}  // namespace assetgen
