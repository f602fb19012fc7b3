#include <gtest/gtest.h>

#include "flow/frame_tick.hpp"
#include "flow/overlay.hpp"
#include "flow/window_proc.hpp"
#include "present/headless_platform.hpp"
#include "support/test_support.hpp"

namespace {

using present::InputEvent;
using testing_support::readFile;

struct HeadlessGame {
    testing_support::TempFolder folder;
    present::HeadlessPlatform platform;
    flow::Game game{platform, data::GameFolder(folder.path()), 7};

    HeadlessGame() {
        game.screens.base = flow::Screen::Play;
        game.rules.playState = rules::StatePlaying;
        // A level under way, far from its end.
        game.rules.level.levelRunning = true;
        game.rules.level.limit = game.rules.level.target = 100;
        game.rules.level.remaining = 100;
        game.rules.gameMode = rules::GameMode::Strategy;
        // A full board without figures, so the play frame's rules leave it at rest.
        for (int c = 0; c < rules::kColumns; ++c)
            for (int r = 0; r < rules::kRows; ++r)
                game.rules.board.cells[rules::cellIndex(c, r)] = static_cast<uint8_t>(1 + (c + 2 * r) % 5);
    }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            platform.manualClock().advance(33);
            flow::frameTick(game);
        }
    }
    void send(InputEvent::Type type) {
        InputEvent event;
        event.type = type;
        flow::handleEvent(game, event);
    }
    std::string log() const { return readFile(folder.path() / "crashDump.txt"); }
};

TEST(FrameTick, DeactivationSuspendsAndPausesUntilActivation) {
    HeadlessGame h;
    h.game.rules.level.levelStartTime = 90000;
    h.game.rules.board.cellBonus[5] = rules::BonusFreeze;
    h.game.rules.board.cellStamp[5] = 99000;
    h.tick();
    const int presented = h.platform.presentCount();

    h.send(InputEvent::Type::FocusLost);
    EXPECT_TRUE(h.game.app.suspended);
    EXPECT_FALSE(h.game.app.graphicsLoaded);
    EXPECT_EQ(h.platform.minimiseCount(), 1);
    h.tick(150);  // about five seconds in the background
    EXPECT_EQ(h.platform.presentCount(), presented) << "a suspended tick draws nothing";

    h.send(InputEvent::Type::FocusGained);
    EXPECT_FALSE(h.game.app.suspended);
    EXPECT_EQ(h.game.app.activatedAt, h.platform.clock().now());
    EXPECT_EQ(h.game.rules.level.levelStartTime, 90000u + 150 * 33) << "the level clock skips the pause";
    EXPECT_EQ(h.game.rules.board.cellStamp[5], 99000 + 150 * 33) << "bonus lifetimes skip it too";
    h.tick();
    EXPECT_TRUE(h.game.app.graphicsLoaded) << "the first tick back reloads the pictures";
    EXPECT_EQ(h.platform.presentCount(), presented + 1);

    // A board turning when the window goes away stands still as well, and turns on when it comes back.
    HeadlessGame r;
    r.game.rules.level.levelStartTime = 90000;
    r.game.rules.playState = rules::StateRotating;
    r.game.rules.moves.boardTurn = {rules::Direction::Clockwise, 2};
    r.send(InputEvent::Type::FocusLost);
    r.tick(150);
    r.send(InputEvent::Type::FocusGained);
    EXPECT_EQ(r.game.rules.level.levelStartTime, 90000u + 150 * 33);
    EXPECT_EQ(r.game.rules.playState, rules::StateRotating);
    EXPECT_EQ(r.game.rules.moves.boardTurn.frame, 2);
}

TEST(FrameTick, InputInTheBackgroundOnlyBringsTheGameBack) {
    HeadlessGame h;
    h.send(InputEvent::Type::FocusLost);
    h.platform.setPointer({300, 200});
    InputEvent press;
    press.type = InputEvent::Type::ButtonDown;
    flow::handleEvent(h.game, press);
    EXPECT_FALSE(h.game.app.suspended);
    EXPECT_FALSE(h.game.rules.moves.pendingBlockTurn.active) << "the click that reactivates turns nothing";

    // After a close request, losing the focus no longer minimises the window.
    HeadlessGame c;
    c.send(InputEvent::Type::Close);
    c.send(InputEvent::Type::FocusLost);
    EXPECT_TRUE(c.game.app.quitRequested);
    EXPECT_EQ(c.platform.minimiseCount(), 0);
}

TEST(FrameTick, LostSurfacesSkipFramesInsideTheGracePeriodThenSuspend) {
    HeadlessGame h;
    h.game.app.activatedAt = h.platform.clock().now();
    h.platform.setSurfacesLost(true);
    h.tick(3);
    EXPECT_FALSE(h.game.app.suspended);
    EXPECT_EQ(h.platform.presentCount(), 0);
    EXPECT_EQ(h.log(), "extra EXIT __DENIED!\nextra EXIT __DENIED!\nextra EXIT __DENIED!\n");

    h.platform.manualClock().set(h.game.app.activatedAt + 4000 - 33);
    h.tick();
    EXPECT_TRUE(h.game.app.suspended) << "at 4000 ms the loss suspends the game";
    EXPECT_FALSE(h.game.app.graphicsLoaded);
    h.tick(5);
    EXPECT_EQ(h.log(), "extra EXIT __DENIED!\nextra EXIT __DENIED!\nextra EXIT __DENIED!\nextra EXIT marking\n");

    h.platform.setSurfacesLost(false);
    h.send(InputEvent::Type::FocusGained);
    h.tick();
    EXPECT_TRUE(h.game.app.graphicsLoaded);
    EXPECT_EQ(h.platform.presentCount(), 1);
}

TEST(DiagnosticOverlay, LinesAndPositionsFollowTheTwoSwitches) {
    HeadlessGame h;
    h.game.rules.level.currentLevel = 7;
    h.game.rules.level.totalScore = 1200;
    h.game.rules.level.levelScore = 34;
    h.game.rules.level.remaining = 12;
    h.game.rules.level.limit = 60;
    h.game.rules.runePoints = 5;
    h.game.rules.level.definition.bonusRatio = {1, 2, 3, 4, 5};
    h.game.rules.runeSlots[17] = {2, 6};
    EXPECT_TRUE(flow::diagnosticOverlayLines(h.game).empty());

    h.game.app.showFps = 1;
    auto lines = flow::diagnosticOverlayLines(h.game);
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0].y, 0);
    EXPECT_EQ(lines[0].text, "FPS: 30");
    EXPECT_EQ(lines[2].text, "runes: 5/18  _1_2_3_4_5");
    EXPECT_EQ(lines[4].y, 160);
    EXPECT_EQ(lines[21].y, 500);
    EXPECT_EQ(lines[21].text, "st = 2  ac = 6");

    h.game.app.showMainStatus = 1;
    lines = flow::diagnosticOverlayLines(h.game);
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[0].text, "LEVEL: 7");
    EXPECT_EQ(lines[1].text, "Score: 1234");
    EXPECT_EQ(lines[3].text, "g_L g_LTop: 12.000000 60");
    EXPECT_EQ(lines[4].y, 80);
    EXPECT_EQ(lines[4].text, "FPS: 30");
    EXPECT_EQ(lines[8].y, 160) << "the rune lines keep their place";
}

}  // namespace
