// The picture generator: its file writers, pixel forms, path table and screen geometry, and the
// same bytes on every run.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "art.hpp"
#include "catalogue.hpp"
#include "compose.hpp"
#include "geometry.hpp"
#include "picture.hpp"
#include "support/test_support.hpp"

using namespace assetgen;

namespace {

Picture decode(const std::filesystem::path& file) {
    Picture out;
    SDL_Surface* loaded = IMG_Load(file.c_str());
    if (!loaded) return out;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    out = Picture(argb->w, argb->h);
    for (int y = 0; y < argb->h; ++y)
        for (int x = 0; x < argb->w; ++x)
            out.at(x, y) = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch)[x];
    SDL_FreeSurface(argb);
    return out;
}

int channelGap(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift : {0, 8, 16})
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return most;
}

}  // namespace

TEST(PictureGenerator, WritesFilesThatDecodeToTheirPixels) {
    testing_support::TempFolder temp;
    // An odd width makes BMP rows need padding; every row differs, so a flipped picture shows.
    Picture sharp(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            sharp.at(x, y) = 0xFF000000u | static_cast<uint32_t>((x * 37) << 16 | (y * 51) << 8 | (x * y * 9));
    sharp.at(3, 2) = kMagenta;
    for (const char* name : {"a.png", "b.PNG", "c.bmp"}) {
        SCOPED_TRACE(name);
        writePicture(temp.path() / name, sharp);
        const Picture back = decode(temp.path() / name);
        ASSERT_EQ(back.width, 7);
        ASSERT_EQ(back.height, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) EXPECT_EQ(back.at(x, y), sharp.at(x, y)) << x << "," << y;
    }
    // JPEG is lossy: a smooth picture comes back close.
    Picture smooth(40, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) smooth.at(x, y) = 0xFF000000u | static_cast<uint32_t>((x * 6) << 16 | (y * 10) << 8 | 128);
    writePicture(temp.path() / "d.jpg", smooth);
    const Picture jpeg = decode(temp.path() / "d.jpg");
    ASSERT_EQ(jpeg.width, 40);
    int worst = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) worst = std::max(worst, channelGap(jpeg.at(x, y), smooth.at(x, y)));
    EXPECT_LE(worst, 8);
    // The icon and pointer keep their alpha.
    Picture translucent(2, 1, 0x80FF8000u);
    translucent.withAlpha = true;
    translucent.at(1, 0) = 0;
    writePicture(temp.path() / "e.png", translucent);
    const Picture alpha = decode(temp.path() / "e.png");
    EXPECT_EQ(alpha.at(0, 0), 0x80FF8000u);
    EXPECT_EQ(alpha.at(1, 0) >> 24, 0u);
}

TEST(PictureGenerator, PixelFormsKeepTheirTransparentColourForTheirOwnUse) {
    Layer layer(4, 1);
    layer.at(0, 0) = {0.2f * 0.49f, 0.3f * 0.49f, 0.4f * 0.49f, 0.49f};  // mostly uncovered
    layer.at(1, 0) = {0.2f * 0.6f, 0.3f * 0.6f, 0.4f * 0.6f, 0.6f};      // mostly covered
    layer.at(2, 0) = {1.0f, 0.0f, 1.0f, 1.0f};                           // drawn magenta
    layer.at(3, 0) = {0.01f, 0.01f, 0.01f, 1.0f};                        // nearly black
    const Picture key = keyed(layer, hex(0x000000));
    EXPECT_EQ(key.at(0, 0), kMagenta);
    EXPECT_NE(key.at(1, 0), kMagenta);
    // A partly covered pixel is finished over the matte, never over the key colour.
    EXPECT_EQ(key.at(1, 0), packRgb(0.12f, 0.18f, 0.24f));
    EXPECT_NE(key.at(2, 0), kMagenta) << "a drawn magenta pixel would vanish under the key";
    const Picture black = blackKeyed(layer, 0.1f);
    EXPECT_EQ(black.at(3, 0) & 0xFFFFFFu, 0u);
    EXPECT_NE(black.at(2, 0) & 0xFFFFFFu, 0u);
    const Picture light = overBlack(layer);
    EXPECT_EQ(light.at(0, 0), packRgb(0.098f, 0.147f, 0.196f));
    for (float r = 0.98f; r <= 1.0f; r += 0.001f) EXPECT_NE(packRgb(r, 0.0f, r), kMagenta);
}

TEST(PictureGenerator, RealPathsGiveEachFolderOneSpelling) {
    EXPECT_EQ(realPath("gfx//menu//menu.jpg"), "gfx/Menu/menu.jpg");
    EXPECT_EQ(realPath("gfx//menu//but_name//But_NextName.PNG"), "gfx/Menu/but_name/But_NextName.PNG");
    EXPECT_EQ(realPath("gfx//Logo//Small_Logo.png"), "gfx/logo/Small_Logo.png");
    EXPECT_EQ(realPath("gfx\\\\runes\\\\Glow_Rune 01.png"), "gfx/runes/Glow_Rune 01.png");
    // No two pictures share a file, and no folder is spelt two ways.
    std::set<std::string> files;
    std::map<std::string, std::string> folders;  // lower case -> spelling
    for (const CatalogueEntry& e : catalogue()) {
        const std::string real = realPath(e.gamePath);
        std::string lower = real;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(files.insert(lower).second) << real;
        for (size_t slash = real.find('/'); slash != std::string::npos; slash = real.find('/', slash + 1)) {
            const std::string folder = real.substr(0, slash);
            const auto [it, fresh] = folders.emplace(lower.substr(0, slash), folder);
            EXPECT_EQ(it->second, folder);
        }
    }
}

TEST(PictureGenerator, RunesSitOnTheRingWhereTheGameDrawsThem) {
    for (int w = 0; w < 4; ++w) {
        const geo::Rect box = geo::wordBox(w);
        EXPECT_EQ(box.x, present::layout::kRuneWords[static_cast<size_t>(w)].x);
        EXPECT_EQ(box.y, present::layout::kRuneWords[static_cast<size_t>(w)].y);
        for (const geo::PlacedRune& r : geo::wordRunes(w)) {
            EXPECT_NEAR(std::hypot(r.x - geo::kCentreX, r.y - geo::kCentreY), geo::kRuneRadius, 4.0);
            EXPECT_GE(r.x - 11, box.x);
            EXPECT_LE(r.x + 11, box.x + box.w);
        }
    }
    // Slot runes stand with their tops towards the board: upright at the bottom of the ring and
    // leaning alike on both sides.
    for (int s = 0; s < 18; ++s) {
        const geo::PlacedRune r = geo::slotRune(s);
        const double dist = std::hypot(r.x - geo::kCentreX, r.y - geo::kCentreY);
        EXPECT_NEAR(dist, geo::kRuneRadius, 3.0);
        EXPECT_NEAR(r.angle, -geo::slotRune(17 - s).angle, 0.15) << s;
        // A glyph turned by a (clockwise on screen) has its top along (sin a, -cos a).
        const double toward = (std::sin(r.angle) * (geo::kCentreX - r.x) - std::cos(r.angle) * (geo::kCentreY - r.y)) / dist;
        EXPECT_GT(toward, 0.99) << s;
    }
    EXPECT_NEAR(geo::slotRune(8).angle, 0.0, 0.1);
}

TEST(PictureGenerator, FrameArrowsPointTheWayTheBoardTurns) {
    // The eight arrow buttons, in the game's order, and the way each arrow points on screen:
    // counter-clockwise runs left along the top, down the left side, up the right, right along
    // the bottom.
    const int expected[8][2] = {{-1, 0}, {0, 1}, {0, -1}, {1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, 0}};
    for (int b = 0; b < 8; ++b) {
        const geo::Rect r = rules::kArrowButtons[static_cast<size_t>(b)].rect;
        const Layer mask = shapeMask(r.w, r.h, [&](cairo_t* cr) { arrowPath(cr, b, -r.x, -r.y); });
        // The head is wide and the tail narrow: the arrow is broader on the side it points to.
        const double dx = expected[b][0], dy = expected[b][1];
        double sum = 0, lean = 0;
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x) {
                const double a = mask.at(x, y).a;
                const double px = x + 0.5 - r.w / 2.0, py = y + 0.5 - r.h / 2.0;
                const double along = px * dx + py * dy, across = std::abs(px * dy - py * dx);
                sum += a;
                lean += a * across * (along > 0 ? 1 : -1);
            }
        ASSERT_GT(sum, 50.0) << b;
        EXPECT_GT(lean / sum, 0.4) << "button " << b;
        // And it stays inside its button.
        for (int x = 0; x < r.w; ++x) EXPECT_LT(mask.at(x, 0).a + mask.at(x, r.h - 1).a, 0.1) << b;
    }
}

TEST(PictureGenerator, MockupTextMeasuresAsTheGameDoes) {
    const std::string map = testing_support::readFile(testing_support::builtGameFolder() / "system" / "ascii");
    compose::SpriteFont font;
    for (size_t start = 0; start < map.size();) {
        const size_t end = map.find('\n', start);
        font.map += static_cast<char>(std::stoi(map.substr(start, end - start)));
        start = end == std::string::npos ? map.size() : end + 1;
    }
    ASSERT_EQ(font.map.size(), 76u);
    EXPECT_EQ(compose::measureText(font, "AB"), 31);
    EXPECT_EQ(compose::measureText(font, "Ab"), 26);
    EXPECT_EQ(compose::measureText(font, "aB"), 26);
    EXPECT_EQ(compose::measureText(font, "A B"), 15 + 13 + 16);
    EXPECT_EQ(compose::measureText(font, ""), 0);
}

TEST(PictureGenerator, BlurKeepsTheLightItSpreads) {
    Layer layer(41, 41);
    layer.at(20, 20) = {1, 0.5f, 0.25f, 1};
    layer.blur(4.0f);
    double r = 0, g = 0;
    for (const Rgba& p : layer.pixels()) {
        r += p.r;
        g += p.g;
    }
    EXPECT_NEAR(r, 1.0, 1e-3);
    EXPECT_NEAR(g, 0.5, 1e-3);
    EXPECT_LT(layer.at(20, 20).r, 0.2f);
    EXPECT_NEAR(layer.at(17, 20).r, layer.at(23, 20).r, 1e-6);
}

TEST(PictureGenerator, DrawsTheSameBytesEveryRun) {
    testing_support::TempFolder temp;
    const std::filesystem::path game = testing_support::builtGameFolder();
    const std::string command = std::string("\"") + LUMERIK_ASSETGEN_GFX + "\" --ascii \"" +
                                (game / "system" / "ascii").string() + "\" \"" + (temp.path() / "gfx").string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.path())) {
        if (!entry.is_regular_file()) continue;
        const std::filesystem::path relative = std::filesystem::relative(entry.path(), temp.path());
        SCOPED_TRACE(relative.string());
        const std::filesystem::path built = game / relative;
        ASSERT_TRUE(std::filesystem::exists(built));
        EXPECT_TRUE(testing_support::readFile(entry.path()) == testing_support::readFile(built));
        ++files;
    }
    EXPECT_EQ(files, static_cast<int>(catalogue().size()));
}
