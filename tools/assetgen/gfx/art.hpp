#pragma once
#include <memory>
#include <string>
#include <vector>

#include "layer.hpp"
#include "picture.hpp"

namespace assetgen {

// Work shared by several pictures, drawn once on first use: the play screen's frame in screen
// coordinates (every frame piece and the centre piece are cut from it) and the font's glyphs.
class Art {
  public:
    explicit Art(std::string characterMap) : characterMap_(std::move(characterMap)) {}
    const Layer& frame();  // 800 by 600, the whole play-screen frame at rest
    const std::string& characterMap() const { return characterMap_; }

  private:
    std::string characterMap_;
    std::unique_ptr<Layer> frame_;
};

// Board and play screen.
Picture ballTemplate();
Picture ballSymbols();  // seven 20 by 20 frames with alpha, one per ball colour
Picture blockBackdrops();
Picture socket();
Picture centrePiece(Art& art);
Picture framePieceLeftRight(Art& art);
Picture framePieceTopBottom(Art& art);
Picture framePieceArms(Art& art);
Picture barsTimeProgress();
Picture barCritical();
Picture freezeGlass();
Picture sideButtons();
Picture sideButtonGlows();
Picture arrowShinesTopBottom();
Picture arrowShinesLeftRight();
Layer drawFrame();  // the frame in screen coordinates (used through Art)
// The path of frame arrow `button` (0..7), moved by (ox, oy) from screen coordinates.
void arrowPath(cairo_t* cr, int button, double ox, double oy);

// Effects, bonuses and runes.
Picture riseStrip();
Picture explodeStrip();
Picture revealStrip();
Picture bonusExplode();
Picture bonusColor();
Picture bonusFreeze();
Picture bonusUniversal();
Picture bonusScore();
Picture fireworkSparks();
Picture runeFlight();
Picture runeSlotGlow(int slot);
Picture runeWord(int word);

// Sprite fonts: the 76 glyph cells in the order of the character map.
Picture fontGold(const Art& art);
Picture fontWhite(const Art& art);
Picture fontGlow(const Art& art);

// Menus and help.
Picture glassPanel();
Picture menuFrame();
Picture buttonGlass(bool big);
Picture buttonBorder(bool big);
Picture buttonGlow(bool big);
Picture playerMarker();
Picture titleOrnament(int which);       // 0 modes, 1 choose player, 2 and 3 the small pairs
Picture listArrow(bool up, int state);  // state 0 plain, 1 glow, 2 pressed
Picture nameField();
Picture sliderTrack();
Picture sliderKnob();
Picture checkBase();
Picture checkTick();
Picture helpPointer();
Picture helpMouse(int button);  // 0 none, 1 left, 2 right
Picture helpRule();
Picture helpButton();
Picture helpBars();

// Scenery and logos.
Picture levelBackground(int group);  // 0..4
Picture menuBackground();
Picture gameLogo();
Picture smallLogo();
Picture logoBig();
Picture studioLogoBig();
Picture studioLogoSmall();
// The window's icon at 64 pixels; the desktop's icon sizes are the same drawing at `size` pixels.
Picture windowIcon(int size = 64);
inline constexpr int kDesktopIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
Picture pointerCursor();

}  // namespace assetgen
