#include <gtest/gtest.h>

#include <sstream>

#include "flow/game.hpp"
#include "flow/sim.hpp"
#include "present/blitter.hpp"
#include "present/headless_platform.hpp"
#include "present/picture_files.hpp"
#include "present/sprite_font.hpp"
#include "support/test_support.hpp"

namespace present {
namespace {

// lumerik-sim's shot right after start-up: the still logo, drawn additively on black, exactly.
TEST(Shot, StartupLogoFrameIsWrittenExactly) {
    testing_support::TempFolder folder;
    picture_files::Picture logo = picture_files::solid(160, 147, 0);
    for (int y = 0; y < 147; ++y)
        for (int x = 0; x < 160; ++x)
            logo.pixels[static_cast<size_t>(y * 160 + x)] =
                (x + y) % 7 == 0 ? 0x00000000 : 0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8 | uint32_t(x ^ y);
    picture_files::write(folder.path() / "gfx/logo/Logo_Big.png", logo, picture_files::Kind::PngAlpha);

    const std::filesystem::path shot = folder.path() / "shot.png";
    std::istringstream script("shot " + shot.string() + "\n");
    std::ostringstream out, err;
    flow::SimOptions options;
    options.gameDir = folder.path();
    options.seed = 1;
    ASSERT_EQ(flow::runSimScript(script, options, out, err), 0) << err.str();

    const picture_files::Picture frame = picture_files::read(shot);
    ASSERT_EQ(frame.width, 800);
    ASSERT_EQ(frame.height, 600);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const bool inLogo = x >= 322 && x < 482 && y >= 203 && y < 350;
            const uint32_t expected =
                0xFF000000u | (inLogo ? logo.pixels[static_cast<size_t>((y - 203) * 160 + (x - 322))] & 0xFFFFFF : 0u);
            ASSERT_EQ(frame.pixels[static_cast<size_t>(y * 800 + x)], expected) << x << "," << y;
        }
    }
}

// A known composition through every primitive, presented and written as the shot writes it.
TEST(Shot, ComposedFrameRoundTripsThroughThePng) {
    testing_support::TempFolder folder;
    HeadlessPlatform platform;
    flow::Game game(platform, data::GameFolder(folder.path()), 1);
    Surface& back = game.display.backBuffer;
    back.fill(0x00203040);

    Surface sprite = Surface::create(10, 10, kMagentaKey);
    sprite.fill(0xFFC00000);
    sprite.row(5)[5] = 0xFFFF00FF;
    copyRect(sprite, 0, 0, 792, 588, 10, 10, back, ColourKey::Use);  // hangs over the right edge

    PixelImage shine;
    shine.width = 4;
    shine.height = 4;
    shine.pixels.assign(16, 0x00000080);
    shine.pixels[0] = 0xFF000000;
    blendBlit(0, 0, 797, 592, 4, 4, shine, back, 1, 1);

    PixelImage glass;
    glass.width = glass.height = 248;
    glass.pixels.assign(248 * 248, 0x00FFFFFF);
    drawGlassPanel(-20, -20, 0, 0, 0.5f, back, glass);

    const std::vector<uint8_t> map = {'H', 'i'};
    Surface glyphs = Surface::create(30, 26, kMagentaKey);
    glyphs.fill(0xFF00FF00);
    drawText(SpriteFont{map, &glyphs, &glyphs, nullptr}, 400, 300, 0, "Hi", back, FontNormal);
    presentFrame(game.display, platform);

    const std::filesystem::path file = folder.path() / "frame.png";
    ASSERT_TRUE(savePng(platform.screen(), file));
    const picture_files::Picture frame = picture_files::read(file);
    ASSERT_EQ(frame.width, 800);
    const auto at = [&](int x, int y) { return frame.pixels[static_cast<size_t>(y * 800 + x)]; };
    EXPECT_EQ(at(0, 0), 0xFF8F979Fu);      // (0x20, 0x30, 0x40) and white at 0.5: 143, 151, 159
    EXPECT_EQ(at(111, 111), 0xFF8F979Fu);  // the 132-pixel panel's last pixel
    EXPECT_EQ(at(112, 112), 0xFF203040u);
    EXPECT_EQ(at(792, 588), 0xFFC00000u);
    EXPECT_EQ(at(797, 592), 0xFFC00000u);  // the shine's black pixel added nothing
    EXPECT_EQ(at(798, 592), 0xFFC00080u);  // red sprite plus blue 0x80
    EXPECT_EQ(at(797, 593), 0xFF2030C0u);  // the sprite's key hole, with the shine added
    EXPECT_EQ(at(799, 597), 0xFFC00000u);
    EXPECT_EQ(at(799, 598), 0xFF203040u);
    EXPECT_EQ(at(400, 300), 0xFF00FF00u);  // "H" from 400 to 414, then the narrow "i" from 416
    EXPECT_EQ(at(415, 300), 0xFF203040u);
    EXPECT_EQ(at(430, 325), 0xFF00FF00u);
    EXPECT_EQ(at(431, 300), 0xFF203040u);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) ASSERT_EQ(at(x, y), 0xFF000000u | (back.at(x, y) & 0xFFFFFF)) << x << "," << y;
}

}  // namespace
}  // namespace present
