#include "present/play_draw.hpp"

#include <gtest/gtest.h>

namespace present {
namespace {

TEST(PlayDraw, ScoreAndLevelDigitsOfEveryLengthStayOnScreenInOrder) {
    EXPECT_EQ(scoreDigitAt(1, 0).x, 393);
    EXPECT_EQ(scoreDigitAt(1, 0).y, 27);
    EXPECT_EQ(scoreDigitAt(6, 0).x, 353);
    EXPECT_EQ(scoreDigitAt(6, 5).x, 433);
    EXPECT_EQ(levelDigitAt(1, 0).x, 393);
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE(n);
        for (int i = 0; i < n; ++i) {
            const Point at = scoreDigitAt(n, i);
            EXPECT_GE(at.x, 0);
            EXPECT_LE(at.x + layout::kDigitW, kScreenWidth);
            EXPECT_GE(at.y, 0);
            if (i > 0) {
                EXPECT_EQ(at.x - scoreDigitAt(n, i - 1).x, 16);
            }
            const Point level = levelDigitAt(n, i);
            EXPECT_LE(level.x + layout::kDigitW, kScreenWidth);
            if (i > 0) {
                EXPECT_EQ(level.x - levelDigitAt(n, i - 1).x, 16);
            }
        }
        // Long numbers are centred where the arc's middle is, between x 400 and 401.
        const int left = scoreDigitAt(n, 0).x, right = scoreDigitAt(n, n - 1).x + layout::kDigitW;
        EXPECT_LE(std::abs((left + right) - 801), 1);
    }
}

struct Art {
    Pictures pictures;
    data::GraphicsSettings gfx;
    Display display;

    Art() {
        createWorkSurfaces(display);
        display.sceneSurface.fill(0x00204060);
    }
    PlayArt art() const { return {pictures, gfx, SpriteFont{}}; }
};

TEST(PlayDraw, ABlockIsComposedAtItsStepAndCopiedWithItsKey) {
    Art a;
    // Quadro: frame s filled with 0x0000s0, its top-left pixel the key colour.
    Surface quadro = Surface::create(372, 62, kMagentaKey);
    for (int s = 0; s < 6; ++s)
        for (int y = 0; y < 62; ++y)
            for (int x = 0; x < 62; ++x) quadro.row(y)[62 * s + x] = x == 0 && y == 0 ? 0xFFFF00FF : 0x000010u * (s + 1);
    a.pictures.surfaces[static_cast<size_t>(SurfacePicture::Quadro)] = quadro;
    a.pictures.balls = Surface::create(140, 20, kMagentaKey);
    for (int c = 0; c < 7; ++c)
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) a.pictures.balls.row(y)[20 * c + x] = x < 2 ? 0xFFFF00FF : 0x010000u * (c + 1);

    PlayView view;
    view.blocks.push_back({{300, 200}, 3, {1, 0, 6, 4}});
    drawPlayView(view, a.art(), a.display);
    const Surface& out = a.display.backBuffer;
    const auto& places = layout::kTurnPositions[3];
    EXPECT_EQ(out.at(300 + places[0].x + 5, 200 + places[0].y + 5), 0x010000u);
    EXPECT_EQ(out.at(300 + places[2].x + 5, 200 + places[2].y + 5), 0x060000u);
    EXPECT_EQ(out.at(300 + places[3].x + 5, 200 + places[3].y + 5), 0x040000u);
    EXPECT_EQ(out.at(300 + places[1].x + 5, 200 + places[1].y + 5), 0x000040u) << "no ball: the step's backdrop";
    EXPECT_EQ(out.at(300 + places[0].x, 200 + places[0].y), 0x000040u) << "a ball's key pixels show the backdrop";
    EXPECT_EQ(out.at(300, 200), 0x00204060u) << "the backdrop's key pixels show the scene";
}

TEST(PlayDraw, MissingPicturesAndFramelessStripsDrawNothingButTheScene) {
    Art a;
    a.display.blockSurface = Surface{};
    PlayView view;
    view.flash = {true, 1.0f};
    view.blocks.push_back({{300, 200}, 5, {1, 2, 3, 4}});
    view.balls.push_back({{264, 164}, 7});
    view.score = 123456789012;
    view.level = 3;
    view.runeSlots[4] = {true, 1.0f};
    view.bonusSprites.push_back({3, 9, {400, 300}});
    view.flights.push_back({{790, 590}, 4, 6});
    view.buttonGlows[9] = {true, 0.7f};
    view.effects[0].push_back({9, 9, 40});
    view.thaw = {true, 0.5f};
    view.endTexts.push_back({"Level Complete!", 268, FontWhite});
    drawPlayView(view, a.art(), a.display);
    EXPECT_EQ(a.display.backBuffer.pixels, a.display.sceneSurface.pixels);
}

}  // namespace
}  // namespace present
