#include <gtest/gtest.h>

#include "game/sound_ids.hpp"
#include "scenario_support.hpp"

namespace {

using nlohmann::json;
using scenario::emptyCells;
using scenario::played;

scenario::Run run(const std::string& name, bool shippedLevels = false) {
    scenario::Run r = scenario::runScenario(name, shippedLevels);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r;
}

// Before a staged board the level must be at rest, or a chain or a fall would change the figures.
void expectAtRest(const json& state) {
    EXPECT_EQ(state["playState"], 2);
    EXPECT_EQ(state["chainRunning"], 0);
    EXPECT_EQ(state["fallStepDue"], 1);
}

TEST(Scenario, EachFigureScoresItsPointsAndRunePoints) {
    const scenario::Run r = run("figures.sim");
    struct Expected {
        int points, runes, figures, emptied;
    };
    // Square 4 = 50, Square 6 = 120, VH 60, Diagonal 4, 5 and 8 = 80, 120 and 350; rune points 2 a
    // square, 3 a rectangle, 3, 4 and 8 for diagonals, RunesFigure 2 = 2 for two figures.
    const Expected expected[] = {
        {50, 2, 1, 4},           // a lone square
        {120, 3, 1, 6},          // a 2 by 3 block at the left edge: one rectangle
        {100, 2 + 2 + 2, 2, 6},  // the same at the right edge: two squares
        {100, 2 + 2 + 2, 2, 6},  // a 3-wide block on the bottom strip: two squares
        {60, 0, 0, 4},           // a line of four: points only
        {120, 4, 1, 5},          // a diagonal of five
        {80, 3, 1, 4},           // a down-left diagonal of four
        {350, 8, 1, 10},         // a diagonal of ten, priced as one of eight
        {120, 3, 1, 8},          // a 3-wide block over rows 7 and 8 and a square below it: all cleared
        {100, 2 + 2 + 2, 2, 7},  // a universal ball cleared with squares of two colours
    };
    ASSERT_EQ(r.states.size(), 2 * std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        expectAtRest(r.states[2 * i]);
        const json& after = r.states[2 * i + 1];
        EXPECT_EQ(after["levelScore"], expected[i].points);
        EXPECT_EQ(after["runePoints"], expected[i].runes);
        EXPECT_EQ(after["passFigures"], expected[i].figures);
        EXPECT_EQ(emptyCells(after), expected[i].emptied);
        EXPECT_EQ(after["clearEffects"].size(), static_cast<size_t>(expected[i].emptied));
        EXPECT_EQ(after["playState"], 3) << "the cleared cells start a fall";
    }
}

TEST(Scenario, ExplodeBlastsUnderEachExplodeTypeAndSetsOffTheBonusesItCatches) {
    const scenario::Run r = run("explode.sim");
    ASSERT_EQ(r.states.size(), 10u);
    // Square 4 = 50 and Ball = 10 for each cell of the 3 by 3, 5 by 5, radius 2 and radius 3 blasts.
    const int blastCells[4] = {9, 25, 13, 25};
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE(type);
        expectAtRest(r.states[2 * type]);
        const json& after = r.states[2 * type + 1];
        EXPECT_EQ(after["levelScore"], 50 + 10 * blastCells[type]);
        EXPECT_EQ(emptyCells(after), blastCells[type]);
        EXPECT_EQ(after["burstEffects"].size(), static_cast<size_t>(blastCells[type]));
        EXPECT_EQ(after["clearEffects"].size(), 0u);
        EXPECT_EQ(played(after, rules::SoundExplode) - played(r.states[2 * type], rules::SoundExplode), 1);
    }
    // The Color bonus at (2, 2) comes first in cell order and sweeps its three balls of colour 2;
    // both 5 by 5 blasts go off: 41 cells under them, 2 more balls of colour 2 elsewhere.
    expectAtRest(r.states[8]);
    const json& chain = r.states[9];
    EXPECT_EQ(chain["levelScore"], 50 + 30 + 250 + 250);
    EXPECT_EQ(emptyCells(chain), 43);
    EXPECT_EQ(chain["cells"][9], 0);   // (0, 9)
    EXPECT_EQ(chain["cells"][90], 0);  // (9, 0)
    EXPECT_EQ(played(chain, rules::SoundColor), 1);
}

TEST(Scenario, ChainStepsEarnComboMultipliersWithTheirSounds) {
    const scenario::Run r = run("combos.sim");
    ASSERT_EQ(r.states.size(), 7u);
    expectAtRest(r.states[0]);
    // Each square is worth 50; Combo k multiplies by k.
    EXPECT_EQ(r.states[1]["levelScore"], 50);
    EXPECT_EQ(played(r.states[1], rules::SoundDisappear) - played(r.states[0], rules::SoundDisappear), 1);
    EXPECT_EQ(r.states[2]["levelScore"], 50 + 50 + 2 * 50);
    EXPECT_EQ(played(r.states[2], rules::SoundCombo1), 1);
    EXPECT_EQ(r.states[3]["levelScore"], 200 + 50 + 3 * 50);
    EXPECT_EQ(played(r.states[3], rules::SoundCombo1 + 1), 1);
    EXPECT_EQ(r.states[3]["comboIndex"], 2);

    // From the chain's ninth figure set on, Combo 9 and the seventh combo sound.
    expectAtRest(r.states[4]);
    EXPECT_EQ(r.states[5]["levelScore"], 50 + 50 + 9 * 50);
    EXPECT_EQ(r.states[6]["levelScore"], 550 + 50 + 9 * 50);
    EXPECT_EQ(played(r.states[6], rules::SoundCombo1 + 6), 2);
    EXPECT_EQ(played(r.states[6], rules::SoundCombo1 + 2), 0);
}

// The tick numbers at which a sound was played, from a state's log.
std::vector<int64_t> playTicks(const json& state, int soundId) {
    std::vector<int64_t> ticks;
    for (const auto& entry : state["soundLog"])
        if (entry[1].get<int>() == soundId && entry[2] == "play") ticks.push_back(entry[0].get<int64_t>());
    return ticks;
}

TEST(Scenario, ClearedSquareFallsAndPlayResumesTwelveTicksLater) {
    const scenario::Run action = run("falling_action.sim");
    ASSERT_EQ(action.states.size(), 15u);
    expectAtRest(action.states[0]);
    // states[1] is the tick that clears the square; states[1 + k] is k ticks later.
    for (int k = 0; k < 12; ++k) EXPECT_EQ(action.states[1 + k]["playState"], 3) << k;
    EXPECT_EQ(action.states[13]["playState"], 2);
    const json& last = action.states[14];
    EXPECT_EQ(emptyCells(last), 0) << "two new balls came into each column";
    const int64_t cleared = playTicks(last, rules::SoundDisappear).back();
    EXPECT_EQ(playTicks(last, rules::SoundFalling0), std::vector<int64_t>{cleared + 4});
    EXPECT_EQ(playTicks(last, rules::SoundFalling0 + 1), std::vector<int64_t>{cleared + 8});
    EXPECT_EQ(last["fallSoundIndex"], 0) << "a quiet frame of play starts the falling sounds over";

    // In Puzzle the balls above fall and the top two rows of both columns stay empty.
    const scenario::Run puzzle = run("falling_puzzle.sim");
    ASSERT_EQ(puzzle.states.size(), 14u);
    EXPECT_EQ(puzzle.states[11]["playState"], 3);
    EXPECT_EQ(puzzle.states[12]["playState"], 2);
    const json& settled = puzzle.states[13];
    EXPECT_EQ(settled["playState"], 2);
    EXPECT_EQ(emptyCells(settled), 4);
    for (int column : {4, 5})
        for (int row : {0, 1}) EXPECT_EQ(settled["cells"][column * 10 + row], 0);
    EXPECT_EQ(settled["fallStepDue"], 1);
}

int bonusCount(const json& state) {
    int n = 0;
    for (const auto& b : state["cellBonus"]) n += b.get<int>() != 0 ? 1 : 0;
    return n;
}

TEST(Scenario, FortyRunePointsPayTwiceThenOnce) {
    const scenario::Run r = run("runes.sim");
    ASSERT_EQ(r.states.size(), 4u);
    EXPECT_EQ(r.states[0]["runePoints"], 22);
    EXPECT_EQ(bonusCount(r.states[0]), 2);
    EXPECT_EQ(r.states[1]["runePoints"], 4);
    EXPECT_EQ(bonusCount(r.states[1]), 3);
    EXPECT_EQ(r.states[2]["runePoints"], 4);
    EXPECT_EQ(bonusCount(r.states[2]), 3);
    for (const auto& b : r.states[2]["cellBonus"]) EXPECT_TRUE(b == 0 || b == 5) << "only ScoreBoost weights";
    EXPECT_EQ(r.states[2]["flights"], 3) << "each new bonus flies from the meter";
    // ZeroRunesOnNextLEvel: two payouts and an empty meter.
    EXPECT_EQ(r.states[3]["runePoints"], 0);
    EXPECT_EQ(bonusCount(r.states[3]), 5);
}

TEST(Scenario, ShufflePricesAndRefusals) {
    const scenario::Run strategy = run("shuffle_strategy.sim");
    ASSERT_EQ(strategy.states.size(), 5u);
    // 30 moves and SWAP 6: the price is 5; 6 moves left leave 1.
    EXPECT_EQ(strategy.states[1]["playState"], 12);
    EXPECT_EQ(strategy.states[1]["remaining"], 1);
    auto sorted = [](const json& state) {
        std::vector<int> cells = state["cells"].get<std::vector<int>>();
        std::sort(cells.begin(), cells.end());
        return cells;
    };
    EXPECT_EQ(strategy.states[2]["playState"], 12);
    EXPECT_EQ(strategy.states[3]["playState"], 2);
    EXPECT_EQ(sorted(strategy.states[3]), sorted(strategy.states[0])) << "the same balls, dealt anew";
    EXPECT_NE(strategy.states[3]["cells"], strategy.states[0]["cells"]);
    // With 5 moves left it is refused.
    EXPECT_EQ(strategy.states[4]["remaining"], 5);
    EXPECT_NE(strategy.states[4]["playState"], 12);

    // 120 seconds and SWAP 4: the price is 30; 31 seconds left leave 1. S during the sweep does nothing.
    const scenario::Run action = run("shuffle_action.sim");
    ASSERT_EQ(action.states.size(), 3u);
    EXPECT_EQ(action.states[0]["remaining"], 31);
    EXPECT_EQ(action.states[1]["playState"], 12);
    EXPECT_EQ(action.states[1]["remaining"], 1);
    EXPECT_EQ(action.states[2]["playState"], 12);
    EXPECT_EQ(action.states[2]["shuffleTick"], 2);
    EXPECT_EQ(action.states[2]["remaining"], 1);
}

TEST(Scenario, FreezeHoldsTheClockForItsDurationAndASecondOneRestartsIt) {
    const scenario::Run r = run("freeze.sim");
    ASSERT_EQ(r.states.size(), 10u);
    const std::vector<int> shown = {25, 25, 25, 25, 24};
    for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(r.states[i]["remaining"], shown[i]) << i;
    EXPECT_EQ(r.states[1]["freezeOn"], 1);
    EXPECT_EQ(r.states[2]["freezeOn"], 1) << "9 s in";
    EXPECT_EQ(r.states[3]["freezeOn"], 0) << "10 s in: thawed, and counting on from 25";
    EXPECT_EQ(r.states[3]["thawOn"], 1);

    // A second freeze about 4 s into the first: the clock stands for 14 s in all.
    const json& first = r.states[5];
    const json& second = r.states[6];
    EXPECT_EQ(first["freezeOn"], 1);
    EXPECT_NEAR(second["now"].get<double>() - first["now"].get<double>(), 4000, 100);
    const int held = first["remaining"];
    EXPECT_EQ(second["remaining"], held);
    EXPECT_EQ(r.states[7]["remaining"], held);
    EXPECT_EQ(r.states[7]["freezeOn"], 1) << "13.8 s after the first";
    EXPECT_EQ(r.states[8]["freezeOn"], 0);
    EXPECT_EQ(r.states[8]["remaining"], held);
    EXPECT_EQ(r.states[9]["remaining"], held - 1);
}

TEST(Scenario, StrategyMovesAndTheCostOfLosing) {
    const scenario::Run r = run("strategy.sim");
    ASSERT_EQ(r.states.size(), 6u);
    EXPECT_EQ(r.states[0]["remaining"], 1) << "3 moves, a block turn costs 2";
    EXPECT_EQ(r.states[1]["remaining"], 0) << "a board turn costs 1";
    EXPECT_EQ(r.states[1]["playState"], 4);
    EXPECT_EQ(r.states[2]["playState"], 4) << "not lost while the board turns";
    EXPECT_EQ(r.states[3]["playState"], 5) << "lost when the turn has finished";
    EXPECT_EQ(r.states[3]["levelWon"], 0);

    // The lost level is played again; with 1 move left a block turn loses at once, and the
    // level's 500 points come off the total of 300 as well.
    const json& again = r.states[4];
    EXPECT_EQ(again["playState"], 2);
    EXPECT_EQ(again["currentLevel"], 1);
    EXPECT_EQ(again["remaining"], 40);
    const json& lost = r.states[5];
    EXPECT_EQ(lost["playState"], 5);
    EXPECT_EQ(lost["remaining"], -1);
    EXPECT_EQ(lost["totalScore"], 0);
    EXPECT_EQ(lost["levelScore"], 0);
}

TEST(Scenario, EndBonusOfAWonLevelAndTheNextGroupsIntermission) {
    const scenario::Run r = run("end_bonus.sim");
    ASSERT_EQ(r.states.size(), 7u);
    EXPECT_EQ(r.states[0]["playState"], 5);
    EXPECT_EQ(r.states[0]["remaining"], 12);
    const json& first = r.states[1];
    EXPECT_EQ(first["playState"], 6);
    EXPECT_EQ(first["fallenCount"], 20);
    EXPECT_DOUBLE_EQ(first["endBonusShown"].get<double>(), 0.9375);
    EXPECT_EQ(first["totalScore"], 2000) << "nothing after the first frame";
    EXPECT_EQ(r.states[2]["totalScore"], 2007) << "7 after eight frames";
    // The animation ends before the 128th frame: 120 frames are paid, 112.5 points.
    EXPECT_DOUBLE_EQ(r.states[3]["endBonusShown"].get<double>(), 112.5);
    EXPECT_EQ(r.states[3]["totalScore"], 2112);
    EXPECT_EQ(r.states[4]["playState"], 10);
    EXPECT_GE(r.states[4]["musicOwner"], 31) << "a game track starts with the intermission";
    EXPECT_EQ(r.states[5]["playState"], 10) << "the intermission lasts 2100 ms";
    // A click ends it: level 6 is set up and the won level's points join the total.
    const json& next = r.states[6];
    EXPECT_EQ(next["playState"], 1);
    EXPECT_EQ(next["currentLevel"], 6);
    EXPECT_EQ(next["totalScore"], 2112 + 1000);
    EXPECT_EQ(next["levelScore"], 0);
}

TEST(Scenario, LostLevelIsPlayedAgainAndAMissingLevelCompletesTheGame) {
    const scenario::Run r = run("level_sequence.sim");
    ASSERT_EQ(r.states.size(), 6u);
    EXPECT_EQ(r.states[0]["playState"], 5);
    EXPECT_EQ(r.states[0]["levelScore"], 0);
    EXPECT_EQ(r.states[0]["totalScore"], 250);
    EXPECT_EQ(r.states[1]["playState"], 6);
    EXPECT_EQ(played(r.states[1], rules::SoundFallLevel), 1);
    // 163 ticks of end animation, then straight to the same level: no intermission after a loss.
    EXPECT_EQ(r.states[2]["playState"], 0);
    EXPECT_EQ(r.states[3]["playState"], 1);
    EXPECT_EQ(r.states[3]["currentLevel"], 1);
    EXPECT_EQ(r.states[4]["playState"], 2);
    EXPECT_EQ(r.states[4]["remaining"], 120);
    EXPECT_EQ(r.states[5]["currentLevel"], 0);
    EXPECT_EQ(r.states[5]["dialogId"], 9);
}

TEST(Scenario, ActionPuzzleCountsEmptyCellsAndNoticesWhenNoFigureIsLeft) {
    const scenario::Run r = run("action_puzzle.sim");
    ASSERT_EQ(r.states.size(), 3u);
    EXPECT_EQ(r.states[0]["progressPercent"], 97);
    EXPECT_EQ(r.states[0]["playState"], 2);
    EXPECT_EQ(r.states[0]["menuActive"], 0);
    EXPECT_EQ(r.states[1]["playState"], 5);
    EXPECT_EQ(r.states[1]["levelWon"], 1);
    EXPECT_EQ(played(r.states[1], rules::SoundLevelJingle), 1);
    // A board on which no colour has four balls opens the no-more-figures dialog.
    EXPECT_EQ(r.states[2]["playState"], 2);
    EXPECT_EQ(r.states[2]["menuActive"], 1);
    EXPECT_EQ(r.states[2]["dialogId"], 11);
    EXPECT_EQ(r.states[2]["screenStack"], json::array({13})) << "the level's clock is not stopped";
}

}  // namespace
