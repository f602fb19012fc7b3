#include "game/matches.hpp"

#include <set>

#include "rules_fixture.hpp"

// The points of each figure are shown by the scenario scripts (tests/scenarios/figures.sim,
// explode.sim); these cases cover what a staged board there cannot show well.
namespace {

struct Matches : rules_test::RulesFixture {
    void SetUp() override {
        state.gameMode = rules::GameMode::Action;
        state.playState = rules::StatePlaying;
        def().colors = 7;
        def().square4 = 10;
        def().ball = 1;
        def().scoreBoost = 500;
        setRows(rules_test::quietRows());
    }

    void square(int c, int r) {
        for (int dc = 0; dc < 2; ++dc)
            for (int dr = 0; dr < 2; ++dr) put(c + dc, r + dr, 7);
    }
};

TEST_F(Matches, BonusesCaughtByABlastActInCellOrder) {
    // A 5 by 5 blast at (4, 4) catches a Color bonus at (2, 2) and an Explode at (6, 6). The Color
    // bonus comes first in cell order and sweeps colour 1 (16 balls, (6, 6) among them); both
    // blasts still go off. 41 cells lie under the two blasts, 9 more balls of colour 1 elsewhere.
    state.settings.explodeType = 1;
    square(4, 4);
    setBonus(4, 4, rules::BonusExplode);
    setBonus(2, 2, rules::BonusColor);
    setBonus(6, 6, rules::BonusExplode);
    ASSERT_EQ(at(2, 2), 1);
    EXPECT_TRUE(rules::resolveMatches(state, services, rules::Scoring::On));
    EXPECT_EQ(state.level.levelScore, 10 + 16 + 25 + 25);
    EXPECT_EQ(emptyCount(), 50);
    std::set<std::pair<int, int>> bursts;
    for (const rules::EffectEntry& e : state.effects.burst) bursts.insert({e.column, e.row});
    EXPECT_EQ(state.effects.burst.size(), 50u) << "each blasted cell bursts once";
    EXPECT_EQ(bursts.size(), 50u);
    EXPECT_TRUE(state.effects.clear.empty());
    for (int i = 0; i < rules::kCellCount; ++i) EXPECT_EQ(state.board.cellBonus[i] | state.board.cellStamp[i], 0);
    EXPECT_EQ(sound.played, (std::vector<rules::SoundId>{rules::SoundColor, rules::SoundExplode, rules::SoundExplode}));

    // A second Color bonus finds its colour swept already; ScoreBoost adds its points; a Freeze in
    // a move-limited mode stops no clock.
    setRows(rules_test::quietRows());
    state.level.levelScore = 0;
    state.gameMode = rules::GameMode::Strategy;
    square(4, 4);
    setBonus(4, 4, rules::BonusColor);
    setBonus(5, 5, rules::BonusColor);
    setBonus(4, 5, rules::BonusScoreBoost);
    setBonus(5, 4, rules::BonusFreeze);
    EXPECT_TRUE(rules::resolveMatches(state, services, rules::Scoring::On));
    EXPECT_EQ(state.level.levelScore, 10 + 4 + 500);
    EXPECT_EQ(sound.count(rules::SoundColor), 2);
    EXPECT_FALSE(state.level.freezeOn);

    // In a corner only the cells on the board are blasted: a diamond of radius 3 keeps 10.
    setRows(rules_test::quietRows());
    state.settings.explodeType = 3;
    square(0, 0);
    setBonus(0, 0, rules::BonusExplode);
    EXPECT_TRUE(rules::resolveMatches(state, services, rules::Scoring::On));
    EXPECT_EQ(emptyCount(), 10);
    EXPECT_EQ(at(4, 0), 5);
    EXPECT_EQ(at(0, 4), 3);
}

// Every cell of every figure, found the slow way.
std::set<int> figureCells(const rules::Board& board, int colours, bool lines) {
    std::set<int> cells;
    auto v = [&](int c, int r) { return board.cells[rules::cellIndex(c, r)]; };
    auto take = [&](std::initializer_list<std::pair<int, int>> group) {
        const uint8_t first = v(group.begin()->first, group.begin()->second);
        if (first == 0 || first > colours) return;
        for (auto [c, r] : group)
            if (v(c, r) != first) return;
        for (auto [c, r] : group) cells.insert(rules::cellIndex(c, r));
    };
    for (int c = 0; c < 10; ++c) {
        for (int r = 0; r < 10; ++r) {
            if (c <= 8 && r <= 8) take({{c, r}, {c + 1, r}, {c, r + 1}, {c + 1, r + 1}});
            if (c <= 6 && r <= 6) take({{c, r}, {c + 1, r + 1}, {c + 2, r + 2}, {c + 3, r + 3}});
            if (c >= 3 && r <= 6) take({{c, r}, {c - 1, r + 1}, {c - 2, r + 2}, {c - 3, r + 3}});
            if (lines && c <= 6) take({{c, r}, {c + 1, r}, {c + 2, r}, {c + 3, r}});
            if (lines && r <= 6) take({{c, r}, {c, r + 1}, {c, r + 2}, {c, r + 3}});
        }
    }
    return cells;
}

// Without scoring nothing is booked, and the cells emptied are exactly those of the figures,
// whatever the bit-parallel search and the fixed scan order make of them.
TEST_F(Matches, ClearsExactlyTheCellsOfEveryFigureOnRandomBoards) {
    rules::Random boards(7);
    for (int trial = 0; trial < 3000; ++trial) {
        const int colours = 2 + trial % 3;
        const bool lines = trial % 2 == 0;
        def().colors = colours;
        state.settings.verticals = lines ? 1 : 0;
        for (uint8_t& cell : state.board.cells) cell = static_cast<uint8_t>(boards.mod(colours + 2));  // some empty, some beyond
        const rules::Board before = state.board;
        const std::set<int> expected = figureCells(before, colours, lines);
        EXPECT_EQ(rules::resolveMatches(state, services, rules::Scoring::Off), !expected.empty());
        for (int i = 0; i < rules::kCellCount; ++i) {
            const bool emptied = before.cells[i] != 0 && state.board.cells[i] == 0;
            ASSERT_EQ(emptied, expected.count(i) == 1) << "trial " << trial << " cell " << i;
        }
    }
    EXPECT_EQ(state.level.levelScore, 0);
    EXPECT_EQ(state.runePoints, 0);
    EXPECT_TRUE(state.effects.clear.empty());
}

}  // namespace
