#include "flow/audio.hpp"
#include "flow/fireworks.hpp"
#include "flow/menu_view.hpp"
#include "flow/screen_frames.hpp"
#include "present/blitter.hpp"
#include "present/demos.hpp"

namespace flow {

namespace {

const present::menu::MenuLayout& shownLayout(const ScreenState& screens) {
    static const present::menu::MenuLayout none{};
    const bool onScreen = screens.menuScreen >= 0 && screens.menuScreen < present::menu::kMenuScreenCount;
    return onScreen ? present::menu::kMenuLayouts[static_cast<size_t>(screens.menuScreen)] : none;
}

// The menu's step: its counters move on, a held slider follows the pointer (and is heard as it
// moves), the buttons' glows move on and light up under the pointer (the same strict test as a
// press; a hidden button stays dark), and the game-complete dialog's fireworks fly.
void stepMenu(Game& game, std::vector<FireworkSprite>& fireworks) {
    ScreenState& screens = game.screens;
    present::MenuLiveState& live = screens.menuLive;
    const present::Point pointer = present::cursorToClient(game.platform);
    ++screens.menuTickCount;
    if (screens.menuScreen == ScreenEnterName && game.playerScreen.nameEntryActive) ++live.nameCursorFrames;
    if (screens.menuScreen == ScreenHelpBonuses) ++live.bonusFrames;
    if (screens.menuScreen == ScreenHelpRules) {
        present::stepHelpDemos(game.helpDemos, game.services.now(), screens.helpDemosShownAtTick == game.app.tickNumber - 1);
        screens.helpDemosShownAtTick = game.app.tickNumber;
    }
    if (screens.menuScreen == ScreenOptions && (live.musicSliderDrag || live.soundSliderDrag)) {
        present::VolumeSliders sliders = volumeSliders(game);
        present::dragVolumeSliders(live, pointer, sliders);
        storeVolumeSliders(game, sliders);
        applyVolumes(game, present::Volumes::On);
    }
    const present::menu::MenuLayout& layout = shownLayout(screens);
    const std::optional<FocusItem> focused = focusedItem(game);
    for (int i = 0; i < layout.buttonCount; ++i) {
        present::glow::GlowPair& glow = screens.menuGlow[static_cast<size_t>(i)];
        present::glow::advance(glow);
        const bool focusOn = focused && focused->kind == FocusKind::MenuButton && focused->index == i;
        present::glow::hover(glow, present::overMenuButton(layout, i, pointer) || focusOn);
    }
    if (present::secondButtonHidden(screens.dialogId)) screens.menuGlow[1].state = 0;
    if (screens.dialogId == DialogGameComplete) stepFireworks(screens, game.decoration, game.services.now(), fireworks);
}

void drawMenu(Game& game, const std::vector<FireworkSprite>& fireworks) {
    const ScreenState& screens = game.screens;
    present::Display& display = game.display;
    present::copyRect(display.sceneSurface, 0, 0, 0, 0, present::kScreenWidth, present::kScreenHeight, display.backBuffer,
                      present::ColourKey::Ignore);
    present::MenuView view = menuView(game);
    // The rules help's demonstrations live for the whole run and carry on where they stood.
    view.drawHelpDemonstrations = [&game](present::Surface& target, int x, int y) {
        present::drawHelpDemos(game.helpDemos, {x, y}, game.pictures, target);
    };
    present::drawMenuLive(view, screens.menuLive, volumeSliders(game), display.backBuffer);

    const present::menu::MenuLayout& layout = shownLayout(screens);
    const present::PixelImage& glowPicture = game.pictures.image(present::StartupImage::ButSmallGlow);
    for (int i = 0; i < layout.buttonCount; ++i) {
        const present::glow::GlowPair& glow = screens.menuGlow[static_cast<size_t>(i)];
        const present::menu::Button& b = layout.buttons[static_cast<size_t>(i)];
        if (glow.state != 0)
            present::blendBlit(0, 0, layout.x + b.bx - present::menu::kButtonGlowOffset,
                               layout.y + b.by - present::menu::kButtonGlowOffset, glowPicture.width, glowPicture.height,
                               glowPicture, display.backBuffer, present::glow::strength(glow, present::glow::kMenuStrength),
                               1.0f);
    }
    // A focused control without a glow of its own (the list, a slider, a check box) is framed; the
    // letter keys frame their own.
    if (const std::optional<FocusItem> focused = focusedItem(game);
        focused && focused->kind != FocusKind::MenuButton && focused->kind != FocusKind::NameKey) {
        const present::Rect& a = focused->area;
        present::drawOutline(a.x - 3, a.y - 3, a.w + 6, a.h + 6, 2, present::kFocusFrameColour, display.backBuffer);
    }
    present::drawTipAnimation(view, screens.menuTickCount, display.backBuffer);
    drawFireworks(game, fireworks);
}

}  // namespace

void runMenuFrame(Game& game) {
    game.app.tickStartedAt = game.platform.clock().now();
    std::vector<FireworkSprite> fireworks;
    stepMenu(game, fireworks);
    drawMenu(game, fireworks);
    present::presentFrame(game.display, game.platform);
}

}  // namespace flow
