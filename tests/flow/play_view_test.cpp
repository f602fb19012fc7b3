#include <gtest/gtest.h>

#include <cmath>

#include "flow/display_steps.hpp"
#include "flow/fireworks.hpp"
#include "flow/play_frame.hpp"
#include "flow/play_screen.hpp"
#include "flow/play_view.hpp"
#include "game/modes.hpp"
#include "game/moves.hpp"
#include "present/headless_platform.hpp"
#include "present/layout.hpp"
#include "support/test_support.hpp"

namespace {

using present::Point;
namespace layout = present::layout;

struct PlayViewGame {
    testing_support::TempFolder folder;
    present::HeadlessPlatform platform;
    flow::Game game{platform, data::GameFolder(folder.path()), 3};

    PlayViewGame() {
        game.rules.playState = rules::StatePlaying;
        for (auto& bonus : game.gfx.bonuses) bonus.frames = 16;
        // A board without figures: no colour next to itself in any direction.
        for (int c = 0; c < rules::kColumns; ++c)
            for (int r = 0; r < rules::kRows; ++r) cell(c, r) = static_cast<uint8_t>(1 + (c + 3 * r) % 7);
    }
    uint8_t& cell(int c, int r) { return game.rules.board.cells[static_cast<size_t>(rules::cellIndex(c, r))]; }
    void setBonus(int c, int r, uint8_t kind) {
        game.rules.board.cellBonus[static_cast<size_t>(rules::cellIndex(c, r))] = kind;
        game.rules.board.cellStamp[static_cast<size_t>(rules::cellIndex(c, r))] = 100000;
    }
    // One play frame: the rules' step, the play screen's, and the view it shows.
    const present::PlayView& step() {
        platform.manualClock().advance(33);
        ++game.app.tickNumber;
        flow::composePlayFrame(game);
        return game.play.view;
    }
};

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Where in block (0, 0) the ball of each colour is drawn.
std::array<Point, 8> ballPlaces(const present::PlayBlock& block) {
    std::array<Point, 8> at{};
    for (int j = 0; j < 4; ++j)
        at[block.balls[static_cast<size_t>(j)]] = layout::kTurnPositions[static_cast<size_t>(block.step)][static_cast<size_t>(j)];
    return at;
}

TEST(PlayView, ABlockTurnStartsFromTheBallsPlacesAndEndsAtTheirNewOnesInBothDirections) {
    for (rules::Direction direction : {rules::Direction::CounterClockwise, rules::Direction::Clockwise}) {
        SCOPED_TRACE(static_cast<int>(direction));
        PlayViewGame g;
        // Block (0, 0): top-left 1, bottom-left 2, top-right 3, bottom-right 4.
        g.cell(0, 0) = 1, g.cell(0, 1) = 2, g.cell(1, 0) = 3, g.cell(1, 1) = 4;
        const std::array<Point, 4> upright = layout::kTurnPositions[0];
        g.game.rules.moves.pendingBlockTurn = {true, 0, 0, direction, 0};

        const present::PlayBlock first = g.step().blocks[0];
        EXPECT_NE(first.step, 0);
        const auto start = ballPlaces(first);
        for (int c = 0; c < 4; ++c)
            EXPECT_LT(distance(start[static_cast<size_t>(c + 1)], upright[static_cast<size_t>(c)]), 3.0) << c;

        for (int frame = 2; frame < 5; ++frame) g.step();
        const present::PlayBlock last = g.step().blocks[0];
        // The fifth frame turned the cells; the block is still drawn from the ones it turned.
        const bool ccw = direction == rules::Direction::CounterClockwise;
        const std::array<uint8_t, 4> turned = ccw ? std::array<uint8_t, 4>{3, 1, 4, 2} : std::array<uint8_t, 4>{2, 4, 1, 3};
        for (int c = 0; c < 4; ++c) EXPECT_EQ(g.cell(c / 2, c % 2), turned[static_cast<size_t>(c)]) << c;
        const auto end = ballPlaces(last);
        for (int c = 0; c < 4; ++c)
            EXPECT_LT(distance(end[turned[static_cast<size_t>(c)]], upright[static_cast<size_t>(c)]), 3.0) << c;

        const present::PlayBlock after = g.step().blocks[0];
        EXPECT_EQ(after.step, 0);
        EXPECT_EQ(after.balls, turned) << "upright, from the new cells";
    }
}

TEST(PlayView, FallingBallsAboveTheHoleHangLowerAndUniversalBallsShowOnlyTheirPicture) {
    PlayViewGame g;
    g.cell(0, 7) = 0;
    g.setBonus(0, 2, rules::BonusUniversal);
    g.setBonus(0, 8, rules::BonusExplode);
    // The frame shows the drop at 14 pixels and moves it on to 21.
    g.game.rules.fall.fallOffset = 14;
    g.game.rules.fall.fallStepDue = false;
    const present::PlayView& view = g.step();
    ASSERT_EQ(view.board, present::BoardShape::LooseBalls);
    auto ballAt = [&](Point at) {
        for (const present::PlayBall& b : view.balls)
            if (b.at.x == at.x && b.at.y == at.y) return static_cast<int>(b.colour);
        return 0;
    };
    EXPECT_EQ(ballAt(layout::ballAt(0, 8)), g.cell(0, 8)) << "below the hole: in place";
    EXPECT_EQ(ballAt({264, 164 + 28 * 3 + 14}), g.cell(0, 3)) << "above it: 14 pixels lower";
    EXPECT_EQ(ballAt({264, 164 + 28 * 2 + 14}), 0) << "the Universal ball is its picture";
    EXPECT_EQ(view.balls.size(), 98u);
    ASSERT_EQ(view.bonusSprites.size(), 2u);
    // Last pushed first: the column is walked from the bottom up.
    EXPECT_EQ(view.bonusSprites[0].kind, rules::BonusUniversal - 1);
    EXPECT_EQ(view.bonusSprites[0].at.y, 174 + 28 * 2 + 14);
    EXPECT_EQ(view.bonusSprites[1].kind, rules::BonusExplode - 1);
    EXPECT_EQ(view.bonusSprites[1].at.y, 174 + 28 * 8);
    EXPECT_EQ(g.game.rules.fall.fallOffset, 21);

    // The drop drawn, the board is blocks again.
    g.game.rules.fall.fallOffset = 28;
    const present::PlayView& settled = g.step();
    EXPECT_EQ(settled.board, present::BoardShape::Blocks);
    EXPECT_EQ(settled.blocks.size(), 25u);
    EXPECT_TRUE(settled.balls.empty());
}

TEST(PlayView, ABoardTurnTurnsBlocksSocketsAndBonusPicturesTogether) {
    PlayViewGame g;
    g.setBonus(0, 0, rules::BonusFreeze);
    g.game.rules.playState = rules::StateRotating;
    g.game.rules.moves.boardTurn = {rules::Direction::CounterClockwise, 0};
    const Point start = layout::ballCentreAt(0, 0), landing = layout::ballCentreAt(0, 9);

    const present::PlayView& first = g.step();
    EXPECT_EQ(first.centreFrame, 1);
    ASSERT_EQ(first.bonusSprites.size(), 1u);
    EXPECT_LT(distance(first.bonusSprites[0].at, start), 20.0) << "5 degrees in";
    for (int frame = 2; frame < 5; ++frame) g.step();
    const present::PlayView& last = g.step();
    EXPECT_EQ(g.game.rules.playState, rules::StateRotating);
    EXPECT_EQ(last.centreFrame, 5);
    // 85 degrees counter-clockwise: the top-left block, its socket and its bonus are near the
    // bottom-left corner, where the turn puts them.
    EXPECT_LT(distance(last.bonusSprites[0].at, landing), 20.0);
    EXPECT_LT(distance(last.blocks[0].at, layout::blockAt(0, 4)), 15.0);
    EXPECT_LT(distance(last.sockets[0], layout::socketAt(0, 4)), 15.0);

    const present::PlayView& upright = g.step();
    EXPECT_EQ(g.game.rules.playState, rules::StatePlaying);
    EXPECT_EQ(upright.centreFrame, 0);
    ASSERT_EQ(upright.bonusSprites.size(), 1u);
    EXPECT_EQ(upright.bonusSprites[0].at.x, landing.x);
    EXPECT_EQ(upright.bonusSprites[0].at.y, landing.y);
}

TEST(PlayView, FlightsFollowTheirLineAndLandWhereverTheyStart) {
    // The line: both ends, one pixel a step, in every direction.
    const std::pair<Point, Point> lines[] = {
        {{0, 0}, {10, 3}}, {{10, 3}, {0, 0}}, {{5, 5}, {5, 20}}, {{7, 2}, {-4, 2}}, {{3, 3}, {3, 3}}};
    for (const auto& [a, b] : lines) {
        const std::vector<Point> points = flow::linePoints(a, b);
        ASSERT_EQ(points.size(), static_cast<size_t>(std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) + 1));
        EXPECT_EQ(points.front().x, a.x);
        EXPECT_EQ(points.back().y, b.y);
        for (size_t i = 1; i < points.size(); ++i)
            EXPECT_LE(std::max(std::abs(points[i].x - points[i - 1].x), std::abs(points[i].y - points[i - 1].y)), 1);
    }

    // A flight from the meter to a cell lands in 7 to 14 frames; one that leaves the picture is
    // drawn at its centre; one of a single point still lands.
    PlayViewGame g;
    std::vector<flow::BonusFlight>& flights = g.game.play.flights;
    flights.push_back({flow::linePoints(layout::kRuneSlots[0], layout::ballAt(9, 0)), 0, 2});
    flights.push_back({flow::linePoints({-60, 700}, {900, -50}), 0, 1});
    flights.push_back({flow::linePoints({100, 100}, {100, 100}), 0, 0});
    int frames = 0;
    std::vector<int> shown;
    while (!g.game.play.flights.empty() && frames < 50) {
        const present::PlayView& view = g.step();
        ++frames;
        shown.push_back(static_cast<int>(view.flights.size()));
        for (const present::PlayFlight& f : view.flights) {
            EXPECT_TRUE(f.at.x >= 0 && f.at.x <= 772) << f.at.x;
            EXPECT_TRUE(f.at.y >= 0 && f.at.y <= 572) << f.at.y;
        }
    }
    EXPECT_EQ(shown.front(), 3);
    EXPECT_EQ(shown[1], 2) << "the single point lands at once";
    EXPECT_GE(frames, 7);
    EXPECT_LE(frames, 14);
}

TEST(PlayView, AButtonEnteredAndLeftShowsItsGlowFramesAndGoesDark) {
    using present::glow::GlowPair;
    GlowPair glow{1, 0};
    std::vector<int> frames;
    frames.push_back(glow.frame);
    present::glow::advance(glow);
    glow = {2, 1};  // the pointer has left
    while (glow.state != 0) {
        frames.push_back(glow.frame);
        present::glow::advance(glow);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 5}));

    GlowPair held{1, 0};
    for (int i = 0; i < 10; ++i) present::glow::advance(held);
    EXPECT_EQ(held, (GlowPair{1, 1})) << "a glow under the pointer holds at full strength";
}

// A resumed level's opening: its balls come back colour by colour, and a bonus shows only once its
// ball is on the board.
TEST(PlayView, ABonusWaitsForItsBallDuringTheOpening) {
    PlayViewGame g;
    g.setBonus(2, 2, rules::BonusScoreBoost);
    g.setBonus(4, 4, rules::BonusFreeze);
    g.cell(2, 2) = 0;
    const present::PlayView view = flow::buildPlayView(g.game);
    ASSERT_EQ(view.bonusSprites.size(), 1u);
    EXPECT_EQ(view.bonusSprites[0].kind, rules::BonusFreeze - 1);
}

// The view only reads: built twice from one state it comes out the same, and neither the rules'
// state, the play screen's nor the game's generator has moved.
TEST(PlayView, BuildingAViewReadsTheStateAndChangesNothing) {
    PlayViewGame g;
    g.setBonus(3, 3, rules::BonusColor);
    g.game.rules.moves.pendingBlockTurn = {true, 1, 1, rules::Direction::Clockwise, 0};
    g.game.play.flights.push_back({flow::linePoints({10, 10}, {300, 200}), 0, 1});
    g.step();
    g.step();
    const rules::GameState rulesBefore = g.game.rules;
    const std::vector<flow::BonusFlight> flightsBefore = g.game.play.flights;
    const std::array<int32_t, rules::kBonusKindCount> phasesBefore = g.game.play.bonusPhase;
    rules::Random random = g.game.random, decoration = g.game.decoration;

    const present::PlayView first = flow::buildPlayView(g.game);
    const present::PlayView second = flow::buildPlayView(g.game);
    EXPECT_EQ(first, second);
    EXPECT_FALSE(first.blocks.empty());
    EXPECT_EQ(g.game.rules.board, rulesBefore.board);
    EXPECT_EQ(g.game.rules.moves.pendingBlockTurn.frame, rulesBefore.moves.pendingBlockTurn.frame);
    EXPECT_EQ(g.game.rules.fall.fallOffset, rulesBefore.fall.fallOffset);
    EXPECT_EQ(g.game.rules.effects.burst, rulesBefore.effects.burst);
    EXPECT_EQ(g.game.play.flights.size(), flightsBefore.size());
    EXPECT_EQ(g.game.play.flights[0].index, flightsBefore[0].index);
    EXPECT_EQ(g.game.play.bonusPhase, phasesBefore);
    EXPECT_EQ(g.game.random.next(), random.next());
    EXPECT_EQ(g.game.decoration.next(), decoration.next());
}

TEST(PlayFrame, ARefusedWindowModeIsToldInADialogThatStopsTheLevel) {
    PlayViewGame g;
    g.game.rules.level.levelRunning = true;
    g.game.rules.level.limit = 60;
    g.game.rules.level.remaining = 60;
    g.game.rules.level.target = 1000;
    g.game.rules.level.levelStartTime = g.platform.clock().now();
    // A desktop too narrow for a window: asking for one gives full screen.
    g.platform.setDesktopMode({4, 800});
    g.game.profiles.windowed = true;
    flow::switchGameWindowMode(g.game);
    ASSERT_FALSE(g.game.profiles.windowed);
    ASSERT_TRUE(g.game.display.windowedRefused);

    g.platform.manualClock().advance(33);
    ++g.game.app.tickNumber;
    flow::composePlayFrame(g.game);
    EXPECT_FALSE(g.game.display.windowedRefused) << "told once";
    EXPECT_EQ(g.game.screens.dialogStack, std::vector<int32_t>{12});
    EXPECT_EQ(g.game.screens.screenStack, (std::vector<int32_t>{13, 15})) << "the level's clock stops behind it";
}

TEST(PlayFrame, NoFigureLeftOpensItsDialogOverTheFrameAndTheLostLevelSaysSoAlone) {
    PlayViewGame g;
    rules::GameState& rules = g.game.rules;
    rules.gameMode = rules::GameMode::ActionPuzzle;
    rules.level = {};
    rules.level.levelRunning = true;
    rules.level.target = 95;
    rules.level.limit = 100;
    rules.level.levelStartTime = g.platform.clock().now();
    // Three balls of each of three colours at the bottom, apart: no figure can be made.
    rules.board.clear();
    for (int c = 0; c < 9; ++c) rules.board.cells[static_cast<size_t>(rules::cellIndex(c, 9))] = static_cast<uint8_t>(1 + c % 3);
    auto frame = [&] {
        g.platform.manualClock().advance(33);
        ++g.game.app.tickNumber;
        return flow::composePlayFrame(g.game);
    };
    g.game.display.sceneSurface.fill(0x123456);
    frame();
    EXPECT_EQ(g.game.screens.dialogStack, std::vector<int32_t>{11});
    EXPECT_EQ(g.game.screens.screenStack, std::vector<int32_t>{13}) << "the clock is not stopped";
    // Its backdrop is the frame as drawn in that tick.
    EXPECT_EQ(g.game.display.captureSurface.at(5, 5), 0x123456u);
    EXPECT_EQ(g.game.display.captureSurface.pixels, g.game.display.backBuffer.pixels);

    // Closing it loses the level; its end shows the one line of a level lost this way.
    rules::loseStuckLevel(rules);
    flow::closeMenuScreen(g.game);
    for (int i = 0; i < 3 && rules.playState != rules::StateFallOut; ++i) frame();
    ASSERT_EQ(rules.playState, rules::StateFallOut);
    for (int i = 0; i < 60; ++i) {
        frame();
        ASSERT_EQ(g.game.play.view.endTexts.size(), 1u);
        EXPECT_EQ(g.game.play.view.endTexts[0].y, 312);
    }
}

TEST(Fireworks, RocketsBurstAndEveryParticleLeavesSoTheArrayStaysSmall) {
    flow::ScreenState screens;
    rules::Random random(11);
    uint32_t now = 100000;
    std::vector<flow::FireworkSprite> shown;
    size_t most = 0;
    int sparksAboveTop = 0, rockets = 0;
    for (int tick = 0; tick < 10000; ++tick) {
        now += 33;
        shown.clear();
        const size_t before = screens.fireworks.size();
        const uint32_t launched = screens.lastRocketAt;
        flow::stepFireworks(screens, random, now, shown);
        rockets += screens.lastRocketAt != launched ? 1 : 0;
        most = std::max(most, std::max(before, screens.fireworks.size()));
        for (const flow::Particle& p : screens.fireworks) sparksAboveTop += !p.isRocket && p.y < 0 ? 1 : 0;
        for (const flow::FireworkSprite& s : shown) {
            EXPECT_TRUE(s.rocket || (s.frame >= 0 && s.frame < 7));
            EXPECT_TRUE(s.colour >= 0 && s.colour < 7);
        }
    }
    // A rocket every 21 ticks (693 ms), each bursting into 15 to 23 sparks.
    EXPECT_EQ(rockets, 477);
    EXPECT_GT(sparksAboveTop, 0) << "some sparks fly above the top edge";
    EXPECT_LT(most, 250u);

    // A spark above the top edge falls back and is gone below the bottom.
    flow::ScreenState lone;
    lone.lastRocketAt = now;
    lone.fireworks.push_back({300, -40, 0, -6, now, 2, false});
    int ticks = 0;
    while (!lone.fireworks.empty() && ticks < 200) {
        shown.clear();
        now += 33;
        lone.lastRocketAt = now;  // no new rockets
        flow::stepFireworks(lone, random, now, shown);
        ++ticks;
    }
    EXPECT_TRUE(lone.fireworks.empty());
    EXPECT_LT(ticks, 100);
}

}  // namespace
