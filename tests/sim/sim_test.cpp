#include <gtest/gtest.h>

#include <cfloat>
#include <nlohmann/json.hpp>
#include <sstream>

#include "data/profiles.hpp"
#include "sim/session.hpp"
#include "support/test_support.hpp"

namespace {

struct SimResult {
    int exitCode;
    std::string out, err;
    nlohmann::json state() const { return nlohmann::json::parse(out); }
};

SimResult runScript(const std::string& script) {
    testing_support::TempFolder game;
    // A player exists, so no name screen stands in front of the board.
    data::Profiles profiles;
    profiles.players.emplace_back();
    profiles.players.back().setName("TESTER");
    const std::vector<uint8_t> bytes = data::serialiseProfiles(profiles);
    testing_support::writeFile(game.path() / "profile" / "profile", std::string(bytes.begin(), bytes.end()));
    std::istringstream in(script);
    std::ostringstream out, err;
    sim::SimOptions options;
    options.gameDir = game.path();
    options.seed = 1;
    const int code = sim::runSimScript(in, options, out, err);
    return {code, out.str(), err.str()};
}

// Column c, row r holds (c + 2r) mod 5 + 1: no two neighbours of a block share a colour.
std::string stagedBoard() {
    std::string digits;
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 10; ++r) digits += static_cast<char>('1' + (c + 2 * r) % 5);
    return "board " + digits + "\n";
}

std::vector<int> cellsOf(const nlohmann::json& state) { return state["cells"].get<std::vector<int>>(); }

TEST(Sim, BadLinesStopTheRunWithExitTwoNamingTheLine) {
    for (const char* bad : {"not-a-command 1 2", "tick x", "board 123", "click middle 1 2", "key F13", "set noSuchThing 1",
                            "focus sideways", "dump everything -"}) {
        const SimResult r = runScript("# a comment\n\n" + std::string(bad) + "\n");
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_NE(r.err.find("line 3"), std::string::npos) << bad << ": " << r.err;
    }
    EXPECT_EQ(runScript("tick 2\nquit\nnot-a-command\n").exitCode, 0) << "quit ends the run before the bad line";
}

TEST(Sim, OtherBlankLinesAreSkippedAndSetNumbersStopAtTheFieldsEnds) {
    const SimResult r = runScript("\v\n\f\nset totalScore 1e12\nset levelScore -1e12\nset remaining 1e300\nstate -\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json s = r.state();
    EXPECT_EQ(s["totalScore"], INT32_MAX);
    EXPECT_EQ(s["levelScore"], INT32_MIN);
    EXPECT_EQ(s["remaining"], FLT_MAX);
}

TEST(Sim, StagedBoardAndBonusesLandInIndexOrder) {
    const SimResult r = runScript(stagedBoard() + "bonus 1" + std::string(98, '0') + "5\nstate -\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json s = r.state();
    EXPECT_EQ(s["cells"][1], 3);   // column 0, row 1
    EXPECT_EQ(s["cells"][10], 2);  // column 1, row 0
    EXPECT_EQ(s["cellBonus"][0], 1);
    EXPECT_EQ(s["cellBonus"][99], 5);
    EXPECT_EQ(s["cellStamp"][0], s["now"]);
    EXPECT_EQ(s["cellStamp"][1], 0);
}

TEST(Sim, ALeftClickTurnsBlockZeroCounterClockwiseOnTheFifthTick) {
    const std::string start =
        "set playState 2\n" + stagedBoard() + "bonus 1" + std::string(99, '0') + "\n" + "click left 265 165\n";
    const SimResult four = runScript(start + "tick 4\nstate -\n");
    const SimResult five = runScript(start + "tick 5\nstate -\n");
    ASSERT_EQ(five.exitCode, 0) << five.err;
    const auto before = cellsOf(four.state());
    const auto after = cellsOf(five.state());
    EXPECT_EQ(before[0], 1);
    EXPECT_EQ(before[1], 3);
    EXPECT_EQ(before[10], 2);
    EXPECT_EQ(before[11], 4);
    // TL takes TR, TR takes BR, BR takes BL, BL takes TL.
    EXPECT_EQ(after[0], 2);
    EXPECT_EQ(after[10], 4);
    EXPECT_EQ(after[11], 3);
    EXPECT_EQ(after[1], 1);
    EXPECT_EQ(five.state()["cellBonus"][1], 1) << "the bonus travels with its ball";
    EXPECT_EQ(five.state()["cellStamp"][1], four.state()["cellStamp"][0]);
    EXPECT_EQ(five.state()["soundLog"][0][1], 0) << "the left block-turn sound";
}

TEST(Sim, KeyRightTurnsTheWholeBoardOverSixTicksAndFourTurnsGiveItBack) {
    const std::string start = "set playState 2\n" + stagedBoard();
    const SimResult five = runScript(start + "key Right\ntick 5\nstate -\n");
    const SimResult six = runScript(start + "key Right\ntick 6\nstate -\n");
    ASSERT_EQ(six.exitCode, 0) << six.err;
    EXPECT_EQ(five.state()["playState"], 4);
    EXPECT_EQ(six.state()["playState"], 2);
    const auto before = cellsOf(five.state());
    const auto after = cellsOf(six.state());
    EXPECT_EQ(after[9 * 10 + 0], before[0]) << "clockwise, the top-left cell goes to the top-right";

    const SimResult board = runScript(start +
                                      "key Right\ntick 6\nkey Right\ntick 6\nkey Right\ntick 6\nkey Right\n"
                                      "tick 6\nstate -\n");
    const SimResult blocks = runScript(start +
                                       "click right 300 300\ntick 5\nclick right 300 300\ntick 5\n"
                                       "click right 300 300\ntick 5\nclick right 300 300\ntick 5\nstate -\n");
    EXPECT_EQ(cellsOf(board.state()), before);
    EXPECT_EQ(cellsOf(blocks.state()), before);
    EXPECT_EQ(blocks.state()["soundLog"].size(), 4u);
}

}  // namespace
