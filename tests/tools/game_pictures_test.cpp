// The built game folder holds every picture the game loads, at the sizes and in the layouts that
// the drawing code relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "compose.hpp"
#include "data/levels.hpp"
#include "support/test_support.hpp"
#include "tools/picture_files.hpp"

using namespace tools_test;

namespace {

struct Wanted {
    std::string path;
    int width, height;  // 0 where another test checks the size against its settings
};

const char* const kBonusPictures[5] = {"gfx//bonuses//3Ball 15x15.png", "gfx//bonuses//Color_Explode 19x19.png",
                                       "gfx//bonuses//Snowy 15x17.png", "gfx//bonuses//MultiColor 9x12.png",
                                       "gfx//bonuses//Plus 6x6.png"};

std::string runeGlow(int slot) {
    char name[64];
    std::snprintf(name, sizeof name, "gfx//runes//Glow_Rune %d%d.png", (slot + 1) / 10, (slot + 1) % 10);
    return name;
}

// Every picture the loading code asks for, spelled as the game spells it.
std::vector<Wanted> loaderPictures() {
    std::vector<Wanted> w = {{"gfx//logo//Game_Logo.png", 186, 212}, {"gfx//menu//menu.jpg", 800, 600}};
    for (int d = 1; d <= 5; ++d) w.push_back({"gfx//backgrounds//background" + std::to_string(d) + ".jpg", 800, 600});
    w.insert(w.end(), {{"gfx//Quadro.png", 372, 62},
                       {"gfx//Kerunite Center.png", 2688, 448},
                       {"gfx//MainKerun_LeftRight.png", 216, 358},
                       {"gfx//MainKerun_TopBottom.png", 330, 268},
                       {"gfx//MainKerun_LeftRight_But.png", 208, 158},
                       {"gfx//Bars_TimeProgress.png", 102, 270},
                       {"gfx//Bar_Critical.png", 204, 270},
                       {"gfx//Kerun_Buttons.png", 236, 96},
                       {"gfx//Font_Sprites.png", 1140, 26},
                       {"gfx//Font_Sprites_White.png", 1140, 26},
                       {"gfx//Ring_Back.png", 66, 66},
                       {"gfx//Menu//But_Big_Glass.png", 180, 32},
                       {"gfx//Menu//But_Small_Glass.png", 156, 28},
                       {"gfx//Menu//But_Big_Border.png", 198, 60},
                       {"gfx//Menu//But_Small_Border.png", 174, 52},
                       {"gfx//Menu//Ramka_All.png", 164, 164},
                       {"gfx//Menu//CurPlayerCursor.png", 14, 24},
                       {"gfx//Menu//Ramka//But_ActPzlStrMode_Border.PNG", 199, 186},
                       {"gfx//Menu//Ramka//But_ChsPlayer_Border.PNG", 199, 63},
                       {"gfx//Menu//Ramka//But_HScoreExit_Border.PNG", 174, 110},
                       {"gfx//Menu//Ramka//But_OptionsHelp_Border.PNG", 174, 110}});
    for (const char* arrow : {"Next", "Prev"})
        for (const char* state : {"", "_Glow", "_Pressed"})
            w.push_back({std::string("gfx//menu//but_name//But_") + arrow + "Name" + state + ".PNG", 58, 16});
    w.insert(w.end(), {{"gfx//Menu//Enter_Name_Border.PNG", 322, 40},
                       {"gfx//Logo//Small_Logo.png", 0, 0},
                       {"gfx//Menu//Menu_Slider.PNG", 426, 40},
                       {"gfx//Menu//Slider.PNG", 36, 28},
                       {"gfx//Help//Cursor.png", 26, 27},
                       {"gfx//Help//Line_Help_Horiz.png", 314, 4},
                       {"gfx//Help//But.png", 82, 24},
                       {"gfx//Help//CheckBox_Check.png", 41, 44},
                       {"gfx//Help//CheckBox_Base.png", 30, 30},
                       {"gfx//Help//Small_Bars.png", 54, 135}});
    for (int d = 0; d <= 2; ++d) w.push_back({"gfx//Help//Mouse" + std::to_string(d) + ".png", 18, 28});
    w.insert(w.end(), {{"gfx//Rise.png", 252, 42},
                       {"gfx//Explode.png", 0, 26},
                       {"gfx//Level.png", 0, 0},
                       {"gfx//Ball.png", 40, 20},
                       {"gfx//logo//partnerLogo.bmp", 0, 0},
                       {"gfx//logo//partnerLogoBig.jpg", 0, 0},
                       {"gfx//logo//Logo_Big.png", 160, 147},
                       {"gfx//Bar_Glass_Freeze.PNG", 57, 306},
                       {"gfx//Kerun_Buttons_Glow.png", 320, 186},
                       {"gfx//ButShine_TopBottom.png", 68, 50},
                       {"gfx//ButShine_LeftRight.png", 50, 68},
                       {"gfx//Font_Glow.png", 1824, 35},
                       {"gfx//Menu//But_Big_Glow.png", 212, 72},
                       {"gfx//Menu//But_Small_Glow.png", 189, 68},
                       {"gfx//Menu//Layer_All.png", 248, 248},
                       {"gfx//runes//FINAL.png", 945, 27},
                       {"gfx//runes//Rot_Rune.png", 948, 27},
                       {"gfx/symbols.png", 140, 20},
                       {"gfx/icon.png", 0, 0},
                       {"gfx/cursor.png", 0, 0}});
    for (const char* bonus : kBonusPictures) w.push_back({bonus, 0, 0});
    for (int d = 1; d <= 4; ++d) w.push_back({"gfx//runes//RuneWord " + std::to_string(d) + ".png", 0, 0});
    for (int s = 0; s < 18; ++s) w.push_back({runeGlow(s), 0, 0});
    return w;
}

GraphicsSettings settings() {
    return scanGraphicsSettings(testing_support::readFile(testing_support::builtGameFolder() / "ini" / "gfxini.txt"));
}

// Pixels of the frame's outermost ring: light pictures must have faded to black there, or the
// game would show the edge of the rectangle it blends.
int brightestEdge(const Pixels& p, int x0, int y0, int w, int h) {
    int most = 0;
    for (int x = x0; x < x0 + w; ++x) most = std::max({most, maxChannel(p.at(x, y0)), maxChannel(p.at(x, y0 + h - 1))});
    for (int y = y0; y < y0 + h; ++y) most = std::max({most, maxChannel(p.at(x0, y)), maxChannel(p.at(x0 + w - 1, y))});
    return most;
}

}  // namespace

TEST(GamePictures, EveryPictureTheLoadersAskForIsThereAtItsSize) {
    for (const Wanted& w : loaderPictures()) {
        SCOPED_TRACE(w.path);
        const std::filesystem::path file = gameFile(w.path);
        ASSERT_TRUE(std::filesystem::exists(file));
        // The file keeps the exact spelling of its name; only folders are matched loosely.
        EXPECT_EQ(file.filename().string(), w.path.substr(w.path.rfind('/') + 1));
        const Pixels p = loadPicture(w.path);
        ASSERT_GT(p.width, 0);
        if (w.width != 0) {
            EXPECT_EQ(p.width, w.width);
        }
        if (w.height != 0) {
            EXPECT_EQ(p.height, w.height);
        }
    }
    // Pictures the blender draws at fixed places must fit the screen, since it does not clip.
    const int words[4][2] = {{222, 87}, {298, 58}, {372, 52}, {494, 78}};
    for (int d = 0; d < 4; ++d) {
        const Pixels p = loadPicture("gfx//runes//RuneWord " + std::to_string(d + 1) + ".png");
        EXPECT_LE(words[d][0] + p.width, 800);
        EXPECT_LE(words[d][1] + p.height, 600);
    }
    const int slots[18][2] = {{220, 452}, {236, 469}, {256, 482}, {273, 491}, {291, 501}, {313, 511},
                              {335, 516}, {356, 520}, {380, 521}, {404, 522}, {428, 519}, {449, 514},
                              {469, 507}, {491, 499}, {509, 489}, {527, 479}, {544, 463}, {557, 452}};
    for (int s = 0; s < 18; ++s) {
        const Pixels p = loadPicture(runeGlow(s));
        EXPECT_LE(slots[s][0] + p.width, 800);
        EXPECT_LE(slots[s][1] + p.height, 600);
        // Neighbouring slots are about 22 pixels apart; a larger glow would light its neighbour's rune.
        EXPECT_LE(p.width, 28);
    }
    const Pixels partner = loadPicture("gfx//logo//partnerLogoBig.jpg");
    EXPECT_LE(partner.width, 800);
    EXPECT_LE(partner.height, 600);
}

TEST(GamePictures, GraphicsSettingsDescribeTheStripsAndBonusPictures) {
    const GraphicsSettings s = settings();
    const Strip& rise = s.strips[0];
    const Strip& explode = s.strips[1];
    const Strip& level = s.strips[2];
    // The help demonstrations draw the rise strip blended, six frames of 42, and the clear strip
    // as a surface, frames of 29 by 26 up to frame 10.
    EXPECT_NE(rise.type, 0);
    EXPECT_EQ(rise.frames, 6);
    EXPECT_EQ(rise.frameWidth, 42);
    EXPECT_EQ(explode.type, 0);
    EXPECT_GE(explode.frames, 11);
    EXPECT_EQ(explode.frameWidth, 29);
    // The reveal strip must end within the shuffle's sweep.
    EXPECT_GE(level.frames, 1);
    EXPECT_LE(level.frames, 13);
    const char* strips[3] = {"gfx//Rise.png", "gfx//Explode.png", "gfx//Level.png"};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(strips[k]);
        const Strip& strip = s.strips[k];
        const Pixels p = loadPicture(strips[k]);
        EXPECT_LE(strip.frames * strip.frameWidth, p.width);
        EXPECT_LT(strip.centerX, strip.frameWidth);
        EXPECT_LT(strip.centerY, p.height);
        if (strip.type != 0) {
            EXPECT_GT(strip.transparencyS, 0.0f);
            EXPECT_GT(strip.transparencyD, 0.0f);
        }
    }
    // The clear strip is copied with black as its key: a dim pixel would be copied as a dark smudge.
    const Pixels clear = loadPicture("gfx//Explode.png");
    for (uint32_t px : clear.px) {
        const int m = maxChannel(px);
        EXPECT_TRUE(m == 0 || m >= 40) << std::hex << px;
    }
    for (int b = 0; b < 5; ++b) {
        SCOPED_TRACE(kBonusPictures[b]);
        const Pixels p = loadPicture(kBonusPictures[b]);
        const int frames = s.bonus[b][0], width = s.bonus[b][1], hotX = s.bonus[b][2], hotY = s.bonus[b][3];
        EXPECT_GE(frames, 1);
        EXPECT_LE(frames * width, p.width);
        EXPECT_LT(hotX, width);
        EXPECT_LT(hotY, p.height);
        // Every frame shows something.
        for (int f = 0; f < frames; ++f) {
            int lit = 0;
            for (int y = 0; y < p.height; ++y)
                for (int x = f * width; x < (f + 1) * width; ++x) lit += (p.rgb(x, y) != 0);
            EXPECT_GT(lit, 20) << "frame " << f;
        }
    }
    // Dialog panels are drawn at the menu factor plus 0.2, which must stay a cross-fade.
    EXPECT_GT(s.menuTransparency, 0.2f);
    EXPECT_LE(s.menuTransparency, 0.8f);
}

TEST(GamePictures, BrandingFileMatchesItsPictures) {
    const std::vector<std::string> lines = brandingLines();
    ASSERT_EQ(lines.size(), 11u);
    const Pixels partner = loadPicture("gfx//logo//partnerLogo.bmp");
    const Pixels small = loadPicture("gfx//Logo//Small_Logo.png");
    EXPECT_EQ(std::stoi(lines[3]), partner.width);
    EXPECT_EQ(std::stoi(lines[4]), partner.height);
    EXPECT_EQ(std::stoi(lines[9]), small.width);
    EXPECT_EQ(std::stoi(lines[10]), small.height);
    // Both logos sit on the title screen without covering its buttons, their ornaments or the
    // emblem.
    struct Box {
        int x, y, w, h;
    };
    const Box logos[2] = {{std::stoi(lines[1]), std::stoi(lines[2]), partner.width, partner.height},
                          {std::stoi(lines[7]), std::stoi(lines[8]), small.width, small.height}};
    const Box title[] = {{596, 284, 186, 212}, {265, 153, 199, 186}, {383, 90, 199, 63},
                         {321, 449, 174, 110}, {218, 339, 174, 110}, {0, 59, 800, 26}};
    for (const Box& logo : logos) {
        EXPECT_GE(logo.x, 0);
        EXPECT_GE(logo.y, 0);
        EXPECT_LE(logo.x + logo.w, 800);
        EXPECT_LE(logo.y + logo.h, 600);
        for (const Box& b : title) {
            const bool apart = logo.x + logo.w <= b.x || b.x + b.w <= logo.x || logo.y + logo.h <= b.y || b.y + b.h <= logo.y;
            EXPECT_TRUE(apart) << logo.x << "," << logo.y << " covers " << b.x << "," << b.y;
        }
    }
}

TEST(GamePictures, BallTemplateTintsIntoSevenDistinctColours) {
    const Pixels ball = loadPicture("gfx//Ball.png");
    ASSERT_EQ(ball.width, 40);
    // Magenta round the shape, never inside it; grey shading wherever the shape is.
    EXPECT_TRUE(ball.isKey(20, 0));
    EXPECT_TRUE(ball.isKey(39, 19));
    EXPECT_FALSE(ball.isKey(30, 10));
    int brightest = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (ball.isKey(20 + x, y)) continue;
            const uint32_t s = ball.rgb(x, y);
            EXPECT_EQ((s >> 16) & 0xFF, s & 0xFF);
            EXPECT_EQ((s >> 8) & 0xFF, s & 0xFF);
            brightest = std::max(brightest, static_cast<int>(s & 0xFF));
        }
    }
    EXPECT_GE(brightest, 230) << "a glass ball needs its highlight";
    // The shipped level file's tints, through the game's tint rule trunc(0.4 c + 0.6 v). The
    // picture generator's mock-ups and emblems show the same colours.
    rules::LevelTable levels;
    rules::LevelSettings settings;
    data::loadLevelFile(data::GameFolder(testing_support::builtGameFolder()), levels, settings);
    int tints[7][3];
    for (int k = 0; k < 7; ++k) {
        const rules::ColourTint& t = settings.colorTints[static_cast<size_t>(k + 1)];
        tints[k][0] = t.red, tints[k][1] = t.green, tints[k][2] = t.blue;
        EXPECT_EQ(std::vector(tints[k], tints[k] + 3),
                  std::vector(assetgen::compose::kDefaultTints[k + 1], assetgen::compose::kDefaultTints[k + 1] + 3))
            << "colour " << k + 1;
    }
    double mean[7][3] = {};
    for (int k = 0; k < 7; ++k) {
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                if (ball.isKey(20 + x, y)) continue;
                const int v = static_cast<int>(ball.rgb(x, y) & 0xFF);
                for (int c = 0; c < 3; ++c) mean[k][c] += static_cast<int>(0.4 * tints[k][c] + 0.6 * v);
                ++n;
            }
        for (double& c : mean[k]) c /= n;
        // Even the darkest tint must stand out from the dark board.
        EXPECT_GE((mean[k][0] + mean[k][1] + mean[k][2]) / 3, 55.0) << "colour " << k + 1;
    }
    for (int a = 0; a < 7; ++a)
        for (int b = a + 1; b < 7; ++b) {
            const double d = std::hypot(mean[a][0] - mean[b][0], mean[a][1] - mean[b][1], mean[a][2] - mean[b][2]);
            EXPECT_GE(d, 45.0) << "colours " << a + 1 << " and " << b + 1;
        }
}

TEST(GamePictures, FontCellsStayWithinTheirAdvances) {
    for (const char* path : {"gfx//Font_Sprites.png", "gfx//Font_Sprites_White.png"}) {
        SCOPED_TRACE(path);
        const Pixels p = loadPicture(path);
        std::set<std::vector<uint32_t>> cells;
        for (int i = 0; i < 76; ++i) {
            int right = -1, ink = 0;
            std::vector<uint32_t> cell;
            for (int y = 0; y < 26; ++y)
                for (int x = 0; x < 15; ++x) {
                    cell.push_back(p.at(15 * i + x, y));
                    if (p.isKey(15 * i + x, y)) continue;
                    right = std::max(right, x);
                    ++ink;
                }
            EXPECT_GT(ink, 4) << "cell " << i;
            // A small letter moves the pen on by 11: its ink must end before the next glyph.
            if (i >= 26 && i < 52) {
                EXPECT_LE(right, 10) << "cell " << i;
            }
            cells.insert(cell);
        }
        EXPECT_EQ(cells.size(), 76u) << "two cells show the same glyph";
    }
    // The glow cells centre their glyph 6 pixels in, where the glyph strips put theirs at 0.
    const Pixels glow = loadPicture("gfx//Font_Glow.png");
    const Pixels gold = loadPicture("gfx//Font_Sprites.png");
    for (int i = 0; i < 76; ++i) {
        int bestX = 0, bestY = 0, best = -1;
        for (int y = 0; y < 35; ++y)
            for (int x = 0; x < 24; ++x)
                if (luminance(glow.at(24 * i + x, y)) > best) {
                    best = luminance(glow.at(24 * i + x, y));
                    bestX = x;
                    bestY = y;
                }
        const int gx = bestX - 6, gy = bestY - 6;
        ASSERT_TRUE(gx >= 0 && gx < 15 && gy >= 0 && gy < 26) << "cell " << i;
        EXPECT_FALSE(gold.isKey(15 * i + gx, gy)) << "cell " << i;
    }
}

TEST(GamePictures, RepeatedSlicesOfPanelAndFrameMatchEndToEnd) {
    // The glass panel is cut 66, 116, 66 both ways and its middle slices are repeated.
    const Pixels panel = loadPicture("gfx//Menu//Layer_All.png");
    for (int k = 0; k < 116; ++k)
        for (int e = 0; e < 66; ++e) {
            EXPECT_EQ(panel.rgb(e, 66 + k), panel.rgb(e, 66)) << "left band row " << 66 + k;
            EXPECT_EQ(panel.rgb(182 + e, 66 + k), panel.rgb(182 + e, 66)) << "right band row " << 66 + k;
            EXPECT_EQ(panel.rgb(66 + k, e), panel.rgb(66, e)) << "top band column " << 66 + k;
            EXPECT_EQ(panel.rgb(66 + k, 182 + e), panel.rgb(66, 182 + e)) << "bottom band column " << 66 + k;
        }
    for (int y = 66; y < 182; ++y)
        for (int x = 66; x < 182; ++x) EXPECT_EQ(panel.rgb(x, y), panel.rgb(66, 66));
    // The menu frame's edges repeat the same way and meet their corners without a step.
    const Pixels frame = loadPicture("gfx//Menu//Ramka_All.png");
    for (int k = 0; k < 116; ++k)
        for (int e = 0; e < 16; ++e) {
            EXPECT_EQ(frame.at(k, 132 + e), frame.at(0, 132 + e)) << "top edge";
            EXPECT_EQ(frame.at(k, 148 + e), frame.at(0, 148 + e)) << "bottom edge";
            EXPECT_EQ(frame.at(132 + e, k), frame.at(132 + e, 0)) << "left edge";
            EXPECT_EQ(frame.at(148 + e, k), frame.at(148 + e, 0)) << "right edge";
        }
    for (int e = 0; e < 16; ++e) {
        EXPECT_EQ(frame.at(65, e), frame.at(0, 132 + e)) << "top-left corner to top edge";
        EXPECT_EQ(frame.at(e, 65), frame.at(132 + e, 0)) << "top-left corner to left edge";
        EXPECT_EQ(frame.at(66, 116 + e), frame.at(0, 148 + e)) << "bottom-right corner to bottom edge";
    }
}

TEST(GamePictures, CentrePieceKeepsOffTheBarsAndMeetsTheFrame) {
    const Pixels centre = loadPicture("gfx//Kerunite Center.png");
    ASSERT_EQ(centre.width, 6 * 448);
    auto screen = [&](int frame, int x, int y) { return centre.at(448 * frame + x - 176, y - 76); };
    auto keyAt = [&](int frame, int x, int y) { return centre.isKey(448 * frame + x - 176, y - 76); };
    // The time bar, its freeze glass and the progress bar are drawn before the centre piece.
    for (int f = 0; f < 6; ++f) {
        int covered = 0;
        for (int y = 159; y < 465; ++y) {
            for (int x = 176; x < 215; ++x) covered += !keyAt(f, x, y);
            for (int x = 591; x < 624; ++x) covered += !keyAt(f, x, y);
        }
        EXPECT_EQ(covered, 0) << "frame " << f;
    }
    // Only the plate under the board turns: the ring with the arrow buttons stays put.
    for (int f = 1; f < 6; ++f) {
        int moved = 0;
        for (int y = 76; y < 524; ++y)
            for (int x = 176; x < 624; ++x) moved += std::hypot(x - 400, y - 300) > 164 && screen(f, x, y) != screen(0, x, y);
        EXPECT_EQ(moved, 0) << "frame " << f;
    }
    // Where a frame piece and the centre piece both cover a pixel, they agree.
    struct Piece {
        const char* path;
        int sx, sy, w, h, dx, dy;
    };
    const Piece pieces[] = {{"gfx//MainKerun_LeftRight.png", 0, 0, 108, 358, 127, 121},
                            {"gfx//MainKerun_LeftRight.png", 108, 0, 108, 358, 565, 121},
                            {"gfx//MainKerun_TopBottom.png", 0, 0, 330, 134, 235, 10},
                            {"gfx//MainKerun_TopBottom.png", 0, 134, 330, 134, 235, 456}};
    int shared = 0, differ = 0;
    for (const Piece& piece : pieces) {
        const Pixels p = loadPicture(piece.path);
        for (int y = 0; y < piece.h; ++y)
            for (int x = 0; x < piece.w; ++x) {
                const int sx = piece.dx + x, sy = piece.dy + y;
                if (sx < 176 || sx >= 624 || sy < 76 || sy >= 524) continue;
                if (p.isKey(piece.sx + x, piece.sy + y) || keyAt(0, sx, sy)) continue;
                differ += p.at(piece.sx + x, piece.sy + y) != screen(0, sx, sy);
                ++shared;
            }
    }
    EXPECT_GT(shared, 1000);
    EXPECT_EQ(differ, 0);
}

TEST(GamePictures, BlockBackdropsTurnTheirCupsWithTheBalls) {
    // Ball positions inside a block at each rotation step, as the board draws them.
    const int positions[6][4][2] = {{{7, 7}, {7, 35}, {35, 7}, {35, 35}},   {{6, 8}, {8, 36}, {34, 6}, {36, 34}},
                                    {{4, 11}, {11, 38}, {31, 4}, {38, 31}}, {{1, 21}, {21, 41}, {21, 1}, {41, 21}},
                                    {{4, 31}, {31, 38}, {11, 4}, {38, 11}}, {{6, 34}, {34, 36}, {8, 6}, {36, 8}}};
    const double angles[6] = {0, 5, 15, 45, 75, 85};
    const Pixels quadro = loadPicture("gfx//Quadro.png");
    for (int s = 0; s < 6; ++s) {
        SCOPED_TRACE(s);
        // The stone between the cups, turned with the block.
        const double a = angles[s] * 3.14159265358979 / 180;
        int surface = 255;
        for (auto [ux, uy] : {std::pair{0, -14}, {-14, 0}, {14, 0}, {0, 14}}) {
            const int x = static_cast<int>(std::lround(31 + ux * std::cos(a) + uy * std::sin(a)));
            const int y = static_cast<int>(std::lround(31 - ux * std::sin(a) + uy * std::cos(a)));
            surface = std::min(surface, luminance(quadro.at(62 * s + x, y)));
        }
        for (int j = 0; j < 4; ++j) {
            const int cup = luminance(quadro.at(62 * s + positions[s][j][0] + 10, positions[s][j][1] + 10));
            EXPECT_LT(cup + 15, surface) << "position " << j;
        }
    }
}

TEST(GamePictures, SideButtonsLineUpOnScreen) {
    // The back button's cell is drawn at y 246, the others at 249 and 303.
    const Pixels buttons = loadPicture("gfx//Kerun_Buttons.png");
    const int drawnAt[4][2] = {{0, 246}, {118, 249}, {0, 303}, {118, 303}};
    int top[4];
    for (int b = 0; b < 4; ++b) {
        const int cellY = (b / 2) * 48;
        int row = 0;
        while (row < 48 && buttons.isKey(drawnAt[b][0] + 59, cellY + row)) ++row;
        top[b] = drawnAt[b][1] + row;
    }
    EXPECT_EQ(top[0], top[1]);
    EXPECT_EQ(top[2], top[3]);
    // Each button's face stays inside its hit rectangle (y 249 to 297 and 303 to 351).
    EXPECT_GE(top[0], 249);
    EXPECT_GE(top[2], 303);
}

TEST(GamePictures, LightPicturesFadeToBlackAtTheirEdges) {
    const GraphicsSettings s = settings();
    auto strip = [&](const std::string& path, int frameW, int frameH, int frames, int stride = 0) {
        SCOPED_TRACE(path);
        const Pixels p = loadPicture(path);
        for (int f = 0; f < frames; ++f)
            EXPECT_LE(brightestEdge(p, f * (stride ? stride : frameW), 0, frameW, frameH), 24) << "frame " << f;
    };
    strip("gfx//Rise.png", s.strips[0].frameWidth, 42, s.strips[0].frames);
    const Pixels level = loadPicture("gfx//Level.png");
    strip("gfx//Level.png", s.strips[2].frameWidth, level.height, s.strips[2].frames);
    for (int b = 0; b < 5; ++b) strip(kBonusPictures[b], s.bonus[b][1], loadPicture(kBonusPictures[b]).height, s.bonus[b][0]);
    strip("gfx//runes//FINAL.png", 27, 27, 35);
    for (int row = 0; row < 5; ++row) {
        const Pixels p = loadPicture("gfx//runes//Rot_Rune.png");
        for (int k = 0; k < 7; ++k) EXPECT_LE(brightestEdge(p, 189 * row + 27 * k, 0, 27, 27), 24) << row << "," << k;
    }
    strip("gfx//Font_Glow.png", 24, 35, 76);
    strip("gfx//Kerun_Buttons_Glow.png", 160, 93, 2);
    strip("gfx//Menu//But_Big_Glow.png", 212, 72, 1);
    strip("gfx//Menu//But_Small_Glow.png", 189, 68, 1);
    strip("gfx//logo//Logo_Big.png", 160, 147, 1);
    for (int slot = 0; slot < 18; ++slot) {
        const Pixels p = loadPicture(runeGlow(slot));
        EXPECT_LE(brightestEdge(p, 0, 0, p.width, p.height), 24) << runeGlow(slot);
    }
    for (int w = 1; w <= 4; ++w) {
        const std::string path = "gfx//runes//RuneWord " + std::to_string(w) + ".png";
        const Pixels p = loadPicture(path);
        EXPECT_LE(brightestEdge(p, 0, 0, p.width, p.height), 24) << path;
    }
}

TEST(GamePictures, ButtonPiecesFitTogether) {
    for (bool big : {false, true}) {
        const std::string size = big ? "Big" : "Small";
        SCOPED_TRACE(size);
        const Pixels glass = loadPicture("gfx//Menu//But_" + size + "_Glass.png");
        const Pixels border = loadPicture("gfx//Menu//But_" + size + "_Border.png");
        const Pixels glow = loadPicture("gfx//Menu//But_" + size + "_Glow.png");
        // The border is drawn over the glass, 9 in and 12 down: it must leave all of it showing.
        int hidden = 0;
        for (int y = 0; y < glass.height; ++y)
            for (int x = 0; x < glass.width; ++x) hidden += !glass.isKey(x, y) && !border.isKey(9 + x, 12 + y);
        EXPECT_EQ(hidden, 0);
        // The glow lies round the glass (18 in, 21 down) and only tints it, so the caption reads.
        int inside = 0;
        for (int y = 6; y < glass.height - 6; ++y)
            for (int x = 10; x < glass.width - 10; ++x) inside = std::max(inside, maxChannel(glow.at(18 + x, 21 + y)));
        EXPECT_LE(inside, 100);
        EXPECT_GE(maxChannel(glow.at(18 + glass.width / 2, 21 - 4)), 60);
        EXPECT_GE(maxChannel(glow.at(18 + glass.width / 2, 21 + glass.height + 3)), 60);
    }
}

TEST(GamePictures, MenuFrameCoversTheGlassEdge) {
    // The panel's glass ends in a soft edge; the thin frame drawn over it must hide that edge on
    // every side and round the corners.
    const Pixels panel = loadPicture("gfx//Menu//Layer_All.png");
    const Pixels frame = loadPicture("gfx//Menu//Ramka_All.png");
    int edge = 0;
    while (panel.rgb(100, edge) == 0) ++edge;
    EXPECT_FALSE(frame.isKey(100 - 66, 132 + edge)) << "top";
    EXPECT_FALSE(frame.isKey(132 + edge, 100 - 66)) << "left";
    int bottom = 247;
    while (panel.rgb(100, bottom) == 0) --bottom;
    EXPECT_FALSE(frame.isKey(100 - 66, 148 + bottom - 232)) << "bottom";
    int diagonal = 0;
    while (panel.rgb(diagonal, diagonal) == 0) ++diagonal;
    EXPECT_FALSE(frame.isKey(diagonal, diagonal)) << "corner";
    EXPECT_FALSE(frame.isKey(66 + 65 - diagonal, 66 + 65 - diagonal)) << "opposite corner";
}

TEST(GamePictures, GlyphsShareABaseline) {
    const Pixels font = loadPicture("gfx//Font_Sprites.png");
    const std::string map = [] {
        std::string m;
        const std::string text = testing_support::readFile(testing_support::builtGameFolder() / "system" / "ascii");
        for (size_t start = 0; start < text.size();) {
            const size_t end = text.find('\n', start);
            m += static_cast<char>(std::stoi(text.substr(start, end - start)));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        return m;
    }();
    ASSERT_EQ(map.size(), 76u);
    auto bottom = [&](char c) {
        const int cell = static_cast<int>(map.find(c));
        for (int y = 25; y >= 0; --y)
            for (int x = 0; x < 15; ++x)
                if (!font.isKey(15 * cell + x, y)) return y;
        return -1;
    };
    const int base = bottom('H');
    for (char c : std::string("ABCDEFGHIKLMNOPRSTUVWXYZ0123456789acemnorsuvwxzbdhiklt")) EXPECT_NEAR(bottom(c), base, 1) << c;
    for (char c : std::string("gjpqy")) EXPECT_GE(bottom(c), base + 3) << c;
}
