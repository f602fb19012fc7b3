#include "paint.hpp"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace assetgen {

namespace {

// The FreeType faces live for the whole run of the tool.
struct Faces {
    FT_Library library = nullptr;
    std::array<cairo_font_face_t*, 6> faces{};

    Faces() {
        if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType does not start");
        static constexpr std::array<const char*, 6> files = {"DejaVuSans.ttf",     "DejaVuSans-Bold.ttf",
                                                             "DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf",
                                                             "DejaVuSerif.ttf",    "DejaVuSerif-Bold.ttf"};
        for (size_t i = 0; i < files.size(); ++i) {
            const std::string path = std::string(LUMERIK_FONT_DIR) + "/" + files[i];
            FT_Face face = nullptr;
            if (FT_New_Face(library, path.c_str(), 0, &face) != 0) throw std::runtime_error("missing font " + path);
            faces[i] = cairo_ft_font_face_create_for_ft_face(face, 0);
        }
    }
};

cairo_font_face_t* faceOf(Font font) {
    static Faces faces;
    return faces.faces[static_cast<size_t>(font)];
}

uint32_t hash2(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float smooth(float t) { return t * t * (3.0f - 2.0f * t); }

// Rune strokes in a unit box, x to the right and y down; each stroke is a polyline ended by -1.
struct Stroke {
    std::vector<float> xy;
};
const std::vector<std::vector<Stroke>>& runes() {
    static const std::vector<std::vector<Stroke>> table = {
        {{{.3f, 0, .3f, 1}}, {{.3f, .3f, .75f, .05f}}, {{.3f, .55f, .75f, .3f}}},
        {{{.25f, 1, .25f, 0, .75f, .35f, .75f, 1}}},
        {{{.3f, 0, .3f, 1}}, {{.3f, .25f, .72f, .5f, .3f, .75f}}},
        {{{.3f, 0, .3f, 1}}, {{.3f, .1f, .72f, .35f}}, {{.3f, .4f, .72f, .65f}}},
        {{{.3f, 1, .3f, 0, .72f, .25f, .3f, .5f, .72f, 1}}},
        {{{.72f, 0, .3f, .5f, .72f, 1}}},
        {{{.2f, 0, .8f, 1}}, {{.8f, 0, .2f, 1}}},
        {{{.3f, 1, .3f, 0, .72f, .25f, .3f, .5f}}},
        {{{.25f, 0, .25f, 1}}, {{.75f, 0, .75f, 1}}, {{.25f, .3f, .75f, .7f}}},
        {{{.5f, 0, .5f, 1}}, {{.25f, .35f, .75f, .65f}}},
        {{{.5f, 0, .5f, 1}}},
        {{{.45f, .08f, .2f, .33f, .45f, .58f}}, {{.55f, .42f, .8f, .67f, .55f, .92f}}},
        {{{.5f, 0, .5f, 1}}, {{.5f, 0, .78f, .2f}}, {{.5f, 1, .22f, .8f}}},
        {{{.72f, 0, .3f, .2f, .3f, .8f, .72f, 1}}},
        {{{.5f, 1, .5f, 0}}, {{.5f, .42f, .2f, .06f}}, {{.5f, .42f, .8f, .06f}}},
        {{{.72f, 0, .3f, .35f, .72f, .65f, .3f, 1}}},
        {{{.5f, 1, .5f, 0}}, {{.5f, 0, .2f, .3f}}, {{.5f, 0, .8f, .3f}}},
        {{{.3f, 0, .3f, 1}}, {{.3f, 0, .72f, .25f, .3f, .5f, .72f, .75f, .3f, 1}}},
        {{{.25f, 1, .25f, 0, .5f, .35f, .75f, 0, .75f, 1}}},
        {{{.25f, 1, .25f, 0, .75f, .5f}}, {{.75f, 1, .75f, 0, .25f, .5f}}},
        {{{.35f, 1, .35f, 0, .72f, .3f}}},
        {{{.5f, .1f, .8f, .5f, .5f, .9f, .2f, .5f, .5f, .1f}}},
        {{{.2f, 1, .75f, .45f, .5f, .15f, .25f, .45f, .8f, 1}}},
        {{{.2f, 0, .2f, 1, .8f, 0, .8f, 1, .2f, 0}}},
    };
    return table;
}

}  // namespace

void setFont(cairo_t* cr, Font font, double size) {
    cairo_set_font_face(cr, faceOf(font));
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

uint32_t Rng::next() {
    // splitmix64, folded to 32 bits.
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<uint32_t>(z >> 32);
}

float Rng::uniform() { return static_cast<float>(next() >> 8) / 16777216.0f; }

float valueNoise(float x, float y, uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = smooth(x - fx);
    const float ty = smooth(y - fy);
    auto v = [&](int dx, int dy) { return static_cast<float>(hash2(ix + dx, iy + dy, seed) >> 8) / 16777216.0f; };
    const float a = v(0, 0) + (v(1, 0) - v(0, 0)) * tx;
    const float b = v(0, 1) + (v(1, 1) - v(0, 1)) * tx;
    return a + (b - a) * ty;
}

float fbm(float x, float y, int octaves, uint32_t seed) {
    float sum = 0.0f;
    float amp = 0.5f;
    float norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += valueNoise(x, y, seed + static_cast<uint32_t>(o) * 101u) * amp;
        norm += amp;
        x = x * 2.03f + 17.1f;
        y = y * 2.03f - 9.7f;
        amp *= 0.5f;
    }
    return sum / norm;
}

Layer glow(const Layer& mask, Rgb colour, float radius, float strength) {
    Layer out = mask.tinted(colour, strength);
    out.blur(radius);
    return out;
}

void fadeCellEdges(Layer& strip, int w, int h, float margin) {
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            const int cx = x % w, cy = y % h;
            const float d = static_cast<float>(std::min({cx, cy, w - 1 - cx, h - 1 - cy}));
            const float t = std::clamp(d / margin, 0.0f, 1.0f);
            const float k = t * t * (3 - 2 * t);
            Rgba& p = strip.at(x, y);
            p = {p.r * k, p.g * k, p.b * k, p.a * k};
        }
    }
}

Layer reliefLight(const Layer& mask, float softness) {
    Layer height = mask;
    height.blur(softness);
    Layer out(mask.width(), mask.height());
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            auto h = [&](int px, int py) {
                px = std::clamp(px, 0, mask.width() - 1);
                py = std::clamp(py, 0, mask.height() - 1);
                return height.at(px, py).a;
            };
            const float dx = h(x + 1, y) - h(x - 1, y);
            const float dy = h(x, y + 1) - h(x, y - 1);
            // Light from the upper left: a slope rising towards it faces it.
            out.at(x, y).a = (dx + dy) * 0.7071f * softness;
        }
    }
    return out;
}

float lightAt(const Layer& relief, int x, int y) { return relief.at(x, y).a; }

Layer metal(const Layer& mask, Rgb light, Rgb mid, Rgb deep, float bevel) {
    const Layer relief = reliefLight(mask, bevel);
    int top = mask.height();
    int bottom = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (mask.at(x, y).a > 0.0f) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const float span = static_cast<float>(std::max(1, bottom - top));
    return fill(mask, [&](float fx, float fy) {
        const float t = (fy - static_cast<float>(top)) / span;
        Rgb c = t < 0.45f ? mix(light, mid, t / 0.45f) : mix(mid, deep, (t - 0.45f) / 0.55f);
        const float l = lightAt(relief, static_cast<int>(fx), static_cast<int>(fy));
        if (l > 0) {
            c = mix(c, hex(0xFFFFFF), std::min(0.85f, l * 0.9f));
        } else {
            c = scale(c, std::max(0.25f, 1.0f + l * 0.9f));
        }
        return c;
    });
}

Layer flatMetal(const Layer& mask, Rgb colour, float bevel) {
    const Layer relief = reliefLight(mask, bevel);
    return fill(mask, [&](float fx, float fy) {
        const float l = lightAt(relief, static_cast<int>(fx), static_cast<int>(fy));
        return l > 0 ? mix(colour, hex(0xFFFFFF), std::min(0.85f, l * 0.9f)) : scale(colour, std::max(0.25f, 1.0f + l * 0.9f));
    });
}

void runePath(cairo_t* cr, int index, double cx, double cy, double size, double angle) {
    const auto& glyph = runes()[static_cast<size_t>(((index % kRuneCount) + kRuneCount) % kRuneCount)];
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double w = size * 0.62;
    for (const Stroke& stroke : glyph) {
        for (size_t i = 0; i + 1 < stroke.xy.size(); i += 2) {
            const double ux = (stroke.xy[i] - 0.5) * w;
            const double uy = (stroke.xy[i + 1] - 0.5) * size;
            const double x = cx + ux * c - uy * s;
            const double y = cy + ux * s + uy * c;
            if (i == 0) {
                cairo_move_to(cr, x, y);
            } else {
                cairo_line_to(cr, x, y);
            }
        }
    }
}

void textPath(cairo_t* cr, Font font, double size, const std::string& text, double x, double y) {
    setFont(cr, font, size);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
}

double textWidth(Font font, double size, const std::string& text) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(s);
    setFont(cr, font, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return ext.x_advance;
}

}  // namespace assetgen
