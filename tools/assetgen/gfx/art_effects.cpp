// Light effects: the rise, clear and reveal strips, the five bonus animations, the firework
// sparks, the rune flights and the rune meter's glows. All but the clear strip are drawn
// additively by the game, so they are light on black.
#include <algorithm>
#include <cmath>

#include "art.hpp"
#include "geometry.hpp"
#include "paint.hpp"

namespace assetgen {

namespace {

// A hue on the colour wheel, 0..1.
Rgb hue(float h) {
    h = h - std::floor(h);
    const float r = clamp01(std::abs(h * 6 - 3) - 1);
    const float g = clamp01(2 - std::abs(h * 6 - 2));
    const float b = clamp01(2 - std::abs(h * 6 - 4));
    return {r, g, b};
}

// A soft dot of light: bright core, coloured halo.
void spark(Layer& out, float x, float y, float radius, Rgb colour, float strength) {
    const int x0 = static_cast<int>(std::floor(x - radius * 3)), x1 = static_cast<int>(std::ceil(x + radius * 3));
    const int y0 = static_cast<int>(std::floor(y - radius * 3)), y1 = static_cast<int>(std::ceil(y + radius * 3));
    for (int py = y0; py <= y1; ++py) {
        for (int px = x0; px <= x1; ++px) {
            if (!out.inside(px, py)) continue;
            const float dx = static_cast<float>(px) + 0.5f - x, dy = static_cast<float>(py) + 0.5f - y;
            const float d2 = (dx * dx + dy * dy) / (radius * radius);
            const float halo = std::exp(-d2 * 0.7f) * strength;
            const float core = std::exp(-d2 * 4.0f) * strength;
            Rgba& p = out.at(px, py);
            p.r += colour.r * halo + core * 0.8f;
            p.g += colour.g * halo + core * 0.8f;
            p.b += colour.b * halo + core * 0.8f;
            p.a = std::max(p.a, clamp01(halo));
        }
    }
}

// A ring of light of radius r and thickness t.
void ring(Layer& out, float cx, float cy, float r, float t, Rgb colour, float strength) {
    for (int py = 0; py < out.height(); ++py) {
        for (int px = 0; px < out.width(); ++px) {
            const float d = std::hypot(static_cast<float>(px) + 0.5f - cx, static_cast<float>(py) + 0.5f - cy);
            const float k = std::exp(-std::pow((d - r) / t, 2.0f)) * strength;
            Rgba& p = out.at(px, py);
            p.r += colour.r * k;
            p.g += colour.g * k;
            p.b += colour.b * k;
            p.a = std::max(p.a, clamp01(k));
        }
    }
}

// Sparse sparks that keep the effect from being a plain disc; positions are fixed per strip.
struct Shard {
    float angle, speed, size;
};
std::vector<Shard> shards(int n, uint64_t seed) {
    Rng rng(seed);
    std::vector<Shard> out;
    for (int i = 0; i < n; ++i)
        out.push_back({static_cast<float>(i) * 6.2831853f / static_cast<float>(n) + rng.range(-0.25f, 0.25f),
                       rng.range(0.7f, 1.15f), rng.range(0.7f, 1.3f)});
    return out;
}

Layer glowingRune(int w, int h, const std::vector<geo::PlacedRune>& runes, double size, double ox, double oy, Rgb halo,
                  float strength) {
    const Layer strokes = strokeMask(w, h, 1.8, [&](cairo_t* cr) {
        for (const geo::PlacedRune& r : runes) runePath(cr, r.glyph, r.x - ox, r.y - oy, size, r.angle);
    });
    Layer out = glow(strokes, halo, 2.6f, 2.2f * strength);
    out.add(strokes.tinted(hex(0xE8FFFF), 0.95f * strength));
    return out;
}

}  // namespace

Picture riseStrip() {
    // Six frames of 42: a flash where the ball is, a ring that widens, sparks drifting up.
    Layer out(42 * 6, 42);
    const auto bits = shards(7, 3);
    for (int f = 0; f < 6; ++f) {
        Layer cell(42, 42);
        const float t = static_cast<float>(f) / 5.0f;
        const float fade = 1.0f - t;
        ring(cell, 20, 20, 9.0f + 10.0f * t, 1.6f + t, palette::cyan, 0.95f * fade);
        spark(cell, 20, 20, 7.0f * (1.0f - 0.6f * t), hex(0x80E8FF), f == 0 ? 0.7f : 0.9f * fade * fade);
        for (const Shard& s : bits) {
            const float r = (6.0f + 12.0f * t) * s.speed;
            spark(cell, 20 + std::cos(s.angle) * r * 0.6f, 20 - 4.0f * t * 3 + std::sin(s.angle) * r * 0.6f, 1.3f * s.size,
                  palette::goldLight, 0.8f * fade);
        }
        out.over(cell, 42 * f, 0);
    }
    fadeCellEdges(out, 42, 42, 3.0f);
    return overBlack(out);
}

Picture explodeStrip() {
    // Twelve frames of 29 by 26 around the ball's centre (12, 15), kept as a surface with black
    // as its key: a white-gold flash breaking into shards that cool to red embers.
    Layer out(29 * 12, 26);
    const auto bits = shards(11, 17);
    for (int f = 0; f < 12; ++f) {
        Layer cell(29, 26);
        const float t = static_cast<float>(f) / 11.0f;
        if (f < 4) spark(cell, 12, 15, 7.5f - 1.2f * static_cast<float>(f), hex(0xFFD070), 1.3f - 0.25f * static_cast<float>(f));
        if (f >= 1 && f < 7)
            ring(cell, 12, 15, 4.0f + 2.4f * static_cast<float>(f), 1.1f, hex(0xFFB040), 0.9f - 0.12f * static_cast<float>(f));
        for (const Shard& s : bits) {
            const float r = (2.0f + 15.0f * std::sqrt(t)) * s.speed;
            const Rgb c = mix(hex(0xFFF0A0), hex(0xE03010), t);
            spark(cell, 12 + std::cos(s.angle) * r, 15 + std::sin(s.angle) * r + 6.0f * t * t, 1.1f * s.size * (1.1f - t * 0.5f),
                  c, 1.1f * (1.0f - t * 0.75f));
        }
        out.over(cell, 29 * f, 0);
    }
    return blackKeyed(out, 0.16f);
}

Picture revealStrip() {
    // Ten frames of 56: a ring of light closing in on the cell, ending in the flash that shows the
    // new ball.
    Layer out(56 * 10, 56);
    for (int f = 0; f < 10; ++f) {
        Layer cell(56, 56);
        const float t = static_cast<float>(f) / 9.0f;
        ring(cell, 28, 28, 25.0f - 15.0f * t, 1.3f + 1.2f * t, palette::cyan, 0.35f + 0.65f * t);
        for (int i = 0; i < 4; ++i) {
            const float a = static_cast<float>(i) * 1.5708f + t * 2.2f;
            const float r = 25.0f - 15.0f * t;
            spark(cell, 28 + std::cos(a) * r, 28 + std::sin(a) * r, 1.6f, palette::goldLight, 0.9f);
        }
        if (f >= 7)
            spark(cell, 28, 28, 4.0f + 3.0f * static_cast<float>(f - 7), hex(0xA0F0FF), 0.5f + 0.25f * static_cast<float>(f - 7));
        out.over(cell, 56 * f, 0);
    }
    fadeCellEdges(out, 56, 56, 4.0f);
    return overBlack(out);
}

Picture bonusExplode() {
    // Sixteen frames of 32: three fire sparks circling the ball on a faint ember ring.
    Layer out(32 * 16, 32);
    for (int f = 0; f < 16; ++f) {
        Layer cell(32, 32);
        ring(cell, 16, 16, 11.0f, 1.2f, hex(0xFF6010), 0.45f);
        for (int i = 0; i < 3; ++i) {
            const float a = static_cast<float>(f) / 16.0f * 6.2831853f + static_cast<float>(i) * 2.0944f;
            for (int trail = 0; trail < 4; ++trail) {
                const float ta = a - static_cast<float>(trail) * 0.22f;
                spark(cell, 16 + 11 * std::cos(ta), 16 + 11 * std::sin(ta), 1.9f - 0.3f * static_cast<float>(trail),
                      hex(0xFF8820), 1.0f - 0.22f * static_cast<float>(trail));
            }
        }
        out.over(cell, 32 * f, 0);
    }
    fadeCellEdges(out, 32, 32, 3.0f);
    return overBlack(out);
}

Picture bonusColor() {
    // Sixteen frames of 32: six dots of every hue wheeling round the ball.
    Layer out(32 * 16, 32);
    for (int f = 0; f < 16; ++f) {
        Layer cell(32, 32);
        ring(cell, 16, 16, 11.5f, 1.0f, hex(0xC0C0FF), 0.25f);
        for (int i = 0; i < 6; ++i) {
            const float a = -static_cast<float>(f) / 16.0f * 6.2831853f + static_cast<float>(i) * 1.0472f;
            spark(cell, 16 + 11.5f * std::cos(a), 16 + 11.5f * std::sin(a), 2.0f, hue(static_cast<float>(i) / 6.0f), 1.0f);
        }
        out.over(cell, 32 * f, 0);
    }
    fadeCellEdges(out, 32, 32, 3.0f);
    return overBlack(out);
}

Picture bonusFreeze() {
    // Sixteen frames of 26: a snow crystal over the ball, turning slowly and twinkling.
    Layer out(26 * 16, 26);
    for (int f = 0; f < 16; ++f) {
        const double turn = static_cast<double>(f) / 16.0 * kPi / 3;
        const Layer flake = strokeMask(26, 26, 1.5, [&](cairo_t* cr) {
            for (int i = 0; i < 6; ++i) {
                const double a = turn + i * kPi / 3;
                cairo_move_to(cr, 13, 13);
                cairo_line_to(cr, 13 + 10 * std::cos(a), 13 + 10 * std::sin(a));
                const double bx = 13 + 6 * std::cos(a), by = 13 + 6 * std::sin(a);
                cairo_move_to(cr, bx + 3.5 * std::cos(a + 0.9), by + 3.5 * std::sin(a + 0.9));
                cairo_line_to(cr, bx, by);
                cairo_line_to(cr, bx + 3.5 * std::cos(a - 0.9), by + 3.5 * std::sin(a - 0.9));
            }
        });
        Layer cell = glow(flake, hex(0x60C8FF), 2.0f, 1.4f);
        cell.add(flake.tinted(hex(0xF0FCFF), 0.9f));
        const float tw = 0.5f + 0.5f * std::sin(static_cast<float>(f) / 16.0f * 6.2831853f);
        spark(cell, 13, 13, 2.0f, hex(0xFFFFFF), 0.3f + 0.5f * tw);
        out.over(cell, 26 * f, 0);
    }
    return overBlack(out);
}

Picture bonusUniversal() {
    // Sixteen frames of 22: a glass ball of all colours, drawn opaque in place of the ball; the
    // colours swirl round once per loop.
    Layer out(22 * 16, 22);
    for (int f = 0; f < 16; ++f) {
        const float phase = static_cast<float>(f) / 16.0f;
        const Layer cell = render(22, 22, 4, [&](float x, float y) -> Rgba {
            const float dx = (x - 11.0f) / 9.6f, dy = (y - 11.0f) / 9.6f;
            const float d2 = dx * dx + dy * dy;
            if (d2 > 1.0f) return {};
            const float nz = std::sqrt(1.0f - d2);
            const float a = std::atan2(dy, dx) / 6.2831853f + phase + 0.35f * std::sqrt(d2);
            Rgb c = mix(hue(a), hex(0xFFFFFF), 0.15f);
            const float light = 0.45f + 0.55f * std::max(0.0f, -0.45f * dx - 0.62f * dy + 0.64f * nz);
            c = scale(c, light);
            const float spec = std::pow(std::max(0.0f, (-0.45f * dx - 0.62f * dy + 1.64f * nz) / 1.8f), 30.0f);
            c = mix(c, hex(0xFFFFFF), std::min(1.0f, spec));
            // Never pure black: black is what the blender leaves out.
            return {std::max(c.r, 0.02f), std::max(c.g, 0.02f), std::max(c.b, 0.02f), 1.0f};
        });
        out.over(cell, 22 * f, 0);
    }
    return overBlack(out);
}

Picture bonusScore() {
    // Twelve frames of 28: a gold cross of light that swells and settles.
    Layer out(28 * 12, 28);
    for (int f = 0; f < 12; ++f) {
        const float pulse = 0.5f + 0.5f * std::cos(static_cast<float>(f) / 12.0f * 6.2831853f);
        const double arm = 6.5 + 2.5 * pulse;
        const Layer plus = strokeMask(28, 28, 3.0, [&](cairo_t* cr) {
            cairo_move_to(cr, 14 - arm, 14);
            cairo_line_to(cr, 14 + arm, 14);
            cairo_move_to(cr, 14, 14 - arm);
            cairo_line_to(cr, 14, 14 + arm);
        });
        Layer cell = glow(plus, hex(0xFFB020), 2.5f, 1.3f + 0.4f * pulse);
        cell.add(plus.tinted(hex(0xFFF0B0), 0.85f));
        out.over(cell, 28 * f, 0);
    }
    fadeCellEdges(out, 28, 28, 3.0f);
    return overBlack(out);
}

Picture fireworkSparks() {
    // Five colours of seven frames, 27 by 27: a star that flares and burns out.
    const Rgb colours[5] = {hex(0xFFC040), hex(0x50E8FF), hex(0xFF60B0), hex(0x70FF70), hex(0xB0B8FF)};
    Layer out(27 * 35, 27);
    for (int c = 0; c < 5; ++c) {
        for (int k = 0; k < 7; ++k) {
            Layer cell(27, 27);
            const float t = static_cast<float>(k) / 6.0f;
            spark(cell, 13.5f, 13.5f, 4.0f * (1.0f - 0.55f * t), colours[c], 1.3f * (1.0f - 0.8f * t));
            const Layer rays = strokeMask(27, 27, 1.0, [&](cairo_t* cr) {
                const double len = 11.0 * (1.0 - 0.6 * t);
                for (int i = 0; i < 4; ++i) {
                    const double a = i * kPi / 4 + t;
                    cairo_move_to(cr, 13.5 - len * std::cos(a), 13.5 - len * std::sin(a));
                    cairo_line_to(cr, 13.5 + len * std::cos(a), 13.5 + len * std::sin(a));
                }
            });
            cell.add(rays.tinted(colours[c], 0.7f * (1.0f - t)));
            out.over(cell, 27 * (7 * c + k), 0);
        }
    }
    return overBlack(out);
}

Picture runeFlight() {
    // Five rows of seven frames, 27 by 27, one row per bonus kind: a rune spinning in its colour.
    const Rgb colours[5] = {hex(0xFF8020), hex(0xD060FF), hex(0x60D8FF), hex(0xF0F0F0), hex(0xFFC840)};
    const int glyphs[5] = {6, 21, 14, 10, 9};
    Layer out(948, 27);
    for (int row = 0; row < 5; ++row) {
        for (int k = 0; k < 7; ++k) {
            const double angle = k * 2 * kPi / 7;
            const std::vector<geo::PlacedRune> rune = {{13.5, 13.5, angle, glyphs[row]}};
            Layer cell = glowingRune(27, 27, rune, 15, 0, 0, colours[row], 0.9f);
            spark(cell, 13.5f, 13.5f, 5.0f, colours[row], 0.35f);
            out.over(cell, 189 * row + 27 * k, 0);
        }
    }
    return overBlack(out);
}

Picture runeSlotGlow(int slot) {
    const int s = geo::kSlotSize;
    geo::PlacedRune rune = geo::slotRune(slot);
    const double ox = present::layout::kRuneSlots[static_cast<size_t>(slot)].x,
                 oy = present::layout::kRuneSlots[static_cast<size_t>(slot)].y;
    const Layer out = glowingRune(s, s, {rune}, 14, ox, oy, palette::cyan, 1.0f);
    return overBlack(out);
}

Picture runeWord(int word) {
    const geo::Rect box = geo::wordBox(word);
    const Layer out = glowingRune(box.w, box.h, geo::wordRunes(word), 16, box.x, box.y, hex(0xFFC860), 1.0f);
    return overBlack(out);
}

}  // namespace assetgen
