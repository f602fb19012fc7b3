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

struct LoaderFixture : ::testing::Test {
    testing_support::TempFolder folder;
    HeadlessPlatform platform;
    data::GameFolder gameFolder{folder.path()};
    PictureLoader loader{gameFolder, platform};

    PixelImage load(const char* path) {
        PixelImage image;
        EXPECT_TRUE(loader.loadPixelImage(path, image)) << path;
        return image;
    }
};

TEST_F(LoaderFixture, EveryFormatArrivesInOneLayout) {
    // Red, green, blue, white; grey, black, half-transparent orange, transparent black.
    const picture_files::Picture p{
        4, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF808080, 0xFF000000, 0x80FF8000, 0x00000000}};
    for (const auto& [name, kind] : {std::pair{"alpha.png", Kind::PngAlpha},
                                     {"opaque.png", Kind::PngOpaque},
                                     {"picture.bmp", Kind::Bmp},
                                     {"palette.png", Kind::PngPalette}})
        picture_files::write(folder.path() / "gfx" / name, p, kind);
    EXPECT_EQ(load("gfx//alpha.png").pixels, p.pixels);
    const PixelImage opaque = load("gfx//opaque.png"), bmp = load("gfx//picture.bmp"), palette = load("GFX//Palette.PNG");
    for (size_t i = 0; i < p.pixels.size(); ++i) {
        EXPECT_EQ(opaque.pixels[i], p.pixels[i] | 0xFF000000) << i;  // no alpha in the file: opaque
        EXPECT_EQ(bmp.pixels[i], p.pixels[i] | 0xFF000000) << i;
    }
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(palette.pixels[i], p.pixels[i]) << i;
    }
    EXPECT_EQ(palette.pixels[7] >> 24, 0u);  // the palette's transparent entry
    EXPECT_EQ(loader.lastLoadedWidth(), 4);
    EXPECT_EQ(loader.lastLoadedHeight(), 2);

    // JPEG is lossy: flat blocks come back close to their colour, opaque.
    picture_files::Picture blocks = picture_files::solid(16, 8, 0xFF2060A0);
    for (int y = 0; y < 8; ++y) std::fill_n(&blocks.pixels[static_cast<size_t>(y * 16 + 8)], 8, 0xFFE0C040);
    picture_files::write(folder.path() / "gfx/photo.jpg", blocks, Kind::Jpeg);
    const PixelImage jpeg = load("gfx//photo.jpg");
    for (const auto& [x, expected] : {std::pair{2, 0xFF2060A0u}, {13, 0xFFE0C040u}})
        for (int shift = 0; shift < 32; shift += 8)
            EXPECT_NEAR(int(jpeg.at(x, 4) >> shift & 0xFF), int(expected >> shift & 0xFF), 8) << x;
    EXPECT_EQ(platform.beepCount(), 0);
}

TEST_F(LoaderFixture, PicturesThatDoNotDecodeBeepAndLeaveTheSlot) {
    const picture_files::Picture p = picture_files::solid(4, 2, 0xFF102030);
    picture_files::write(folder.path() / "gfx/good.png", p, Kind::PngAlpha);
    const std::string png = testing_support::readFile(folder.path() / "gfx/good.png");
    std::string huge = png;  // a header claiming 100000 by 100000 pixels
    huge.replace(16, 8, std::string("\0\x01\x86\xA0\0\x01\x86\xA0", 8));
    testing_support::writeFile(folder.path() / "gfx/huge.png", huge);
    testing_support::writeFile(folder.path() / "gfx/empty.png", "");
    testing_support::writeFile(folder.path() / "gfx/garbage.png", std::string(300, 'Z'));
    testing_support::writeFile(folder.path() / "gfx/truncated.png", png.substr(0, 40));
    // A chunk before the image data that claims 640 MiB: the decoder would go round its stale bytes
    // for ever. The same chunk after the image data is never read, and the picture loads.
    const std::string bogusChunk("\x27\xff\xff\xfftEXtabc", 11);
    std::string stale = png, trailing = png;
    stale.insert(png.find("IDAT") - 4, bogusChunk);
    trailing.insert(png.find("IEND") - 4, bogusChunk);
    testing_support::writeFile(folder.path() / "gfx/stale.png", stale);
    // A JPEG frame header, then an SVG drawing: decoded as what its header says, it is no picture.
    testing_support::writeFile(folder.path() / "gfx/drawing.jpg",
                               "\xff\xd8\xff\xc0\x01\x11\x08\x01\x02\x01\x04<svg width=\"4\" height=\"2\" "
                               "xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"4\" height=\"2\" fill=\"red\"/></svg>");
    testing_support::writeFile(folder.path() / "gfx/trailing.png", trailing);
    EXPECT_EQ(load("gfx//trailing.png").pixels, p.pixels);

    PixelImage kept = load("gfx//good.png");
    int beeps = 0;
    for (const char* bad : {"gfx//missing.png", "gfx//empty.png", "gfx//garbage.png", "gfx//truncated.png", "gfx//huge.png",
                            "gfx//stale.png", "gfx//drawing.jpg"}) {
        EXPECT_FALSE(loader.loadPixelImage(bad, kept)) << bad;
        EXPECT_TRUE(loader.loadSurfacePicture(bad, kMagentaKey).empty()) << bad;
        EXPECT_EQ(platform.beepCount(), beeps += 2) << bad;
    }
    EXPECT_EQ(kept.pixels, p.pixels);  // neither the output nor the last-loaded size moved
    EXPECT_EQ(loader.lastLoadedWidth(), 4);
}

// Transparent pixels saved as black with alpha 0: blendBlit skips them, while the same file as
// a magenta-keyed surface draws them black.
TEST_F(LoaderFixture, BlackIsTransparentOnlyToBlendBlit) {
    picture_files::write(folder.path() / "gfx/sprite.png", {2, 1, {0x00000000, 0xFF3050FF}}, Kind::PngAlpha);
    const Surface surface = loader.loadSurfacePicture("gfx//sprite.png", kMagentaKey);
    ASSERT_EQ(surface.width, 2);
    EXPECT_EQ(surface.colorKey, kMagentaKey);
    Surface viaBlend = Surface::create(2, 1), viaCopy = Surface::create(2, 1);
    viaBlend.fill(0x00FFFFFF);
    viaCopy.fill(0x00FFFFFF);
    blendBlit(0, 0, 0, 0, 2, 1, load("gfx//sprite.png"), viaBlend, 1, 0);
    copyRect(surface, 0, 0, 0, 0, 2, 1, viaCopy, ColourKey::Use);
    EXPECT_EQ(viaBlend.pixels, (std::vector<uint32_t>{0x00FFFFFF, 0x003050FF}));
    EXPECT_EQ(viaCopy.pixels, (std::vector<uint32_t>{0x00000000, 0xFF3050FF}));
}

}  // namespace
}  // namespace present
