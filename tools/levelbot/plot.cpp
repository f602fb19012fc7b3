#include "plot.hpp"

#include <cairo.h>

#include <algorithm>
#include <memory>
#include <string>

namespace levelbot {

namespace {

struct Colour {
    double r, g, b;
};
constexpr Colour kInk{0.15, 0.15, 0.2};
constexpr Colour kGrid{0.85, 0.86, 0.9};
constexpr Colour kBand{0.82, 0.93, 0.82};
constexpr Colour kBot{0.12, 0.35, 0.75};
constexpr Colour kRandom{0.85, 0.35, 0.15};

struct Box {
    double x, y, w, h;
};

void setColour(cairo_t* cr, Colour c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void text(cairo_t* cr, double x, double y, const std::string& s, double size, bool bold = false, double alignX = 0) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, s.c_str(), &extents);
    cairo_move_to(cr, x - alignX * extents.x_advance, y);
    cairo_show_text(cr, s.c_str());
}

// One mode's panel: x runs over its levels, y over 0 to 100 % won.
void drawPanel(cairo_t* cr, const Box& box, rules::GameMode mode, const std::vector<const LevelReport*>& levels) {
    const Box plot{box.x + 46, box.y + 30, box.w - 62, box.h - 72};
    const int first = levels.front()->level, last = levels.back()->level;
    const double span = std::max(last - first, 1);
    auto px = [&](double level) { return plot.x + (level - first) / span * plot.w; };
    auto py = [&](double rate) { return plot.y + (1.0 - rate) * plot.h; };

    setColour(cr, kInk);
    text(cr, box.x + box.w / 2, box.y + 18, modeName(mode), 15, true, 0.5);

    // The bands a good curve passes through: 90 % and up over the first group, 20 to 60 % at the end.
    setColour(cr, kBand);
    const int groupSize = rules::levelGroupSize(mode);
    const double firstGroupEnd = std::min<double>(first + groupSize - 1, last);
    cairo_rectangle(cr, px(first) - 4, py(1.0), px(firstGroupEnd) - px(first) + 8, py(0.9) - py(1.0));
    cairo_rectangle(cr, px(last) - 8, py(0.6), 12, py(0.2) - py(0.6));
    cairo_fill(cr);

    cairo_set_line_width(cr, 1);
    for (int k = 0; k <= 10; ++k) {
        setColour(cr, k % 5 == 0 ? kInk : kGrid);
        cairo_move_to(cr, plot.x, py(k / 10.0) + 0.5);
        cairo_line_to(cr, plot.x + plot.w, py(k / 10.0) + 0.5);
        cairo_stroke(cr);
        if (k % 2 == 0) {
            setColour(cr, kInk);
            text(cr, plot.x - 6, py(k / 10.0) + 4, std::to_string(k * 10) + "%", 10, false, 1.0);
        }
    }
    // Level groups: a line where each new group begins, the level numbers below.
    for (const LevelReport* r : levels) {
        const bool groupStart = (r->level - 1) % groupSize == 0;
        if (groupStart && r->level != first) {
            setColour(cr, kGrid);
            cairo_move_to(cr, px(r->level - 0.5), plot.y);
            cairo_line_to(cr, px(r->level - 0.5), plot.y + plot.h);
            cairo_stroke(cr);
        }
        if (groupStart || r->level == last) {
            setColour(cr, kInk);
            text(cr, px(r->level), plot.y + plot.h + 14, std::to_string(r->level), 10, false, 0.5);
        }
    }
    setColour(cr, kInk);
    text(cr, plot.x + plot.w / 2, plot.y + plot.h + 30, "level", 10, false, 0.5);

    auto curve = [&](Colour colour, bool dashed, auto rateOf) {
        setColour(cr, colour);
        cairo_set_line_width(cr, 2);
        const double dashes[] = {5, 4};
        cairo_set_dash(cr, dashes, dashed ? 2 : 0, 0);
        for (size_t i = 0; i < levels.size(); ++i) {
            const double x = px(levels[i]->level), y = py(rateOf(*levels[i]));
            if (i == 0)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
        cairo_stroke(cr);
        cairo_set_dash(cr, dashes, 0, 0);
        for (const LevelReport* r : levels) {
            cairo_arc(cr, px(r->level), py(rateOf(*r)), 2.5, 0, 6.2832);
            cairo_fill(cr);
        }
    };
    curve(kRandom, true,
          [](const LevelReport& r) { return r.randomTries > 0 ? static_cast<double>(r.randomWins) / r.randomTries : 0.0; });
    curve(kBot, false, [](const LevelReport& r) { return r.winRate(); });
}

}  // namespace

bool writeDifficultyPlot(const std::vector<LevelReport>& levels, const std::filesystem::path& file) {
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPlotWidth, kPlotHeight), cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> context(cairo_create(surface.get()), cairo_destroy);
    cairo_t* cr = context.get();
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);

    setColour(cr, kInk);
    text(cr, kPlotWidth / 2.0, 26, "Share of tries won, level by level", 18, true, 0.5);
    // The legend.
    const double ly = 48;
    setColour(cr, kBot);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 330, ly - 4);
    cairo_line_to(cr, 360, ly - 4);
    cairo_stroke(cr);
    setColour(cr, kInk);
    text(cr, 366, ly, "bot", 12);
    setColour(cr, kRandom);
    const double dashes[] = {5, 4};
    cairo_set_dash(cr, dashes, 2, 0);
    cairo_move_to(cr, 420, ly - 4);
    cairo_line_to(cr, 450, ly - 4);
    cairo_stroke(cr);
    cairo_set_dash(cr, dashes, 0, 0);
    setColour(cr, kInk);
    text(cr, 456, ly, "random clicker", 12);
    setColour(cr, kBand);
    cairo_rectangle(cr, 580, ly - 11, 24, 12);
    cairo_fill(cr);
    setColour(cr, kInk);
    text(cr, 610, ly, "target band", 12);

    const double top = 60, panelW = kPlotWidth / 2.0, panelH = (kPlotHeight - top) / 2.0;
    for (int m = 0; m < rules::kModeCount; ++m) {
        const auto mode = static_cast<rules::GameMode>(m);
        std::vector<const LevelReport*> ofMode;
        for (const LevelReport& r : levels)
            if (r.mode == mode) ofMode.push_back(&r);
        if (ofMode.empty()) continue;
        std::sort(ofMode.begin(), ofMode.end(), [](const LevelReport* a, const LevelReport* b) { return a->level < b->level; });
        const Box box{(m % 2) * panelW, top + (m / 2) * panelH, panelW, panelH};
        drawPanel(cr, box, mode, ofMode);
    }
    cairo_surface_flush(surface.get());
    return cairo_surface_write_to_png(surface.get(), file.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace levelbot
