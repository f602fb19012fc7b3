#include "present/pictures.hpp"

#include <gtest/gtest.h>

#include "present/headless_platform.hpp"
#include "present/picture_files.hpp"
#include "support/test_support.hpp"

namespace present {
namespace {

using picture_files::Kind;

// The pictures of one reload that the loader asks for: every surface picture, three strips and
// the ball template.
constexpr int kPicturesPerReload = kSurfacePictureCount + kStripCount + 1;

std::array<game::ColourTint, 8> defaultTints() { return game::LevelSettings{}.colorTints; }

// A folder the game path names: "gfx//Menu//x.png" becomes gfx/Menu/x.png.
std::filesystem::path under(const std::filesystem::path& root, std::string_view gamePath) {
    return root / data::normaliseGamePath(gamePath);
}

TEST(Tint, ValuesAndBallSurface) {
    EXPECT_EQ(tintValue(255, 255), 255);
    EXPECT_EQ(tintValue(0, 0), 0);
    EXPECT_EQ(tintValue(217, 128), 163);  // trunc(86.8 + 76.8)
    EXPECT_EQ(tintValue(100, 1), 40);     // 40.6 truncates
    // A level file may give a colour beyond a byte; it tints as 255 rather than overflowing.
    EXPECT_EQ(tintValue(1000, 255), 255);

    // Template: shading in the left half, shape in the right half with an opaque-magenta corner,
    // a magenta that is not fully opaque, and an ordinary shape pixel.
    PixelImage ballTemplate;
    ballTemplate.width = 40;
    ballTemplate.height = 20;
    ballTemplate.pixels.assign(40 * 20, 0xFF808080);  // shading 128 everywhere, shape grey
    ballTemplate.pixels[20] = 0xFFFF00FF;             // shape (0, 0): the key colour
    ballTemplate.pixels[21] = 0x7FFF00FF;             // shape (1, 0): magenta, half transparent
    ballTemplate.pixels[5 * 40 + 3] = 0xFF10FF00;     // shading (3, 5): blue 0, green 255, red 16
    auto tints = defaultTints();
    tints[1] = {217, 0, 255};     // ball colour 1: red 217, green 0, blue 255
    tints[7] = {300, 128, 0};

    const Surface balls = tintBalls(ballTemplate, tints);
    ASSERT_EQ(balls.width, 140);
    ASSERT_EQ(balls.height, 20);
    EXPECT_EQ(balls.colorKey, kMagentaKey);
    EXPECT_EQ(balls.at(0, 0), 0xFFFF00FFu);
    // Red 217 over 128 is 163; green 0 over 128 is 76; blue 255 over 128 is 178.
    EXPECT_EQ(balls.at(1, 0), 0x7FA34CB2u);
    EXPECT_EQ(balls.at(10, 10), 0xFFA34CB2u);
    // Shading varies per pixel: red 217 over 16 = 96, green 0 over 255 = 153, blue 255 over 0 = 102.
    EXPECT_EQ(balls.at(3, 5), 0xFF609966u);
    // Ball colour 7 sits in the last slot; its red of 300 counts as 255.
    EXPECT_EQ(balls.at(6 * 20 + 10, 10), 0xFFB2804Cu);
    EXPECT_EQ(balls.at(6 * 20, 0), 0xFFFF00FFu);

    PixelImage tooSmall = ballTemplate;
    tooSmall.width = 30;
    tooSmall.pixels.resize(30 * 20);
    EXPECT_TRUE(tintBalls(tooSmall, tints).empty());
}

TEST(Branding, ElevenLinesInOrder) {
    const PartnerBranding b = parseBranding("1\r\n620\r\n530\r\n170\r\n60\r\n0\r\nyes\r\n -12 px\r\n+7\r\nabc\r\n99\r\n");
    EXPECT_TRUE(b.logoIsSurface);
    EXPECT_EQ(b.logoX, 620);
    EXPECT_EQ(b.logoY, 530);
    EXPECT_EQ(b.logoWidth, 170);
    EXPECT_EQ(b.logoHeight, 60);
    EXPECT_FALSE(b.logoScreenFirstPhase);
    EXPECT_TRUE(b.showPartnerLogo);
    EXPECT_EQ(b.smallLogoX, -12);
    EXPECT_EQ(b.smallLogoY, 7);
    EXPECT_EQ(b.smallLogoWidth, 0);
    EXPECT_EQ(b.smallLogoHeight, 99);

    // Only 79 characters of a line count; a short file leaves the rest off and at 0.
    const PartnerBranding shortFile = parseBranding("0\n" + std::string(79, ' ') + "5\n12");
    EXPECT_FALSE(shortFile.logoIsSurface);
    EXPECT_EQ(shortFile.logoX, 0);
    EXPECT_EQ(shortFile.logoY, 12);
    EXPECT_FALSE(shortFile.showPartnerLogo);
    EXPECT_EQ(shortFile.smallLogoHeight, 0);
    EXPECT_EQ(parseBranding("9999999999999\n").logoIsSurface, true);
    EXPECT_EQ(parseBranding("1\n9999999999999\n").logoX, INT32_MAX);
}

struct ReloadFixture : ::testing::Test {
    testing_support::TempFolder folder;
    HeadlessPlatform platform;
    data::GameFolder gameFolder{folder.path()};
    PictureLoader loader{gameFolder, platform};
    Display display;
    Pictures pictures;
    bool windowed = false;

    PictureJob job(std::array<int32_t, kStripCount> stripTypes = {}) {
        return PictureJob{loader, display, pictures, windowed, defaultTints(), stripTypes};
    }

    // Every picture a reload asks for, each a small solid picture of a size of its own.
    void writeEveryPicture() {
        for (int i = 0; i < kSurfacePictureCount; ++i) {
            const std::string_view path = kSurfacePictures[static_cast<size_t>(i)].path;
            const bool jpeg = path.ends_with(".jpg");
            picture_files::write(under(folder.path(), path), picture_files::solid(3 + i, 2, 0xFF336699),
                                 jpeg ? Kind::Jpeg : Kind::PngAlpha);
        }
        for (int i = 0; i < kStripCount; ++i)
            picture_files::write(under(folder.path(), kStripPaths[static_cast<size_t>(i)]),
                                 picture_files::solid(40 + i, 10 + i, 0xFF202020), Kind::PngAlpha);
        picture_files::write(folder.path() / "gfx/Ball.png", picture_files::solid(40, 20, 0xFF808080), Kind::PngAlpha);
    }
};

TEST_F(ReloadFixture, EverySlotFilledWithItsMemoryAndKey) {
    writeEveryPicture();
    auto reload = job({0, 1, 2});
    reloadPictures(reload);
    EXPECT_EQ(platform.beepCount(), 0);
    for (int i = 0; i < kSurfacePictureCount; ++i) {
        const Surface& s = pictures.surfaces[static_cast<size_t>(i)];
        const SurfacePictureEntry& entry = kSurfacePictures[static_cast<size_t>(i)];
        ASSERT_FALSE(s.empty()) << entry.path;
        EXPECT_EQ(s.width, 3 + i) << entry.path;
        EXPECT_EQ(s.colorKey, entry.colourKey) << entry.path;
        EXPECT_EQ(s.memory, entry.memory) << entry.path;
    }
    // Backgrounds are opaque; the game logo and the font strips are keyed magenta.
    EXPECT_EQ(pictures.surface(SurfacePicture::Background3).colorKey, kNoColourKey);
    EXPECT_EQ(pictures.surface(SurfacePicture::MenuBackground).memory, Memory::Video);
    EXPECT_EQ(pictures.surface(SurfacePicture::FontSprites).colorKey, kMagentaKey);

    // Strip type 0 is a surface keyed black; any other type a PixelImage. Both record their size.
    const AnimationStrip& rise = pictures.strip(Strip::Rise);
    EXPECT_FALSE(rise.surface.empty());
    EXPECT_TRUE(rise.image.empty());
    EXPECT_EQ(rise.surface.colorKey, kBlackKey);
    EXPECT_EQ(rise.width, 40);
    EXPECT_EQ(rise.height, 10);
    for (Strip id : {Strip::Explode, Strip::Level}) {
        const AnimationStrip& strip = pictures.strip(id);
        EXPECT_TRUE(strip.surface.empty());
        EXPECT_FALSE(strip.image.empty());
        EXPECT_EQ(strip.width, strip.image.width);
        EXPECT_EQ(strip.height, strip.image.height);
    }
    EXPECT_EQ(pictures.balls.width, 140);

    // The work surfaces come with every reload.
    EXPECT_EQ(display.blockSurface.width, 62);
    EXPECT_EQ(display.blockSurface.colorKey, kMagentaKey);
    EXPECT_EQ(display.sceneSurface.width, 800);

    // Losing the focus gives the rise strip's PixelImage back; a reload makes it again.
    auto imageRise = job({1, 0, 0});
    reloadPictures(imageRise);
    ASSERT_FALSE(pictures.strip(Strip::Rise).image.empty());
    freeRiseImage(pictures);
    EXPECT_TRUE(pictures.strip(Strip::Rise).image.empty());
    reloadPictures(imageRise);
    EXPECT_FALSE(pictures.strip(Strip::Rise).image.empty());
    EXPECT_EQ(platform.beepCount(), 0);
}

TEST_F(ReloadFixture, MissingPicturesBeepOnceEachAndStayEmpty) {
    writeEveryPicture();
    std::filesystem::remove(under(folder.path(), "gfx//Quadro.png"));
    std::filesystem::remove(under(folder.path(), "gfx//Explode.png"));
    std::filesystem::remove(folder.path() / "gfx/Ball.png");
    auto reload = job();
    reloadPictures(reload);
    EXPECT_EQ(platform.beepCount(), 3);
    EXPECT_TRUE(pictures.surface(SurfacePicture::Quadro).empty());
    EXPECT_FALSE(pictures.surface(SurfacePicture::KeruniteCenter).empty());
    EXPECT_TRUE(pictures.strip(Strip::Explode).surface.empty());
    EXPECT_EQ(pictures.strip(Strip::Explode).width, 0);
    EXPECT_TRUE(pictures.balls.empty());
}

TEST_F(ReloadFixture, BrandingChoosesTheLogoForm) {
    testing_support::writeFile(folder.path() / "gfx/logo/trader.ini", "1\n600\n500\n8\n4\n1\n1\n10\n20\n30\n40\n");
    picture_files::write(folder.path() / "gfx/logo/partnerLogo.bmp", picture_files::solid(8, 4, 0xFF00FF00), Kind::Bmp);
    auto reload = job();
    reloadPictures(reload);
    EXPECT_TRUE(pictures.branding.showPartnerLogo);
    EXPECT_EQ(pictures.branding.smallLogoHeight, 40);
    ASSERT_FALSE(pictures.partnerLogo.empty());
    EXPECT_EQ(pictures.partnerLogo.colorKey, kMagentaKey);
    EXPECT_TRUE(pictures.partnerLogoImage.empty());

    testing_support::writeFile(folder.path() / "gfx/logo/trader.ini", "0\n600\n500\n8\n4\n1\n1\n10\n20\n30\n40\n");
    reloadPictures(reload);
    EXPECT_TRUE(pictures.partnerLogo.empty());
    EXPECT_EQ(pictures.partnerLogoImage.width, 8);

    // Without the file the branding keeps what it had and nothing more is loaded.
    std::filesystem::remove(folder.path() / "gfx/logo/trader.ini");
    const int beeps = platform.beepCount();
    reloadPictures(reload);
    EXPECT_EQ(platform.beepCount(), beeps + kPicturesPerReload);
    EXPECT_TRUE(pictures.branding.showPartnerLogo);
    EXPECT_EQ(pictures.partnerLogoImage.width, 8);
}

TEST_F(ReloadFixture, NarrowDesktopForcesFullScreenOnce) {
    windowed = true;
    platform.setDesktopMode({4, 1920});
    auto reload = job();
    reloadPictures(reload);
    EXPECT_TRUE(windowed);
    EXPECT_FALSE(display.windowedRefused);
    EXPECT_EQ(platform.beepCount(), kPicturesPerReload);

    for (const DesktopMode mode : {DesktopMode{2, 1920}, DesktopMode{4, 1023}}) {
        windowed = true;
        display.windowedRefused = false;
        platform.setDesktopMode(mode);
        platform.setWindowMode(true);
        const int beeps = platform.beepCount();
        reloadPictures(reload);
        EXPECT_FALSE(windowed);
        EXPECT_FALSE(platform.windowed());
        EXPECT_TRUE(display.windowedRefused);
        // The switch reloads everything in full screen; the reload that was refused stops.
        EXPECT_EQ(platform.beepCount(), beeps + kPicturesPerReload);
    }
}

TEST_F(ReloadFixture, StartupImagesLoadByTheirNames) {
    const std::vector<std::string> names = {"gfx/Bar_Glass_Freeze.PNG",       "gfx/Font_Glow.png",
                                            "gfx/Menu/Layer_All.png",         "gfx/bonuses/3Ball 15x15.png",
                                            "gfx/bonuses/Plus 6x6.png",       "gfx/runes/FINAL.png",
                                            "gfx/runes/RuneWord 4.png",       "gfx/runes/Glow_Rune 01.png",
                                            "gfx/runes/Glow_Rune 18.png",     "gfx/runes/Rot_Rune.png"};
    for (size_t i = 0; i < names.size(); ++i)
        picture_files::write(folder.path() / names[i], picture_files::solid(5 + static_cast<int>(i), 3, 0xFFFFFFFF), Kind::PngAlpha);
    loadStartupImages(loader, pictures);
    EXPECT_EQ(platform.beepCount(), kStartupImageCount - static_cast<int>(names.size()));
    EXPECT_EQ(pictures.image(StartupImage::BarGlassFreeze).width, 5);
    EXPECT_EQ(pictures.image(StartupImage::FontGlow).width, 6);
    EXPECT_EQ(pictures.image(StartupImage::LayerAll).width, 7);
    EXPECT_EQ(pictures.image(StartupImage::Bonus1).width, 8);
    EXPECT_EQ(pictures.image(StartupImage::Bonus5).width, 9);
    EXPECT_EQ(pictures.image(StartupImage::RuneFinal).width, 10);
    EXPECT_EQ(pictures.image(StartupImage::RuneWord4).width, 11);
    EXPECT_EQ(pictures.image(StartupImage::GlowRune01).width, 12);
    EXPECT_EQ(pictures.image(StartupImage::GlowRune18).width, 13);
    EXPECT_EQ(pictures.image(StartupImage::RotRune).width, 14);
    EXPECT_TRUE(pictures.image(StartupImage::RuneWord1).empty());
}

}  // namespace
}  // namespace present
