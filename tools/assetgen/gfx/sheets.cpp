#include "sheets.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "catalogue.hpp"
#include "paint.hpp"

namespace assetgen {

namespace {

constexpr int kPageW = 1400;
constexpr int kPageH = 1000;
constexpr int kGap = 14;
constexpr int kLabelH = 16;

bool hasKey(const Picture& p) {
    return std::any_of(p.pixels.begin(), p.pixels.end(), [](uint32_t v) { return v == kMagenta; });
}

// The picture as it reads on a page: keyed parts over a grey checker, alpha over dark grey.
Layer display(const Picture& p, int zoom) {
    const bool keyedPicture = hasKey(p);
    Layer out(p.width * zoom, p.height * zoom);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            uint32_t v = p.at(x / zoom, y / zoom);
            float r = static_cast<float>((v >> 16) & 0xFF) / 255.0f, g = static_cast<float>((v >> 8) & 0xFF) / 255.0f,
                  b = static_cast<float>(v & 0xFF) / 255.0f;
            if (keyedPicture && v == kMagenta) {
                const float c = ((x / 6 + y / 6) % 2) ? 0.22f : 0.30f;
                r = g = b = c;
            } else if (p.withAlpha) {
                const float a = static_cast<float>(v >> 24) / 255.0f;
                r = r * a + 0.25f * (1 - a);
                g = g * a + 0.25f * (1 - a);
                b = b * a + 0.25f * (1 - a);
            }
            out.at(x, y) = {r, g, b, 1.0f};
        }
    }
    return out;
}

Layer downscale(const Layer& in, int factor) {
    Layer out(in.width() / factor, in.height() / factor);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            Rgba sum{};
            for (int sy = 0; sy < factor; ++sy)
                for (int sx = 0; sx < factor; ++sx) {
                    const Rgba& p = in.at(x * factor + sx, y * factor + sy);
                    sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b, sum.a + p.a};
                }
            const float k = 1.0f / static_cast<float>(factor * factor);
            out.at(x, y) = {sum.r * k, sum.g * k, sum.b * k, sum.a * k};
        }
    }
    return out;
}

void label(Layer& page, int x, int y, const std::string& text) {
    Painter p(kPageW, kLabelH);
    cairo_set_source_rgb(p.cr(), 0.85, 0.85, 0.8);
    setFont(p.cr(), Font::Sans, 11);
    cairo_move_to(p.cr(), 0, 12);
    cairo_show_text(p.cr(), text.c_str());
    page.over(p.take(), x, y);
}

}  // namespace

void writeContactSheets(const PictureSet& pictures, const std::filesystem::path& folder) {
    std::vector<Layer> pages;
    Layer page(kPageW, kPageH);
    int x = kGap, y = kGap, rowH = 0;
    auto newPage = [&]() {
        pages.push_back(std::move(page));
        page = Layer(kPageW, kPageH);
        x = kGap;
        y = kGap;
        rowH = 0;
    };
    for (const CatalogueEntry& e : catalogue()) {
        const Picture& p = pictures.at(e.gamePath);
        // Big pictures are halved, tiny ones doubled, strips wider than a page are cut in rows.
        std::vector<Layer> parts;
        if ((p.width >= 800 && p.height >= 600) || (p.width > 1344 && p.height >= 200)) {
            parts.push_back(downscale(display(p, 1), 2));
        } else {
            const int zoom = (p.width <= 70 && p.height <= 70) ? 3 : 1;
            const Layer full = display(p, zoom);
            const int chunk = p.width % 15 == 0 ? 1350 : 1344;
            for (int cx = 0; cx < full.width(); cx += chunk)
                parts.push_back(full.crop(cx, 0, std::min(chunk, full.width() - cx), full.height()));
        }
        int h = kLabelH;
        int w = 0;
        for (const Layer& part : parts) {
            h += part.height() + 2;
            w = std::max(w, part.width());
        }
        w = std::max(w, static_cast<int>(e.gamePath.size() * 6.2 + 60));
        w = std::min(w, kPageW - 2 * kGap);
        if (x + w > kPageW - kGap) {
            x = kGap;
            y += rowH + kGap;
            rowH = 0;
        }
        if (y + h > kPageH - kGap) newPage();
        int py = y;
        for (const Layer& part : parts) {
            page.over(part, x, py);
            py += part.height() + 2;
        }
        label(page, x, py, e.gamePath + "  " + std::to_string(e.width) + "x" + std::to_string(e.height));
        x += w + kGap;
        rowH = std::max(rowH, h);
    }
    pages.push_back(std::move(page));
    for (size_t i = 0; i < pages.size(); ++i)
        writePng(folder / ("contact-" + std::to_string(i + 1) + ".png"), opaque(pages[i], hex(0x181818)));
}

}  // namespace assetgen
