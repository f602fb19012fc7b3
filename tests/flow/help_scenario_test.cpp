#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "scenario_support.hpp"
#include "sim/session.hpp"
#include "support/test_support.hpp"

namespace {

using nlohmann::json;

// A demonstration's blocks as rows of digits, '.' for an empty cell: one block is 2 by 2, four
// blocks (top-left, top-right, bottom-left, bottom-right) make a 4 by 4 board.
std::string boardOf(const json& player) {
    const json& blocks = player["blocks"];
    const int side = blocks.size() == 1 ? 2 : 4;
    std::string out;
    for (int row = 0; row < side; ++row) {
        if (row > 0) out += ' ';
        for (int column = 0; column < side; ++column) {
            const json& block = blocks[static_cast<size_t>(row / 2 * 2 + column / 2)];
            const int c = block["cells"][static_cast<size_t>(column % 2 * 2 + row % 2)].get<int>();
            out += c == 0 ? '.' : static_cast<char>('0' + c);
        }
    }
    return out;
}

bool settled(const json& player) {
    for (const json& block : player["blocks"])
        if (block["turning"] != 0 || block["dropOn"] != 0) return false;
    return true;
}

// The rules help opened from the title, then its state every third tick for `ticks` ticks.
std::vector<json> watchHelp(int ticks) {
    std::ostringstream script;
    script << "tick 167\nmove 10 10\ntick 8\nclick left 237 419\n";
    for (int t = 0; t < ticks; t += 3) script << "tick 3\nstate -\n";
    testing_support::TempFolder game;
    scenario::prepareGameFolder(game.path(), "");
    std::istringstream in(script.str());
    std::ostringstream out, err;
    sim::SimOptions options;
    options.gameDir = game.path();
    options.seed = 1;
    EXPECT_EQ(sim::runSimScript(in, options, out, err), 0) << err.str();
    std::vector<json> states;
    std::istringstream lines(out.str());
    while ((lines >> std::ws).peek() != std::char_traits<char>::eof()) {
        json state;
        lines >> state;
        states.push_back(std::move(state));
    }
    return states;
}

// The boards demonstration `d` shows at rest, each change once, seen every third tick: a board
// that stands for a pause is seen, one that lives a tick or two (a figure about to vanish) may not be.
std::vector<std::string> restingBoards(const std::vector<json>& states, size_t d) {
    std::vector<std::string> boards;
    for (const json& state : states) {
        const json& player = state["helpDemos"][d];
        if (settled(player) && (boards.empty() || boards.back() != boardOf(player))) boards.push_back(boardOf(player));
    }
    return boards;
}

// The help screen as the game runs it: the boards each demonstration comes to rest on, worked out
// by hand from its turns and the falls, while the player's own board stays as it was.
TEST(HelpScenario, TheDemonstrationsShowTheBoardsOfTheirMovesInTheRunningGame) {
    const std::vector<json> states = watchHelp(1200);
    ASSERT_EQ(states.size(), 400u);
    ASSERT_EQ(states.front()["menuScreen"], 8);

    const std::vector<std::string> one = restingBoards(states, 0);
    ASSERT_GE(one.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(one.begin(), one.begin() + 3), (std::vector<std::string>{"13 24", "34 12", "13 24"}));

    const std::vector<std::string> two = restingBoards(states, 1);
    const std::vector<std::string> twoStart = {"2313 5442 2153 1344", "5213 4342 2153 1344", "5232 4314 2153 1344",
                                               "5224 4331 2153 1344", "5224 4331 1353 2144", "5114 4531 1224 2154",
                                               "5141 4513 1224 2154"};
    ASSERT_GE(two.size(), twoStart.size());
    EXPECT_EQ(std::vector<std::string>(two.begin(), two.begin() + static_cast<long>(twoStart.size())), twoStart);

    const std::vector<std::string> three = restingBoards(states, 2);
    const std::vector<std::string> threeStart = {"1152 2341 1524 1431", "1352 1241 1524 1431", "3252 1141 1524 1431",
                                                 "3245 1112 1524 1431"};
    ASSERT_GE(three.size(), threeStart.size());
    EXPECT_EQ(std::vector<std::string>(three.begin(), three.begin() + static_cast<long>(threeStart.size())), threeStart);

    EXPECT_EQ(states.back()["cells"], states.front()["cells"]) << "the demonstrations touched the player's board";
    EXPECT_EQ(states.back()["menuScreen"], 8);
}

}  // namespace
