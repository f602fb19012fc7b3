// Screen mock-ups: the pictures put together the way the game puts them together, at the game's
// positions, with sample texts. They are for looking at the art, not a copy of the game's code.
#include <cmath>
#include <string>

#include "compose.hpp"
#include "geometry.hpp"
#include "paint.hpp"
#include "present/menu_layout.hpp"
#include "sheets.hpp"

namespace assetgen {

namespace {

using compose::blendBlit;
using compose::copyRect;
namespace menu = present::menu;
namespace layout = present::layout;

std::string lineOr(const std::vector<std::string>& lines, size_t line, const char* sample) {
    return line < lines.size() ? lines[line] : sample;
}

struct Screen {
    const PictureSet& set;
    const MockupTexts& texts;
    compose::SpriteFont font;
    Picture balls;
    Picture frame{800, 600};

    const Picture& pic(const std::string& path) const { return set.at(path); }
    std::string caption(size_t line, const char* sample) const {
        return line < texts.captions.size() ? texts.captions[line] : sample;
    }
    std::string message(size_t line, const char* sample) const {
        return line < texts.messages.size() ? texts.messages[line] : sample;
    }
    std::string menuCaption(size_t line) const { return lineOr(texts.menuCaptions, line, "Button"); }
    std::string label(size_t line) const { return lineOr(texts.labels, line, "Label"); }
    std::string help(size_t line, const char* sample = "Help text") const { return lineOr(texts.help, line, sample); }
    void copy(const std::string& path, int x, int y) { copyWhole(pic(path), x, y, true); }
    void copyWhole(const Picture& p, int x, int y, bool keyed) { copyRect(p, 0, 0, p.width, p.height, frame, x, y, keyed); }
    void blend(const std::string& path, int sx, int sy, int w, int h, int x, int y, float fs, float fd) {
        blendBlit(pic(path), sx, sy, w, h, frame, x, y, fs, fd);
    }
    void text(int x, int y, int field, const std::string& s, int style) { compose::drawText(font, frame, x, y, field, s, style); }
    // A glass button as the title and play screen draw it.
    void button(int x, int y, bool big, const std::string& caption, bool bordered) {
        const std::string size = big ? "Big" : "Small";
        if (bordered) {
            copy("gfx//Menu//But_" + size + "_Glass.png", x + 9, y + 12);
            copy("gfx//Menu//But_" + size + "_Border.png", x, y);
            text(x + 9, y + 15, big ? 180 : 156, caption, 0);
        } else {
            copy("gfx//Menu//But_" + size + "_Glass.png", x, y);
            text(x, big ? y + 2 : y, big ? 180 : 156, caption, 0);
        }
    }
    void glassPanel(int x, int y, int rows, int columns, float a) {
        const Picture& p = pic("gfx//Menu//Layer_All.png");
        auto band = [&](int sy, int dy, int h) {
            blendBlit(p, 0, sy, 66, h, frame, x, dy, a, 1 - a);
            for (int k = 0; k < columns; ++k) blendBlit(p, 66, sy, 116, h, frame, x + 66 + 116 * k, dy, a, 1 - a);
            blendBlit(p, 182, sy, 66, h, frame, x + 66 + 116 * columns, dy, a, 1 - a);
        };
        band(0, y, 66);
        for (int j = 0; j < rows; ++j) band(66, y + 66 + 116 * j, 116);
        band(182, y + 66 + 116 * rows, 66);
    }
    void menuFrame(int x, int y, int rows, int n) {
        const Picture& p = pic("gfx//Menu//Ramka_All.png");
        copyRect(p, 0, 0, 66, 66, frame, x, y, true);
        for (int i = 0; i < n; ++i) copyRect(p, 0, 132, 116, 16, frame, x + 66 + 116 * i, y, true);
        copyRect(p, 66, 0, 66, 66, frame, x + 66 + 116 * n, y, true);
        for (int j = 0; j < rows; ++j) {
            copyRect(p, 132, 0, 16, 116, frame, x, y + 66 + 116 * j, true);
            copyRect(p, 148, 0, 16, 116, frame, x + 116 * n + 116, y + 66 + 116 * j, true);
        }
        copyRect(p, 0, 66, 66, 66, frame, x, y + 66 + 116 * rows, true);
        for (int i = 0; i < n; ++i) copyRect(p, 0, 148, 116, 16, frame, x + 66 + 116 * i, y + 116 + 116 * rows, true);
        copyRect(p, 66, 66, 66, 66, frame, x + 66 + 116 * n, y + 66 + 116 * rows, true);
    }
    void menuButton(int ox, int oy, int bx, int by, const std::string& caption, bool lit) {
        copy("gfx//Menu//But_Small_Glass.png", ox + bx + menu::kButtonGlassX, oy + by + menu::kButtonGlassY);
        copy("gfx//Menu//But_Small_Border.png", ox + bx, oy + by);
        text(ox + bx + menu::kButtonGlassX, oy + by + menu::kButtonCaptionY, menu::kButtonGlassW, caption, 0);
        if (lit)
            blend("gfx//Menu//But_Small_Glow.png", 0, 0, 189, 68, ox + bx - menu::kButtonGlowOffset,
                  oy + by - menu::kButtonGlowOffset, 1.0f, 1.0f);
    }
    // A menu screen as the game lays it out: the panel over what is there, its labels, its frame and
    // its buttons (button `lit` glowing). Extras go between the panel and the frame.
    template <typename Extras>
    void menuScreen(int screen, float transparency, int lit, Extras extras) {
        const menu::MenuLayout& l = menu::kMenuLayouts[static_cast<size_t>(screen)];
        glassPanel(l.x, l.y, l.rows, l.columns, transparency);
        for (int i = 0; i < l.labelCount; ++i)
            text(l.x + 66, l.y + l.labels[static_cast<size_t>(i)].y, l.fieldWidth(),
                 label(static_cast<size_t>(l.labels[static_cast<size_t>(i)].line)), 0);
        extras(l);
        menuFrame(l.x, l.y, l.rows, l.columns);
        for (int i = 0; i < l.buttonCount; ++i) {
            const menu::Button& b = l.buttons[static_cast<size_t>(i)];
            menuButton(l.x, l.y, b.bx, b.by, menuCaption(static_cast<size_t>(b.caption)), i == lit);
        }
    }
    void save(const std::filesystem::path& file) const { writePng(file, frame); }
};

// A board of balls that changes from cell to cell without looking arranged.
int sampleColour(int column, int row) { return 1 + (column * 5 + row * 3 + (column * row) % 4) % 7; }

void drawBlock(Screen& s, int step, int k, int i, int x, int y) {
    static constexpr int kPositions[6][4][2] = {
        {{7, 7}, {7, 35}, {35, 7}, {35, 35}},   {{6, 8}, {8, 36}, {34, 6}, {36, 34}},   {{4, 11}, {11, 38}, {31, 4}, {38, 31}},
        {{1, 21}, {21, 41}, {21, 1}, {41, 21}}, {{4, 31}, {31, 38}, {11, 4}, {38, 11}}, {{6, 34}, {34, 36}, {8, 6}, {36, 8}},
    };
    Picture work(62, 62, kMagenta);
    copyRect(s.pic("gfx//Quadro.png"), 62 * step, 0, 62, 62, work, 0, 0, false);
    for (int j = 0; j < 4; ++j) {
        const int column = 2 * k + j / 2, row = 2 * i + j % 2;
        const int c = sampleColour(column, row);
        if (column == 6 && row == 4) continue;  // a universal ball: its bonus stands in for it
        copyRect(s.balls, 20 * (c - 1), 0, 20, 20, work, kPositions[step][j][0], kPositions[step][j][1], true);
    }
    copyRect(work, 0, 0, 62, 62, s.frame, x, y, true);
}

void scoreDigits(Screen& s, long value) {
    const std::string digits = std::to_string(value);
    const int n = static_cast<int>(digits.size());
    for (int d = 0; d < n; ++d) {
        const int entry = n / 2 + 2 - (n - 1 - d);
        const present::layout::Point pos = n % 2 == 0 ? present::layout::kScoreDigitsEven[static_cast<size_t>(entry)]
                                                      : present::layout::kScoreDigitsOdd[static_cast<size_t>(entry)];
        copyRect(s.pic("gfx//Font_Sprites.png"), 15 * (52 + (digits[static_cast<size_t>(d)] - '0')), 0, 15, 26, s.frame, pos.x,
                 pos.y, true);
    }
}

void playScreen(Screen& s, bool turning) {
    s.copyWhole(s.pic("gfx//backgrounds//background1.jpg"), 0, 0, false);
    for (const layout::FramePiece& piece : layout::kFramePieces) {
        const char* path = piece.picture == layout::FramePicture::LeftRight      ? "gfx//MainKerun_LeftRight.png"
                           : piece.picture == layout::FramePicture::TopBottom    ? "gfx//MainKerun_TopBottom.png"
                           : piece.picture == layout::FramePicture::LeftRightBut ? "gfx//MainKerun_LeftRight_But.png"
                                                                                 : "gfx//Kerun_Buttons.png";
        copyRect(s.pic(path), piece.source.x, piece.source.y, piece.source.w, piece.source.h, s.frame, piece.at.x, piece.at.y,
                 true);
    }
    const char* sideSamples[4] = {"Back", "Options", "Shuffle", "Pause"};
    for (size_t i = 0; i < layout::kSideCaptions.size(); ++i)
        s.text(layout::kSideCaptions[i].x, layout::kSideCaptions[i].y, layout::kSideCaptionField,
               s.caption(8 + i, sideSamples[i]), 0);

    // Progress at 45 percent; time at 60 percent, or frozen over while the board turns.
    const int w = static_cast<int>((100 - 45) * 2.7);
    copyRect(s.pic("gfx//Bars_TimeProgress.png"), 51, w, 51, 270 - w, s.frame, 591, 165 + w, true);
    const int k = static_cast<int>(270 - 0.6 * 270);
    copyRect(s.pic("gfx//Bars_TimeProgress.png"), 0, k, 51, 270 - k, s.frame, 158, 165 + k, true);
    if (turning) s.blend("gfx//Bar_Glass_Freeze.PNG", 0, 0, 57, 306, 158, 159, 1.1f, -0.1f);

    const Picture& centre = s.pic("gfx//Kerunite Center.png");
    const Picture& ring = s.pic("gfx//Ring_Back.png");
    if (!turning) {
        copyRect(centre, 0, 0, 448, 448, s.frame, 176, 76, true);
        for (int i = 0; i < 5; ++i)
            for (int kk = 0; kk < 5; ++kk) s.copyWhole(ring, 255 + 56 * kk, 155 + 56 * i, true);
        for (int i = 0; i < 5; ++i)
            for (int kk = 0; kk < 5; ++kk) drawBlock(s, 0, kk, i, 257 + 56 * kk, 157 + 56 * i);
    } else {
        // Counter-clockwise, frame t = 2: the 45-degree pictures.
        copyRect(centre, 3 * 448, 0, 448, 448, s.frame, 176, 76, true);
        const double a = 45.0 * kPi / 180.0;
        for (int xx = -112; xx <= 112; xx += 56)
            for (int yy = 112; yy >= -112; yy -= 56)
                s.copyWhole(ring, static_cast<int>(xx * std::cos(a) - yy * std::sin(a) + 367),
                            static_cast<int>(267 - (xx * std::sin(a) + yy * std::cos(a))), true);
        for (int i = 0; i < 5; ++i)
            for (int kk = 0; kk < 5; ++kk) {
                const double x = 56 * kk - 112, y = 112 - 56 * i;
                drawBlock(s, 3, kk, i, static_cast<int>(x * std::cos(a) - y * std::sin(a) + 369),
                          static_cast<int>(269 - (x * std::sin(a) + y * std::cos(a))));
            }
    }
    scoreDigits(s, turning ? 204080 : 12345);
    copyRect(s.pic("gfx//Font_Sprites.png"), 15 * (52 + 1), 0, 15, 26, s.frame, 385, 551, true);
    copyRect(s.pic("gfx//Font_Sprites.png"), 15 * (52 + 2), 0, 15, 26, s.frame, 401, 551, true);

    // Ten slots lit and held, the eleventh just lighting.
    for (int slot = 0; slot < 11; ++slot) {
        char name[64];
        std::snprintf(name, sizeof name, "gfx//runes//Glow_Rune %d%d.png", (slot + 1) / 10, (slot + 1) % 10);
        s.blend(name, 0, 0, geo::kSlotSize, geo::kSlotSize, present::layout::kRuneSlots[static_cast<size_t>(slot)].x,
                present::layout::kRuneSlots[static_cast<size_t>(slot)].y, slot == 10 ? 1.0f : 0.5f, 1.0f);
    }
    if (!turning) {
        // One bonus of each kind, a glowing shuffle button and arrow, and the three effects.
        const char* bonus[5] = {"gfx//bonuses//3Ball 15x15.png", "gfx//bonuses//Color_Explode 19x19.png",
                                "gfx//bonuses//Snowy 15x17.png", "gfx//bonuses//MultiColor 9x12.png",
                                "gfx//bonuses//Plus 6x6.png"};
        const int cells[5][2] = {{2, 2}, {7, 1}, {4, 7}, {6, 4}, {1, 8}};
        for (int b = 0; b < 5; ++b) {
            // The bonus frames are square, their hot spot in the middle.
            const int cx = 274 + 28 * cells[b][0], cy = 174 + 28 * cells[b][1], fw = s.pic(bonus[b]).height;
            s.blend(bonus[b], fw * 3, 0, fw, fw, cx - fw / 2, cy - fw / 2, 1.0f, b == 3 ? 0.0f : 1.0f);
        }
        s.blend("gfx//Kerun_Buttons_Glow.png", 160, 0, 160, 93, 623, 226, 0.7f, 1.0f);
        s.blend("gfx//ButShine_TopBottom.png", 34, 0, 34, 25, 402, 109, 1.0f, 1.0f);
        copyRect(s.pic("gfx//Explode.png"), 29 * 4, 0, 29, 26, s.frame, 278 + 28 * 8 - 12, 178 + 28 * 8 - 15, true, true);
        s.blend("gfx//Rise.png", 42 * 1, 0, 42, 42, 278 + 28 * 3 - 20, 178 + 28 * 5 - 20, 1.0f, 1.0f);
        s.blend("gfx//Level.png", 56 * 6, 0, 56, 56, 278 + 28 * 9 - 28, 178 + 28 * 0 - 28, 1.0f, 1.0f);
        s.blend("gfx//runes//Rot_Rune.png", 189 * 4 + 27 * 2, 0, 27, 27, 470, 470, 1.0f, 1.0f);
    } else {
        s.text(0, 288, 800, "LEVEL 12", 1);
    }
}

void titleScreen(Screen& s) {
    s.copyWhole(s.pic("gfx//menu//menu.jpg"), 0, 0, false);
    s.copy("gfx//logo//Game_Logo.png", layout::kGameLogo.x, layout::kGameLogo.y);
    s.copy("gfx//Logo//Small_Logo.png", geo::kSmallLogo.x, geo::kSmallLogo.y);
    const char* ornaments[4] = {"gfx//Menu//Ramka//But_ActPzlStrMode_Border.PNG", "gfx//Menu//Ramka//But_ChsPlayer_Border.PNG",
                                "gfx//Menu//Ramka//But_HScoreExit_Border.PNG", "gfx//Menu//Ramka//But_OptionsHelp_Border.PNG"};
    for (size_t i = 0; i < layout::kTitleOrnaments.size(); ++i)
        s.copy(ornaments[i], layout::kTitleOrnaments[i].x, layout::kTitleOrnaments[i].y);
    const char* captions[8] = {"Players", "Action", "Puzzle", "Strategy", "Scores", "Help", "Options", "Quit"};
    for (int b = 0; b < 8; ++b)
        s.button(present::layout::kTitleButtons[static_cast<size_t>(b)].x,
                 present::layout::kTitleButtons[static_cast<size_t>(b)].y, b < 4, s.caption(static_cast<size_t>(b), captions[b]),
                 false);
    s.copy("gfx//logo//partnerLogo.bmp", geo::kPartnerLogo.x, geo::kPartnerLogo.y);
    const layout::Point lit = layout::kTitleButtons[1], fading = layout::kTitleButtons[6];
    s.blend("gfx//Menu//But_Big_Glow.png", 0, 0, 212, 72, lit.x - 18, lit.y - 21, 1.0f, 1.0f);
    s.blend("gfx//Menu//But_Small_Glow.png", 0, 0, 189, 68, fading.x - 18, fading.y - 21, 0.7f, 1.0f);
    s.text(layout::kWelcomeText.x, layout::kWelcomeText.y, layout::kWelcomeField, "WELCOME, MARGARETHE", 0);
}

void optionsScreen(Screen& s, float transparency) {
    s.copyWhole(s.pic("gfx//menu//menu.jpg"), 0, 0, false);
    s.menuScreen(menu::ScreenOptions, transparency, 1, [&](const menu::MenuLayout& l) {
        for (const menu::Offset& t : menu::kSliderTracks) s.copy("gfx//Menu//Menu_Slider.PNG", l.x + t.x, l.y + t.y);
        for (const menu::Offset& b : menu::kOptionBoxes) s.copy("gfx//Help//CheckBox_Base.png", l.x + b.x, l.y + b.y);
        s.text(l.x, l.y + menu::kMusicCaptionY, l.width(), s.help(menu::kMusicCaptionLine, "Music volume"), 0);
        s.text(l.x, l.y + menu::kSoundCaptionY, l.width(), s.help(menu::kSoundCaptionLine, "Sound effects"), 0);
        for (size_t i = 0; i < menu::kOptionCaptionLines.size(); ++i)
            s.text(l.x + menu::kOptionCaptionX[i], l.y + menu::kOptionCaptionY[i], 0,
                   s.help(static_cast<size_t>(menu::kOptionCaptionLines[i])), 0);
    });
    const menu::MenuLayout& l = menu::kMenuLayouts[menu::ScreenOptions];
    for (size_t i = 0; i < 2; ++i)
        s.copy("gfx//Help//CheckBox_Check.png", l.x + menu::kOptionTicks[i].x, l.y + menu::kOptionTicks[i].y);
    // Music at two thirds, effects at one third of the track.
    const int knobs[2] = {menu::kKnobMin + 240, menu::kKnobMin + 120};
    for (size_t i = 0; i < 2; ++i) s.copy("gfx//Menu//Slider.PNG", l.x + knobs[i] - menu::kKnobSize.x / 2, l.y + menu::kKnobY[i]);
}

void playersScreen(Screen& s, float transparency) {
    s.copyWhole(s.pic("gfx//menu//menu.jpg"), 0, 0, false);
    s.menuScreen(menu::ScreenChoosePlayer, transparency, 2, [&](const menu::MenuLayout& l) {
        for (const menu::Offset& r : menu::kListRules) s.copy("gfx//Help//Line_Help_Horiz.png", l.x + r.x, l.y + r.y);
    });
    const menu::MenuLayout& l = menu::kMenuLayouts[menu::ScreenChoosePlayer];
    const char* names[5] = {"ANNA", "BJORN", "CASSIOPEIA", "DMITRI", "PLAYER"};
    const int selected = 2;
    for (int k = 0; k < 5; ++k)
        s.text(l.x + 66, l.y + menu::kListRowY + menu::kListRowPitch * k, l.fieldWidth(), names[k], k == selected ? 2 : 0);
    const int markerY = l.y + menu::kListRowY + menu::kListRowPitch * selected;
    s.copy("gfx//Menu//CurPlayerCursor.png", l.x + 66, markerY);
    s.copy("gfx//Menu//CurPlayerCursor.png", l.x + 166 * l.columns - 40, markerY);
    s.copy("gfx//menu//but_name//But_PrevName_Glow.PNG", l.x + menu::kListUpArrow.x, l.y + menu::kListUpArrow.y);
    s.copy("gfx//menu//but_name//But_NextName.PNG", l.x + menu::kListDownArrow.x, l.y + menu::kListDownArrow.y);
}

// The rules help: three demonstrations on the glass, the pointer gliding over them.
void helpScreen(Screen& s, float transparency) {
    s.copyWhole(s.pic("gfx//menu//menu.jpg"), 0, 0, false);
    s.menuScreen(menu::ScreenHelpRules, transparency, -1, [&](const menu::MenuLayout& l) {
        s.copy("gfx//Help//CheckBox_Base.png", l.x + menu::kHelpBox.x, l.y + menu::kHelpBox.y);
        s.copy("gfx//Help//Small_Bars.png", menu::kHelpSmallBars.x, menu::kHelpSmallBars.y);
        s.text(l.x + menu::kHelpBoxCaption.x, l.y + menu::kHelpBoxCaption.y, 0, s.help(0, "Skip before games"), 0);
        for (const menu::Offset& r : menu::kHelpRules) s.copy("gfx//Help//Line_Help_Horiz.png", l.x + r.x, l.y + r.y);
        for (const menu::HelpLine& line : menu::kHelpText)
            s.text(l.x + line.at.x, l.y + line.at.y, 0, s.help(static_cast<size_t>(line.line)), 0);
    });
    const int ox = menu::kMenuLayouts[menu::ScreenHelpRules].x, oy = menu::kMenuLayouts[menu::ScreenHelpRules].y;
    // Demonstration 1 in mid-turn, 2 with a burst and a glow, 3 at rest.
    auto block = [&](int x, int y, int frame, const int cells[4], int burst, int glow) {
        copyRect(s.pic("gfx//Quadro.png"), 62 * frame, 0, 62, 62, s.frame, ox + x, oy + y, true);
        for (int i = 0; i < 4; ++i) {
            const layout::Point at = layout::kTurnPositions[static_cast<size_t>(frame)][static_cast<size_t>(i)];
            const int px = ox + x + at.x, py = oy + y + at.y;
            if (cells[i]) copyRect(s.balls, 20 * (cells[i] - 1), 0, 20, 20, s.frame, px, py, true);
            if (i == burst) copyRect(s.pic("gfx//Explode.png"), 29 * 3, 0, 29, 26, s.frame, px - 2, py - 5, true, true);
            if (i == glow) blendBlit(s.pic("gfx//Rise.png"), 42 * 2, 0, 42, 42, s.frame, px - 10, py - 10, 1.0f, 1.0f);
        }
    };
    const int a[4] = {1, 2, 3, 4}, b[4] = {2, 5, 3, 4}, c[4] = {1, 4, 3, 2}, d[4] = {2, 1, 0, 3}, e[4] = {5, 4, 3, 4};
    block(283, 25, 2, a, -1, -1);
    block(228, 149, 0, b, -1, 2);
    block(284, 149, 0, c, 1, -1);
    block(228, 205, 0, d, -1, -1);
    block(284, 205, 0, e, -1, -1);
    const int f[4] = {1, 2, 1, 3}, g[4] = {5, 4, 2, 1}, h[4] = {1, 1, 5, 4}, i4[4] = {2, 3, 4, 1};
    block(573, 202, 0, f, -1, -1);
    block(629, 202, 0, g, -1, -1);
    block(573, 257, 0, h, -1, -1);
    block(629, 257, 0, i4, -1, -1);
    s.copy("gfx//Help//Cursor.png", ox + 300, oy + 40);
    s.copy("gfx//Help//Mouse1.png", ox + 330, oy + 40);
    s.copy("gfx//Help//Cursor.png", ox + 600, oy + 230);
    s.copy("gfx//Help//Mouse2.png", ox + 630, oy + 230);
}

// A tip over the play screen: the freeze bonus shown turning above its text.
void tipDialog(Screen& s, const Picture& playScreen, float transparency) {
    s.copyWhole(playScreen, 0, 0, false);
    const menu::DialogText& tip = menu::kDialogTexts[2];  // the Freeze tip
    s.menuScreen(menu::ScreenDialogHost, transparency + 0.2f, 1, [&](const menu::MenuLayout& l) {
        for (int line = tip.firstLine; line <= tip.lastLine; ++line)
            s.text(0, l.y + tip.baseY + tip.step * (line - tip.firstLine), 800, s.help(static_cast<size_t>(line), ""), 0);
        copyRect(s.balls, 20 * 6, 0, 20, 20, s.frame, l.x + menu::kDialogBall.x, l.y + menu::kDialogBall.y, true);
    });
    const Picture& snow = s.pic("gfx//bonuses//Snowy 15x17.png");
    blendBlit(snow, snow.height * 5, 0, snow.height, snow.height, s.frame, menu::kTipAnimation.x - snow.height / 2,
              menu::kTipAnimation.y - snow.height / 2, 1.0f, 1.0f);
}

// The seven balls plain and with their symbols, at their own size and three times as large, each
// in a cup of the block backdrop.
void ballSheet(const Picture& symbolBalls, const Picture& plainBalls, const Picture& backdrop,
               const std::filesystem::path& file) {
    constexpr int kZoom = 3, kCell = 30;
    Picture sheet(7 * kCell * (1 + kZoom) + 30, kCell * (1 + kZoom) * 2 + 30, 0xFF181818u);
    // The upper left cup of the backdrop, whose ball sits at (7, 7), over the board's stone.
    Picture cell(kCell, kCell, 0xFF3C4250u);
    copyRect(backdrop, 2, 2, kCell, kCell, cell, 0, 0, true);
    for (int row = 0; row < 2; ++row) {
        const Picture& balls = row == 0 ? plainBalls : symbolBalls;
        for (int c = 0; c < 7; ++c) {
            Picture one = cell;
            copyRect(balls, 20 * c, 0, 20, 20, one, 5, 5, true);
            const int y0 = 10 + row * (kCell * (1 + kZoom) + 10);
            sheet.paste(one, 10 + c * kCell, y0 + kCell * kZoom / 2 - kCell / 2);
            Picture big(kCell * kZoom, kCell * kZoom);
            for (int y = 0; y < big.height; ++y)
                for (int x = 0; x < big.width; ++x) big.at(x, y) = one.at(x / kZoom, y / kZoom);
            sheet.paste(big, 20 + 7 * kCell + c * kCell * kZoom, y0);
        }
    }
    writePng(file, sheet);
}

}  // namespace

void writeMockups(const PictureSet& pictures, const std::string& characterMap, const MockupTexts& texts,
                  const std::filesystem::path& folder) {
    auto screen = [&]() {
        Screen s{pictures, texts, {}, compose::tintBalls(pictures.at("gfx//Ball.png"))};
        s.font = {&pictures.at("gfx//Font_Sprites.png"), &pictures.at("gfx//Font_Sprites_White.png"),
                  &pictures.at("gfx//Font_Glow.png"), characterMap};
        return s;
    };
    const float transparency = 0.6f;
    {
        Screen s = screen();
        titleScreen(s);
        s.save(folder / "mockup-title.png");
    }
    const Picture symbols =
        compose::symbolBalls(compose::tintBalls(pictures.at("gfx//Ball.png")), pictures.at("gfx/symbols.png"));
    {
        Screen s = screen();
        s.balls = symbols;
        playScreen(s, false);
        s.save(folder / "mockup-play-symbols.png");
        ballSheet(s.balls, compose::tintBalls(pictures.at("gfx//Ball.png")), s.pic("gfx//Quadro.png"),
                  folder / "mockup-balls.png");
    }
    Picture play;
    {
        Screen s = screen();
        playScreen(s, false);
        s.save(folder / "mockup-play.png");
        play = s.frame;
        // A close look at the upper left of the board, three times as large.
        Picture zoom(780, 600);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 780; ++x) zoom.at(x, y) = s.frame.at(200 + x / 3, 90 + y / 3);
        writePng(folder / "mockup-play-zoom.png", zoom);
    }
    {
        Screen s = screen();
        playScreen(s, true);
        s.save(folder / "mockup-turn.png");
    }
    {
        Screen s = screen();
        optionsScreen(s, transparency);
        s.save(folder / "mockup-options.png");
    }
    {
        Screen s = screen();
        playersScreen(s, transparency);
        s.save(folder / "mockup-players.png");
    }
    {
        Screen s = screen();
        helpScreen(s, transparency);
        s.save(folder / "mockup-help.png");
    }
    {
        Screen s = screen();
        tipDialog(s, play, transparency);
        s.save(folder / "mockup-tip.png");
    }
    {
        // The opening: the splash emblem while loading, then the studio logo at full strength.
        Screen s = screen();
        s.blend("gfx//logo//Logo_Big.png", 0, 0, 160, 147, 322, 203, 1.0f, 1.0f);
        s.save(folder / "mockup-splash.png");
        Screen t = screen();
        const Picture& studio = t.pic("gfx//logo//partnerLogoBig.jpg");
        blendBlit(studio, 0, 0, studio.width, studio.height, t.frame, (800 - studio.width) / 2, (600 - studio.height) / 2, 1.0f,
                  1.0f);
        t.save(folder / "mockup-studio.png");
    }
    const char* groups[5] = {"The first hall", "The second hall", "The third hall", "The fourth hall", "The fifth hall"};
    for (int g = 0; g < 5; ++g) {
        // The intermission: the group's background and its title.
        Screen s = screen();
        s.copyWhole(s.pic("gfx//backgrounds//background" + std::to_string(g + 1) + ".jpg"), 0, 0, false);
        s.text(0, 288, 800, s.message(static_cast<size_t>(g), groups[g]), 0);
        s.save(folder / ("mockup-intermission-" + std::to_string(g + 1) + ".png"));
    }
}

}  // namespace assetgen
