#include "present/pictures.hpp"

#include <gtest/gtest.h>

#include "present/headless_platform.hpp"
#include "present/picture_files.hpp"
#include "support/test_support.hpp"

namespace present {
namespace {

using picture_files::Kind;

// One reload asks for every surface picture, the three strips and the ball template.
constexpr int kPicturesPerReload = kSurfacePictureCount + kStripCount + 1;

TEST(Tint, BallSurfaceFromTheTemplate) {
    EXPECT_EQ(tintValue(255, 255), 255);
    EXPECT_EQ(tintValue(0, 0), 0);
    EXPECT_EQ(tintValue(217, 128), 163);   // trunc(86.8 + 76.8)
    EXPECT_EQ(tintValue(1000, 255), 255);  // a colour beyond a byte tints as 255

    // Shading 128 on the left, a grey shape on the right with an opaque-magenta corner and a
    // magenta that is not fully opaque; one shading pixel of its own.
    PixelImage ballTemplate{std::vector<uint32_t>(40 * 20, 0xFF808080), 40, 20};
    ballTemplate.pixels[20] = 0xFFFF00FF;
    ballTemplate.pixels[21] = 0x7FFF00FF;
    ballTemplate.pixels[5 * 40 + 3] = 0xFF10FF00;
    auto tints = rules::LevelSettings{}.colorTints;
    tints[1] = {217, 0, 255};  // red, green, blue of ball colour 1
    tints[7] = {300, 128, 0};
    const Surface balls = tintBalls(ballTemplate, tints);
    ASSERT_EQ(balls.width, 140);
    EXPECT_EQ(balls.colorKey, kMagentaKey);
    EXPECT_EQ(balls.at(0, 0), 0xFFFF00FFu);
    EXPECT_EQ(balls.at(1, 0), 0x7FA34CB2u);     // tinted 163, 76, 178, keeping the shape's fourth byte
    EXPECT_EQ(balls.at(3, 5), 0xFF609966u);     // over shading red 16, green 255, blue 0
    EXPECT_EQ(balls.at(130, 10), 0xFFB2804Cu);  // colour 7 in the last slot, its red 300 as 255
    EXPECT_TRUE(tintBalls(PixelImage{std::vector<uint32_t>(30 * 20), 30, 20}, tints).empty());
}

TEST(Branding, ElevenLines) {
    const PartnerBranding b = parseBranding("1\r\n620\r\n530\r\n170\r\n60\r\n0\r\nyes\r\n -12 px\r\n+7\r\nabc\r\n99\r\n");
    EXPECT_TRUE(b.logoIsSurface);
    EXPECT_EQ(std::vector({b.logoX, b.logoY, b.logoWidth, b.logoHeight}), std::vector({620, 530, 170, 60}));
    EXPECT_FALSE(b.logoScreenFirstPhase);
    EXPECT_TRUE(b.showPartnerLogo);
    EXPECT_EQ(std::vector({b.smallLogoX, b.smallLogoY, b.smallLogoWidth, b.smallLogoHeight}), std::vector({-12, 7, 0, 99}));
    // Only 79 characters of a line count; the lines of a short file read as 0.
    const PartnerBranding cut = parseBranding("0\n" + std::string(79, ' ') + "5\n12\n99999999999");
    EXPECT_EQ(std::vector({cut.logoX, cut.logoY, cut.logoWidth, cut.logoHeight}), std::vector({0, 12, INT32_MAX, 0}));
    EXPECT_FALSE(cut.showPartnerLogo);
}

struct ReloadFixture : ::testing::Test {
    testing_support::TempFolder folder;
    HeadlessPlatform platform;
    data::GameFolder gameFolder{folder.path()};
    PictureLoader loader{gameFolder, platform};
    Display display;
    Pictures pictures;
    bool windowed = false;

    void reload(std::array<int32_t, kStripCount> stripTypes = {}) {
        PictureJob job{loader, display, pictures, windowed, rules::LevelSettings{}.colorTints, stripTypes};
        reloadPictures(job);
    }
    void write(std::string_view gamePath, int width, int height) {
        const bool jpeg = gamePath.ends_with(".jpg");
        picture_files::write(folder.path() / data::normaliseGamePath(gamePath), picture_files::solid(width, height, 0xFF336699),
                             jpeg ? Kind::Jpeg : Kind::PngAlpha);
    }
};

TEST_F(ReloadFixture, EverySlotFilledOrBeepedAndEmpty) {
    for (int i = 0; i < kSurfacePictureCount; ++i) write(kSurfacePictures[static_cast<size_t>(i)].path, 3 + i, 2);
    write("gfx//Rise.png", 40, 10);
    write("gfx//Level.png", 42, 12);
    write("gfx//Ball.png", 40, 20);
    std::filesystem::remove(folder.path() / "gfx/Quadro.png");
    reload({0, 1, 2});
    EXPECT_EQ(platform.beepCount(), 2);  // Quadro.png and Explode.png
    for (int i = 0; i < kSurfacePictureCount; ++i) {
        const Surface& s = pictures.surfaces[static_cast<size_t>(i)];
        const SurfacePictureEntry& entry = kSurfacePictures[static_cast<size_t>(i)];
        if (static_cast<SurfacePicture>(i) == SurfacePicture::Quadro) {
            EXPECT_TRUE(s.empty());
            continue;
        }
        EXPECT_EQ(s.width, 3 + i) << entry.path;
        EXPECT_EQ(s.colorKey, entry.colourKey) << entry.path;
    }
    // Strip type 0 is a surface keyed black, any other a PixelImage; a missing strip has no size.
    const AnimationStrip &rise = pictures.strip(Strip::Rise), &explode = pictures.strip(Strip::Explode),
                         &level = pictures.strip(Strip::Level);
    EXPECT_EQ(rise.surface.colorKey, kBlackKey);
    EXPECT_TRUE(rise.image.empty());
    EXPECT_EQ(std::pair(rise.width, rise.height), std::pair(40, 10));
    EXPECT_EQ(std::pair(explode.width, explode.image.empty()), std::pair(0, true));
    EXPECT_EQ(std::pair(level.width, level.height), std::pair(42, 12));
    EXPECT_TRUE(level.surface.empty());
    EXPECT_EQ(pictures.balls.width, 140);
    EXPECT_EQ(display.blockSurface.colorKey, kMagentaKey);

    // The rise strip's PixelImage is given back on suspension and made again by the next reload.
    reload({1, 0, 0});
    EXPECT_FALSE(pictures.strip(Strip::Rise).image.empty());
    freeRiseImage(pictures);
    EXPECT_TRUE(pictures.strip(Strip::Rise).image.empty());
    reload({1, 0, 0});
    EXPECT_FALSE(pictures.strip(Strip::Rise).image.empty());
}

TEST_F(ReloadFixture, BrandingAndTheWindowedCheck) {
    testing_support::writeFile(folder.path() / "gfx/logo/trader.ini", "1\n600\n500\n8\n4\n1\n1\n10\n20\n30\n40\n");
    write("gfx//logo//partnerLogo.bmp", 8, 4);
    reload();
    EXPECT_EQ(pictures.partnerLogo.colorKey, kMagentaKey);
    EXPECT_TRUE(pictures.partnerLogoImage.empty());
    testing_support::writeFile(folder.path() / "gfx/logo/trader.ini", "0\n600\n500\n8\n4\n1\n1\n10\n20\n30\n40\n");
    reload();
    EXPECT_TRUE(pictures.partnerLogo.empty());
    EXPECT_EQ(pictures.partnerLogoImage.width, 8);
    // Without the file the branding keeps what it had and loads nothing more.
    std::filesystem::remove(folder.path() / "gfx/logo/trader.ini");
    int beeps = platform.beepCount();
    reload();
    EXPECT_EQ(platform.beepCount(), beeps += kPicturesPerReload);
    EXPECT_TRUE(pictures.branding.showPartnerLogo);

    // A desktop of 2 bytes per pixel, or narrower than 1024, forces full screen: the switch reloads
    // everything once and the reload that was refused stops.
    for (const DesktopMode mode : {DesktopMode{4, 1024}, DesktopMode{2, 1920}, DesktopMode{4, 1023}}) {
        windowed = true;
        display.windowedRefused = false;
        platform.setDesktopMode(mode);
        platform.setWindowMode(true);
        reload();
        const bool refused = mode.width < 1024 || mode.bytesPerPixel != 4;
        EXPECT_EQ(windowed, !refused);
        EXPECT_EQ(platform.windowed(), !refused);
        EXPECT_EQ(display.windowedRefused, refused);
        EXPECT_EQ(platform.beepCount(), beeps += kPicturesPerReload);
    }
}

TEST_F(ReloadFixture, StartupImagesLoadByTheirNames) {
    const std::pair<const char*, StartupImage> named[] = {
        {"gfx//bonuses//3Ball 15x15.png", StartupImage::Bonus1},
        {"gfx//runes//RuneWord 4.png", StartupImage::RuneWord4},
        {"gfx//runes//Glow_Rune 09.png", StartupImage(int(StartupImage::GlowRune01) + 8)},
        {"gfx//runes//Glow_Rune 18.png", StartupImage::GlowRune18},
        {"gfx//runes//Rot_Rune.png", StartupImage::RotRune}};
    for (int i = 0; i < 5; ++i) write(named[i].first, 5 + i, 3);
    loadStartupImages(loader, pictures);
    EXPECT_EQ(platform.beepCount(), kStartupImageCount - 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(pictures.image(named[i].second).width, 5 + i) << named[i].first;
}

}  // namespace
}  // namespace present
