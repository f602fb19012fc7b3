#include "present/images.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "present/blitter.hpp"
#include "present/headless_platform.hpp"
#include "present/picture_files.hpp"
#include "support/test_support.hpp"

namespace present {
namespace {

using picture_files::Kind;
using picture_files::Picture;

// A 4 by 2 picture: red, green, blue, white over grey, black, a half-transparent orange and a
// fully transparent black.
Picture testPicture() {
    return {4, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF808080, 0xFF000000, 0x80FF8000, 0x00000000}};
}

bool near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

struct LoaderFixture : ::testing::Test {
    testing_support::TempFolder folder;
    HeadlessPlatform platform;
    data::GameFolder gameFolder{folder.path()};
    PictureLoader loader{gameFolder, platform};
};

TEST_F(LoaderFixture, EveryFormatArrivesInOneLayout) {
    const Picture p = testPicture();
    picture_files::write(folder.path() / "gfx/alpha.png", p, Kind::PngAlpha);
    picture_files::write(folder.path() / "gfx/opaque.png", p, Kind::PngOpaque);
    picture_files::write(folder.path() / "gfx/picture.bmp", p, Kind::Bmp);

    PixelImage alpha, opaque, bmp;
    ASSERT_TRUE(loader.loadPixelImage("gfx//alpha.png", alpha));
    ASSERT_TRUE(loader.loadPixelImage("gfx//opaque.png", opaque));
    ASSERT_TRUE(loader.loadPixelImage("gfx//picture.bmp", bmp));
    EXPECT_EQ(alpha.pixels, p.pixels);
    ASSERT_EQ(opaque.pixels.size(), p.pixels.size());
    for (size_t i = 0; i < p.pixels.size(); ++i) {
        // Pictures without alpha are opaque: the colour stays, the fourth byte is 0xFF.
        EXPECT_EQ(opaque.pixels[i], p.pixels[i] | 0xFF000000) << i;
        EXPECT_EQ(bmp.pixels[i], p.pixels[i] | 0xFF000000) << i;
    }
    EXPECT_EQ(loader.lastLoadedWidth(), 4);
    EXPECT_EQ(loader.lastLoadedHeight(), 2);

    // JPEG is lossy: flat blocks come back close to their colour, opaque.
    Picture blocks = picture_files::solid(16, 8, 0xFF2060A0);
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x) blocks.pixels[static_cast<size_t>(y * 16 + x)] = 0xFFE0C040;
    picture_files::write(folder.path() / "gfx/photo.jpg", blocks, Kind::Jpeg);
    PixelImage jpeg;
    ASSERT_TRUE(loader.loadPixelImage("gfx//photo.jpg", jpeg));
    ASSERT_EQ(jpeg.width, 16);
    EXPECT_TRUE(near(jpeg.at(2, 3), 0xFF2060A0, 8)) << std::hex << jpeg.at(2, 3);
    EXPECT_TRUE(near(jpeg.at(13, 4), 0xFFE0C040, 8)) << std::hex << jpeg.at(13, 4);

    // A palette picture: its transparent entry comes back with alpha 0, the others opaque.
    picture_files::writePalettePng(folder.path() / "gfx/palette.png", 3, 1, {0, 1, 2}, {0x00FF00FF, 0x00102030, 0x00FFFFFF}, 0);
    PixelImage palette;
    ASSERT_TRUE(loader.loadPixelImage("gfx//palette.png", palette));
    EXPECT_EQ(palette.at(0, 0) >> 24, 0u);
    EXPECT_EQ(palette.at(1, 0), 0xFF102030u);
    EXPECT_EQ(palette.at(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(loader.lastLoadedWidth(), 3);
    EXPECT_EQ(platform.beepCount(), 0);

    // The game's spellings reach the files: doubled slashes, other letter case.
    PixelImage mixedCase;
    EXPECT_TRUE(loader.loadPixelImage("GFX//Alpha.PNG", mixedCase));
}

TEST_F(LoaderFixture, PicturesThatDoNotDecodeBeepAndLeaveTheSlot) {
    const Picture p = testPicture();
    picture_files::write(folder.path() / "gfx/good.png", p, Kind::PngAlpha);
    const std::string png = testing_support::readFile(folder.path() / "gfx/good.png");
    testing_support::writeFile(folder.path() / "gfx/empty.png", "");
    testing_support::writeFile(folder.path() / "gfx/garbage.png", std::string(300, '\x5a'));
    testing_support::writeFile(folder.path() / "gfx/truncated.png", png.substr(0, 40));
    // A header that claims a picture of 100000 by 100000 pixels.
    std::string huge = png;
    huge[16] = 0, huge[17] = 1, huge[18] = static_cast<char>(0x86), huge[19] = static_cast<char>(0xA0);
    huge[20] = 0, huge[21] = 1, huge[22] = static_cast<char>(0x86), huge[23] = static_cast<char>(0xA0);
    testing_support::writeFile(folder.path() / "gfx/huge.png", huge);

    PixelImage kept;
    ASSERT_TRUE(loader.loadPixelImage("gfx//good.png", kept));
    int beeps = 0;
    for (const char* bad : {"gfx//missing.png", "gfx//empty.png", "gfx//garbage.png", "gfx//truncated.png", "gfx//huge.png"}) {
        EXPECT_FALSE(loader.loadPixelImage(bad, kept)) << bad;
        EXPECT_EQ(platform.beepCount(), ++beeps) << bad;
        EXPECT_TRUE(loader.loadSurfacePicture(bad, Memory::Video, kMagentaKey).empty()) << bad;
        EXPECT_EQ(platform.beepCount(), ++beeps) << bad;
    }
    // The failures touched neither the output nor the last-loaded size.
    EXPECT_EQ(kept.pixels, p.pixels);
    EXPECT_EQ(loader.lastLoadedWidth(), 4);
    EXPECT_EQ(loader.lastLoadedHeight(), 2);
}

TEST_F(LoaderFixture, SurfacePicturesKeepTheirKeyAndDrawAsKeyed) {
    // Transparent pixels saved as black with alpha 0: blendBlit skips them, a magenta-keyed
    // surface of the same file draws them black.
    const Picture p{2, 1, {0x00000000, 0xFF3050FF}};
    picture_files::write(folder.path() / "gfx/sprite.png", p, Kind::PngAlpha);
    const Surface surface = loader.loadSurfacePicture("gfx//sprite.png", Memory::Video, kMagentaKey);
    ASSERT_FALSE(surface.empty());
    EXPECT_EQ(surface.colorKey, kMagentaKey);
    EXPECT_EQ(surface.memory, Memory::Video);
    EXPECT_EQ(surface.pixels, p.pixels);
    PixelImage image;
    ASSERT_TRUE(loader.loadPixelImage("gfx//sprite.png", image));

    Surface viaBlend = Surface::create(2, 1);
    viaBlend.fill(0x00FFFFFF);
    Surface viaCopy = viaBlend;
    blendBlit(0, 0, 0, 0, 2, 1, image, viaBlend, 1, 0);
    copyRect(surface, 0, 0, 0, 0, 2, 1, viaCopy, ColourKey::Use);
    EXPECT_EQ(viaBlend.at(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(viaCopy.at(0, 0) & kColourMask, 0u);
    EXPECT_EQ(viaBlend.at(1, 0), 0x003050FFu);

    EXPECT_TRUE(createSurface(0, 10, Memory::System, -1).empty());
    EXPECT_EQ(createSurface(3, 2, Memory::System, -5).colorKey, kNoColourKey);
}

}  // namespace
}  // namespace present
