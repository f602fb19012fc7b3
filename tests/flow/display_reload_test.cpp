#include "present/display.hpp"

#include <gtest/gtest.h>

#include "flow/frame_tick.hpp"
#include "flow/startup.hpp"
#include "flow/window_proc.hpp"
#include "present/headless_platform.hpp"
#include "present/picture_files.hpp"
#include "present/pictures.hpp"
#include "support/test_support.hpp"

namespace present {
namespace {

constexpr int kPicturesPerReload = kSurfacePictureCount + kStripCount + 1;

// Start-up loads everything once; a suspension makes the first tick after it reload; Alt+Enter
// switches the mode and reloads. In an empty game folder every picture asked for beeps once.
TEST(Display, GameReloadsPicturesWhenItMust) {
    testing_support::TempFolder folder;
    HeadlessPlatform platform;
    flow::Game game(platform, data::GameFolder(folder.path()), 1);
    flow::startGame(game);
    int beeps = kPicturesPerReload + 2 + kStartupImageCount;
    EXPECT_EQ(platform.beepCount(), beeps);
    EXPECT_EQ(platform.presentCount(), 1);  // the still logo
    EXPECT_EQ(game.display.logoSurface.height, 600);
    game.display.backBuffer.fill(0x00ABCDEF);  // the capture is what is on screen, not being drawn
    captureScreen(game.display, platform);
    EXPECT_EQ(game.display.captureSurface.pixels, platform.screen().pixels);

    const auto send = [&](InputEvent::Type type) {
        InputEvent event;
        event.type = type;
        flow::handleEvent(game, event);
    };
    flow::frameTick(game);
    send(InputEvent::Type::FocusLost);
    flow::frameTick(game);
    EXPECT_EQ(platform.beepCount(), beeps);
    send(InputEvent::Type::FocusGained);
    flow::frameTick(game);
    flow::frameTick(game);
    EXPECT_EQ(platform.beepCount(), beeps += kPicturesPerReload);

    // A loss long after the activation suspends the game; the tick after reactivation reloads.
    platform.manualClock().advance(5000);
    platform.setSurfacesLost(true);
    flow::frameTick(game);
    EXPECT_TRUE(game.app.suspended);
    platform.setSurfacesLost(false);
    send(InputEvent::Type::FocusGained);
    flow::frameTick(game);
    EXPECT_EQ(platform.beepCount(), beeps += kPicturesPerReload);

    const bool windowed = game.profiles.windowed;
    send(InputEvent::Type::AltEnter);
    EXPECT_EQ(platform.windowed(), !windowed);
    EXPECT_EQ(platform.beepCount(), beeps += kPicturesPerReload);
}

// The settings files are read before the pictures: a strip's "type" picks its form, the level
// file's colours tint the balls, and the loaded sizes land in the graphics settings.
TEST(Display, StartupPicturesFollowTheSettingsFiles) {
    testing_support::TempFolder folder;
    testing_support::writeFile(folder.path() / "ini/gfxini.txt", "Rise\ntype 1\n");
    testing_support::writeFile(folder.path() / "ini/levels.txt", "Color 1 = 0xff0000\n");
    picture_files::write(folder.path() / "gfx/Rise.png", picture_files::solid(30, 5, 0xFFFFFFFF), picture_files::Kind::PngAlpha);
    picture_files::write(folder.path() / "gfx/Ball.png", picture_files::solid(40, 20, 0xFF808080), picture_files::Kind::PngAlpha);
    HeadlessPlatform platform;
    flow::Game game(platform, data::GameFolder(folder.path()), 1);
    flow::startGame(game);
    EXPECT_EQ(game.pictures.strip(Strip::Rise).image.width, 30);
    EXPECT_EQ(game.gfx.strips[0].width, 30);
    EXPECT_EQ(game.gfx.strips[0].height, 5);
    EXPECT_EQ(game.pictures.balls.at(5, 5), 0xFFB24C4Cu);  // red 255 over 128, green and blue 0 over 128
}

}  // namespace
}  // namespace present
