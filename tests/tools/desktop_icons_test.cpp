// The desktop's icons: the window icon's drawing at every size of the icon theme.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "art.hpp"
#include "picture.hpp"
#include "support/test_support.hpp"

using namespace assetgen;

namespace {

std::filesystem::path drawIcons(const std::filesystem::path& dir) {
    const std::string command =
        std::string("\"") + LUMERIK_ASSETGEN_GFX + "\" --icons \"" + dir.string() + "\" --icon-name org.example.Game";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir;
}

std::filesystem::path iconFile(const std::filesystem::path& dir, int size) {
    const std::string box = std::to_string(size) + "x" + std::to_string(size);
    return dir / box / "apps" / "org.example.Game.png";
}

double alphaOf(uint32_t p) { return (p >> 24) / 255.0; }

// The picture shrunk by a whole factor, each channel averaged with its alpha as weight, so that a
// larger icon can be held against a smaller one.
Picture shrink(const Picture& big, int factor) {
    Picture out(big.width / factor, big.height / factor, 0);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            double sum[4] = {};
            for (int v = 0; v < factor; ++v)
                for (int u = 0; u < factor; ++u) {
                    const uint32_t p = big.at(x * factor + u, y * factor + v);
                    const double a = alphaOf(p);
                    for (int c = 0; c < 3; ++c) sum[c] += a * ((p >> (8 * c)) & 0xFF);
                    sum[3] += a;
                }
            const double n = factor * factor;
            uint32_t p = static_cast<uint32_t>(std::lround(sum[3] / n * 255)) << 24;
            if (sum[3] > 0)
                for (int c = 0; c < 3; ++c) p |= static_cast<uint32_t>(std::lround(sum[c] / sum[3])) << (8 * c);
            out.at(x, y) = p;
        }
    return out;
}

// Mean gap per pixel between two pictures of one size, colour weighted by coverage, 0..255.
double meanGap(const Picture& a, const Picture& b) {
    double total = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const uint32_t p = a.at(x, y), q = b.at(x, y);
            const double pa = alphaOf(p), qa = alphaOf(q);
            double gap = std::abs(pa - qa) * 255;
            for (int c = 0; c < 3; ++c) gap += std::abs(pa * ((p >> (8 * c)) & 0xFF) - qa * ((q >> (8 * c)) & 0xFF));
            total += gap / 4;
        }
    return total / (a.width * a.height);
}

}  // namespace

TEST(DesktopIcons, EverySizeIsTheWindowIconsDrawingAndTheSameBytesEveryRun) {
    testing_support::TempFolder temp;
    const std::filesystem::path first = drawIcons(temp.path() / "a"), second = drawIcons(temp.path() / "b");
    for (const int size : kDesktopIconSizes) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(std::filesystem::exists(iconFile(first, size)));
        EXPECT_TRUE(testing_support::readFile(iconFile(first, size)) == testing_support::readFile(iconFile(second, size)));
        const Picture icon = readPng(iconFile(first, size));
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        // A round emblem on a clear ground: the corners are see-through, the middle is solid and the
        // ring reaches close to every edge.
        for (const auto& [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
            EXPECT_EQ(alphaOf(icon.at(x, y)), 0.0) << x << "," << y;
        EXPECT_EQ(alphaOf(icon.at(size / 2, size / 2)), 1.0);
        int left = size, right = -1;
        for (int x = 0; x < size; ++x)
            if (alphaOf(icon.at(x, size / 2)) > 0.5) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        EXPECT_GE(right - left + 1, size * 85 / 100);
        EXPECT_NEAR(left, size - 1 - right, 1);
    }
    // The 64-pixel icon is the window's own, byte for byte.
    EXPECT_TRUE(testing_support::readFile(iconFile(first, 64)) ==
                testing_support::readFile(testing_support::builtGameFolder() / "gfx" / "icon.png"));
    // Larger icons shrink to the smaller ones: the same picture, drawn finer. (The same icon moved by
    // a pixel or turned upside down is at least twice as far off; the smallest keep their thin lines a
    // pixel wide, which widens their gap.)
    const Picture icon64 = readPng(iconFile(first, 64));
    EXPECT_LT(meanGap(shrink(readPng(iconFile(first, 128)), 2), icon64), 4.0);
    EXPECT_LT(meanGap(shrink(readPng(iconFile(first, 256)), 4), icon64), 4.0);
    EXPECT_LT(meanGap(shrink(icon64, 2), readPng(iconFile(first, 32))), 10.0);
    EXPECT_LT(meanGap(shrink(icon64, 4), readPng(iconFile(first, 16))), 25.0);
}
