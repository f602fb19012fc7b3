// The colour symbols laid over the tinted balls, and plain balls when the symbols picture is
// missing or damaged.
#include <gtest/gtest.h>

#include "present/headless_platform.hpp"
#include "present/picture_files.hpp"
#include "present/pictures.hpp"
#include "support/test_support.hpp"

namespace present {
namespace {

TEST(SymbolBalls, LaidOverTheBallsByTheirAlphaAroundTheKey) {
    Surface balls = Surface::create(140, 20, kMagentaKey);
    balls.fill(0x80204060);  // ball pixels keep their own fourth byte
    balls.row(0)[0] = 0xFFFF00FF;
    PixelImage symbols{std::vector<uint32_t>(140 * 20, 0x00FFFFFF), 140, 20};
    symbols.pixels[0] = 0xFF000000;  // over the key
    symbols.pixels[1] = 0xFF0A0B0C;
    symbols.pixels[2] = 0x80FFFFFF;
    symbols.pixels[3] = 0xFFFF00FF;  // would punch a hole in the ball
    const Surface out = composeSymbolBalls(balls, symbols);
    EXPECT_EQ(out.colorKey, kMagentaKey);
    EXPECT_EQ(out.at(0, 0), 0xFFFF00FFu);
    EXPECT_EQ(out.at(1, 0), 0x800A0B0Cu);
    EXPECT_EQ(out.at(2, 0), 0x8090A0B0u);  // (255 * 128 + ball * 127) / 255, rounded
    EXPECT_EQ(out.at(3, 0), 0x80FF00FEu);
    EXPECT_EQ(out.at(139, 19), 0x80204060u);  // alpha 0 leaves the ball alone
    // A picture narrower than the strip is no symbols picture.
    EXPECT_EQ(composeSymbolBalls(balls, PixelImage{std::vector<uint32_t>(139 * 20, 0xFF000000), 139, 20}).pixels, balls.pixels);
}

TEST(SymbolBalls, MissingOrDamagedSymbolsGivePlainBallsWithoutABeep) {
    testing_support::TempFolder folder;
    HeadlessPlatform platform;
    const data::GameFolder gameFolder{folder.path()};
    PictureLoader loader{gameFolder, platform};
    Display display;
    Pictures pictures;
    bool windowed = false;
    auto reload = [&] {
        const int beepsBefore = platform.beepCount();
        PictureJob job{loader, display, pictures, windowed, rules::LevelSettings{}.colorTints, {}};
        reloadPictures(job);
        return platform.beepCount() - beepsBefore;
    };
    picture_files::write(folder.path() / "gfx/Ball.png", picture_files::solid(40, 20, 0xFF336699), picture_files::Kind::PngAlpha);
    const int beepsOfOtherPictures = reload();
    ASSERT_EQ(pictures.balls.width, 140);
    EXPECT_EQ(pictures.symbolBalls.pixels, pictures.balls.pixels);

    testing_support::writeFile(folder.path() / "gfx/symbols.png", std::string("\x89PNG\r\n\x1a\n", 8) + "not a picture");
    EXPECT_EQ(reload(), beepsOfOtherPictures);
    EXPECT_EQ(pictures.symbolBalls.pixels, pictures.balls.pixels);

    picture_files::write(folder.path() / "gfx/symbols.png", picture_files::solid(140, 20, 0xFF112233),
                         picture_files::Kind::PngAlpha);
    reload();
    EXPECT_EQ(pictures.symbolBalls.at(70, 10), (pictures.balls.at(70, 10) & 0xFF000000) | 0x112233u);
}

}  // namespace
}  // namespace present
