#include <gtest/gtest.h>

#include "flow/fireworks.hpp"
#include "flow/play_frame.hpp"
#include "flow/startup.hpp"
#include "game/moves.hpp"
#include "present/headless_platform.hpp"
#include "support/test_support.hpp"

namespace {

// The game with its own pictures, playing Action level 1.
struct RealGame {
    testing_support::TempFolder writable;
    present::HeadlessPlatform platform;
    flow::Game game{platform, data::GameFolder(testing_support::builtGameFolder(), writable.path()), 5};

    RealGame() {
        platform.createWindow(true, std::nullopt);
        flow::startGame(game);
        game.rules.gameMode = rules::GameMode::Action;
        game.rules.level.nextLevel = 1;
        game.rules.playState = rules::StateLevelStart;
        game.rules.player.toShowTips = false;
    }
    bool frame() {
        platform.manualClock().advance(33);
        ++game.app.tickNumber;
        return flow::composePlayFrame(game);
    }
};

// The play frame draws the board's static pictures from what it kept, and puts back only what the
// last frame drew; every frame must come out exactly as drawn afresh from the scene.
TEST(PlayBackdrop, EveryFrameEqualsTheFrameDrawnFromTheSceneAlone) {
    RealGame g;
    rules::GameState& rules = g.game.rules;
    present::Display fresh;
    present::createWorkSurfaces(fresh);
    int compared = 0;
    auto frames = [&](int n) {
        for (int i = 0; i < n; ++i) {
            const bool shown = g.frame();
            const bool overlay = g.game.app.showFps != 0;
            if (!shown || overlay || rules.playState == rules::StateIntermission) continue;
            fresh.sceneSurface = g.game.display.sceneSurface;
            const present::PlayArt art{g.game.pictures, g.game.gfx,
                                       present::makeSpriteFont(g.game.pictures, g.game.characterMap)};
            present::drawPlayView(g.game.play.view, art, fresh, nullptr);
            ASSERT_EQ(fresh.backBuffer.pixels, g.game.display.backBuffer.pixels)
                << "frame " << compared << ", state " << rules.playState;
            ++compared;
        }
    };
    // The level's flash and opening.
    for (int i = 0; i < 100 && rules.playState != rules::StatePlaying; ++i) frames(1);
    ASSERT_EQ(rules.playState, rules::StatePlaying);
    rules::turnBoard(rules, g.game.services, rules::Direction::CounterClockwise);
    frames(7);
    rules::turnBoard(rules, g.game.services, rules::Direction::Clockwise);
    frames(7);
    rules::turnBlock(rules, g.game.services, 300, 200, rules::Direction::Clockwise);
    frames(6);
    // A square with a bonus in it: cleared, the balls fall, new ones come in; a payout's flight.
    for (int c : {4, 5})
        for (int r : {4, 5}) rules.board.cells[static_cast<size_t>(rules::cellIndex(c, r))] = 1;
    rules.board.cellBonus[static_cast<size_t>(rules::cellIndex(4, 4))] = rules::BonusFreeze;
    rules.board.cellStamp[static_cast<size_t>(rules::cellIndex(4, 4))] = static_cast<int32_t>(g.platform.clock().now());
    rules.runePoints = 18;
    frames(20);
    // The diagnostic overlay draws over the frame; the frames after it are whole again.
    g.game.app.showFps = 1;
    frames(3);
    g.game.app.showFps = 0;
    frames(3);
    // The freeze thaws; the level is won and its balls fall out.
    g.platform.manualClock().advance(10000);
    frames(20);
    rules.level.levelScore = rules.level.target;
    frames(200);
    EXPECT_GT(compared, 250);
}

// The game-complete dialog's fireworks with the game's pictures: rockets and bursts show on a
// black frame, and nothing is drawn outside it however far the particles fly.
TEST(Fireworks, RocketsAndSparksAreDrawnWithTheGamesPictures) {
    RealGame g;
    present::Surface& frame = g.game.display.backBuffer;
    int mostLit = 0;
    for (int tick = 0; tick < 400; ++tick) {
        g.platform.manualClock().advance(33);
        frame.fill(0);
        std::vector<flow::FireworkSprite> shown;
        flow::stepFireworks(g.game.screens, g.game.decoration, g.platform.clock().now(), shown);
        flow::drawFireworks(g.game, shown);
        int lit = 0;
        for (uint32_t p : frame.pixels) lit += (p & 0xFFFFFF) != 0 ? 1 : 0;
        mostLit = std::max(mostLit, lit);
    }
    EXPECT_GT(mostLit, 2000) << "a burst covers some ground";
    EXPECT_FALSE(g.game.screens.fireworks.empty());
}

}  // namespace
