#include <gtest/gtest.h>

#include <memory>

#include "data/profiles.hpp"
#include "flow/frame_tick.hpp"
#include "flow/launch.hpp"
#include "flow/persistence.hpp"
#include "flow/window_proc.hpp"
#include "present/headless_platform.hpp"
#include "support/test_support.hpp"

namespace {

// The game as the program starts it, on a folder holding one Action level, with a player.
struct PlayOnDisk : ::testing::Test {
    testing_support::TempFolder folder;
    present::HeadlessPlatform platform;
    std::unique_ptr<flow::Game> game;

    void SetUp() override {
        testing_support::writeFile(folder.path() / "ini/levels.txt",
                                   "StartingLevel 1\nActionLevel 1 Colors 4 Score 100000 Time 90 Square 4 = 50\n");
        game = flow::launchGame(platform, data::GameFolder(folder.path()), 1,
                                [this](flow::Game& g) { g.sound.openSimulatedAudio(platform.clock()); });
        ASSERT_TRUE(game);
        ASSERT_TRUE(flow::beginNameEntry(*game, flow::player_list::NameEntryFor::NewPlayer));
        for (char c : std::string("BOB")) flow::typeNameCharacter(*game, static_cast<uint8_t>(c));
        flow::saveName(*game);
        ASSERT_EQ(game->profiles.players.size(), 1u);
        game->rules.gameMode = rules::GameMode::Action;
    }
    void tick() {
        platform.manualClock().advance(33);
        flow::frameTick(*game);
    }
    // The player's Action run as the profile file on disk holds it.
    data::SavedRun savedOnDisk() const {
        const std::string bytes = testing_support::readFile(folder.path() / "profile" / "profile");
        const data::Profiles profiles = data::parseProfiles({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
        return profiles.players.empty() ? data::SavedRun{} : profiles.players[0].action;
    }
};

TEST_F(PlayOnDisk, TheRunIsSavedWhenPlayBeginsOnEscapeAndWhenTheGameIsComplete) {
    flow::startNewRun(*game);
    for (int i = 0; i < 300 && game->rules.playState != rules::StatePlaying; ++i) tick();
    ASSERT_EQ(game->rules.playState, rules::StatePlaying);
    const data::SavedRun atStart = savedOnDisk();
    EXPECT_EQ(atStart.level, 1);
    EXPECT_EQ(atStart.board, game->rules.board.cells) << "the level's board as play begins";

    game->rules.level.levelScore = 450;
    platform.setEscapeDown(true);
    tick();
    platform.setEscapeDown(false);
    EXPECT_EQ(game->screens.base, flow::Screen::Title);
    EXPECT_EQ(savedOnDisk().levelScore, 450);
    EXPECT_TRUE(game->highScores.tables[0].empty()) << "no total yet, no high score";

    // Level 2 is missing: the run ends complete, and the profile keeps no run of the mode.
    game->rules.level.totalScore = 3000;
    game->rules.level.nextLevel = 2;
    game->rules.playState = rules::StateLevelStart;
    game->screens.base = flow::Screen::Play;
    tick();
    EXPECT_EQ(game->screens.dialogId, 9);
    EXPECT_EQ(savedOnDisk().level, 0);
    ASSERT_EQ(game->highScores.tables[0].size(), 1u);
    EXPECT_EQ(game->highScores.tables[0][0].score, 3000u);
}

// Closing the window in the middle of a level (its close box, the window manager, a stop signal)
// keeps what the level has come to, as Escape does, also while the level is paused.
TEST_F(PlayOnDisk, ClosingTheWindowMidLevelSavesTheRunAsEscapeDoes) {
    flow::startNewRun(*game);
    for (int i = 0; i < 300 && game->rules.playState != rules::StatePlaying; ++i) tick();
    ASSERT_EQ(game->rules.playState, rules::StatePlaying);
    game->rules.level.levelScore = 620;
    game->rules.board.cellBonus[7] = rules::BonusFreeze;
    game->rules.board.cellStamp[7] = static_cast<int32_t>(platform.clock().now() - 100);
    flow::pauseGame(*game);
    platform.manualClock().advance(5000);
    present::InputEvent close;
    close.type = present::InputEvent::Type::Close;
    flow::handleEvent(*game, close);
    EXPECT_TRUE(game->app.quitRequested);
    const data::SavedRun saved = savedOnDisk();
    EXPECT_EQ(saved.levelScore, 620);
    EXPECT_EQ(saved.level, 1);
    EXPECT_EQ(saved.cellTimes[7], 100) << "the bonus's age leaves out the pause";
}

}  // namespace
