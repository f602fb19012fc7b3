#include "flow/audio.hpp"
#include "flow/fireworks.hpp"
#include "flow/menu_view.hpp"
#include "flow/screen_frames.hpp"
#include "present/blitter.hpp"
#include "present/demos.hpp"
#include "present/glow.hpp"

namespace flow {

void runMenuFrame(Game& game) {
    ScreenState& screens = game.screens;
    present::Display& display = game.display;
    game.app.tickStartedAt = game.platform.clock().now();

    present::copyRect(display.sceneSurface, 0, 0, 0, 0, present::kScreenWidth, present::kScreenHeight, display.backBuffer,
                      present::ColourKey::Ignore);
    present::MenuView view = menuView(game);
    // The rules help's demonstrations live for the whole run and carry on where they stood.
    view.drawHelpDemonstrations = [&game](present::Surface& target, int x, int y) {
        present::runHelpDemos(game.helpDemos, game.platform.clock().now(), {x, y}, game.pictures, target);
    };
    present::VolumeSliders sliders = volumeSliders(game);
    present::drawMenuLive(view, screens.menuLive, sliders, display.backBuffer);
    if (screens.menuScreen == ScreenOptions) {
        // The sliders are heard as they move.
        storeVolumeSliders(game, sliders);
        applyVolumes(game, present::Volumes::On);
    }

    const bool onScreen = screens.menuScreen >= 0 && screens.menuScreen < present::menu::kMenuScreenCount;
    const present::menu::MenuLayout layout =
        onScreen ? present::menu::kMenuLayouts[static_cast<size_t>(screens.menuScreen)] : present::menu::MenuLayout{};
    const present::PixelImage& glowPicture = game.pictures.image(present::StartupImage::ButSmallGlow);
    for (int i = 0; i < layout.buttonCount; ++i) {
        rules::GlowPair& glow = screens.menuGlow[static_cast<size_t>(i)];
        const present::menu::Button& b = layout.buttons[static_cast<size_t>(i)];
        if (glow.state != 0)
            present::blendBlit(0, 0, layout.x + b.bx - present::menu::kButtonGlowOffset,
                               layout.y + b.by - present::menu::kButtonGlowOffset, glowPicture.width, glowPicture.height,
                               glowPicture, display.backBuffer, present::glow::strength(glow, present::glow::kMenuStrength),
                               1.0f);
        present::glow::advance(glow);
    }

    ++screens.menuTickCount;
    present::drawTipAnimation(view, screens.menuTickCount, display.backBuffer);

    // The same strict test as a press, except that a hidden button is put out below.
    const present::Point pointer = present::cursorToClient(game.platform);
    for (int i = 0; i < layout.buttonCount; ++i)
        present::glow::hover(screens.menuGlow[static_cast<size_t>(i)], present::overMenuButton(layout, i, pointer));
    if (present::secondButtonHidden(screens.dialogId)) screens.menuGlow[1].state = 0;
    if (screens.dialogId == DialogGameComplete) runFireworks(game);

    present::presentFrame(display, game.platform);
}

}  // namespace flow
