#include "layer.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace assetgen {

Rgb hex(uint32_t rrggbb) {
    return {static_cast<float>((rrggbb >> 16) & 0xFF) / 255.0f, static_cast<float>((rrggbb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rrggbb & 0xFF) / 255.0f};
}

Rgb mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb scale(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }

Layer::Layer(int width, int height) : width_(width), height_(height) {
    px_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), Rgba{});
}

void Layer::over(const Layer& top, int dx, int dy, float opacity) {
    for (int y = 0; y < top.height(); ++y) {
        for (int x = 0; x < top.width(); ++x) {
            if (!inside(x + dx, y + dy)) continue;
            Rgba s = top.at(x, y);
            if (s.a <= 0.0f && s.r <= 0.0f && s.g <= 0.0f && s.b <= 0.0f) continue;
            s.r *= opacity;
            s.g *= opacity;
            s.b *= opacity;
            s.a *= opacity;
            Rgba& d = at(x + dx, y + dy);
            const float k = 1.0f - s.a;
            d = {s.r + d.r * k, s.g + d.g * k, s.b + d.b * k, s.a + d.a * k};
        }
    }
}

void Layer::add(const Layer& top, int dx, int dy, float k) {
    for (int y = 0; y < top.height(); ++y) {
        for (int x = 0; x < top.width(); ++x) {
            if (!inside(x + dx, y + dy)) continue;
            const Rgba& s = top.at(x, y);
            Rgba& d = at(x + dx, y + dy);
            d.r += s.r * k;
            d.g += s.g * k;
            d.b += s.b * k;
            d.a = std::max(d.a, std::min(1.0f, s.a * k));
        }
    }
}

void Layer::clipTo(const Layer& mask, int dx, int dy) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float m = mask.inside(x - dx, y - dy) ? mask.at(x - dx, y - dy).a : 0.0f;
            Rgba& d = at(x, y);
            d = {d.r * m, d.g * m, d.b * m, d.a * m};
        }
    }
}

void Layer::cutOut(const Layer& mask, int dx, int dy) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float m = mask.inside(x - dx, y - dy) ? 1.0f - mask.at(x - dx, y - dy).a : 1.0f;
            Rgba& d = at(x, y);
            d = {d.r * m, d.g * m, d.b * m, d.a * m};
        }
    }
}

namespace {

// One box pass along rows (horizontal) or columns, radius r, edges treated as transparent.
void boxPass(std::vector<Rgba>& px, int w, int h, int r, bool horizontal) {
    const int len = horizontal ? w : h;
    const int lines = horizontal ? h : w;
    std::vector<Rgba> line(static_cast<size_t>(len));
    const float inv = 1.0f / static_cast<float>(2 * r + 1);
    for (int l = 0; l < lines; ++l) {
        auto index = [&](int i) {
            return horizontal ? static_cast<size_t>(l) * static_cast<size_t>(w) + static_cast<size_t>(i)
                              : static_cast<size_t>(i) * static_cast<size_t>(w) + static_cast<size_t>(l);
        };
        for (int i = 0; i < len; ++i) line[static_cast<size_t>(i)] = px[index(i)];
        Rgba sum{};
        for (int i = -r; i <= r; ++i) {
            if (i < 0 || i >= len) continue;
            const Rgba& p = line[static_cast<size_t>(i)];
            sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b, sum.a + p.a};
        }
        for (int i = 0; i < len; ++i) {
            px[index(i)] = {sum.r * inv, sum.g * inv, sum.b * inv, sum.a * inv};
            const int out = i - r;
            const int in = i + r + 1;
            if (out >= 0 && out < len) {
                const Rgba& p = line[static_cast<size_t>(out)];
                sum = {sum.r - p.r, sum.g - p.g, sum.b - p.b, sum.a - p.a};
            }
            if (in >= 0 && in < len) {
                const Rgba& p = line[static_cast<size_t>(in)];
                sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b, sum.a + p.a};
            }
        }
    }
}

}  // namespace

void Layer::blur(float radius) {
    if (radius <= 0.0f || px_.empty()) return;
    // Three box passes of width w approximate a Gaussian of sigma sqrt(3 (w^2 - 1) / 12).
    const int r = std::max(1, static_cast<int>(std::lround(radius * 0.58f)));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(px_, width_, height_, r, true);
        boxPass(px_, width_, height_, r, false);
    }
}

Layer Layer::crop(int x0, int y0, int w, int h) const {
    Layer out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inside(x0 + x, y0 + y)) out.at(x, y) = at(x0 + x, y0 + y);
    return out;
}

Layer Layer::tinted(Rgb c, float strength) const {
    Layer out(width_, height_);
    for (size_t i = 0; i < px_.size(); ++i) {
        const float a = px_[i].a * strength;
        out.pixels()[i] = {c.r * a, c.g * a, c.b * a, std::min(1.0f, a)};
    }
    return out;
}

Painter::Painter(int width, int height)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)), cr_(cairo_create(surface_)) {
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Painter::~Painter() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

Layer Painter::take() {
    cairo_surface_flush(surface_);
    const int w = cairo_image_surface_get_width(surface_);
    const int h = cairo_image_surface_get_height(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    Layer out(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            out.at(x, y) = {static_cast<float>((p >> 16) & 0xFF) / 255.0f, static_cast<float>((p >> 8) & 0xFF) / 255.0f,
                            static_cast<float>(p & 0xFF) / 255.0f, static_cast<float>(p >> 24) / 255.0f};
        }
    }
    return out;
}

Layer shapeMask(int width, int height, const std::function<void(cairo_t*)>& path) {
    return shapeMaskAt(0, 0, width, height, path);
}

Layer strokeMask(int width, int height, double lineWidth, const std::function<void(cairo_t*)>& path) {
    return strokeMaskAt(0, 0, width, height, lineWidth, path);
}

Layer shapeMaskAt(int ox, int oy, int width, int height, const std::function<void(cairo_t*)>& path) {
    Painter p(width, height);
    cairo_translate(p.cr(), -ox, -oy);
    cairo_set_source_rgb(p.cr(), 1, 1, 1);
    path(p.cr());
    cairo_fill(p.cr());
    return p.take();
}

Layer strokeMaskAt(int ox, int oy, int width, int height, double lineWidth, const std::function<void(cairo_t*)>& path) {
    Painter p(width, height);
    cairo_translate(p.cr(), -ox, -oy);
    cairo_set_source_rgb(p.cr(), 1, 1, 1);
    cairo_set_line_width(p.cr(), lineWidth);
    cairo_set_line_cap(p.cr(), CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(p.cr(), CAIRO_LINE_JOIN_ROUND);
    path(p.cr());
    cairo_stroke(p.cr());
    return p.take();
}

Layer fill(const Layer& mask, const std::function<Rgb(float x, float y)>& colourAt) {
    Layer out(mask.width(), mask.height());
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const float a = mask.at(x, y).a;
            if (a <= 0.0f) continue;
            const Rgb c = colourAt(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            out.at(x, y) = {c.r * a, c.g * a, c.b * a, a};
        }
    }
    return out;
}

Layer render(int width, int height, int n, const std::function<Rgba(float x, float y)>& f) {
    Layer out(width, height);
    const float inv = 1.0f / static_cast<float>(n * n);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgba sum{};
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const float fx = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / static_cast<float>(n);
                    const float fy = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / static_cast<float>(n);
                    const Rgba c = f(fx, fy);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, sum.a + c.a};
                }
            }
            out.at(x, y) = {sum.r * inv, sum.g * inv, sum.b * inv, sum.a * inv};
        }
    }
    return out;
}

void roundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    const double pi = 3.14159265358979323846;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

}  // namespace assetgen
