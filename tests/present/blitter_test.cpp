#include "present/blitter.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

namespace present {
namespace {

PixelImage imageOf(int width, int height, uint32_t fill) {
    return {std::vector<uint32_t>(static_cast<size_t>(width * height), fill), width, height};
}

Surface surfaceOf(int width, int height, uint32_t fill, int64_t key = kNoColourKey) {
    Surface s = Surface::create(width, height, key);
    s.fill(fill);
    return s;
}

// The blend as the game defines it, one pixel at a time, to hold the fast paths against.
uint32_t referenceBlend(uint32_t s, uint32_t d, float fs, float fd) {
    if ((s & 0xFFFFFF) == 0) return d;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double t = std::trunc(double((s >> shift) & 0xFF) * fs + double((d >> shift) & 0xFF) * fd);
        out |= (t <= 0 || std::isnan(t) ? 0u : t >= 255 ? 255u : static_cast<uint32_t>(t)) << shift;
    }
    return out;
}

uint32_t blendOne(uint32_t s, uint32_t d, float fs, float fd) {
    Surface target = surfaceOf(1, 1, d);
    blendBlit(0, 0, 0, 0, 1, 1, imageOf(1, 1, s), target, fs, fd);
    return target.at(0, 0);
}

TEST(BlendBlit, ChannelArithmeticAndEmptyRectangles) {
    EXPECT_EQ(blendOne(0xFF000000, 0x00123456, 1, 0), 0x00123456u);         // black whatever its fourth byte
    EXPECT_EQ(blendOne(0x00000001, 0xAB123456, 1, 0), 0x00000001u);         // blue 1 is drawn, fourth byte 0
    EXPECT_EQ(blendOne(0x000000C8, 0x00000064, 1, 1), 0x000000FFu);         // 200 + 100 saturates
    EXPECT_EQ(blendOne(0x00FFFFFF, 0x00000000, 0.6f, 1), 0x00999999u);      // 153.000006 -> 153
    EXPECT_EQ(blendOne(0x00010101, 0x00000000, 0.5f, 0.5f), 0u);            // 0.5 truncates to 0
    EXPECT_EQ(blendOne(0x00000A00, 0x00FF00FF, 1.1f, -0.1f), 0x00000B00u);  // clamps per channel
    Surface target = surfaceOf(4, 4, 0x11111111);
    for (const auto& [w, h] : {std::pair{0, 4}, {-3, 4}, {4, 0}})
        blendBlit(0, 0, 0, 0, w, h, imageOf(4, 4, 0xFFFFFF), target, 1, 0);
    blendBlit(0, 0, 0, 0, 4, 4, PixelImage{}, target, 1, 0);
    EXPECT_EQ(target.pixels, surfaceOf(4, 4, 0x11111111).pixels);
}

// The byte fast paths for (1, 0) and (1, 1) and the vectorised double path for the rest give
// exactly the defined result on every alignment and row length, vector bodies and tails alike.
TEST(BlendBlit, EveryPathIsBitExact) {
    std::mt19937 rng(7);
    const float pairs[][2] = {{1, 0},        {1, 1},     {0.6f, 1},  {2.5f, 1}, {1e-30f, 1},      {0.35f, 0.65f},
                              {1.1f, -0.1f}, {-0.5f, 1}, {1, 1e-7f}, {NAN, 1},  {INFINITY, 0.5f}, {3e38f, -3e38f}};
    for (const auto& [fs, fd] : pairs) {
        for (int trial = 0; trial < 12; ++trial) {
            const int width = 1 + static_cast<int>(rng() % 37), sx = static_cast<int>(rng() % 4),
                      dx = static_cast<int>(rng() % 6);
            PixelImage source = imageOf(width + 3, 3, 0);
            for (uint32_t& p : source.pixels) p = rng() % 4 == 0 ? (rng() & 0xFF000000) : rng();
            Surface target = surfaceOf(width + 5, 3, 0);
            for (uint32_t& p : target.pixels) p = rng();
            const Surface before = target;
            blendBlit(sx, 0, dx, 0, width, 3, source, target, fs, fd);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < target.width; ++x) {
                    const bool inside = x >= dx && x < dx + width;
                    ASSERT_EQ(target.at(x, y),
                              inside ? referenceBlend(source.at(x - dx + sx, y), before.at(x, y), fs, fd) : before.at(x, y))
                        << fs << ", " << fd << " at " << x << "," << y;
                }
        }
    }
}

// A rectangle reaching past any edge of either picture draws only its part inside both and
// leaves every other pixel alone (the sanitizer build catches any stray write).
TEST(Clipping, BothPrimitivesStayInsideBothPictures) {
    PixelImage image = imageOf(10, 10, 0);
    for (int i = 0; i < 100; ++i) image.pixels[static_cast<size_t>(i)] = 0x010101u * static_cast<uint32_t>(i + 1);
    Surface picture = surfaceOf(10, 10, 0);
    picture.pixels = image.pixels;
    // Whole pictures pushed past an edge, then pieces from inside the picture cut at the left and
    // top edges, where the source's own width no longer hides a rectangle that was not shortened.
    const int cases[][6] = {{0, 0, -4, -3, 10, 10},       {0, 0, 16, 14, 10, 10}, {-2, -5, 3, 3, 10, 10},
                            {6, 7, 0, 0, 10, 10},         {0, 0, -10, 0, 10, 10}, {0, 0, 0, 0, 2000000000, 2000000000},
                            {-2000000000, 0, 0, 0, 5, 5}, {2, 1, -3, 2, 5, 4},    {1, 2, 4, -3, 4, 6},
                            {3, 3, -2, -1, 4, 4},         {1, 1, -5, 0, 4, 3},    {-1, 2, -2, 1, 6, 3}};
    for (const auto& [sx, sy, dx, dy, w, h] : cases) {
        Surface viaBlend = surfaceOf(20, 17, 0x00ABCDEF);
        Surface viaCopy = viaBlend;
        blendBlit(sx, sy, dx, dy, w, h, image, viaBlend, 1, 0);
        copyRect(picture, sx, sy, dx, dy, w, h, viaCopy, ColourKey::Ignore);
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 20; ++x) {
                const int64_t px = int64_t{x} - dx + sx, py = int64_t{y} - dy + sy;
                const bool inside =
                    x >= dx && y >= dy && x - int64_t{dx} < w && y - int64_t{dy} < h && px >= 0 && px < 10 && py >= 0 && py < 10;
                const uint32_t expected = inside ? image.at(int(px), int(py)) : 0x00ABCDEFu;
                ASSERT_EQ(viaBlend.at(x, y), expected) << dx << "," << dy << " at " << x << "," << y;
                ASSERT_EQ(viaCopy.at(x, y), expected) << dx << "," << dy << " at " << x << "," << y;
            }
    }
}

// The rectangle left after clipping: a corner past an edge of either picture moves both corners
// and shortens the rectangle by as much; the far edges only shorten it.
TEST(Clipping, ClipRectMovesBothCornersAndShortens) {
    struct Case {
        BlitRect in;
        bool left;
        BlitRect out;
    };
    const Case cases[] = {
        {{2, 1, -3, 0, 5, 4}, true, {5, 1, 0, 0, 2, 4}},    // left edge of the target
        {{1, 2, 0, -3, 4, 5}, true, {1, 5, 0, 0, 4, 2}},    // top edge of the target
        {{-2, 0, 3, 1, 5, 3}, true, {0, 0, 5, 1, 3, 3}},    // left edge of the source
        {{0, -4, 1, 1, 3, 6}, true, {0, 0, 1, 5, 3, 2}},    // top edge of the source
        {{-1, 3, -2, -1, 5, 4}, true, {1, 4, 0, 0, 3, 3}},  // both pictures at once
        {{0, 0, 6, 5, 5, 5}, true, {0, 0, 6, 5, 2, 3}},     // right and bottom of the target
        {{7, 8, 0, 0, 5, 5}, true, {7, 8, 0, 0, 3, 2}},     // right and bottom of the source
        {{2, 0, -3, 0, 3, 2}, false, {}},                   // cut away entirely at the left
        {{0, 9, 0, -1, 2, 1}, false, {}},                   // cut away entirely at the top
    };
    for (const Case& c : cases) {
        BlitRect r = c.in;
        SCOPED_TRACE(testing::Message() << "from " << c.in.srcX << "," << c.in.srcY << " to " << c.in.dstX << "," << c.in.dstY
                                        << " size " << c.in.width << "x" << c.in.height);
        ASSERT_EQ(clipRect(r, 10, 10, 8, 8), c.left);
        if (!c.left) continue;
        EXPECT_EQ(std::tie(r.srcX, r.srcY, r.dstX, r.dstY, r.width, r.height),
                  std::tie(c.out.srcX, c.out.srcY, c.out.dstX, c.out.dstY, c.out.width, c.out.height));
    }
}

TEST(CopyRect, ColourKeysAndOverlap) {
    // The key compares colour bytes only: opaque magenta is skipped, near-magenta and black are not;
    // the row is long enough for the vector body and the tail.
    const uint32_t kinds[6] = {0xFFFF00FF, 0x00FF00FF, 0xFF000000, 0xFFFF00FE, 0x12345678, 0x80FF00FF};
    Surface source = surfaceOf(23, 1, 0, kMagentaKey);
    for (int x = 0; x < 23; ++x) source.pixels[static_cast<size_t>(x)] = kinds[(x * 5) % 6];
    Surface target = surfaceOf(25, 2, 0x00777777);
    EXPECT_TRUE(copyRect(source, 0, 0, 1, 1, 23, 1, target, ColourKey::Use));
    for (int x = 0; x < 23; ++x) {
        const uint32_t s = source.pixels[static_cast<size_t>(x)];
        EXPECT_EQ(target.at(x + 1, 1), (s & 0xFFFFFF) == 0xFF00FF ? 0x00777777u : s) << x;
    }
    EXPECT_TRUE(copyRect(source, 0, 0, 0, 0, 23, 1, target, ColourKey::Ignore));  // whole pixels
    EXPECT_TRUE(std::equal(source.pixels.begin(), source.pixels.end(), target.row(0)));

    // Black keys the effect strips; a source without a key copies opaque even when asked to key.
    Surface strip = surfaceOf(3, 1, 0, kBlackKey);
    strip.pixels = {0xFF000000, 0x00000001, 0};
    Surface t2 = surfaceOf(3, 1, 0x00555555);
    copyRect(strip, 0, 0, 0, 0, 3, 1, t2, ColourKey::Use);
    EXPECT_EQ(t2.pixels, (std::vector<uint32_t>{0x00555555, 0x00000001, 0x00555555}));
    strip.colorKey = kNoColourKey;
    copyRect(strip, 0, 0, 0, 0, 3, 1, t2, ColourKey::Use);
    EXPECT_EQ(t2.pixels, strip.pixels);

    // Within one surface, overlapping rectangles copy what was there before.
    Surface self = surfaceOf(5, 5, 0);
    for (int i = 0; i < 25; ++i) self.pixels[static_cast<size_t>(i)] = static_cast<uint32_t>(i);
    EXPECT_TRUE(copyRect(self, 0, 0, 1, 1, 4, 4, self, ColourKey::Ignore));
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x) EXPECT_EQ(self.at(x, y), static_cast<uint32_t>((y - 1) * 5 + x - 1));

    EXPECT_FALSE(copyRect(Surface{}, 0, 0, 0, 0, 1, 1, target, ColourKey::Ignore));
    EXPECT_FALSE(copyRect(source, 0, 0, 100, 0, 6, 1, target, ColourKey::Ignore));
}

// With opacity 1 the panel is a plain copy, so each of its pixels names the nine-slice piece and
// the point of the glass picture it came from.
TEST(GlassPanel, NineSliceCoversItsSize) {
    PixelImage glass = imageOf(248, 248, 0);
    for (int y = 0; y < 248; ++y)
        for (int x = 0; x < 248; ++x)
            glass.pixels[static_cast<size_t>(y * 248 + x)] = 0x01000000u | uint32_t(y) << 8 | uint32_t(x);
    const auto sourceOf = [](int p, int tiles) {
        return p < 66 ? p : p < 66 + 116 * tiles ? 66 + (p - 66) % 116 : 182 + (p - 66 - 116 * tiles);
    };
    for (const auto& [rows, columns, width, height] : {std::array{0, 0, 132, 132}, std::array{1, 2, 364, 248}}) {
        Surface target = surfaceOf(400, 300, 0x00FFFFFF);
        drawGlassPanel(10, 20, rows, columns, 1.0f, target, glass);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) {
                const bool inside = x >= 10 && x < 10 + width && y >= 20 && y < 20 + height;
                const uint32_t s = inside ? uint32_t(sourceOf(y - 20, rows)) << 8 | uint32_t(sourceOf(x - 10, columns)) : 0;
                ASSERT_EQ(target.at(x, y), s == 0 ? 0x00FFFFFFu : s) << rows << "x" << columns << " at " << x << "," << y;
            }
    }
    Surface target = surfaceOf(140, 140, 0x00646464);
    drawGlassPanel(0, 0, 0, 0, 0.5f, target, imageOf(248, 248, 0x00C8C8C8));
    EXPECT_EQ(target.at(70, 70), 0x00969696u);  // 200 over 100 at one half
}

}  // namespace
}  // namespace present
