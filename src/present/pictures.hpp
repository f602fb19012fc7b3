#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/level_types.hpp"
#include "present/display.hpp"
#include "present/images.hpp"

namespace present {

// The pictures kept as surfaces, in the order reloadPictures loads them.
enum class SurfacePicture {
    GameLogo,
    MenuBackground,
    Background1,
    Background2,
    Background3,
    Background4,
    Background5,
    Quadro,
    KeruniteCenter,
    MainKerunLeftRight,
    MainKerunTopBottom,
    MainKerunLeftRightBut,
    BarsTimeProgress,
    BarCritical,
    KerunButtons,
    FontSprites,
    FontSpritesWhite,
    RingBack,
    ButBigGlass,
    ButSmallGlass,
    ButBigBorder,
    ButSmallBorder,
    RamkaAll,
    CurPlayerCursor,
    ModeBorder,
    ChoosePlayerBorder,
    HighScoreExitBorder,
    OptionsHelpBorder,
    NextName,
    NextNameGlow,
    NextNamePressed,
    PrevName,
    PrevNameGlow,
    PrevNamePressed,
    EnterNameBorder,
    SmallLogo,
    MenuSlider,
    Slider,
    HelpCursor,
    HelpLineHoriz,
    HelpButton,
    CheckBoxCheck,
    CheckBoxBase,
    SmallBars,
    HelpMouse0,
    HelpMouse1,
    HelpMouse2,
    Count
};
inline constexpr int kSurfacePictureCount = static_cast<int>(SurfacePicture::Count);

struct SurfacePictureEntry {
    std::string_view path;
    int64_t colourKey;
};
// Path and colour key of every surface picture, indexed by SurfacePicture.
extern const std::array<SurfacePictureEntry, kSurfacePictureCount> kSurfacePictures;

// The pictures loaded once at start-up into plain memory, in their loading order.
enum class StartupImage {
    BarGlassFreeze,
    KerunButtonsGlow,
    ButShineTopBottom,
    ButShineLeftRight,
    FontGlow,
    ButBigGlow,
    ButSmallGlow,
    LayerAll,
    Bonus1,
    Bonus2,
    Bonus3,
    Bonus4,
    Bonus5,
    RuneFinal,
    RuneWord1,
    RuneWord2,
    RuneWord3,
    RuneWord4,
    GlowRune01,
    GlowRune18 = GlowRune01 + 17,
    RotRune,
    Count
};
inline constexpr int kStartupImageCount = static_cast<int>(StartupImage::Count);

// The game path of a start-up picture ("gfx//runes//Glow_Rune 07.png").
std::string startupImagePath(StartupImage id);

// The effect strips, numbered as the graphics settings number them.
enum class Strip { Rise, Explode, Level };
inline constexpr int kStripCount = 3;
inline constexpr std::array<std::string_view, kStripCount> kStripPaths = {"gfx//Rise.png", "gfx//Explode.png", "gfx//Level.png"};

// An effect strip is a surface keyed black (its "type" is 0) or a PixelImage drawn by blendBlit;
// width and height are those of the loaded picture, 0 while it is missing.
struct AnimationStrip {
    Surface surface;
    PixelImage image;
    int32_t width = 0;
    int32_t height = 0;
};

// The partner branding file "gfx//logo//trader.ini": eleven lines, in this order.
struct PartnerBranding {
    bool logoIsSurface = false;    // the partner logo is kept as a surface, else as a PixelImage
    int32_t logoX = 0, logoY = 0;  // where the title screen shows it
    int32_t logoWidth = 0, logoHeight = 0;
    bool logoScreenFirstPhase = false;  // clear: the opening logo screen skips its first phase
    bool showPartnerLogo = false;       // the title screen shows the partner logo
    int32_t smallLogoX = 0, smallLogoY = 0, smallLogoWidth = 0, smallLogoHeight = 0;
};

// Reads the branding lines from the file's text. Missing lines read as "0".
PartnerBranding parseBranding(std::string_view text);

// Every picture of the game. An empty slot is a picture that did not load.
struct Pictures {
    std::array<Surface, kSurfacePictureCount> surfaces;
    std::array<AnimationStrip, kStripCount> strips;
    Surface balls;  // seven tinted balls of 20 by 20 side by side; colour c starts at x = 20 * (c - 1)
    // The same strip with each colour's symbol laid over its ball, for telling colours apart by
    // shape; plain balls when the symbols picture is missing or damaged.
    Surface symbolBalls;
    // The player wants the balls with their symbols: every ball the game draws (the board, falling
    // balls, the end animation, the help's demonstrations, the tips) comes from symbolBalls then.
    bool symbolsShown = false;
    const Surface& ballsShown() const { return symbolsShown ? symbolBalls : balls; }
    PartnerBranding branding;
    Surface partnerLogo;
    PixelImage partnerLogoImage;
    PixelImage partnerLogoBig;  // the opening logos
    PixelImage logoBig;
    std::array<PixelImage, kStartupImageCount> startupImages;

    const Surface& surface(SurfacePicture id) const { return surfaces[static_cast<size_t>(id)]; }
    const PixelImage& image(StartupImage id) const { return startupImages[static_cast<size_t>(id)]; }
    const AnimationStrip& strip(Strip id) const { return strips[static_cast<size_t>(id)]; }
};

// A ball colour channel over a shading value: trunc(0.4 * colour + 0.6 * shading) in double
// precision. Colours above 255 count as 255, so the result always fits a byte.
int tintValue(int colour, int shading);

// Builds the 140 by 20 ball surface from the 40 by 20 template (shading left, shape right): shape
// pixels other than opaque magenta take the tinted shading, keeping their fourth byte. Empty when
// the template is smaller than 40 by 20.
Surface tintBalls(const PixelImage& ballTemplate, const std::array<rules::ColourTint, 8>& colorTints);

// Lays the symbols picture (a frame of 20 by 20 with alpha per ball colour, side by side) over
// the ball surface: each channel of a ball pixel becomes (symbol * alpha + ball * (255 - alpha)) / 255,
// rounded, and the pixel keeps its fourth byte; key pixels stay key, and no laid-over pixel becomes
// the key. A plain copy of the balls when the symbols picture is smaller than the strip.
Surface composeSymbolBalls(const Surface& balls, const PixelImage& symbols);

// What one picture reload works on. The ball tints come from the level file, each strip's "type"
// from the graphics settings; `windowed` is the window mode, which the windowed-mode check may
// turn off.
struct PictureJob {
    PictureLoader& loader;
    Display& display;
    Pictures& pictures;
    bool& windowed;
    std::array<rules::ColourTint, 8> colorTints{};
    std::array<int32_t, kStripCount> stripTypes{};
};

// Checks that the desktop can host a window, makes the work surfaces, then loads every surface
// picture, the strips, the ball surfaces and the partner branding, in that order. When windowed
// mode is refused it switches to full screen instead, which reloads everything itself.
void reloadPictures(PictureJob& job);

// Applies the window mode `job.windowed` asks for and reloads every picture. The caller then
// recomposes the current screen's static picture.
void switchWindowMode(PictureJob& job);

// The opening logos ("partnerLogoBig.jpg", "Logo_Big.png").
void loadLogoPictures(PictureLoader& loader, Pictures& pictures);

// The start-up PixelImage pictures, in their order.
void loadStartupImages(PictureLoader& loader, Pictures& pictures);

// The rising-ball strip's PixelImage is given back when the game goes to the background; the next
// reload makes it again.
void freeRiseImage(Pictures& pictures);

}  // namespace present
