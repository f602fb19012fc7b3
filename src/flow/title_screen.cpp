#include "flow/current_player.hpp"
#include "flow/screen_frames.hpp"
#include "present/blitter.hpp"
#include "present/glow.hpp"
#include "present/layout.hpp"
#include "present/menus.hpp"

namespace flow {

namespace {

namespace layout = present::layout;
using present::SurfacePicture;

// Escape held as the title appears (the same press that left the game) does not ask to quit.
constexpr uint32_t kEscapeGuardMs = 500;
constexpr int kGlowDx = 18, kGlowDy = 21;

constexpr std::array<SurfacePicture, 4> kOrnaments = {SurfacePicture::ModeBorder, SurfacePicture::ChoosePlayerBorder,
                                                      SurfacePicture::HighScoreExitBorder, SurfacePicture::OptionsHelpBorder};

void copyKeyed(const present::Surface& s, int x, int y, int w, int h, present::Surface& target) {
    present::copyRect(s, 0, 0, x, y, w, h, target, present::ColourKey::Use);
}

void drawPartnerLogo(const Game& game, present::Surface& back) {
    const present::PartnerBranding& b = game.pictures.branding;
    if (!b.showPartnerLogo) return;
    if (b.logoIsSurface)
        copyKeyed(game.pictures.partnerLogo, b.logoX, b.logoY, b.logoWidth, b.logoHeight, back);
    else
        present::blendBlit(0, 0, b.logoX, b.logoY, b.logoWidth, b.logoHeight, game.pictures.partnerLogoImage, back, 1.0f, 0.0f);
}

// The glass of title button `button`.
present::Rect titleGlass(size_t button) {
    const layout::Point at = layout::kTitleButtons[button];
    const layout::Point glass = static_cast<int>(button) < layout::kTitleBigButtons ? layout::kBigGlass : layout::kSmallGlass;
    return {at.x, at.y, glass.x, glass.y};
}

// The title's step: Escape asks to quit, and the buttons' glows move on and light up under the
// pointer with a sound. The hover test takes in the glass's far edges as well (one pixel more than
// a press).
void stepTitle(Game& game) {
    ScreenState& screens = game.screens;
    if (game.platform.escapeDown()) openMenuScreen(game, ScreenQuit);
    const present::Point pointer = present::cursorToClient(game.platform);
    const std::optional<FocusItem> focused = focusedItem(game);
    for (size_t i = 0; i < layout::kTitleButtons.size(); ++i) {
        present::glow::GlowPair& glow = screens.titleGlow[i];
        present::glow::advance(glow);
        const bool focusOn = focused && focused->index == static_cast<int>(i);
        if (present::glow::hover(glow, titleGlass(i).containsInclusive(pointer) || focusOn))
            game.sound.play(rules::SoundMouseOver);
    }
}

void drawTitle(const Game& game, present::Surface& back) {
    const present::Pictures& pictures = game.pictures;
    present::copyRect(pictures.surface(SurfacePicture::MenuBackground), 0, 0, 0, 0, present::kScreenWidth, present::kScreenHeight,
                      back, present::ColourKey::Ignore);
    copyKeyed(pictures.surface(SurfacePicture::GameLogo), layout::kGameLogo.x, layout::kGameLogo.y, layout::kGameLogo.w,
              layout::kGameLogo.h, back);
    const present::PartnerBranding& b = pictures.branding;
    copyKeyed(pictures.surface(SurfacePicture::SmallLogo), b.smallLogoX, b.smallLogoY, b.smallLogoWidth, b.smallLogoHeight, back);
    for (size_t i = 0; i < kOrnaments.size(); ++i) {
        const layout::Rect& r = layout::kTitleOrnaments[i];
        copyKeyed(pictures.surface(kOrnaments[i]), r.x, r.y, r.w, r.h, back);
    }

    const present::SpriteFont font = present::makeSpriteFont(pictures, game.characterMap);
    for (size_t i = 0; i < layout::kTitleButtons.size(); ++i) {
        const layout::Point at = layout::kTitleButtons[i];
        const auto size = static_cast<int>(i) < layout::kTitleBigButtons ? present::ButtonSize::Big : present::ButtonSize::Small;
        present::drawButton(pictures, font, at.x, at.y, size,
                            game.texts.text(data::TextTableId::TitleCaptions, static_cast<int>(i)), present::ButtonBorder::None,
                            present::FontNormal, back);
    }
    drawPartnerLogo(game, back);

    for (size_t i = 0; i < layout::kTitleButtons.size(); ++i) {
        const present::glow::GlowPair& glow = game.screens.titleGlow[i];
        if (glow.state != 0) {
            const bool big = static_cast<int>(i) < layout::kTitleBigButtons;
            const present::PixelImage& picture =
                pictures.image(big ? present::StartupImage::ButBigGlow : present::StartupImage::ButSmallGlow);
            const layout::Point at = layout::kTitleButtons[i];
            present::blendBlit(0, 0, at.x - kGlowDx, at.y - kGlowDy, picture.width, picture.height, picture, back,
                               present::glow::strength(glow, present::glow::kMenuStrength), 1.0f);
        }
    }
    present::drawText(font, layout::kWelcomeText.x, layout::kWelcomeText.y, layout::kWelcomeField,
                      "WELCOME, " + currentPlayerName(game), back, present::FontNormal);
}

}  // namespace

int titleButtonPressed(present::Point p) {
    for (size_t i = 0; i < layout::kTitleButtons.size(); ++i)
        if (titleGlass(i).contains(p)) return static_cast<int>(i);
    return -1;
}

void runTitleFrame(Game& game) {
    // Escape held as the title appears (the same press that left the game) does not ask to quit;
    // the frame waits.
    const uint32_t now = game.platform.clock().now();
    if (game.platform.escapeDown() && rules::elapsedSince(now, game.screens.titleEnteredAt) < kEscapeGuardMs) return;
    stepTitle(game);
    drawTitle(game, game.display.backBuffer);
    present::presentFrame(game.display, game.platform);
}

}  // namespace flow
