#include <gtest/gtest.h>

#include <sstream>

#include "flow/current_player.hpp"
#include "flow/frame_tick.hpp"
#include "flow/menu_actions.hpp"
#include "flow/scenario_support.hpp"
#include "sim/session.hpp"
#include "support/test_support.hpp"

namespace {

// The first board of an Action game started from the title, with or without a visit to the help's
// bonus page and a tip first: both draw decorative balls of random colours.
std::array<uint8_t, rules::kCellCount> firstBoard(bool visitHelp) {
    testing_support::TempFolder folder;
    scenario::prepareGameFolder(folder.path(), "");
    sim::SimOptions options;
    options.gameDir = folder.path();
    options.seed = 42;
    options.soundLog = false;
    std::ostringstream out;
    const std::unique_ptr<sim::SimSession> session = sim::SimSession::launch(options, out);
    flow::Game& game = session->game();
    auto tick = [&] {
        session->platform().manualClock().advance(33);
        flow::frameTick(game);
    };
    for (int i = 0; i < 400 && game.screens.base != flow::Screen::Title; ++i) tick();
    flow::setHelpBeforeGame(game, false);
    if (visitHelp) {
        flow::pressTitleButton(game, 5);
        flow::runMenuAction(game, present::menu::ActionHelpPage10);
        for (int i = 0; i < 10; ++i) tick();
        flow::openDialog(game, flow::DialogColorTip, flow::DialogBackdrop::Screen);
        tick();
        while (game.screens.menuActive) flow::closeMenuScreen(game);
    }
    flow::pressTitleButton(game, 1);
    for (int i = 0; i < 400 && game.rules.playState != rules::StatePlaying; ++i) tick();
    EXPECT_EQ(game.rules.playState, rules::StatePlaying);
    return game.rules.board.cells;
}

// The game's generator serves the rules and the runs alone: decoration draws from its own, so the
// game's sequence depends only on the seed and the player's input to the game.
TEST(Decoration, AVisitToTheHelpLeavesTheGamesBoardsAsTheyWere) { EXPECT_EQ(firstBoard(false), firstBoard(true)); }

}  // namespace
