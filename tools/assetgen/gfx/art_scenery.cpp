// Night skies for the title and the five level groups, the game's emblem and name, the studio
// logo of the opening screens, and the window icon and pointer.
#include <algorithm>
#include <cmath>

#include "art.hpp"
#include "compose.hpp"
#include "geometry.hpp"
#include "paint.hpp"

namespace assetgen {

namespace {

struct Mood {
    Rgb top, bottom, nebulaA, nebulaB, land, rim;
    uint32_t seed;
    float nebula;      // how much nebula there is
    int stars;         // small stars
    bool stoneCircle;  // standing stones on the horizon
};

// Dusk violet, deep-sea teal, moss green, ember red, starlit gold; then the title's calm indigo.
const Mood kMoods[6] = {
    {hex(0x08041A), hex(0x2C1440), hex(0x8C3CB8), hex(0xD45C8C), hex(0x0A0612), hex(0xB070D8), 11, 1.0f, 900, false},
    {hex(0x020A14), hex(0x063440), hex(0x18A0A0), hex(0x2A5CB8), hex(0x020E12), hex(0x40D8C8), 23, 1.0f, 800, false},
    {hex(0x030A06), hex(0x143420), hex(0x48A040), hex(0xA8B440), hex(0x030A05), hex(0x88D868), 37, 0.9f, 850, true},
    {hex(0x100404), hex(0x401208), hex(0xC83C10), hex(0xF09830), hex(0x0E0403), hex(0xFF8848), 41, 1.0f, 700, false},
    {hex(0x05081C), hex(0x2A2212), hex(0xC89430), hex(0x5C70C8), hex(0x080604), hex(0xFFD478), 53, 0.8f, 1500, true},
    {hex(0x03071A), hex(0x0E1C3C), hex(0x3054A8), hex(0x6444A4), hex(0x03050E), hex(0x7090D0), 67, 0.55f, 1000, true},
};

// Height of the hills' ridge at x: a band near the bottom of the picture.
float ridge(float x, uint32_t seed) {
    return 498.0f + 70.0f * (fbm(x * 0.004f, 3.7f, 4, seed + 5) - 0.5f) * 2.0f - 14.0f * std::sin(x * 0.006f);
}

Layer sky(const Mood& m) {
    Layer out = render(800, 600, 1, [&](float x, float y) -> Rgba {
        Rgb c = mix(m.top, m.bottom, std::pow(y / 600.0f, 1.3f));
        // Two nebula colours drifting diagonally, cut by darker dust.
        const float n1 = fbm(x * 0.0035f + 3.1f, y * 0.0045f, 6, m.seed);
        const float n2 = fbm(x * 0.005f - 7.0f, y * 0.004f + 2.0f, 6, m.seed + 17);
        const float dust = fbm(x * 0.009f, y * 0.009f, 5, m.seed + 29);
        const float band = std::exp(-std::pow((y - 0.45f * x - 80.0f) / 260.0f, 2.0f));
        const float a = smoothstep(0.42f, 0.78f, n1) * (0.35f + 0.65f * band) * m.nebula;
        const float b = smoothstep(0.48f, 0.82f, n2) * (0.25f + 0.5f * band) * m.nebula;
        c = mix(c, m.nebulaA, 0.55f * a);
        c = mix(c, m.nebulaB, 0.45f * b);
        c = scale(c, 1.0f - 0.45f * smoothstep(0.55f, 0.75f, dust) * (a + b));
        // A gentle vignette keeps the corners quiet.
        const float vx = (x - 400.0f) / 400.0f, vy = (y - 300.0f) / 300.0f;
        c = scale(c, 1.0f - 0.35f * clamp01((vx * vx + vy * vy) * 0.6f));
        return {c.r, c.g, c.b, 1.0f};
    });
    // Stars: many faint points, a few brighter ones with a halo, a handful with rays.
    Rng rng(m.seed * 7919u + 1);
    for (int i = 0; i < m.stars; ++i) {
        const float x = rng.range(0, 800), y = rng.range(0, 560);
        const float bright = std::pow(rng.uniform(), 3.0f) * 0.8f + 0.12f;
        const Rgb tone = mix(hex(0xFFFFFF), rng.uniform() < 0.5f ? hex(0xA8C8FF) : hex(0xFFE0B0), rng.uniform() * 0.6f);
        const int px = static_cast<int>(x), py = static_cast<int>(y);
        Rgba& p = out.at(px, py);
        p.r = std::min(1.0f, p.r + tone.r * bright);
        p.g = std::min(1.0f, p.g + tone.g * bright);
        p.b = std::min(1.0f, p.b + tone.b * bright);
    }
    Layer glowing(800, 600);
    for (int i = 0; i < m.stars / 25; ++i) {
        const double x = rng.range(0, 800), y = rng.range(0, 520);
        const bool rays = i % 6 == 0;
        // Each star is drawn in a small square of its own and added in place.
        const int ox = static_cast<int>(x) - 24, oy = static_cast<int>(y) - 24;
        const Layer dot = shapeMaskAt(ox, oy, 48, 48, [&](cairo_t* cr) { cairo_arc(cr, x, y, rays ? 1.6 : 1.1, 0, 2 * kPi); });
        Layer star = glow(dot, mix(m.rim, hex(0xFFFFFF), 0.6f), rays ? 5.0f : 3.0f, 1.6f);
        star.add(dot.tinted(hex(0xFFFFFF)));
        if (rays) {
            const Layer cross = strokeMaskAt(ox, oy, 48, 48, 0.8, [&](cairo_t* cr) {
                cairo_move_to(cr, x - 9, y);
                cairo_line_to(cr, x + 9, y);
                cairo_move_to(cr, x, y - 9);
                cairo_line_to(cr, x, y + 9);
            });
            star.add(glow(cross, hex(0xFFFFFF), 1.2f, 0.9f));
        }
        glowing.add(star, ox, oy);
    }
    out.add(glowing);
    return out;
}

// Hills at the bottom, lit along their ridge, with standing stones on some horizons.
void horizon(Layer& out, const Mood& m) {
    const Layer land = shapeMask(800, 600, [&](cairo_t* cr) {
        cairo_move_to(cr, 0, 600);
        for (int x = 0; x <= 800; x += 4) cairo_line_to(cr, x, ridge(static_cast<float>(x), m.seed));
        cairo_line_to(cr, 800, 600);
        cairo_close_path(cr);
        if (m.stoneCircle) {
            for (int i = 0; i < 9; ++i) {
                const double x = 60 + i * 86 + (i % 2) * 20;
                const double base = ridge(static_cast<float>(x), m.seed) + 6;
                const double h = 26 + (i * 37 % 23);
                roundRect(cr, x - 8, base - h, 16 + (i % 3) * 3, h + 10, 5);
            }
        }
    });
    const Layer lit = fill(land, [&](float x, float y) {
        const float r = ridge(x, m.seed);
        const float depth = clamp01((y - r) / 90.0f);
        return mix(mix(m.land, m.rim, 0.18f), m.land, depth);
    });
    Layer halo = glow(land, m.rim, 10.0f, 0.25f);
    halo.cutOut(land);
    out.add(halo);
    out.over(lit);
}

// The game's emblem: a rune stone in a bronze ring, its rune lit from inside. `zoom` enlarges the
// stone's grain and the ring's bevel with the picture, so a smaller or larger copy looks the same.
Layer emblem(int w, int h, double cx, double cy, double radius, float zoom = 1.0f) {
    const int size = std::max(w, h);
    Layer out(w, h);
    const Layer rim = shapeMask(size, size, [&](cairo_t* cr) { cairo_arc(cr, cx, cy, radius, 0, 2 * kPi); });
    out.over(metal(rim, palette::goldLight, palette::bronzeLight, palette::bronzeDark, 2.5f * zoom));
    const double inner = radius * 0.86;
    const float grain = 0.06f / zoom;
    const Layer disc = shapeMask(size, size, [&](cairo_t* cr) { cairo_arc(cr, cx, cy, inner, 0, 2 * kPi); });
    out.over(fill(disc, [&](float x, float y) {
        const float g = fbm(x * grain, y * grain, 4, 5);
        const float d = static_cast<float>(std::hypot(x - cx, y - cy) / inner);
        return scale(mix(hex(0x161A24), hex(0x34405A), g), 1.1f - 0.45f * d * d);
    }));
    // A stroke under a pixel wide would fade to nothing on the smallest icons.
    const Layer runeStroke = strokeMask(size, size, std::max(radius * 0.075, 1.0),
                                        [&](cairo_t* cr) { runePath(cr, 20, cx + radius * 0.05, cy, radius * 1.05, 0); });
    Layer light = glow(runeStroke, palette::cyan, static_cast<float>(radius * 0.08), 1.8f);
    light.clipTo(disc);
    out.add(light);
    out.add(runeStroke.tinted(hex(0xE8FFFF), 0.9f));
    return out;
}

}  // namespace

Picture levelBackground(int group) {
    const Mood& m = kMoods[group];
    Layer out = sky(m);
    horizon(out, m);
    return opaque(out, m.top);
}

Picture menuBackground() {
    const Mood& m = kMoods[5];
    Layer out = sky(m);
    horizon(out, m);
    return opaque(out, m.top);
}

namespace {

// Places the seven tinted balls on a circle around (cx, cy).
void ballRing(Layer& out, const Picture& balls, double cx, double cy, double r, double startAngle) {
    const Layer ballLayer = compose::layerFromKeyed(balls);
    for (int k = 0; k < 7; ++k) {
        const double a = startAngle + k * 2 * kPi / 7;
        const int x = static_cast<int>(std::lround(cx + r * std::cos(a) - 10));
        const int y = static_cast<int>(std::lround(cy + r * std::sin(a) - 10));
        out.over(ballLayer.crop(20 * k, 0, 20, 20), x, y);
    }
}

Layer wordmark(int w, int h, double size, double baseline, Font font) {
    const double width = textWidth(font, size, "LUMERIK");
    auto path = [&](cairo_t* cr) { textPath(cr, font, size, "LUMERIK", (w - width) / 2, baseline); };
    const Layer ink = shapeMask(w, h, path);
    Layer out = strokeMask(w, h, 3.0, path).tinted(hex(0x1A0C02));
    out.over(metal(ink, hex(0xFFF8D8), palette::gold, palette::goldDeep, 1.2f));
    return out;
}

}  // namespace

Picture gameLogo() {
    const Picture balls = compose::tintBalls(ballTemplate());
    Layer out(186, 212);
    out.over(emblem(186, 212, 93, 100, 64));
    ballRing(out, balls, 93, 100, 79, -kPi / 2);
    out.over(wordmark(186, 212, 30, 206, Font::SerifBold));
    return keyed(out, hex(0x0C0804));
}

Picture smallLogo() {
    Layer out(276, 52);
    const Layer gems = shapeMask(276, 52, [](cairo_t* cr) {
        for (double x : {14.0, 262.0}) {
            cairo_move_to(cr, x, 18);
            cairo_line_to(cr, x + 7, 27);
            cairo_line_to(cr, x, 36);
            cairo_line_to(cr, x - 7, 27);
            cairo_close_path(cr);
        }
    });
    out.over(fill(gems, [](float, float y) { return mix(hex(0xD8FFFF), hex(0x0A80B0), (y - 18) / 18); }));
    const Layer lines = strokeMask(276, 52, 1.5, [](cairo_t* cr) {
        cairo_move_to(cr, 24, 27);
        cairo_line_to(cr, 36, 27);
        cairo_move_to(cr, 240, 27);
        cairo_line_to(cr, 252, 27);
    });
    out.over(lines.tinted(palette::gold));
    out.over(wordmark(276, 52, 40, 42, Font::SerifBold));
    return keyed(out, hex(0x0C0804));
}

Picture logoBig() {
    // The splash emblem in light on black, drawn additively: a ring, the rune, the seven colours.
    Layer out(160, 147);
    const Layer circle = strokeMask(160, 147, 2.2, [](cairo_t* cr) { cairo_arc(cr, 80, 64, 42, 0, 2 * kPi); });
    out.add(glow(circle, palette::cyanDeep, 4.0f, 1.6f));
    out.add(circle.tinted(palette::cyan, 0.9f));
    const Layer rune = strokeMask(160, 147, 3.0, [](cairo_t* cr) { runePath(cr, 20, 82, 64, 48, 0); });
    out.add(glow(rune, hex(0xFFB030), 4.0f, 1.8f));
    out.add(rune.tinted(hex(0xFFF4D0)));
    for (int k = 0; k < 7; ++k) {
        const double a = -kPi / 2 + k * 2 * kPi / 7;
        const int* t = compose::kDefaultTints[k + 1];
        const Rgb c = mix(Rgb{t[0] / 255.0f, t[1] / 255.0f, t[2] / 255.0f}, hex(0xFFFFFF), 0.25f);
        const Layer dot = shapeMask(
            160, 147, [&](cairo_t* cr) { cairo_arc(cr, 80 + 52 * std::cos(a), 64 + 52 * std::sin(a), 4.0, 0, 2 * kPi); });
        out.add(glow(dot, c, 3.0f, 1.6f));
        out.add(dot.tinted(c, 0.9f));
    }
    const double width = textWidth(Font::SerifBold, 19, "LUMERIK");
    const Layer name =
        shapeMask(160, 147, [&](cairo_t* cr) { textPath(cr, Font::SerifBold, 19, "LUMERIK", 80 - width / 2, 138); });
    out.add(glow(name, hex(0xFFA020), 2.5f, 1.0f));
    out.add(name.tinted(hex(0xFFE8A8)));
    fadeCellEdges(out, 160, 147, 3.0f);
    return overBlack(out);
}

namespace {

// The studio's mark: a standing stone split by a crack of light.
void studioStone(Layer& out, double x, double y, double w, double h) {
    const Layer stoneMask = shapeMask(out.width(), out.height(), [&](cairo_t* cr) {
        cairo_move_to(cr, x + w * 0.15, y + h);
        cairo_curve_to(cr, x, y + h * 0.5, x + w * 0.1, y + h * 0.08, x + w * 0.5, y);
        cairo_curve_to(cr, x + w * 0.95, y + h * 0.1, x + w, y + h * 0.55, x + w * 0.88, y + h);
        cairo_close_path(cr);
    });
    out.over(fill(stoneMask, [&](float px, float py) {
        const float g = fbm(px * 0.08f, py * 0.08f, 4, 9);
        const float side = static_cast<float>((px - x) / w);
        return scale(mix(hex(0x3A4250), hex(0x6A7488), g), 1.15f - 0.6f * side);
    }));
    const Layer crack = strokeMask(out.width(), out.height(), std::max(1.2, w * 0.05), [&](cairo_t* cr) {
        cairo_move_to(cr, x + w * 0.52, y + h * 0.12);
        cairo_line_to(cr, x + w * 0.42, y + h * 0.35);
        cairo_line_to(cr, x + w * 0.58, y + h * 0.52);
        cairo_line_to(cr, x + w * 0.45, y + h * 0.75);
        cairo_line_to(cr, x + w * 0.55, y + h * 0.92);
    });
    Layer light = glow(crack, palette::cyan, static_cast<float>(w * 0.08), 1.6f);
    light.clipTo(stoneMask);
    out.add(light);
    out.add(crack.tinted(hex(0xE8FFFF)));
}

}  // namespace

Picture studioLogoBig() {
    // Shown alone on black, faded in and out additively.
    Layer out(geo::kPartnerBigW, geo::kPartnerBigH);
    studioStone(out, 34, 40, 70, 140);
    const double size = 40, width = textWidth(Font::SerifBold, size, "STONELIGHT");
    const double left = 124 + (geo::kPartnerBigW - 136 - width) / 2;
    const Layer name =
        shapeMask(out.width(), out.height(), [&](cairo_t* cr) { textPath(cr, Font::SerifBold, size, "STONELIGHT", left, 118); });
    out.add(glow(name, hex(0xFFA020), 3.0f, 0.6f));
    out.over(metal(name, hex(0xFFF8D8), palette::gold, palette::goldDeep, 1.2f));
    const Layer rule = strokeMask(out.width(), out.height(), 1.2, [&](cairo_t* cr) {
        cairo_move_to(cr, left + 4, 136);
        cairo_line_to(cr, left + width - 4, 136);
    });
    out.over(rule.tinted(palette::goldDeep));
    const double subWidth = textWidth(Font::Sans, 19, "S  T  U  D  I  O");
    const Layer sub = shapeMask(out.width(), out.height(), [&](cairo_t* cr) {
        textPath(cr, Font::Sans, 19, "S  T  U  D  I  O", left + (width - subWidth) / 2, 166);
    });
    out.over(sub.tinted(hex(0xB8C8DC)));
    return overBlack(out);
}

Picture studioLogoSmall() {
    // The studio's mark for the title's corner, kept with the magenta key.
    Layer out(geo::kPartnerLogo.w, geo::kPartnerLogo.h);
    studioStone(out, 3, 4, 18, 37);
    const double size = 11.5, width = textWidth(Font::SerifBold, size, "STONELIGHT");
    const double left = 25 + (geo::kPartnerLogo.w - 27 - width) / 2;
    auto name = [&](cairo_t* cr) { textPath(cr, Font::SerifBold, size, "STONELIGHT", left, 22); };
    Layer edge = strokeMask(out.width(), out.height(), 2.4, name);
    out.over(edge.tinted(hex(0x1A0C02)));
    out.over(shapeMask(out.width(), out.height(), name).tinted(palette::gold));
    const double subWidth = textWidth(Font::SansBold, 9, "S T U D I O");
    auto sub = [&](cairo_t* cr) { textPath(cr, Font::SansBold, 9, "S T U D I O", left + (width - subWidth) / 2, 36); };
    out.over(strokeMask(out.width(), out.height(), 2.2, sub).tinted(hex(0x0A0E18)));
    out.over(shapeMask(out.width(), out.height(), sub).tinted(hex(0xC8D4E4)));
    return keyed(out, hex(0x0C0804));
}

Picture windowIcon(int size) {
    // Laid out on 64 pixels and scaled; at 64 this is the window's own icon.
    const double k = size / 64.0;
    Layer out = emblem(size, size, 32 * k, 32 * k, 30 * k, static_cast<float>(k));
    for (int n = 0; n < 7; ++n) {
        const double a = -kPi / 2 + n * 2 * kPi / 7;
        const int* t = compose::kDefaultTints[n + 1];
        const Rgb c = mix(Rgb{t[0] / 255.0f, t[1] / 255.0f, t[2] / 255.0f}, hex(0xFFFFFF), 0.2f);
        const Layer dot = shapeMask(size, size, [&](cairo_t* cr) {
            cairo_arc(cr, 32 * k + 20 * k * std::cos(a), 32 * k + 20 * k * std::sin(a), std::max(3.2 * k, 1.25), 0, 2 * kPi);
        });
        out.over(dot.tinted(c));
    }
    return withAlpha(out);
}

Picture pointerCursor() {
    // A gold pointer whose tip is the top-left pixel, with a soft shadow.
    auto path = [](cairo_t* cr) {
        cairo_move_to(cr, 1, 1);
        cairo_line_to(cr, 1, 22);
        cairo_line_to(cr, 6.5, 17);
        cairo_line_to(cr, 10.5, 26);
        cairo_line_to(cr, 14.5, 24.3);
        cairo_line_to(cr, 10.5, 15.5);
        cairo_line_to(cr, 17.5, 15.5);
        cairo_close_path(cr);
    };
    const Layer body = shapeMask(32, 32, path);
    Layer edge = strokeMask(32, 32, 2.0, path);
    edge.over(body);
    Layer out(32, 32);
    Layer shadow = edge.tinted(hex(0x000000), 0.45f);
    shadow.blur(2.0f);
    out.over(shadow, 2, 2);
    out.over(edge.tinted(hex(0x1A0C02)));
    out.over(metal(body, hex(0xFFFBE8), palette::gold, palette::goldDeep, 1.0f));
    return withAlpha(out);
}

}  // namespace assetgen
