#include "present/blitter.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace present {
namespace {

PixelImage imageOf(int width, int height, uint32_t fill) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width * height), fill);
    return image;
}

Surface surfaceOf(int width, int height, uint32_t fill, int64_t key = kNoColourKey) {
    Surface s = Surface::create(width, height, key);
    s.fill(fill);
    return s;
}

// The blend as written down, pixel by pixel, for comparing with the fast paths.
uint32_t referenceBlend(uint32_t s, uint32_t d, float fs, float fd) {
    if ((s & 0xFFFFFF) == 0) return d;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double r = double((s >> shift) & 0xFF) * double(fs) + double((d >> shift) & 0xFF) * double(fd);
        const double t = std::trunc(r);
        const uint32_t c = t <= 0 || std::isnan(t) ? 0 : t >= 255 ? 255 : static_cast<uint32_t>(t);
        out |= c << shift;
    }
    return out;
}

uint32_t blendOne(uint32_t s, uint32_t d, float fs, float fd) {
    PixelImage source = imageOf(1, 1, s);
    Surface target = surfaceOf(1, 1, d);
    blendBlit(0, 0, 0, 0, 1, 1, source, target, fs, fd);
    return target.at(0, 0);
}

TEST(BlendBlit, ChannelArithmeticFollowsTheRule) {
    // Black is transparent whatever its fourth byte; blue 1 is not black.
    EXPECT_EQ(blendOne(0xFF000000, 0x00123456, 1, 0), 0x00123456u);
    EXPECT_EQ(blendOne(0x00000000, 0xAB123456, 1, 1), 0xAB123456u);
    EXPECT_EQ(blendOne(0x00000001, 0x00123456, 1, 0), 0x00000001u);
    // Additive saturates per channel instead of wrapping into the next one.
    EXPECT_EQ(blendOne(0x00C8C8C8, 0x00646464, 1, 1), 0x00FFFFFFu);
    EXPECT_EQ(blendOne(0x000000C8, 0x00000064, 1, 1), 0x000000FFu);
    // 255 * 0.6f is 153.000006 in double: 153, not 152.
    EXPECT_EQ(blendOne(0x00FFFFFF, 0x00000000, 0.6f, 1), 0x00999999u);
    // 1 * 0.5 truncates to 0.
    EXPECT_EQ(blendOne(0x00010101, 0x00000000, 0.5f, 0.5f), 0x00000000u);
    // Drawing clears the fourth byte; a skipped pixel keeps it.
    EXPECT_EQ(blendOne(0x80102030, 0xFF405060, 1, 0), 0x00102030u);
    EXPECT_EQ(blendOne(0xFF000000, 0xFF405060, 1, 0), 0xFF405060u);
    // A negative destination factor clamps each channel at 0 without borrowing from its neighbour.
    EXPECT_EQ(blendOne(0x00000A00, 0x00FF00FF, 1.1f, -0.1f), 0x00000B00u);
    EXPECT_EQ(blendOne(0x00010101, 0x00FFFFFF, 1.1f, -0.1f), 0x00000000u);
}

TEST(BlendBlit, EmptyRectanglesAndPicturesDrawNothing) {
    PixelImage source = imageOf(4, 4, 0x00FFFFFF);
    Surface target = surfaceOf(4, 4, 0x11111111);
    blendBlit(0, 0, 0, 0, 0, 4, source, target, 1, 0);
    blendBlit(0, 0, 0, 0, 4, 0, source, target, 1, 0);
    blendBlit(0, 0, 0, 0, -3, 4, source, target, 1, 0);
    blendBlit(0, 0, 0, 0, 4, 4, PixelImage{}, target, 1, 0);
    EXPECT_TRUE(std::all_of(target.pixels.begin(), target.pixels.end(), [](uint32_t p) { return p == 0x11111111; }));
    Surface missing;
    blendBlit(0, 0, 0, 0, 4, 4, source, missing, 1, 0);
    EXPECT_TRUE(missing.empty());
}

// The fast paths for (1, 0) and (1, 1) and the vectorised general case must give exactly what the general formula gives,
// on every alignment and row length (vector bodies and scalar tails alike).
TEST(BlendBlit, FastPathsAreBitExact) {
    std::mt19937 rng(7);
    const float pairs[][2] = {{1, 0},    {1, 1},       {0.6f, 1},  {0.3f, 1},     {2.5f, 1}, {0.0f, 1},
                              {1e-30f, 1}, {0.35f, 0.65f}, {0.5f, 0.5f}, {1.1f, -0.1f}, {-0.5f, 1}, {1, 1e-7f},
                              {NAN, 1},  {INFINITY, 0.5f}, {3e38f, -3e38f}};
    for (const auto& pair : pairs) {
        for (int trial = 0; trial < 12; ++trial) {
            const int width = 1 + static_cast<int>(rng() % 37), height = 1 + static_cast<int>(rng() % 5);
            PixelImage source = imageOf(width + 3, height, 0);
            for (uint32_t& p : source.pixels) p = rng() % 4 == 0 ? (rng() & 0xFF000000) : rng();
            Surface target = surfaceOf(width + 5, height + 1, 0);
            for (uint32_t& p : target.pixels) p = rng();
            const Surface before = target;
            const int sx = static_cast<int>(rng() % 4), dx = static_cast<int>(rng() % 6);
            blendBlit(sx, 0, dx, 1, width, height, source, target, pair[0], pair[1]);
            for (int y = 0; y < target.height; ++y) {
                for (int x = 0; x < target.width; ++x) {
                    const bool inside = y >= 1 && x >= dx && x < dx + width && x - dx + sx < source.width;
                    const uint32_t expected =
                        inside ? referenceBlend(source.at(x - dx + sx, y - 1), before.at(x, y), pair[0], pair[1])
                               : before.at(x, y);
                    ASSERT_EQ(target.at(x, y), expected)
                        << "factors " << pair[0] << ", " << pair[1] << " at " << x << "," << y;
                }
            }
        }
    }
}

// A rectangle reaching past any edge of either picture draws only its part inside both; every
// pixel outside it stays untouched (and the sanitizer build catches any stray write).
TEST(Clipping, BothPrimitivesStayInsideBothPictures) {
    PixelImage image = imageOf(10, 10, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) image.pixels[static_cast<size_t>(y * 10 + x)] = 0x010000u * (y + 1) + 0x0100u * (x + 1);
    Surface picture = surfaceOf(10, 10, 0);
    picture.pixels = image.pixels;

    struct Case {
        int sx, sy, dx, dy, w, h;
    };
    const Case cases[] = {{0, 0, -4, -3, 10, 10}, {0, 0, 16, 14, 10, 10}, {-2, -5, 3, 3, 10, 10},
                          {6, 7, 0, 0, 10, 10},   {0, 0, 19, 0, 10, 10},  {0, 0, -10, 0, 10, 10},
                          {0, 0, 0, 0, 2000000000, 2000000000},             {-2000000000, 0, 0, 0, 5, 5}};
    for (const Case& c : cases) {
        Surface viaBlend = surfaceOf(20, 17, 0x00ABCDEF);
        Surface viaCopy = viaBlend;
        blendBlit(c.sx, c.sy, c.dx, c.dy, c.w, c.h, image, viaBlend, 1, 0);
        copyRect(picture, c.sx, c.sy, c.dx, c.dy, c.w, c.h, viaCopy, ColourKey::Ignore);
        for (int y = 0; y < 17; ++y) {
            for (int x = 0; x < 20; ++x) {
                const int sx = x - c.dx + c.sx, sy = y - c.dy + c.sy;
                const bool inside = int64_t{x} - c.dx < c.w && int64_t{y} - c.dy < c.h && x >= c.dx && y >= c.dy &&
                                    sx >= 0 && sx < 10 && sy >= 0 && sy < 10;
                const uint32_t expected = inside ? image.at(sx, sy) : 0x00ABCDEFu;
                ASSERT_EQ(viaBlend.at(x, y), expected) << "blend case " << c.dx << "," << c.dy << " at " << x << "," << y;
                ASSERT_EQ(viaCopy.at(x, y), expected) << "copy case " << c.dx << "," << c.dy << " at " << x << "," << y;
            }
        }
    }
}

TEST(CopyRect, ColourKeyAndOverlap) {
    // The key compares colour bytes only: opaque magenta is skipped, magenta-ish and black are not.
    Surface source = surfaceOf(6, 1, 0, kMagentaKey);
    const uint32_t row[6] = {0xFFFF00FF, 0x00FF00FF, 0xFF000000, 0xFFFF00FE, 0x12345678, 0x80FF00FF};
    std::copy(row, row + 6, source.pixels.begin());
    Surface target = surfaceOf(8, 2, 0x00777777);
    EXPECT_TRUE(copyRect(source, 0, 0, 1, 1, 6, 1, target, ColourKey::Use));
    const uint32_t keyed[8] = {0x00777777, 0x00777777, 0x00777777, 0xFF000000, 0xFFFF00FE, 0x12345678, 0x00777777, 0x00777777};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(target.at(x, 1), keyed[x]) << x;
    EXPECT_EQ(target.at(3, 0), 0x00777777u);

    // Without the key every pixel is copied whole, fourth byte included.
    EXPECT_TRUE(copyRect(source, 0, 0, 0, 0, 6, 1, target, ColourKey::Ignore));
    for (int x = 0; x < 6; ++x) EXPECT_EQ(target.at(x, 0), row[x]);

    // A black key (the effect strips) skips black, and a source without a key copies opaque.
    Surface strip = surfaceOf(3, 1, 0, kBlackKey);
    strip.pixels = {0xFF000000, 0x00000001, 0x00000000};
    Surface t2 = surfaceOf(3, 1, 0x00555555);
    copyRect(strip, 0, 0, 0, 0, 3, 1, t2, ColourKey::Use);
    EXPECT_EQ(t2.pixels, (std::vector<uint32_t>{0x00555555, 0x00000001, 0x00555555}));
    strip.colorKey = kNoColourKey;
    copyRect(strip, 0, 0, 0, 0, 3, 1, t2, ColourKey::Use);
    EXPECT_EQ(t2.pixels, strip.pixels);

    // Long keyed rows: the vector body and the tail agree with the per-pixel rule.
    Surface wide = surfaceOf(23, 1, 0, kMagentaKey);
    for (int x = 0; x < 23; ++x) wide.pixels[static_cast<size_t>(x)] = x % 3 == 0 ? 0xFFFF00FF : 0xFF000000u + x;
    Surface wideTarget = surfaceOf(23, 1, 0x00ABCDEF);
    copyRect(wide, 0, 0, 0, 0, 23, 1, wideTarget, ColourKey::Use);
    for (int x = 0; x < 23; ++x) EXPECT_EQ(wideTarget.at(x, 0), x % 3 == 0 ? 0x00ABCDEFu : 0xFF000000u + x) << x;

    // Copying a surface onto itself with overlapping rectangles reads the source first.
    Surface self = surfaceOf(5, 5, 0);
    for (int i = 0; i < 25; ++i) self.pixels[static_cast<size_t>(i)] = static_cast<uint32_t>(i + 1);
    EXPECT_TRUE(copyRect(self, 0, 0, 1, 1, 4, 4, self, ColourKey::Ignore));
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x) EXPECT_EQ(self.at(x, y), static_cast<uint32_t>((y - 1) * 5 + (x - 1) + 1));
    EXPECT_EQ(self.at(0, 0), 1u);

    // Nothing to copy: a missing surface, or a rectangle wholly outside.
    EXPECT_FALSE(copyRect(Surface{}, 0, 0, 0, 0, 1, 1, target, ColourKey::Ignore));
    EXPECT_FALSE(copyRect(source, 0, 0, 100, 0, 6, 1, target, ColourKey::Ignore));
}

// Each panel pixel comes from the nine-slice piece its place calls for; a = 1 makes the panel a
// plain copy, so every pixel names its source point.
TEST(GlassPanel, NineSliceCoversItsSize) {
    PixelImage glass = imageOf(248, 248, 0);
    for (int y = 0; y < 248; ++y)
        for (int x = 0; x < 248; ++x) glass.pixels[static_cast<size_t>(y * 248 + x)] = 0x01000000u | uint32_t(y) << 8 | uint32_t(x);
    // Source column (or row) for panel offset p of a panel with n middle tiles.
    const auto sourceOf = [](int p, int n) {
        if (p < 66) return p;
        if (p < 66 + 116 * n) return 66 + (p - 66) % 116;
        return 182 + (p - 66 - 116 * n);
    };
    struct Case {
        int rows, columns, width, height;
    };
    for (const Case c : {Case{0, 0, 132, 132}, Case{1, 2, 364, 248}}) {
        Surface target = surfaceOf(400, 300, 0x00FFFFFF);
        drawGlassPanel(10, 20, c.rows, c.columns, 1.0f, target, glass);
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 400; ++x) {
                const int px = x - 10, py = y - 20;
                const bool inside = px >= 0 && px < c.width && py >= 0 && py < c.height;
                uint32_t expected = 0x00FFFFFF;
                if (inside) {
                    const uint32_t s = uint32_t(sourceOf(py, c.rows)) << 8 | uint32_t(sourceOf(px, c.columns));
                    expected = s == 0 ? 0x00FFFFFFu : s;  // the corner's (0, 0) pixel is black
                }
                ASSERT_EQ(target.at(x, y), expected) << c.rows << "x" << c.columns << " at " << x << "," << y;
            }
        }
    }
    // Half opacity cross-fades: 200 over 100 at 0.5 gives 150.
    PixelImage grey = imageOf(248, 248, 0x00C8C8C8);
    Surface target = surfaceOf(140, 140, 0x00646464);
    drawGlassPanel(0, 0, 0, 0, 0.5f, target, grey);
    EXPECT_EQ(target.at(70, 70), 0x00969696u);
    // A panel hanging over the picture's edge is clipped, and a missing glass picture draws nothing.
    drawGlassPanel(100, 100, 3, 3, 0.5f, target, grey);
    drawGlassPanel(0, 0, 1, 1, 0.5f, target, PixelImage{});
}

}  // namespace
}  // namespace present
