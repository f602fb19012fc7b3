#pragma once
#include <cairo.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace assetgen {

// A colour with straight (not premultiplied) channels, 0..1.
struct Rgb {
    float r = 0, g = 0, b = 0;
};
Rgb hex(uint32_t rrggbb);
Rgb mix(Rgb a, Rgb b, float t);
Rgb scale(Rgb c, float k);

// A value held to 0..1, and the smooth step from 0 at `a` to 1 at `b`.
inline float clamp01(float v) { return v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v; }
inline float smoothstep(float a, float b, float x) {
    const float t = clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}

// A premultiplied colour, 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// A painting layer of premultiplied float pixels. Everything is drawn into layers and turned into
// the game's pixel forms (keyed, additive, opaque) only when a picture is written.
class Layer {
  public:
    Layer() = default;
    Layer(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgba& at(int x, int y) { return px_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]; }
    const Rgba& at(int x, int y) const {
        return px_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    }

    // Porter-Duff "over": `top` placed at (dx, dy) over this layer.
    void over(const Layer& top, int dx = 0, int dy = 0, float opacity = 1.0f);
    // Light added on top: colour channels add, alpha takes the larger coverage.
    void add(const Layer& top, int dx = 0, int dy = 0, float k = 1.0f);
    // Keeps this layer only where `mask` covers it.
    void clipTo(const Layer& mask, int dx = 0, int dy = 0);
    // Removes this layer where `mask` covers it.
    void cutOut(const Layer& mask, int dx = 0, int dy = 0);
    // Approximates a Gaussian blur of the given radius with three box passes.
    void blur(float radius);
    Layer crop(int x, int y, int w, int h) const;
    // The coverage of this layer filled with `colour`.
    Layer tinted(Rgb colour, float strength = 1.0f) const;

    std::vector<Rgba>& pixels() { return px_; }
    const std::vector<Rgba>& pixels() const { return px_; }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> px_;
};

// Cairo drawing onto a transparent ARGB surface; `take` turns the result into a layer.
class Painter {
  public:
    Painter(int width, int height);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;
    cairo_t* cr() { return cr_; }
    Layer take();

  private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Coverage of the path that `path` builds, filled (antialiased) in white.
Layer shapeMask(int width, int height, const std::function<void(cairo_t*)>& path);
// Coverage of the path that `path` builds, stroked with the given width and round joins.
Layer strokeMask(int width, int height, double lineWidth, const std::function<void(cairo_t*)>& path);
// The same, for the part of a larger picture that starts at (ox, oy): the path is given in the
// larger picture's coordinates.
Layer shapeMaskAt(int ox, int oy, int width, int height, const std::function<void(cairo_t*)>& path);
Layer strokeMaskAt(int ox, int oy, int width, int height, double lineWidth, const std::function<void(cairo_t*)>& path);
// `mask`'s coverage painted with a colour chosen per pixel.
Layer fill(const Layer& mask, const std::function<Rgb(float x, float y)>& colourAt);
// A layer whose every pixel comes from `f` (x, y at pixel centres), supersampled n by n.
Layer render(int width, int height, int n, const std::function<Rgba(float x, float y)>& f);

// A rounded rectangle path.
void roundRect(cairo_t* cr, double x, double y, double w, double h, double r);

}  // namespace assetgen
