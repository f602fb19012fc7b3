#include "present/display.hpp"

#include <gtest/gtest.h>

#include "flow/frame_tick.hpp"
#include "flow/startup.hpp"
#include "flow/window_proc.hpp"
#include "present/headless_platform.hpp"
#include "present/pictures.hpp"
#include "support/test_support.hpp"

namespace present {
namespace {

constexpr int kPicturesPerReload = kSurfacePictureCount + kStripCount + 1;

TEST(Display, StillLogoCaptureAndCursor) {
    HeadlessPlatform platform;
    Display display;
    ASSERT_TRUE(createDisplay(display));
    display.backBuffer.fill(0x00FFFFFF);

    // A logo larger than its 160 by 147 place is cut to it; black pixels leave the frame black.
    PixelImage logo;
    logo.width = 170;
    logo.height = 150;
    logo.pixels.assign(170 * 150, 0xFF102030);
    logo.pixels[5] = 0xFF000000;
    showStillLogo(display, platform, logo);
    EXPECT_EQ(platform.presentCount(), 1);
    const Surface& screen = platform.screen();
    EXPECT_EQ(screen.at(321, 203), 0u);
    EXPECT_EQ(screen.at(322, 203), 0x00102030u);
    EXPECT_EQ(screen.at(327, 203), 0u);
    EXPECT_EQ(screen.at(481, 349), 0x00102030u);
    EXPECT_EQ(screen.at(482, 349), 0u);
    EXPECT_EQ(screen.at(481, 350), 0u);

    // The capture is what is on screen, not what is being drawn.
    display.backBuffer.fill(0x00ABCDEF);
    captureScreen(display, platform);
    EXPECT_EQ(display.captureSurface.at(322, 203), 0x00102030u);
    EXPECT_EQ(display.captureSurface.at(0, 0), 0u);

    platform.setPointer({900, -4});
    EXPECT_EQ(cursorToClient(platform).x, 799);
    EXPECT_EQ(cursorToClient(platform).y, 0);

    platform.setDesktopMode({4, 1024});
    EXPECT_TRUE(windowedModeSupported(platform));
    platform.setDesktopMode({3, 4096});
    EXPECT_FALSE(windowedModeSupported(platform));
}

// The game's own steps: start-up loads everything once, a suspension makes the first tick after it
// reload, Alt+Enter switches the mode and reloads. With an empty game folder every picture asked
// for beeps once, which counts the loads.
TEST(Display, GameReloadsPicturesWhenItMust) {
    testing_support::TempFolder folder;
    HeadlessPlatform platform;
    flow::Game game(platform, data::GameFolder(folder.path()), 1);
    flow::startGame(game);
    EXPECT_EQ(platform.beepCount(), kPicturesPerReload + 2 + kStartupImageCount);
    EXPECT_EQ(platform.presentCount(), 1);  // the still logo
    EXPECT_EQ(game.display.captureSurface.width, 800);
    EXPECT_EQ(game.display.logoSurface.height, 600);
    EXPECT_EQ(game.display.blockSurface.width, 62);

    int beeps = platform.beepCount();
    flow::frameTick(game);
    EXPECT_EQ(platform.beepCount(), beeps);

    present::InputEvent event;
    event.type = InputEvent::Type::FocusLost;
    flow::handleEvent(game, event);
    flow::frameTick(game);
    EXPECT_EQ(platform.beepCount(), beeps);
    event.type = InputEvent::Type::FocusGained;
    flow::handleEvent(game, event);
    flow::frameTick(game);
    EXPECT_EQ(platform.beepCount(), beeps += kPicturesPerReload);
    flow::frameTick(game);
    EXPECT_EQ(platform.beepCount(), beeps);

    // A loss long after the activation suspends and frees; the tick after reactivation reloads.
    platform.manualClock().advance(5000);
    platform.setSurfacesLost(true);
    flow::frameTick(game);
    EXPECT_TRUE(game.app.suspended);
    EXPECT_FALSE(game.app.graphicsLoaded);
    platform.setSurfacesLost(false);
    event.type = InputEvent::Type::FocusGained;
    flow::handleEvent(game, event);
    flow::frameTick(game);
    EXPECT_EQ(platform.beepCount(), beeps += kPicturesPerReload);

    event.type = InputEvent::Type::AltEnter;
    const bool windowed = game.app.windowed;
    flow::handleEvent(game, event);
    EXPECT_EQ(platform.windowed(), !windowed);
    EXPECT_EQ(platform.beepCount(), beeps += kPicturesPerReload);
}

}  // namespace
}  // namespace present
