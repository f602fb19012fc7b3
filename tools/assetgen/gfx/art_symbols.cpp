// The colour symbols: one silhouette per ball colour, laid over the tinted balls when the player
// asks for them, so that colours can be told apart by shape as well.
#include <array>
#include <cmath>
#include <initializer_list>

#include "art.hpp"
#include "paint.hpp"

namespace assetgen {

namespace {

constexpr int kSide = 20;  // one ball
// The ball's centre is the corner between its middle pixels, so shapes with whole-pixel edges
// come out crisp.
constexpr double kCentre = 10.0;

void polygon(cairo_t* cr, double cx, double cy, std::initializer_list<std::array<double, 2>> points) {
    for (const auto& p : points) cairo_line_to(cr, cx + p[0], cy + p[1]);
    cairo_close_path(cr);
}

// Circle `outer` less the circle `cut`, which overlaps it: the outer arc the long way round, then
// the cut's arc back inside it.
void crescent(cairo_t* cr, double ax, double ay, double r1, double bx, double by, double r2) {
    const double d = std::hypot(bx - ax, by - ay), toCut = std::atan2(by - ay, bx - ax);
    const double a1 = std::acos((d * d + r1 * r1 - r2 * r2) / (2 * d * r1));
    const double a2 = std::acos((d * d + r2 * r2 - r1 * r1) / (2 * d * r2));
    cairo_new_sub_path(cr);
    cairo_arc(cr, ax, ay, r1, toCut + a1, toCut + 2 * kPi - a1);
    cairo_arc_negative(cr, bx, by, r2, toCut + kPi + a2, toCut + kPi - a2);
    cairo_close_path(cr);
}

// The silhouette of ball colour `colour` (0..6: blue, yellow, green, red, white, magenta, cyan).
// Colours that some eyes confuse get shapes far apart: blue and magenta a square and a ring,
// magenta and cyan a ring and a diamond, yellow a star against the green triangle and the white
// crescent, red a cross.
void symbolPath(cairo_t* cr, int colour, double cx, double cy) {
    switch (colour) {
        case 0: polygon(cr, cx, cy, {{-4, -4}, {4, -4}, {4, 4}, {-4, 4}}); break;
        case 1: {
            for (int i = 0; i < 10; ++i) {
                const double a = -kPi / 2 + i * kPi / 5, r = i % 2 ? 2.9 : 6.8;
                cairo_line_to(cr, cx + r * std::cos(a), cy + 0.6 + r * std::sin(a));
            }
            cairo_close_path(cr);
            break;
        }
        case 2: polygon(cr, cx, cy, {{0, -6.5}, {6.2, 4}, {-6.2, 4}}); break;
        case 3:
            polygon(cr, cx, cy,
                    {{-2, -6}, {2, -6}, {2, -2}, {6, -2}, {6, 2}, {2, 2}, {2, 6}, {-2, 6}, {-2, 2}, {-6, 2}, {-6, -2}, {-2, -2}});
            break;
        case 4: crescent(cr, cx - 0.6, cy, 6.2, cx + 2.4, cy - 1.8, 4.9); break;
        case 5:
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, cy, 6.0, 0, 2 * kPi);
            cairo_new_sub_path(cr);
            cairo_arc_negative(cr, cx, cy, 3.0, 2 * kPi, 0);
            break;
        default: polygon(cr, cx, cy, {{0, -6.2}, {6.2, 0}, {0, 6.2}, {-6.2, 0}}); break;
    }
}

}  // namespace

Picture ballSymbols() {
    Layer out(kSide * 7, kSide);
    for (int colour = 0; colour < 7; ++colour) {
        auto path = [&](cairo_t* cr) { symbolPath(cr, colour, kSide * colour + kCentre, kCentre); };
        // A dark silhouette reads on every tint; the pale rim keeps it apart from the dark blue.
        out.over(strokeMask(kSide * 7, kSide, 2.2, path).tinted(hex(0xFFF4DC), 0.9f));
        const Layer body = shapeMask(kSide * 7, kSide, path);
        out.over(body.tinted(palette::ink, 0.9f));
        // The ball's gloss passes over the silhouette, so it sits inside the glass.
        Layer gloss(kSide * 7, kSide);
        for (int y = 0; y < kSide; ++y)
            for (int x = kSide * colour; x < kSide * (colour + 1); ++x) {
                const float dx = static_cast<float>(x - kSide * colour) + 0.5f - 6.7f, dy = static_cast<float>(y) + 0.5f - 6.0f;
                const float a = body.at(x, y).a * 0.45f * std::exp(-(dx * dx + dy * dy) / (2 * 2.4f * 2.4f));
                gloss.at(x, y) = {a, a, a, a};
            }
        out.over(gloss);
    }
    return withAlpha(out);
}

}  // namespace assetgen
