#include "catalogue.hpp"

#include <cstdio>

#include "geometry.hpp"

namespace assetgen {

namespace {

std::vector<CatalogueEntry> build() {
    std::vector<CatalogueEntry> t;
    auto add = [&](std::string path, int w, int h, std::string use, std::function<Picture(Art&)> draw) {
        t.push_back({std::move(path), w, h, std::move(use), std::move(draw)});
    };

    // Display-surface pictures, in the order the game reloads them.
    add("gfx//logo//Game_Logo.png", 186, 212, "title emblem at (596, 284), magenta key", [](Art&) { return gameLogo(); });
    add("gfx//menu//menu.jpg", 800, 600, "title and menu background", [](Art&) { return menuBackground(); });
    for (int g = 1; g <= 5; ++g)
        add("gfx//backgrounds//background" + std::to_string(g) + ".jpg", 800, 600,
            "play background of level group " + std::to_string(g), [g](Art&) { return levelBackground(g - 1); });
    add("gfx//Quadro.png", 372, 62, "block backdrop, six 62-wide frames for rotation steps 0 to 5",
        [](Art&) { return blockBackdrops(); });
    add("gfx//Kerunite Center.png", 2688, 448,
        "centre piece at (176, 76), frames of 448: upright, then turned 5, 15, 45, 75, 85 degrees",
        [](Art& a) { return centrePiece(a); });
    add("gfx//MainKerun_LeftRight.png", 216, 358, "frame sides: left half at (127, 121), right half at (565, 121)",
        [](Art& a) { return framePieceLeftRight(a); });
    add("gfx//MainKerun_TopBottom.png", 330, 268, "frame top (to (235, 10)) over frame bottom (to (235, 456))",
        [](Art& a) { return framePieceTopBottom(a); });
    add("gfx//MainKerun_LeftRight_But.png", 208, 158, "side-button arms: left half at (23, 221), right half at (673, 221)",
        [](Art& a) { return framePieceArms(a); });
    add("gfx//Bars_TimeProgress.png", 102, 270, "time bar fill (x 0 to 50) and progress bar fill (x 51 to 101)",
        [](Art&) { return barsTimeProgress(); });
    add("gfx//Bar_Critical.png", 204, 270, "time bar running short, frames 1 to 4, 51 wide", [](Art&) { return barCritical(); });
    add("gfx//Kerun_Buttons.png", 236, 96, "side buttons back, shuffle / options, pause, cells 118 by 48",
        [](Art&) { return sideButtons(); });
    add("gfx//Font_Sprites.png", 1140, 26, "gold sprite font, 76 cells of 15 by 26", [](Art& a) { return fontGold(a); });
    add("gfx//Font_Sprites_White.png", 1140, 26, "white sprite font, 76 cells of 15 by 26", [](Art& a) { return fontWhite(a); });
    add("gfx//Ring_Back.png", 66, 66, "socket under each block", [](Art&) { return socket(); });
    add("gfx//Menu//But_Big_Glass.png", 180, 32, "big button glass", [](Art&) { return buttonGlass(true); });
    add("gfx//Menu//But_Small_Glass.png", 156, 28, "small button glass", [](Art&) { return buttonGlass(false); });
    add("gfx//Menu//But_Big_Border.png", 198, 60, "big button border, glass at (9, 12)", [](Art&) { return buttonBorder(true); });
    add("gfx//Menu//But_Small_Border.png", 174, 52, "small button border, glass at (9, 12)",
        [](Art&) { return buttonBorder(false); });
    add("gfx//Menu//Ramka_All.png", 164, 164, "menu panel frame: four 66 corners, edges 116 by 16",
        [](Art&) { return menuFrame(); });
    add("gfx//Menu//CurPlayerCursor.png", 14, 24, "selected player marker", [](Art&) { return playerMarker(); });
    add("gfx//Menu//Ramka//But_ActPzlStrMode_Border.PNG", 199, 186, "title ornament of the three mode buttons, at (265, 153)",
        [](Art&) { return titleOrnament(0); });
    add("gfx//Menu//Ramka//But_ChsPlayer_Border.PNG", 199, 63, "title ornament of the player button, at (383, 90)",
        [](Art&) { return titleOrnament(1); });
    add("gfx//Menu//Ramka//But_HScoreExit_Border.PNG", 174, 110, "title ornament of two small buttons, at (321, 449)",
        [](Art&) { return titleOrnament(2); });
    add("gfx//Menu//Ramka//But_OptionsHelp_Border.PNG", 174, 110, "title ornament of two small buttons, at (218, 339)",
        [](Art&) { return titleOrnament(3); });
    const char* arrows[6] = {"But_NextName", "But_NextName_Glow", "But_NextName_Pressed",
                             "But_PrevName", "But_PrevName_Glow", "But_PrevName_Pressed"};
    for (int i = 0; i < 6; ++i) {
        const bool up = i >= 3;
        const int state = i % 3;
        add(std::string("gfx//menu//but_name//") + arrows[i] + ".PNG", 58, 16,
            std::string(up ? "player list up arrow" : "player list down arrow") + (state == 0   ? ""
                                                                                   : state == 1 ? ", lit"
                                                                                                : ", pressed"),
            [up, state](Art&) { return listArrow(up, state); });
    }
    add("gfx//Menu//Enter_Name_Border.PNG", 322, 40, "name entry field", [](Art&) { return nameField(); });
    add("gfx//Logo//Small_Logo.png", geo::kSmallLogo.w, geo::kSmallLogo.h, "game name on the title, where trader.ini puts it",
        [](Art&) { return smallLogo(); });
    add("gfx//Menu//Menu_Slider.PNG", 426, 40, "volume slider track, knob centre from x 30 to 396",
        [](Art&) { return sliderTrack(); });
    add("gfx//Menu//Slider.PNG", 36, 28, "volume slider knob", [](Art&) { return sliderKnob(); });
    add("gfx//Help//Cursor.png", 26, 27, "pointer of the help demonstrations", [](Art&) { return helpPointer(); });
    add("gfx//Help//Line_Help_Horiz.png", 314, 4, "rule on the help and player screens", [](Art&) { return helpRule(); });
    add("gfx//Help//But.png", 82, 24, "button picture on a help page and a tip", [](Art&) { return helpButton(); });
    add("gfx//Help//CheckBox_Check.png", 41, 44, "tick, drawn 2 left of and 19 above its box", [](Art&) { return checkTick(); });
    add("gfx//Help//CheckBox_Base.png", 30, 30, "check box", [](Art&) { return checkBase(); });
    add("gfx//Help//Small_Bars.png", 54, 135, "small time and progress tubes on the help page", [](Art&) { return helpBars(); });
    for (int m = 0; m < 3; ++m)
        add("gfx//Help//Mouse" + std::to_string(m) + ".png", 18, 28,
            m == 0   ? "mouse, no button"
            : m == 1 ? "mouse, left button"
                     : "mouse, right button",
            [m](Art&) { return helpMouse(m); });
    add("gfx//Rise.png", 252, 42, "rise effect, 6 frames of 42, additive", [](Art&) { return riseStrip(); });
    add("gfx//Explode.png", 348, 26, "clear effect, 12 frames of 29 by 26, black key", [](Art&) { return explodeStrip(); });
    add("gfx//Level.png", 560, 56, "reveal effect, 10 frames of 56, additive", [](Art&) { return revealStrip(); });
    add("gfx//Ball.png", 40, 20, "ball template: grey shading left, shape right, magenta outside",
        [](Art&) { return ballTemplate(); });
    add("gfx/symbols.png", 140, 20, "colour symbols laid over the seven balls, frames of 20, with alpha",
        [](Art&) { return ballSymbols(); });
    add("gfx//logo//partnerLogo.bmp", geo::kPartnerLogo.w, geo::kPartnerLogo.h, "studio mark on the title, magenta key",
        [](Art&) { return studioLogoSmall(); });

    // Plain-memory pictures, in the order start-up loads them.
    add("gfx//logo//partnerLogoBig.jpg", geo::kPartnerBigW, geo::kPartnerBigH, "studio logo of the opening screen, on black",
        [](Art&) { return studioLogoBig(); });
    add("gfx//logo//Logo_Big.png", 160, 147, "splash emblem at (322, 203), additive", [](Art&) { return logoBig(); });
    add("gfx//Bar_Glass_Freeze.PNG", 57, 306, "ice over the time bar at (158, 159), cross-faded",
        [](Art&) { return freezeGlass(); });
    add("gfx//Kerun_Buttons_Glow.png", 320, 186, "side button glows, cells 160 by 93", [](Art&) { return sideButtonGlows(); });
    add("gfx//ButShine_TopBottom.png", 68, 50, "shines of the top and bottom arrow buttons, 34 by 25",
        [](Art&) { return arrowShinesTopBottom(); });
    add("gfx//ButShine_LeftRight.png", 50, 68, "shines of the side arrow buttons, 25 by 34",
        [](Art&) { return arrowShinesLeftRight(); });
    add("gfx//Font_Glow.png", 1824, 35, "glow font, 76 cells of 24 by 35, additive", [](Art& a) { return fontGlow(a); });
    add("gfx//Menu//But_Big_Glow.png", 212, 72, "big button glow, glass at (18, 21)", [](Art&) { return buttonGlow(true); });
    add("gfx//Menu//But_Small_Glow.png", 189, 68, "small button glow, glass at (18, 21)", [](Art&) { return buttonGlow(false); });
    add("gfx//Menu//Layer_All.png", 248, 248, "glass panel, cut as nine slices (66, 116, 66)", [](Art&) { return glassPanel(); });
    add("gfx//bonuses//3Ball 15x15.png", 512, 32, "explosion bonus, 16 frames of 32", [](Art&) { return bonusExplode(); });
    add("gfx//bonuses//Color_Explode 19x19.png", 512, 32, "colour bonus, 16 frames of 32", [](Art&) { return bonusColor(); });
    add("gfx//bonuses//Snowy 15x17.png", 416, 26, "freeze bonus, 16 frames of 26", [](Art&) { return bonusFreeze(); });
    add("gfx//bonuses//MultiColor 9x12.png", 352, 22, "universal ball, 16 frames of 22, opaque",
        [](Art&) { return bonusUniversal(); });
    add("gfx//bonuses//Plus 6x6.png", 336, 28, "score bonus, 12 frames of 28", [](Art&) { return bonusScore(); });
    add("gfx//runes//FINAL.png", 945, 27, "firework sparks: 5 colours of 7 frames, 27 by 27",
        [](Art&) { return fireworkSparks(); });
    for (int w = 1; w <= 4; ++w) {
        const geo::Rect box = geo::wordBox(w - 1);
        add("gfx//runes//RuneWord " + std::to_string(w) + ".png", box.w, box.h,
            "rune word flashed at (" + std::to_string(box.x) + ", " + std::to_string(box.y) + ")",
            [w](Art&) { return runeWord(w - 1); });
    }
    for (int s = 1; s <= 18; ++s) {
        char name[64];
        std::snprintf(name, sizeof name, "gfx//runes//Glow_Rune %d%d.png", s / 10, s % 10);
        add(name, geo::kSlotSize, geo::kSlotSize, "rune meter slot " + std::to_string(s - 1) + " lit",
            [s](Art&) { return runeSlotGlow(s - 1); });
    }
    add("gfx//runes//Rot_Rune.png", 948, 27, "bonus flights: 5 rows of 7 frames, 27 by 27", [](Art&) { return runeFlight(); });

    // The window's own icon and pointer.
    add("gfx/icon.png", 64, 64, "window icon, with alpha", [](Art&) { return windowIcon(); });
    add("gfx/cursor.png", 32, 32, "the game's pointer, hot spot top-left, with alpha", [](Art&) { return pointerCursor(); });
    return t;
}

}  // namespace

const std::vector<CatalogueEntry>& catalogue() {
    static const std::vector<CatalogueEntry> table = build();
    return table;
}

std::string realPath(std::string_view gamePath) {
    std::string collapsed;
    for (char c : gamePath) {
        if (c == '\\') c = '/';
        if (c == '/' && !collapsed.empty() && collapsed.back() == '/') continue;
        collapsed += c;
    }
    // Folders take one spelling each; the last component is the file and keeps its own.
    std::string out;
    size_t start = 0;
    while (true) {
        const size_t slash = collapsed.find('/', start);
        std::string part = collapsed.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (slash != std::string::npos) {
            if (part == "menu") part = "Menu";
            if (part == "Logo") part = "logo";
        }
        out += part;
        if (slash == std::string::npos) break;
        out += '/';
        start = slash + 1;
    }
    return out;
}

}  // namespace assetgen
