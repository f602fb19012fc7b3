#include <gtest/gtest.h>

#include "scenario_support.hpp"

namespace {

using nlohmann::json;

scenario::Run run(const std::string& name) {
    scenario::Run r = scenario::runScenario(name);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r;
}

json focusOf(const json& state) { return state["focusItem"]; }
json focus(const char* kind, int index) { return {{"kind", kind}, {"index", index}}; }

TEST(PadScenario, AControllerAloneWinsALevelTurnsTheBoardPausesAndShuffles) {
    const scenario::Run r = run("pad_play.sim");
    ASSERT_EQ(r.states.size(), 15u);
    const json& hinted = r.states[0];
    ASSERT_EQ(hinted["hint"]["block"], json::array({1, 0}));
    EXPECT_EQ(hinted["cursorBlock"], nullptr) << "no cursor until the controller moves it";
    EXPECT_EQ(r.states[1]["cursorBlock"], json::array({2, 2}));
    EXPECT_EQ(r.states[2]["cursorBlock"], json::array({1, 0})) << "left, then up to the top edge and no further";
    EXPECT_EQ(r.states[2]["cells"], hinted["cells"]);

    // A turns the hinted block to the left: its figure takes the level past its target.
    EXPECT_NE(r.states[3]["cells"], hinted["cells"]);
    EXPECT_GE(r.states[3]["levelScore"].get<int>(), 1000);
    EXPECT_EQ(r.states[4]["playState"], 10) << "the next group's intermission";
    EXPECT_EQ(r.states[5]["currentLevel"], 6) << "A cut it short";

    // A shoulder turns the board: the same balls in other places.
    const json& before = r.states[6];
    const json& turned = r.states[7];
    ASSERT_EQ(before["playState"], 2);
    EXPECT_NE(turned["cells"], before["cells"]);
    json a = before["cells"], b = turned["cells"];
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    EXPECT_EQ(a, b);

    // Start pauses and resumes; unplugging pauses, plugging in again leaves the pause alone.
    EXPECT_EQ(r.states[8]["playState"], 8);
    EXPECT_EQ(r.states[9]["playState"], 2);
    EXPECT_EQ(r.states[10]["playState"], 8);
    EXPECT_EQ(r.states[11]["playState"], 8);
    EXPECT_EQ(r.states[11]["remaining"], r.states[10]["remaining"]) << "the clock stands while paused";
    EXPECT_EQ(r.states[12]["playState"], 2);

    // X buys a shuffle (its tip opens over the sweep); B closes the tip.
    EXPECT_EQ(r.states[13]["playState"], 12);
    EXPECT_EQ(r.states[13]["dialogId"], 10);
    EXPECT_LT(r.states[13]["remaining"].get<double>(), r.states[12]["remaining"].get<double>());
    EXPECT_EQ(r.states[14]["menuActive"], 0);
    EXPECT_EQ(r.states[14]["cursorBlock"], json::array({1, 0})) << "the cursor stays where it stood";
}

TEST(PadScenario, TheFocusWalksEveryScreenAndBPressesItsBackButton) {
    const scenario::Run r = run("pad_menus.sim");
    ASSERT_EQ(r.states.size(), 27u) << "the last Yes quits before a further state";
    const auto stack = [&r](size_t i) { return r.states[i]["screenStack"]; };
    EXPECT_EQ(focusOf(r.states[0]), focus("titleButton", 0));
    EXPECT_EQ(r.states[0]["titleGlow"][0][0], 1) << "the focused button glows";

    // Players: the list, then New beside it; the name screen's letter keys type and OK takes it.
    EXPECT_EQ(stack(1), json::array({3}));
    EXPECT_EQ(r.states[2]["menuFocus"], 7);
    EXPECT_EQ(stack(3), json::array({3, 4}));
    EXPECT_EQ(r.states[4]["typedName"], "B");
    EXPECT_EQ(r.states[4]["menuFocus"], 10);
    ASSERT_EQ(r.states[5]["players"].size(), 2u);
    EXPECT_EQ(r.states[5]["players"][1]["name"], "B");
    // Up and down move the list's selection; Delete asks, B says no; B on the list is its Cancel.
    EXPECT_EQ(r.states[5]["selection"], 1);
    EXPECT_EQ(r.states[6]["selection"], 0);
    EXPECT_EQ(r.states[6]["menuFocus"], 9);
    EXPECT_EQ(stack(7), json::array({3, 5}));
    EXPECT_EQ(stack(8), json::array({3}));
    EXPECT_EQ(r.states[8]["players"].size(), 2u) << "no was said";
    EXPECT_EQ(r.states[9]["menuActive"], 0);

    // Options: the music slider moves right, the first box turns over, B leaves.
    EXPECT_EQ(focusOf(r.states[10]), focus("titleButton", 6));
    EXPECT_EQ(focusOf(r.states[11]), focus("slider", 0));
    EXPECT_GT(r.states[11]["musicVolume"].get<int>(), r.states[10]["musicVolume"].get<int>());
    EXPECT_EQ(focusOf(r.states[12]), focus("optionBox", 0));
    EXPECT_EQ(r.states[12]["players"][0]["ownCursor"], 0);
    EXPECT_EQ(r.states[13]["menuActive"], 0);

    // The rules help: its box, the modes page and its back button, the help's back button.
    EXPECT_EQ(focusOf(r.states[14]), focus("helpBox", 0));
    EXPECT_EQ(r.states[14]["players"][0]["showHelpBeforeGame"], 0);
    EXPECT_EQ(stack(15), json::array({8, 9}));
    EXPECT_EQ(r.states[15]["players"][0]["showHelpBeforeGame"], 1);
    EXPECT_EQ(stack(16), json::array({8}));
    EXPECT_EQ(r.states[17]["menuActive"], 0);

    // High scores and back; Back on the title asks to quit and B says no.
    EXPECT_EQ(stack(18), json::array({1}));
    EXPECT_EQ(r.states[19]["menuActive"], 0);
    EXPECT_EQ(stack(20), json::array({0}));
    EXPECT_EQ(r.states[21]["menuActive"], 0);

    // A game: the help before it, closed by B; Back leaves for the title.
    EXPECT_EQ(stack(22), json::array({8}));
    EXPECT_EQ(r.states[23]["menuActive"], 0);
    EXPECT_EQ(r.states[24]["playState"], 2);
    EXPECT_EQ(r.states[25]["playState"], 7);
    EXPECT_EQ(r.states[26]["menuFocus"], 0) << "Yes, which the last A presses";
}

TEST(PadScenario, TheKeyboardAloneMovesTheFocusAndTheBlockCursorWithoutTakingTypedNames) {
    const scenario::Run r = run("keys_focus.sim");
    ASSERT_EQ(r.states.size(), 9u);
    EXPECT_EQ(focusOf(r.states[0]), focus("titleButton", 0));
    EXPECT_EQ(focusOf(r.states[1]), focus("titleButton", 7)) << "Shift+Tab goes round backwards";
    EXPECT_EQ(r.states[2]["screenStack"], json::array({3}));
    // Return on New opens the name screen, and its own typed 13 does not take the empty name.
    EXPECT_EQ(r.states[3]["screenStack"], json::array({3, 4}));
    EXPECT_EQ(r.states[3]["nameEntryActive"], 1);
    EXPECT_EQ(r.states[4]["players"][1]["name"], "KIM") << "typing went to the name, Return took it";
    EXPECT_EQ(r.states[5]["currentPlayer"], 1);

    // The board: J J I I I from the middle reach the top edge, L one to the right, Z turns that block.
    EXPECT_EQ(r.states[6]["cursorBlock"], json::array({1, 0}));
    EXPECT_EQ(r.states[7]["cursorBlock"], json::array({2, 0}));
    EXPECT_NE(r.states[7]["cells"], r.states[6]["cells"]);
    EXPECT_EQ(r.states[8]["cursorBlock"], nullptr) << "the mouse moved";
}

TEST(PadScenario, TheSecondHintsPageTurnsToTheControlsAndThenToTheFirstPage) {
    const scenario::Run r = run("help_controls.sim");
    ASSERT_EQ(r.states.size(), 4u);
    EXPECT_EQ(r.states[0]["screenStack"], json::array({11, 14}));
    EXPECT_EQ(r.states[1]["screenStack"], json::array({11, 14}));
    EXPECT_NE(r.states[1]["frameChecksum"], r.states[0]["frameChecksum"]) << "the controls in place of the hints";
    EXPECT_EQ(r.states[2]["screenStack"], json::array({11, 12}));
    EXPECT_EQ(r.states[3]["frameChecksum"], r.states[0]["frameChecksum"]) << "the hints again";
}

}  // namespace
