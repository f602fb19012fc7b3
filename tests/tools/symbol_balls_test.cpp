// The colour symbols carry what the tints cannot: with symbols on, any two ball colours stay apart
// in lightness alone, for normal eyes and under each full colour-vision deficiency.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "data/levels.hpp"
#include "present/pictures.hpp"
#include "support/test_support.hpp"
#include "tints.hpp"

namespace {

// Two balls read apart at a glance when enough of them differs clearly in lightness.
constexpr double kClearGreyStep = 48;
constexpr int kSharePercent = 10;
constexpr int kSide = 20;

TEST(SymbolBalls, EveryTwoColoursDifferInLightnessUnderEveryVision) {
    const data::GameFolder folder(testing_support::builtGameFolder());
    rules::LevelTable levels;
    rules::LevelSettings settings;
    data::loadLevelFile(folder, levels, settings);
    const std::optional<present::PixelImage> ballTemplate = present::decodePicture(folder.resolve("gfx//Ball.png"));
    const std::optional<present::PixelImage> symbols = present::decodePicture(folder.resolve("gfx/symbols.png"));
    ASSERT_TRUE(ballTemplate && symbols);
    const present::Surface balls = present::composeSymbolBalls(present::tintBalls(*ballTemplate, settings.colorTints), *symbols);
    ASSERT_EQ(balls.width, kSide * palette::kBallColours);

    // Every frame has the template's shape; its key pixels are no part of the ball.
    std::vector<std::pair<int, int>> ballPixels;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if ((balls.at(x, y) & present::kColourMask) != balls.keyColour()) ballPixels.push_back({x, y});
    ASSERT_GT(ballPixels.size(), 250u);

    for (palette::Vision vision : palette::kVisions) {
        SCOPED_TRACE(palette::visionName(vision));
        std::array<std::vector<double>, palette::kBallColours> grey;
        for (int c = 0; c < palette::kBallColours; ++c)
            for (const auto& [x, y] : ballPixels) {
                const uint32_t p = balls.at(kSide * c + x, y);
                const palette::Srgb colour{double(p >> 16 & 0xFF), double(p >> 8 & 0xFF), double(p & 0xFF)};
                grey[static_cast<size_t>(c)].push_back(palette::greyLevel(palette::simulate(vision, colour)));
            }
        for (size_t a = 0; a < grey.size(); ++a)
            for (size_t b = a + 1; b < grey.size(); ++b) {
                size_t apart = 0;
                for (size_t i = 0; i < ballPixels.size(); ++i) apart += std::abs(grey[a][i] - grey[b][i]) >= kClearGreyStep;
                EXPECT_GE(apart * 100, ballPixels.size() * kSharePercent)
                    << palette::familyName(static_cast<int>(a)) << " and " << palette::familyName(static_cast<int>(b)) << ": "
                    << apart << " of " << ballPixels.size() << " pixels";
            }
    }
}

// The shipped tints keep their hue families and stay apart in colour too, under every vision.
TEST(SymbolBalls, ShippedTintsKeepTheirFamiliesAndStayApart) {
    rules::LevelTable levels;
    rules::LevelSettings settings;
    data::loadLevelFile(data::GameFolder(testing_support::builtGameFolder()), levels, settings);
    palette::TintSet tints;
    for (int c = 0; c < palette::kBallColours; ++c) {
        const rules::ColourTint& t = settings.colorTints[static_cast<size_t>(c + 1)];
        tints[static_cast<size_t>(c)] = {t.red, t.green, t.blue};
        EXPECT_TRUE(palette::inFamily(c, tints[static_cast<size_t>(c)])) << palette::familyName(c);
    }
    for (double shading : {110.0, palette::kBodyShading}) EXPECT_GE(palette::worstDistance(tints, shading), 10.0) << shading;
}

}  // namespace
