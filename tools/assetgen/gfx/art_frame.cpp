// The play screen's frame: a ring of carved stone between bronze rims around the board, two
// gauge housings for the bars, arms holding the side buttons, a cartouche for the score and a
// plaque for the level. It is drawn once in screen coordinates; the frame pieces and the centre
// piece are cut from it, so they meet without seams.
#include <algorithm>
#include <cmath>

#include "art.hpp"
#include "geometry.hpp"
#include "paint.hpp"

namespace assetgen {

namespace {

constexpr double kCx = geo::kCentreX;
constexpr double kCy = geo::kCentreY;
constexpr double kPlateRadius = 161.0;  // the turning plate under the board
constexpr double kLipInner = 157.5;     // the frame starts here, over the plate's edge

void ringPath(cairo_t* cr, double r0, double r1) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kCx, kCy, r1, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kCx, kCy, r0, 0, 2 * kPi);
}

// An arc-shaped band between radii r0 and r1, from angle a0 to a1 (radians, screen angles), with
// round ends.
void bandPath(cairo_t* cr, double r0, double r1, double a0, double a1) {
    const double mid = (r0 + r1) / 2, half = (r1 - r0) / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, kCx, kCy, r1, a0, a1);
    cairo_arc(cr, kCx + mid * std::cos(a1), kCy + mid * std::sin(a1), half, a1, a1 + kPi);
    cairo_arc_negative(cr, kCx, kCy, r0, a1, a0);
    cairo_arc(cr, kCx + mid * std::cos(a0), kCy + mid * std::sin(a0), half, a0 + kPi, a0 + 2 * kPi);
    cairo_close_path(cr);
}

Layer stoneFill(const Layer& mask, Rgb dark, Rgb light, uint32_t seed, float bevel) {
    const Layer relief = reliefLight(mask, bevel);
    return fill(mask, [&](float x, float y) {
        const float grain = fbm(x * 0.035f, y * 0.035f, 5, seed);
        const float fine = valueNoise(x * 0.7f, y * 0.7f, seed + 3);
        Rgb c = mix(dark, light, std::clamp(grain * 1.2f - 0.1f, 0.0f, 1.0f));
        c = scale(c, 0.94f + 0.12f * fine);
        const float l = lightAt(relief, static_cast<int>(x), static_cast<int>(y));
        return l > 0 ? mix(c, hex(0xC8D0DC), std::min(0.6f, l)) : scale(c, std::max(0.3f, 1.0f + l));
    });
}

// Cuts grooves: dark where the strokes run, with a lit lower-right lip, only on what is there.
void engrave(Layer& target, const Layer& strokes, float depth = 0.62f) {
    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) {
            Rgba& d = target.at(x, y);
            if (d.a <= 0.0f) continue;
            const float s = strokes.at(x, y).a;
            const float lip = (x > 0 && y > 0) ? std::max(0.0f, strokes.at(x - 1, y - 1).a - s) : 0.0f;
            const float k = (1.0f - depth * s) * (1.0f + 0.45f * lip);
            d.r = std::min(d.a, d.r * k);
            d.g = std::min(d.a, d.g * k);
            d.b = std::min(d.a, d.b * k);
        }
    }
}

// A soft shadow of `mask` (whose top-left is at (mx, my) in the target), offset by (dx, dy), laid
// only over what the target already holds.
void dropShadow(Layer& target, const Layer& mask, int mx, int my, int dx, int dy, float radius, float strength) {
    const int margin = static_cast<int>(std::ceil(radius * 2));
    Layer shadow(mask.width() + 2 * margin, mask.height() + 2 * margin);
    shadow.over(mask.tinted(hex(0x000000), strength), margin, margin);
    shadow.blur(radius);
    const int ox = mx + dx - margin, oy = my + dy - margin;
    for (int y = 0; y < shadow.height(); ++y) {
        for (int x = 0; x < shadow.width(); ++x) {
            if (!target.inside(ox + x, oy + y)) continue;
            const float cover = std::min(1.0f, target.at(ox + x, oy + y).a);
            Rgba& p = shadow.at(x, y);
            p = {p.r * cover, p.g * cover, p.b * cover, p.a * cover};
        }
    }
    target.over(shadow, ox, oy);
}

void tubeWindowPath(cairo_t* cr, double left) { roundRect(cr, left, 162, 41, 276, 20.5); }

// A gauge housing, drawn in its own region of the screen.
constexpr int kHousingTop = 128;
constexpr int kHousingW = 90;
constexpr int kHousingH = 345;
int housingLeft(bool right) { return right ? 572 : 138; }

Layer housing(bool right) {
    const double x = right ? 584 : 150;
    const int ox = housingLeft(right), oy = kHousingTop, w = kHousingW, h = kHousingH;
    Layer out(w, h);
    const Layer body = shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) {
        roundRect(cr, x, 146, 66, 308, 33);
        // Finials above and below.
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + 33, 142, 9, 0, 2 * kPi);
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + 33, 458, 9, 0, 2 * kPi);
    });
    out.over(metal(body, palette::goldWarm, palette::bronzeLight, palette::bronzeDark, 3.0f));
    const double window = right ? 596 : 163;
    // The housing's inner groove, then the dark glass of the empty tube.
    const Layer groove = shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) { roundRect(cr, window - 3, 159, 47, 282, 23.5); });
    out.over(groove.tinted(palette::bronzeDark));
    const Layer glassMask = shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) { tubeWindowPath(cr, window); });
    out.over(fill(glassMask, [&](float px, float py) {
        const float u = (px + static_cast<float>(ox) - static_cast<float>(window)) / 41.0f;
        const float round = std::sin(std::clamp(u, 0.0f, 1.0f) * static_cast<float>(kPi));
        Rgb c = mix(hex(0x04080E), hex(0x13263A), round);
        const float sheen = std::exp(-std::pow((u - 0.27f) / 0.06f, 2.0f));
        c = mix(c, hex(0x6C8CA8), 0.35f * sheen);
        return scale(c, 0.9f + 0.1f * std::sin(py * 0.05f));
    }));
    // Ten marks on the outer wall, one for each tenth of the bar.
    const Layer marks = strokeMaskAt(ox, oy, w, h, 1.6, [&](cairo_t* cr) {
        for (int i = 0; i <= 10; ++i) {
            const double y = 165 + 27 * i;
            const double len = (i % 5 == 0) ? 7 : 4;
            const double wx = right ? window + 46 : window - 5;
            cairo_move_to(cr, wx, y);
            cairo_line_to(cr, right ? wx + len : wx - len, y);
        }
    });
    out.over(marks.tinted(palette::goldLight, 0.9f));
    return out;
}

// An arm holding two side buttons, drawn in its own region of the screen.
constexpr int kArmTop = 220;
constexpr int kArmW = 142;
constexpr int kArmH = 160;
int armLeft(bool right) { return right ? 638 : 20; }

Layer sideArm(bool right) {
    const double x = right ? 642 : 24;
    const int ox = armLeft(right), oy = kArmTop, w = kArmW, h = kArmH;
    Layer out(w, h);
    const Layer plate = shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) { roundRect(cr, x, 224, 134, 152, 18); });
    out.over(metal(plate, palette::goldWarm, palette::bronze, palette::bronzeDark, 2.5f));
    const Layer inner = shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) { roundRect(cr, x + 5, 229, 124, 142, 14); });
    out.over(stoneFill(inner, hex(0x15181F), hex(0x2E3440), 77, 2.0f));
    const Layer runes = strokeMaskAt(ox, oy, w, h, 1.5, [&](cairo_t* cr) {
        for (int i = 0; i < 5; ++i) {
            runePath(cr, 3 + i * 5 + (right ? 2 : 0), x + 31 + 18 * i, 239, 11, 0);
            runePath(cr, 5 + i * 3 + (right ? 1 : 0), x + 31 + 18 * i, 361, 11, 0);
        }
    });
    out.add(glow(runes, palette::cyanDeep, 2.0f, 0.9f));
    out.add(runes.tinted(palette::cyan, 0.45f));
    return out;
}

// The score's cartouche above the board and the level's plaque below it, each in a region that
// holds it: (ox, oy) and size.
Layer plaque(double r0, double r1, double centreAngle, double halfAngle, int ox, int oy, int w, int h) {
    Layer out(w, h);
    const double a0 = centreAngle - halfAngle, a1 = centreAngle + halfAngle;
    const Layer band = shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) { bandPath(cr, r0, r1, a0, a1); });
    out.over(metal(band, palette::goldWarm, palette::bronzeLight, palette::bronzeDark, 2.5f));
    const Layer inner = shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) { bandPath(cr, r0 + 3.5, r1 - 3.5, a0, a1); });
    out.over(fill(inner, [&](float x, float y) {
        const float r = static_cast<float>(std::hypot(x + ox - kCx, y + oy - kCy));
        const float t = static_cast<float>((r - r0) / (r1 - r0));
        return mix(hex(0x05070C), hex(0x141C2A), 1.0f - std::abs(t - 0.5f) * 2.0f);
    }));
    return out;
}

}  // namespace

// The path of frame arrow `button`, moved by (ox, oy) from screen coordinates.
void arrowPath(cairo_t* cr, int button, double ox, double oy) {
    const rules::ArrowButton& arrow = rules::kArrowButtons[static_cast<size_t>(button)];
    const double cx = arrow.rect.x + arrow.rect.w / 2.0 + ox;
    const double cy = arrow.rect.y + arrow.rect.h / 2.0 + oy;
    const double px = arrow.rect.x + arrow.rect.w / 2.0 - kCx;
    const double py = arrow.rect.y + arrow.rect.h / 2.0 - kCy;
    // Counter-clockwise on screen runs along (dy, -dx); the arrow points the way the board turns.
    double vx = py, vy = -px;
    if (arrow.direction == rules::Direction::Clockwise) {
        vx = -vx;
        vy = -vy;
    }
    const double len = std::hypot(vx, vy);
    vx /= len;
    vy /= len;
    const double nx = -vy, ny = vx;
    auto at = [&](double along, double across) {
        cairo_line_to(cr, cx + vx * along + nx * across, cy + vy * along + ny * across);
    };
    cairo_new_sub_path(cr);
    at(11.5, 0);
    at(0.5, 7.5);
    at(0.5, 3);
    at(-10.5, 3);
    at(-10.5, -3);
    at(0.5, -3);
    at(0.5, -7.5);
    cairo_close_path(cr);
}

Layer drawFrame() {
    Layer frame(geo::kScreenW, geo::kScreenH);
    const int W = geo::kScreenW, H = geo::kScreenH;

    // The carved rune band.
    const Layer band = shapeMask(W, H, [](cairo_t* cr) { ringPath(cr, 186, 252); });
    frame.over(stoneFill(band, hex(0x1A1E26), hex(0x3E4656), 19, 1.5f));
    const Layer carving = strokeMask(W, H, 1.7, [](cairo_t* cr) {
        for (int s = 0; s < 18; ++s) {
            const geo::PlacedRune r = geo::slotRune(s);
            runePath(cr, r.glyph, r.x, r.y, 14, r.angle);
        }
        for (int w = 0; w < 4; ++w)
            for (const geo::PlacedRune& r : geo::wordRunes(w)) runePath(cr, r.glyph, r.x, r.y, 16, r.angle);
    });
    const Layer circles = strokeMask(W, H, 1.0, [](cairo_t* cr) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, kCx, kCy, 205, 0, 2 * kPi);
        cairo_new_sub_path(cr);
        cairo_arc(cr, kCx, kCy, 212, 0, 2 * kPi);
        for (int i = 0; i < 72; ++i) {
            const double a = i * kPi / 36;
            cairo_move_to(cr, kCx + 205 * std::cos(a), kCy + 205 * std::sin(a));
            cairo_line_to(cr, kCx + 212 * std::cos(a), kCy + 212 * std::sin(a));
        }
    });
    engrave(frame, carving, 0.7f);
    engrave(frame, circles, 0.45f);

    // Bronze rims and the dark track of the frame arrows.
    const Layer outerRim = shapeMask(W, H, [](cairo_t* cr) { ringPath(cr, 247, 258); });
    frame.over(metal(outerRim, palette::goldWarm, palette::bronzeLight, palette::bronzeDark, 2.0f));
    const Layer track = shapeMask(W, H, [](cairo_t* cr) { ringPath(cr, 161, 186); });
    frame.over(stoneFill(track, hex(0x0E1015), hex(0x232833), 23, 1.0f));
    const Layer innerRim = shapeMask(W, H, [](cairo_t* cr) { ringPath(cr, 183, 192); });
    frame.over(metal(innerRim, palette::goldWarm, palette::bronzeLight, palette::bronzeDark, 2.0f));
    const Layer lip = shapeMask(W, H, [](cairo_t* cr) { ringPath(cr, kLipInner, 162); });
    frame.over(metal(lip, palette::bronzeLight, palette::bronze, palette::bronzeDark, 1.0f));

    // Rivets on the outer rim.
    const Layer rivets = shapeMask(W, H, [](cairo_t* cr) {
        for (int i = 0; i < 36; ++i) {
            const double a = (i + 0.5) * kPi / 18;
            cairo_new_sub_path(cr);
            cairo_arc(cr, kCx + 252.5 * std::cos(a), kCy + 252.5 * std::sin(a), 2.6, 0, 2 * kPi);
        }
    });
    frame.over(metal(rivets, palette::goldLight, palette::gold, palette::goldDeep, 0.8f));

    // Gauge housings across the ring's sides, and the arms, each with its shadow.
    for (bool right : {false, true}) {
        const Layer h = housing(right);
        dropShadow(frame, h, housingLeft(right), kHousingTop, 4, 5, 5.0f, 0.7f);
        frame.over(h, housingLeft(right), kHousingTop);
    }
    for (bool right : {false, true}) {
        const Layer arm = sideArm(right);
        dropShadow(frame, arm, armLeft(right), kArmTop, 3, 4, 4.0f, 0.6f);
        frame.over(arm, armLeft(right), kArmTop);
    }

    // Score cartouche and level plaque.
    frame.over(plaque(246, 282, -kPi / 2, 17.0 * kPi / 180, 300, 12, 200, 70), 300, 12);
    frame.over(plaque(246, 287, kPi / 2, 10.5 * kPi / 180, 340, 530, 120, 62), 340, 530);

    // The eight arrow buttons on the track: dark plaques, bronze rims, gold arrows.
    for (int b = 0; b < 8; ++b) {
        const geo::Rect r = rules::kArrowButtons[static_cast<size_t>(b)].rect;
        const int ox = r.x - 2, oy = r.y - 2, w = r.w + 4, h = r.h + 4;
        Layer button(w, h);
        const Layer pad =
            shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) { roundRect(cr, r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1, 7); });
        button.over(metal(pad, palette::goldLight, palette::bronze, palette::bronzeDark, 1.5f));
        const Layer face =
            shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) { roundRect(cr, r.x + 2.5, r.y + 2.5, r.w - 5, r.h - 5, 5); });
        button.over(
            fill(face, [&](float, float y) { return mix(hex(0x1C2430), hex(0x07090D), (y - 2.0f) / static_cast<float>(r.h)); }));
        const Layer head = shapeMaskAt(ox, oy, w, h, [&](cairo_t* cr) { arrowPath(cr, b, 0, 0); });
        button.over(metal(head, palette::goldLight, palette::gold, palette::goldDeep, 1.0f));
        frame.over(button, ox, oy);
    }
    return frame;
}

const Layer& Art::frame() {
    if (!frame_) frame_ = std::make_unique<Layer>(drawFrame());
    return *frame_;
}

namespace {

// The turning plate under the board at `angle` (radians, counter-clockwise on screen): dark stone
// with a ring of marks near its edge, so that a turn can be seen between the blocks.
Layer plate(double angle) {
    const int size = present::layout::kCentrePiece.w;
    const double c = size / 2.0;
    const Layer disc = shapeMask(size, size, [&](cairo_t* cr) { cairo_arc(cr, c, c, kPlateRadius, 0, 2 * kPi); });
    const float ca = static_cast<float>(std::cos(angle)), sa = static_cast<float>(std::sin(angle));
    Layer out = fill(disc, [&](float x, float y) {
        const float px = x - static_cast<float>(c), py = y - static_cast<float>(c);
        const float ux = px * ca - py * sa, uy = px * sa + py * ca;
        const float grain = fbm(ux * 0.04f + 50, uy * 0.04f + 50, 4, 91);
        const float r = std::hypot(ux, uy) / static_cast<float>(kPlateRadius);
        return scale(mix(hex(0x12151B), hex(0x2A303C), grain), 1.05f - 0.3f * r * r);
    });
    const Layer marks = strokeMask(size, size, 1.6, [&](cairo_t* cr) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, c, c, 152, 0, 2 * kPi);
        for (int i = 0; i < 32; ++i) {
            // Marks turn with the plate: a mark at plate angle t shows at t - angle on screen.
            const double a = i * kPi / 16 - angle;
            const double r0 = (i % 4 == 0) ? 140 : 146;
            cairo_move_to(cr, c + r0 * std::cos(a), c + r0 * std::sin(a));
            cairo_line_to(cr, c + 157 * std::cos(a), c + 157 * std::sin(a));
        }
    });
    out.add(glow(marks, palette::cyanDeep, 2.5f, 0.7f));
    out.over(marks.tinted(hex(0x5AA8C8), 0.55f));
    return out;
}

}  // namespace

Picture centrePiece(Art& art) {
    const Layer& frame = art.frame();
    const int size = present::layout::kCentrePiece.w;
    Layer strip(size * 6, size);
    for (int f = 0; f < 6; ++f) {
        Layer piece = plate(geo::kStepAngles[static_cast<size_t>(f)] * kPi / 180.0);
        piece.over(frame.crop(present::layout::kCentrePiece.x, present::layout::kCentrePiece.y, size, size));
        // The bars are drawn before the centre piece: it must leave their tubes alone.
        for (const geo::Rect& keep : {present::layout::kFreezeGlass, geo::Rect{585, 159, 57, 306}}) {
            for (int y = keep.y; y < keep.y + keep.h; ++y)
                for (int x = keep.x; x < keep.x + keep.w; ++x)
                    if (piece.inside(x - present::layout::kCentrePiece.x, y - present::layout::kCentrePiece.y))
                        piece.at(x - present::layout::kCentrePiece.x, y - present::layout::kCentrePiece.y) = {};
        }
        strip.over(piece, size * f, 0);
    }
    return keyed(strip, hex(0x0A0C10));
}

// A frame piece cut from the frame at (x, y): what lies under the centre piece's solid disc is
// left out, since the centre piece is drawn over it every frame.
Layer cutPiece(const Layer& frame, int x, int y, int w, int h) {
    Layer piece = frame.crop(x, y, w, h);
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            if (std::hypot(x + px + 0.5 - kCx, y + py + 0.5 - kCy) < 172.0) piece.at(px, py) = {};
    return piece;
}

Picture framePieceLeftRight(Art& art) {
    const Layer& frame = art.frame();
    Layer out(216, 358);
    out.over(cutPiece(frame, present::layout::kFramePieces[0].at.x, present::layout::kFramePieces[0].at.y, 108, 358), 0, 0);
    out.over(cutPiece(frame, present::layout::kFramePieces[1].at.x, present::layout::kFramePieces[1].at.y, 108, 358), 108, 0);
    return keyed(out, hex(0x0A0C10));
}

Picture framePieceTopBottom(Art& art) {
    const Layer& frame = art.frame();
    Layer out(330, 268);
    out.over(cutPiece(frame, present::layout::kFramePieces[2].at.x, present::layout::kFramePieces[2].at.y, 330, 134), 0, 0);
    out.over(cutPiece(frame, present::layout::kFramePieces[3].at.x, present::layout::kFramePieces[3].at.y, 330, 134), 0, 134);
    return keyed(out, hex(0x0A0C10));
}

Picture framePieceArms(Art& art) {
    const Layer& frame = art.frame();
    Layer out(208, 158);
    out.over(frame.crop(present::layout::kFramePieces[4].at.x, present::layout::kFramePieces[4].at.y, 104, 158), 0, 0);
    out.over(frame.crop(present::layout::kFramePieces[5].at.x, present::layout::kFramePieces[5].at.y, 104, 158), 104, 0);
    return keyed(out, hex(0x0A0C10));
}

namespace {

// The shine of one arrow button in a cell of its glow picture.
Layer arrowShine(int button) {
    const geo::Rect r = rules::kArrowButtons[static_cast<size_t>(button)].rect;
    const Layer head = shapeMask(r.w, r.h, [&](cairo_t* cr) { arrowPath(cr, button, -r.x, -r.y); });
    Layer out = glow(head, palette::cyan, 3.0f, 1.6f);
    const Layer rim = strokeMask(r.w, r.h, 1.2, [&](cairo_t* cr) { roundRect(cr, 1.5, 1.5, r.w - 3, r.h - 3, 6); });
    out.add(rim.tinted(palette::cyanDeep, 0.8f));
    out.add(head.tinted(hex(0xFFF4C8), 0.7f));
    return out;
}

}  // namespace

Picture arrowShinesTopBottom() {
    Layer out(68, 50);
    out.over(arrowShine(0), 0, 0);
    out.over(arrowShine(4), 34, 0);
    out.over(arrowShine(7), 0, 25);
    out.over(arrowShine(3), 34, 25);
    return overBlack(out);
}

Picture arrowShinesLeftRight() {
    Layer out(50, 68);
    out.over(arrowShine(5), 0, 0);
    out.over(arrowShine(1), 0, 34);
    out.over(arrowShine(2), 25, 0);
    out.over(arrowShine(6), 25, 34);
    return overBlack(out);
}

}  // namespace assetgen
