// The sprite fonts: gold and white glyphs in 15 by 26 cells, and the glow font in 24 by 35 cells,
// one cell per entry of the character map. The game advances the pen by 16 after a capital or
// digit and by 11 after a small letter, so capitals and digits keep within 14 pixels and small
// letters within 10; wide letters are condensed to fit.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "art.hpp"
#include "paint.hpp"

namespace assetgen {

namespace {

constexpr int kCellW = 15;
constexpr int kCellH = 26;
constexpr int kGlowW = 24;
constexpr int kGlowH = 35;
constexpr int kGlowInset = 6;  // the glow cell is drawn 6 pixels up and left of the pen
constexpr double kSize = 20.0;
constexpr double kBaseline = 20.0;
constexpr Font kFace = Font::SansBold;

// Room for the ink of a cell: its centre and the widest it may be.
struct Slot {
    double centre, maxWidth, condense;
};
Slot slotFor(int cell) {
    if (cell >= 26 && cell < 52) return {5.3, 8.4, 0.80};  // small letters, advance 11
    if (cell < 26) return {7.6, 12.6, 0.90};               // capitals, advance 16 or 15
    return {7.4, 11.8, 0.92};                              // digits and signs
}

// Lays the path of cell `cell`'s character into `cr`, its cell's left edge at x0, top at y0.
void glyphPath(cairo_t* cr, const std::string& map, int cell, double x0, double y0) {
    const std::string text(1, map[static_cast<size_t>(cell)]);
    setFont(cr, kFace, kSize);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    const Slot slot = slotFor(cell);
    double sx = slot.condense;
    if (ext.width * sx > slot.maxWidth) sx = slot.maxWidth / ext.width;
    const double left = slot.centre - ext.width * sx / 2.0;
    cairo_save(cr);
    cairo_translate(cr, x0 + left - ext.x_bearing * sx, y0);
    cairo_scale(cr, sx, 1.0);
    cairo_move_to(cr, 0, kBaseline);
    cairo_text_path(cr, text.c_str());
    cairo_restore(cr);
}

void checkMap(const std::string& map) {
    if (map.size() != 76) throw std::runtime_error("the character map must have 76 entries");
}

// A strip of outlined glyphs with a vertical colour ramp (top, middle, baseline).
Picture glyphStrip(const Art& art, Rgb top, Rgb middle, Rgb bottom, Rgb outline) {
    const std::string& map = art.characterMap();
    checkMap(map);
    const int width = kCellW * static_cast<int>(map.size());
    Layer out(width, kCellH);
    for (int i = 0; i < static_cast<int>(map.size()); ++i) {
        auto path = [&](cairo_t* cr) { glyphPath(cr, map, i, 0, 0); };
        const Layer ink = shapeMask(kCellW, kCellH, path);
        Layer edge = strokeMask(kCellW, kCellH, 2.3, path);
        edge.over(ink);
        Layer cell = edge.tinted(outline);
        cell.over(fill(ink, [&](float, float y) {
            const float t = (y - 5.0f) / 15.0f;
            if (t < 0.5f) return mix(top, middle, std::max(0.0f, t) * 2.0f);
            return mix(middle, bottom, std::min(1.0f, (t - 0.5f) * 2.0f));
        }));
        out.over(cell, kCellW * i, 0);
    }
    return keyed(out, outline);
}

}  // namespace

Picture fontGold(const Art& art) { return glyphStrip(art, hex(0xFFF6C8), hex(0xF6C44A), hex(0xB86E12), hex(0x1C0E02)); }

Picture fontWhite(const Art& art) { return glyphStrip(art, hex(0xFFFFFF), hex(0xEEF2F8), hex(0xAEBCCE), hex(0x0A0E18)); }

Picture fontGlow(const Art& art) {
    const std::string& map = art.characterMap();
    checkMap(map);
    Layer out(kGlowW * static_cast<int>(map.size()), kGlowH);
    for (int i = 0; i < static_cast<int>(map.size()); ++i) {
        const Layer ink = shapeMask(kGlowW, kGlowH, [&](cairo_t* cr) { glyphPath(cr, map, i, kGlowInset, kGlowInset); });
        // Drawn at 60 percent over blue glass: a warm core and a strong orange-gold halo keep it
        // golden there.
        Layer cell = glow(ink, hex(0xFF9A10), 2.6f, 2.0f);
        cell.add(ink.tinted(hex(0xFFEAB0), 1.0f));
        out.over(cell, kGlowW * i, 0);
    }
    fadeCellEdges(out, kGlowW, kGlowH, 3.0f);
    return overBlack(out);
}

}  // namespace assetgen
