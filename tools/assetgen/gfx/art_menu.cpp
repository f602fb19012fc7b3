// The menus: the glass panel and its thin gold frame, glass buttons with borders and glows, the
// title's button ornaments, list arrows, the name field, slider, check boxes, and the pictures of
// the help pages.
#include <algorithm>
#include <cmath>

#include "art.hpp"
#include "paint.hpp"

namespace assetgen {

namespace {

const Rgb kDarkMatte = hex(0x0C0804);

// A glass face: blue, lighter at the top, with a gloss band over its upper part and a light line
// along its top edge.
Layer glassFace(int w, int h, double x, double y, double fw, double fh, double r) {
    Layer out(w, h);
    const Layer body = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, x, y, fw, fh, r); });
    out.over(fill(body, [&](float, float py) {
        const float t = static_cast<float>((py - y) / fh);
        if (t < 0.5f) return mix(hex(0x5A9AD4), hex(0x1C4C82), t * 2.0f);
        return mix(hex(0x1C4C82), hex(0x0A2450), (t - 0.5f) * 2.0f);
    }));
    const Layer gloss = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, x + 3, y + 1.5, fw - 6, fh * 0.42, r * 0.7); });
    out.over(gloss.tinted(hex(0xE0F0FF), 0.28f));
    const Layer rim = strokeMask(w, h, 1.0, [&](cairo_t* cr) { roundRect(cr, x + 0.5, y + 0.5, fw - 1, fh - 1, r); });
    Layer lowerRim = rim;
    lowerRim.clipTo(shapeMask(w, h, [&](cairo_t* cr) { cairo_rectangle(cr, 0, y + fh / 2, w, fh); }));
    Layer upperRim = rim;
    upperRim.cutOut(lowerRim);
    out.over(upperRim.tinted(hex(0xB8DCFF), 0.8f));
    out.over(lowerRim.tinted(hex(0x02081A), 0.9f));
    return out;
}

// A bronze frame band between an outer and an inner rounded rectangle.
Layer bronzeFrame(int w, int h, double ox, double oy, double ow, double oh, double orad, double ix, double iy, double iw,
                  double ih, double irad) {
    const Layer band = shapeMask(w, h, [&](cairo_t* cr) {
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        roundRect(cr, ox, oy, ow, oh, orad);
        roundRect(cr, ix, iy, iw, ih, irad);
    });
    return metal(band, palette::goldLight, palette::bronzeLight, palette::bronzeDark, 1.8f);
}

// A small cyan gem set in gold, centred at (x, y).
void gem(Layer& out, double x, double y, double r) {
    const Layer setting = shapeMask(out.width(), out.height(), [&](cairo_t* cr) {
        cairo_move_to(cr, x, y - r - 1.5);
        cairo_line_to(cr, x + r + 1.5, y);
        cairo_line_to(cr, x, y + r + 1.5);
        cairo_line_to(cr, x - r - 1.5, y);
        cairo_close_path(cr);
    });
    out.over(metal(setting, palette::goldLight, palette::gold, palette::goldDeep, 0.8f));
    const Layer stone = shapeMask(out.width(), out.height(), [&](cairo_t* cr) {
        cairo_move_to(cr, x, y - r);
        cairo_line_to(cr, x + r, y);
        cairo_line_to(cr, x, y + r);
        cairo_line_to(cr, x - r, y);
        cairo_close_path(cr);
    });
    out.over(fill(stone, [&](float px, float py) {
        const float t = static_cast<float>(((px - x) + (py - y)) / (2 * r));
        return mix(hex(0xC8FFFF), hex(0x0878A8), std::clamp(t * 0.5f + 0.5f, 0.0f, 1.0f));
    }));
}

// The panel outline every menu piece follows: inset 3, corner radius 22, in a 248 panel.
constexpr double kPanel = 248;
constexpr double kInset = 3;
constexpr double kCorner = 22;

Layer fullFrame() {
    const int n = static_cast<int>(kPanel);
    Layer out(n, n);
    const Layer line = strokeMask(n, n, 3.2, [](cairo_t* cr) {
        roundRect(cr, kInset + 2, kInset + 2, kPanel - 2 * kInset - 4, kPanel - 2 * kInset - 4, kCorner - 2);
    });
    Layer edge = strokeMask(n, n, 5.2, [](cairo_t* cr) {
        roundRect(cr, kInset + 2, kInset + 2, kPanel - 2 * kInset - 4, kPanel - 2 * kInset - 4, kCorner - 2);
    });
    out.over(edge.tinted(kDarkMatte));
    out.over(flatMetal(line, palette::gold, 0.8f));
    // Corner ornaments: a gem on the bend and short inner flourishes, all inside the 66 corners.
    const double bend = kInset + 2 + (kCorner - 2) * (1 - std::sqrt(0.5));
    for (int c = 0; c < 4; ++c) {
        const bool right = c % 2 == 1, bottom = c / 2 == 1;
        const double gx = right ? kPanel - bend : bend;
        const double gy = bottom ? kPanel - bend : bend;
        const Layer curl = strokeMask(n, n, 1.6, [&](cairo_t* cr) {
            const double sx = right ? -1 : 1, sy = bottom ? -1 : 1;
            const double x0 = right ? kPanel : 0, y0 = bottom ? kPanel : 0;
            cairo_move_to(cr, x0 + sx * 26, y0 + sy * 11);
            cairo_curve_to(cr, x0 + sx * 40, y0 + sy * 11, x0 + sx * 46, y0 + sy * 14, x0 + sx * 56, y0 + sy * 11);
            cairo_move_to(cr, x0 + sx * 11, y0 + sy * 26);
            cairo_curve_to(cr, x0 + sx * 11, y0 + sy * 40, x0 + sx * 14, y0 + sy * 46, x0 + sx * 11, y0 + sy * 56);
        });
        Layer curlEdge = curl;
        curlEdge.blur(1.0f);
        out.over(curlEdge.tinted(kDarkMatte, 1.5f));
        out.over(curl.tinted(palette::gold));
        gem(out, gx, gy, 4.5);
    }
    return out;
}

}  // namespace

Picture glassPanel() {
    // The panel the menus cut as nine slices: the middle rows and columns are uniform along the
    // direction in which they are repeated, and the centre is one flat colour, so any panel size
    // tiles without seams.
    const int n = static_cast<int>(kPanel);
    const Layer shape =
        shapeMask(n, n, [](cairo_t* cr) { roundRect(cr, kInset, kInset, kPanel - 2 * kInset, kPanel - 2 * kInset, kCorner); });
    const Rgb base = hex(0x173A64);
    Layer out = fill(shape, [&](float x, float y) {
        // Distance in from the outline, measured as the nine-slice sees it.
        const float dx = std::min(x, static_cast<float>(kPanel) - x) - static_cast<float>(kInset);
        const float dy = std::min(y, static_cast<float>(kPanel) - y) - static_cast<float>(kInset);
        float d = std::min(dx, dy);
        if (dx < static_cast<float>(kCorner) && dy < static_cast<float>(kCorner)) {
            const float cx = static_cast<float>(kCorner) - dx, cy = static_cast<float>(kCorner) - dy;
            d = static_cast<float>(kCorner) - std::sqrt(cx * cx + cy * cy);
        }
        Rgb c = base;
        c = mix(c, hex(0x4C88C0), 0.55f * std::exp(-std::max(0.0f, d) / 7.0f));
        if (y < 60) c = mix(c, hex(0x6AA0D0), 0.16f * std::clamp((60.0f - y) / 50.0f, 0.0f, 1.0f));
        if (y > 188) c = scale(c, 1.0f - 0.18f * std::clamp((y - 188.0f) / 55.0f, 0.0f, 1.0f));
        return Rgb{std::max(c.r, 0.02f), std::max(c.g, 0.02f), std::max(c.b, 0.02f)};
    });
    return overBlack(out);
}

Picture menuFrame() {
    const Layer frame = fullFrame();
    Layer out(164, 164);
    out.over(frame.crop(0, 0, 66, 66), 0, 0);
    out.over(frame.crop(182, 0, 66, 66), 66, 0);
    out.over(frame.crop(0, 182, 66, 66), 0, 66);
    out.over(frame.crop(182, 182, 66, 66), 66, 66);
    out.over(frame.crop(0, 66, 16, 116), 132, 0);
    out.over(frame.crop(232, 66, 16, 116), 148, 0);
    out.over(frame.crop(66, 0, 116, 16), 0, 132);
    out.over(frame.crop(66, 232, 116, 16), 0, 148);
    return keyed(out, kDarkMatte);
}

Picture buttonGlass(bool big) {
    const int w = big ? 180 : 156, h = big ? 32 : 28;
    return keyed(glassFace(w, h, 0.5, 0.5, w - 1, h - 1, big ? 10 : 9), hex(0x06101E));
}

Picture buttonBorder(bool big) {
    const int w = big ? 198 : 174, h = big ? 60 : 52;
    const int gw = big ? 180 : 156, gh = big ? 32 : 28;
    Layer out = bronzeFrame(w, h, 1, 2, w - 2, h - 4, 15, 8, 11, gw + 2, gh + 2, 10);
    gem(out, 4.5, h / 2.0, 2.6);
    gem(out, w - 4.5, h / 2.0, 2.6);
    return keyed(out, kDarkMatte);
}

Picture buttonGlow(bool big) {
    const int w = big ? 212 : 189, h = big ? 72 : 68;
    const int gw = big ? 180 : 156, gh = big ? 32 : 28;
    // A halo round the glass, a bright rim, and only a little light on the glass itself, so the
    // caption stays readable.
    const Layer body = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, 18, 21, gw, gh, 10); });
    Layer out = glow(body, palette::cyan, 7.0f, 1.1f);
    out.cutOut(body);
    out.add(body.tinted(hex(0x0E2A40), 1.0f));
    const Layer rim = strokeMask(w, h, 1.6, [&](cairo_t* cr) { roundRect(cr, 18.5, 21.5, gw - 1, gh - 1, 10); });
    out.add(glow(rim, palette::goldLight, 1.2f, 1.1f));
    return overBlack(out);
}

Picture playerMarker() {
    Layer out(14, 24);
    const Layer setting = shapeMask(14, 24, [](cairo_t* cr) {
        cairo_move_to(cr, 7, 0.5);
        cairo_line_to(cr, 13.5, 12);
        cairo_line_to(cr, 7, 23.5);
        cairo_line_to(cr, 0.5, 12);
        cairo_close_path(cr);
    });
    out.over(metal(setting, palette::goldLight, palette::gold, palette::goldDeep, 1.0f));
    const Layer stone = shapeMask(14, 24, [](cairo_t* cr) {
        cairo_move_to(cr, 7, 5);
        cairo_line_to(cr, 10.5, 12);
        cairo_line_to(cr, 7, 19);
        cairo_line_to(cr, 3.5, 12);
        cairo_close_path(cr);
    });
    out.over(fill(stone, [](float, float y) { return mix(hex(0xD8FFFF), hex(0x0A88B8), (y - 5) / 14); }));
    return keyed(out, kDarkMatte);
}

Picture titleOrnament(int which) {
    // A stone plaque in a bronze frame with a recess for each button that sits on it.
    const bool pair = which >= 2;
    const int w = pair ? 174 : 199;
    const int h = which == 0 ? 186 : which == 1 ? 63 : 110;
    const int gw = pair ? 156 : 180, gh = pair ? 28 : 32;
    std::vector<int> rows;
    if (which == 0) rows = {14, 77, 140};
    if (which == 1) rows = {14};
    if (pair) rows = {15, 70};
    Layer out(w, h);
    const Layer plate = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, 0.5, 0.5, w - 1, h - 1, 14); });
    out.over(metal(plate, palette::goldLight, palette::bronzeLight, palette::bronzeDark, 2.2f));
    const Layer inner = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, 4.5, 4.5, w - 9, h - 9, 11); });
    out.over(fill(inner, [&](float x, float y) {
        const float grain = fbm(x * 0.05f, y * 0.05f, 4, 301 + static_cast<uint32_t>(which));
        return mix(hex(0x141820), hex(0x2C3240), grain);
    }));
    for (int top : rows) {
        const Layer recess = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, 6, top - 3, gw + 6, gh + 6, 12); });
        Layer shade = recess.tinted(hex(0x030406), 0.9f);
        out.over(shade);
        const Layer lip = strokeMask(w, h, 1.2, [&](cairo_t* cr) { roundRect(cr, 6.5, top - 2.5, gw + 5, gh + 5, 12); });
        Layer lower = lip;
        lower.clipTo(shapeMask(w, h, [&](cairo_t* cr) { cairo_rectangle(cr, 0, top + gh / 2.0, w, h); }));
        out.over(lower.tinted(palette::bronzeLight, 0.8f));
    }
    // Runes between the buttons and gems on the frame.
    const Layer runes = strokeMask(w, h, 1.4, [&](cairo_t* cr) {
        for (size_t i = 0; i + 1 < rows.size(); ++i) {
            const double y = (rows[i] + gh + 3 + rows[i + 1] - 3) / 2.0;
            for (int k = 0; k < 7; ++k) runePath(cr, static_cast<int>(i) * 7 + k * 3 + which, w / 2.0 + (k - 3) * 16, y, 10, 0);
        }
    });
    out.add(glow(runes, palette::cyanDeep, 2.0f, 0.9f));
    out.add(runes.tinted(palette::cyan, 0.5f));
    gem(out, w / 2.0, 2.5, 2.2);
    gem(out, w / 2.0, h - 2.5, 2.2);
    return keyed(out, kDarkMatte);
}

Picture listArrow(bool up, int state) {
    const int w = 58, h = 16;
    Layer out(w, h);
    const double sink = state == 2 ? 1.0 : 0.0;
    const Layer plate = shapeMask(w, h, [](cairo_t* cr) { roundRect(cr, 0.5, 0.5, 57, 15, 7); });
    out.over(metal(plate, palette::goldLight, palette::bronze, palette::bronzeDark, 1.2f));
    const Layer face = shapeMask(w, h, [](cairo_t* cr) { roundRect(cr, 2.5, 2.5, 53, 11, 5); });
    out.over(fill(face, [&](float, float y) {
        const Rgb top = state == 1 ? hex(0x2A6A9A) : hex(0x1C3C60);
        const Rgb bottom = state == 2 ? hex(0x040A14) : hex(0x0A1A30);
        return state == 2 ? mix(bottom, top, (y - 2.5f) / 11) : mix(top, bottom, (y - 2.5f) / 11);
    }));
    const Layer head = shapeMask(w, h, [&](cairo_t* cr) {
        const double cy = 8 + sink;
        if (up) {
            cairo_move_to(cr, 29, cy - 4.5);
            cairo_line_to(cr, 40, cy + 3.5);
            cairo_line_to(cr, 18, cy + 3.5);
        } else {
            cairo_move_to(cr, 29, cy + 4.5);
            cairo_line_to(cr, 40, cy - 3.5);
            cairo_line_to(cr, 18, cy - 3.5);
        }
        cairo_close_path(cr);
    });
    if (state == 1) out.add(glow(head, palette::cyan, 2.5f, 1.5f));
    const Rgb gold = state == 2 ? palette::goldDeep : palette::gold;
    out.over(metal(head, state == 1 ? hex(0xFFFFFF) : palette::goldLight, gold, palette::goldDeep, 0.8f));
    return keyed(out, kDarkMatte);
}

Picture nameField() {
    const int w = 322, h = 40;
    Layer out = bronzeFrame(w, h, 0.5, 0.5, w - 1, h - 1, 11, 4, 4, w - 8, h - 8, 8);
    const Layer well = shapeMask(w, h, [&](cairo_t* cr) { roundRect(cr, 4, 4, w - 8, h - 8, 8); });
    out.over(fill(well, [&](float, float y) {
        const float t = (y - 4) / static_cast<float>(h - 8);
        return mix(hex(0x03060C), hex(0x14223A), std::pow(t, 0.7f));
    }));
    gem(out, 2.5, h / 2.0, 2.0);
    gem(out, w - 2.5, h / 2.0, 2.0);
    return keyed(out, kDarkMatte);
}

Picture sliderTrack() {
    // The knob's centre runs from x 30 to 396; the groove spans exactly that.
    const int w = 426, h = 40;
    Layer out(w, h);
    const Layer rail = shapeMask(w, h, [](cairo_t* cr) { roundRect(cr, 14, 12, 398, 16, 8); });
    out.over(metal(rail, palette::goldLight, palette::bronze, palette::bronzeDark, 1.5f));
    const Layer groove = shapeMask(w, h, [](cairo_t* cr) { roundRect(cr, 22, 16.5, 382, 7, 3.5); });
    out.over(fill(groove, [](float, float y) { return mix(hex(0x020408), hex(0x1A3050), (y - 16.5f) / 7); }));
    const Layer ticks = strokeMask(w, h, 1.2, [](cairo_t* cr) {
        for (int i = 0; i <= 10; ++i) {
            const double x = 30 + 36.6 * i;
            cairo_move_to(cr, x, 31);
            cairo_line_to(cr, x, i % 5 == 0 ? 37 : 34);
        }
    });
    out.over(ticks.tinted(palette::gold));
    gem(out, 10, 20, 3.5);
    gem(out, 416, 20, 3.5);
    return keyed(out, kDarkMatte);
}

Picture sliderKnob() {
    Layer out(36, 28);
    const Layer body = shapeMask(36, 28, [](cairo_t* cr) { roundRect(cr, 8.5, 0.5, 19, 27, 8); });
    out.over(metal(body, hex(0xFFFBE8), palette::gold, palette::goldDeep, 1.6f));
    gem(out, 18, 14, 4.5);
    return keyed(out, kDarkMatte);
}

Picture checkBase() {
    Layer out = bronzeFrame(30, 30, 0.5, 0.5, 29, 29, 7, 4, 4, 22, 22, 4);
    const Layer well = shapeMask(30, 30, [](cairo_t* cr) { roundRect(cr, 4, 4, 22, 22, 4); });
    out.over(fill(well, [](float, float y) { return mix(hex(0x02040A), hex(0x183050), (y - 4) / 22); }));
    return keyed(out, kDarkMatte);
}

Picture checkTick() {
    // Drawn 2 left of and 19 above its box: the tick swoops out of the box's top right.
    auto path = [](cairo_t* cr) {
        cairo_move_to(cr, 8, 30);
        cairo_line_to(cr, 16, 39);
        cairo_curve_to(cr, 22, 26, 29, 14, 38, 5);
    };
    const Layer edge = strokeMask(41, 44, 7.5, path);
    const Layer body = strokeMask(41, 44, 4.5, path);
    Layer out = edge.tinted(kDarkMatte);
    out.over(metal(body, palette::goldLight, palette::gold, palette::goldDeep, 1.0f));
    return keyed(out, kDarkMatte);
}

Picture helpPointer() {
    auto path = [](cairo_t* cr) {
        cairo_move_to(cr, 2, 2);
        cairo_line_to(cr, 2, 21);
        cairo_line_to(cr, 7, 16.5);
        cairo_line_to(cr, 11, 25);
        cairo_line_to(cr, 14.5, 23.5);
        cairo_line_to(cr, 10.5, 15);
        cairo_line_to(cr, 17, 15);
        cairo_close_path(cr);
    };
    const Layer body = shapeMask(26, 27, path);
    Layer edge = strokeMask(26, 27, 2.4, path);
    edge.over(body);
    Layer out = edge.tinted(kDarkMatte);
    out.over(metal(body, hex(0xFFFBE8), palette::gold, palette::goldDeep, 1.0f));
    return keyed(out, kDarkMatte);
}

Picture helpMouse(int button) {
    Layer out(18, 28);
    const Layer body = shapeMask(18, 28, [](cairo_t* cr) { roundRect(cr, 0.5, 0.5, 17, 27, 8.5); });
    out.over(
        fill(body, [](float x, float y) { return mix(hex(0xE8EEF6), hex(0x7A8698), std::clamp((x + y) / 40.0f, 0.0f, 1.0f)); }));
    for (int b = 1; b <= 2; ++b) {
        const Layer key = shapeMask(18, 28, [&](cairo_t* cr) {
            roundRect(cr, 0.5, 0.5, 17, 27, 8.5);
            cairo_clip(cr);
            cairo_rectangle(cr, b == 1 ? 0 : 9.5, 0, 8.5, 11);
        });
        if (b == button) out.over(fill(key, [](float, float y) { return mix(hex(0xFFF4B0), hex(0xF0A020), y / 11); }));
    }
    const Layer lines = strokeMask(18, 28, 1.0, [](cairo_t* cr) {
        cairo_move_to(cr, 9, 1);
        cairo_line_to(cr, 9, 11);
        cairo_move_to(cr, 1, 11.5);
        cairo_line_to(cr, 17, 11.5);
        roundRect(cr, 0.5, 0.5, 17, 27, 8.5);
    });
    out.over(lines.tinted(hex(0x202830)));
    return keyed(out, kDarkMatte);
}

Picture helpRule() {
    const Layer line = shapeMask(314, 4, [](cairo_t* cr) {
        cairo_move_to(cr, 0, 2);
        cairo_line_to(cr, 12, 0);
        cairo_line_to(cr, 302, 0);
        cairo_line_to(cr, 314, 2);
        cairo_line_to(cr, 302, 4);
        cairo_line_to(cr, 12, 4);
        cairo_close_path(cr);
    });
    const Layer out = fill(line, [](float x, float y) {
        const float fade = std::min(1.0f, std::min(x, 314.0f - x) / 60.0f);
        const Rgb c = y < 2 ? palette::goldLight : palette::goldDeep;
        return mix(palette::bronzeDark, c, fade);
    });
    return keyed(out, kDarkMatte);
}

Picture helpButton() {
    Layer out(82, 24);
    const Layer body = shapeMask(82, 24, [](cairo_t* cr) { roundRect(cr, 0.5, 0.5, 81, 23, 7); });
    out.over(metal(body, palette::goldLight, palette::bronzeLight, palette::bronzeDark, 1.5f));
    out.over(glassFace(82, 24, 3, 3, 76, 18, 5));
    return keyed(out, kDarkMatte);
}

Picture helpBars() {
    // Small copies of the time and progress tubes, partly filled.
    Layer out(54, 135);
    for (int i = 0; i < 2; ++i) {
        const double x = i == 0 ? 2 : 30;
        const double level = i == 0 ? 0.68 : 0.42;
        const Layer housingMask = shapeMask(54, 135, [&](cairo_t* cr) { roundRect(cr, x, 1, 22, 133, 11); });
        out.over(metal(housingMask, palette::goldLight, palette::bronzeLight, palette::bronzeDark, 1.5f));
        const Layer window = shapeMask(54, 135, [&](cairo_t* cr) { roundRect(cr, x + 4, 5, 14, 125, 7); });
        out.over(window.tinted(hex(0x08121E)));
        const double top = 5 + 125 * (1 - level);
        const Layer liquid = shapeMask(54, 135, [&](cairo_t* cr) {
            roundRect(cr, x + 4, 5, 14, 125, 7);
            cairo_clip(cr);
            cairo_rectangle(cr, x + 4, top, 14, 130 - top);
        });
        const Rgb deep = i == 0 ? hex(0x06305A) : hex(0x5A2A04);
        const Rgb bright = i == 0 ? hex(0x48E4FF) : hex(0xFFD060);
        out.over(fill(liquid, [&](float px, float) {
            const float u = static_cast<float>((px - x - 4) / 14);
            return mix(deep, bright, std::sin(std::clamp(u, 0.0f, 1.0f) * 3.14159f));
        }));
    }
    return keyed(out, kDarkMatte);
}

}  // namespace assetgen
