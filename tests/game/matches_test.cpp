#include "game/matches.hpp"

#include <set>

#include "game/effects.hpp"
#include "rules_fixture.hpp"

namespace {

using game::EffectEntry;
using game::Scoring;

struct Matches : rules_test::RulesFixture {
    void SetUp() override {
        state.gameMode = game::GameMode::Action;
        state.playState = game::StatePlaying;
        def().colors = 7;
        def().square4 = 10;
        def().square6 = 25;
        def().vh = 7;
        def().diagonal = {40, 50, 60, 70, 80};
        def().runesSquare2x2 = 2;
        def().runesSquare2x3 = 3;
        def().runesDiagonal = {4, 5, 6, 7, 8};
        def().runesFigure = {100, 1000};
        def().ball = 1;
        def().scoreBoost = 500;
        fresh();
    }

    // A quiet board and a level with nothing booked yet.
    void fresh() {
        setRows(rules_test::quietRows());
        state.level.levelScore = 0;
        state.runePoints = 0;
        state.effects = {};
    }

    void fill(int c0, int r0, int columns, int rows, uint8_t colour = 7) {
        for (int c = c0; c < c0 + columns; ++c)
            for (int r = r0; r < r0 + rows; ++r) put(c, r, colour);
    }

    bool resolve(Scoring scoring = Scoring::On) { return game::resolveMatches(state, services, scoring); }

    struct Booked {
        int points, runes, figures, emptied;
    };
    Booked booked() const { return {state.level.levelScore, state.runePoints, state.level.passFigures, emptyCount()}; }
};

void expectBooked(const Matches::Booked& got, int points, int runes, int figures, int emptied) {
    EXPECT_EQ(got.points, points);
    EXPECT_EQ(got.runes, runes);
    EXPECT_EQ(got.figures, figures);
    EXPECT_EQ(got.emptied, emptied);
}

TEST_F(Matches, SquaresAndRectanglesScoreByTheFixedScan) {
    // A lone square: four clear effects in cell order, no bursts.
    fill(4, 4, 2, 2);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 10, 2, 1, 4);
    EXPECT_EQ(state.effects.clear, (std::vector<EffectEntry>{{4, 4, 0}, {4, 5, 0}, {5, 4, 0}, {5, 5, 0}}));
    EXPECT_TRUE(state.effects.burst.empty());

    // A 2 by 3 block upright at columns 0 and 1 is one rectangle...
    fresh();
    fill(0, 3, 2, 3);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 25, 3, 1, 6);

    // ...at columns 8 and 9 it is two squares, and two figures earn RunesFigure 2.
    fresh();
    fill(8, 3, 2, 3);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 20, 4 + 100, 2, 6);

    // A 2 by 4 block is two 3-wide rectangles; a 3 by 3 block three rectangles (odd: RunesFigure 3).
    fresh();
    fill(2, 2, 4, 2);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 50, 6 + 100, 2, 8);
    fresh();
    fill(2, 2, 3, 3);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 75, 9 + 1000, 3, 9);

    // On the bottom strip a 3-wide block is two squares.
    fresh();
    fill(3, 8, 3, 2);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 20, 4 + 100, 2, 6);

    // A 3-wide block over rows 7 and 8 with a square below it at row 9: the main scan takes the
    // block as a rectangle and the bottom square is not scored again, but all of it is cleared.
    fresh();
    fill(3, 7, 3, 2);
    fill(3, 9, 2, 1);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 25, 3, 1, 8);
}

TEST_F(Matches, StraightLinesCountOnlyWhenVerticalsIsOn) {
    fill(2, 5, 4, 1);
    EXPECT_FALSE(resolve());
    EXPECT_EQ(emptyCount(), 0);

    state.settings.verticals = 1;
    EXPECT_TRUE(resolve());
    // Lines earn points but no rune points and are no figures.
    expectBooked(booked(), 7, 0, 0, 4);

    // Every window of four counts: a line of five scores twice.
    fresh();
    fill(6, 1, 1, 5);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 14, 0, 0, 5);
}

TEST_F(Matches, DiagonalRunsScoreOnceByTheirLength) {
    for (int k = 0; k < 5; ++k) put(2 + k, 1 + k, 7);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 50, 5, 1, 5);

    fresh();
    for (int k = 0; k < 4; ++k) put(8 - k, 2 + k, 7);  // down-left
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 40, 4, 1, 4);

    // Runs of nine and ten are priced as runs of eight.
    fresh();
    for (int k = 0; k < 10; ++k) put(k, k, 7);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 80, 8, 1, 10);
    fresh();
    for (int k = 0; k < 9; ++k) put(9 - k, 1 + k, 7);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 80, 8, 1, 9);

    // Two runs of four on one line with a gap between them are two figures; a run of three is none.
    fresh();
    for (int k : {0, 1, 2, 3, 5, 6, 7, 8}) put(k, k, 7);
    for (int k = 0; k < 3; ++k) put(9 - k, k, 7);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 80, 8 + 100, 2, 8);
    EXPECT_EQ(at(9, 0), 7);
}

TEST_F(Matches, UniversalBallCompletesFiguresOfEveryColour) {
    fill(4, 4, 2, 2);
    put(5, 5, 2);
    setBonus(5, 5, game::BonusUniversal);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 10, 2, 1, 4);
    EXPECT_EQ(state.board.cellBonus[game::cellIndex(5, 5)], 0);

    // Between a square of colour 7 and one of colour 6 it is cleared with both.
    fresh();
    put(4, 4, 7), put(5, 4, 7), put(4, 5, 7);
    put(6, 5, 6), put(5, 6, 6), put(6, 6, 6);
    put(5, 5, 1);
    setBonus(5, 5, game::BonusUniversal);
    EXPECT_TRUE(resolve());
    expectBooked(booked(), 20, 4 + 100, 2, 7);
}

TEST_F(Matches, ExplodeBlastsItsPatternUnderEachExplodeType) {
    const int blastCells[4] = {9, 25, 13, 25};
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE(type);
        fresh();
        state.settings.explodeType = type;
        fill(4, 4, 2, 2);
        setBonus(4, 4, game::BonusExplode);
        EXPECT_TRUE(resolve());
        // The square scores, and every cell under the pattern scores Ball.
        EXPECT_EQ(state.level.levelScore, 10 + blastCells[type]);
        EXPECT_EQ(static_cast<int>(state.effects.burst.size()), blastCells[type]);
        for (int dc = -3; dc <= 3; ++dc)
            for (int dr = -3; dr <= 3; ++dr)
                EXPECT_EQ(at(4 + dc, 4 + dr) == 0, game::inBlastPattern(type, dc, dr) || (dc >= 0 && dc <= 1 && dr >= 0 && dr <= 1))
                    << dc << "," << dr;
        // The blast empties the whole square too: its cells get bursts, not clear effects.
        EXPECT_TRUE(state.effects.clear.empty());
    }
    EXPECT_EQ(sound.count(game::SoundExplode), 4);

    // In a corner only the cells on the board are blasted: a diamond of radius 3 keeps 10.
    fresh();
    state.settings.explodeType = 3;
    fill(0, 0, 2, 2);
    setBonus(0, 0, game::BonusExplode);
    EXPECT_TRUE(resolve());
    EXPECT_EQ(state.level.levelScore, 10 + 10);
    EXPECT_EQ(emptyCount(), 10);
}

TEST_F(Matches, BonusesCaughtByABlastActInCellOrder) {
    // A 5 by 5 blast at (4, 4) catches a Color bonus at (2, 2) and an Explode at (6, 6). The Color
    // bonus comes first in cell order and sweeps colour 1 (16 balls, (2, 2) and (6, 6) among them);
    // both blasts still go off. 41 cells lie under the two blasts, 9 more balls of colour 1
    // elsewhere.
    state.settings.explodeType = 1;
    fill(4, 4, 2, 2);
    setBonus(4, 4, game::BonusExplode);
    setBonus(2, 2, game::BonusColor);
    setBonus(6, 6, game::BonusExplode);
    ASSERT_EQ(at(2, 2), 1);
    EXPECT_TRUE(resolve());
    EXPECT_EQ(state.level.levelScore, 10 + 16 + 25 + 25);
    EXPECT_EQ(emptyCount(), 50);
    EXPECT_EQ(static_cast<int>(state.effects.burst.size()), 50);
    EXPECT_TRUE(state.effects.clear.empty());
    std::set<std::pair<int, int>> bursts;
    for (const EffectEntry& e : state.effects.burst) bursts.insert({e.column, e.row});
    EXPECT_EQ(bursts.size(), 50u);
    for (int i = 0; i < game::kCellCount; ++i) {
        EXPECT_EQ(state.board.cellBonus[i], 0);
        EXPECT_EQ(state.board.cellStamp[i], 0);
    }
    EXPECT_EQ(sound.played, (std::vector<game::SoundId>{game::SoundColor, game::SoundExplode, game::SoundExplode}));
}

TEST_F(Matches, SecondColorBonusOfAColourFindsItsCellEmpty) {
    fill(4, 4, 2, 2);
    setBonus(4, 4, game::BonusColor);
    setBonus(5, 5, game::BonusColor);
    EXPECT_TRUE(resolve());
    EXPECT_EQ(state.level.levelScore, 10 + 4);
    EXPECT_EQ(sound.count(game::SoundColor), 1);
    EXPECT_EQ(emptyCount(), 4);
}

TEST_F(Matches, FreezeAndScoreBoostAct) {
    fill(4, 4, 2, 2);
    setBonus(4, 4, game::BonusScoreBoost);
    setBonus(5, 5, game::BonusFreeze);
    state.level.levelStartTime = 90000;
    EXPECT_TRUE(resolve());
    EXPECT_EQ(state.level.levelScore, 10 + 500);
    EXPECT_TRUE(state.level.freezeOn);
    EXPECT_EQ(state.level.freezeStart, clock.now());

    // A second freeze 4 s into the first moves the level clock's start by the 4 s frozen so far.
    clock.advance(4000);
    fill(4, 4, 2, 2);
    setBonus(5, 4, game::BonusFreeze);
    EXPECT_TRUE(resolve());
    EXPECT_EQ(state.level.levelStartTime, 94000u);
    EXPECT_EQ(state.level.freezeStart, clock.now());
    EXPECT_EQ(sound.count(game::SoundFreeze), 2);
    EXPECT_EQ(sound.count(game::SoundScore), 1);

    // The move-limited modes have no clock to freeze.
    state.gameMode = game::GameMode::Strategy;
    state.level.freezeOn = false;
    fill(4, 4, 2, 2);
    setBonus(4, 5, game::BonusFreeze);
    EXPECT_TRUE(resolve());
    EXPECT_FALSE(state.level.freezeOn);
}

TEST_F(Matches, ScoringOffClearsFiguresWithoutBooking) {
    fill(0, 0, 2, 3);
    fill(8, 3, 2, 3);
    for (int k = 0; k < 5; ++k) put(2 + k, 3 + k, 7);
    EXPECT_TRUE(resolve(Scoring::Off));
    expectBooked(booked(), 0, 0, 0, 17);
    EXPECT_TRUE(state.effects.clear.empty());
    EXPECT_TRUE(state.effects.burst.empty());
}

TEST_F(Matches, ColoursBeyondTheLevelsCountAreNoFigures) {
    def().colors = 6;
    fill(4, 4, 2, 2);
    EXPECT_FALSE(resolve());
    EXPECT_EQ(emptyCount(), 0);
}

// Every cell of every figure, found the slow way.
std::set<int> figureCells(const game::Board& board, int colours, bool lines) {
    std::set<int> cells;
    auto v = [&](int c, int r) { return board.cells[game::cellIndex(c, r)]; };
    auto take = [&](std::initializer_list<std::pair<int, int>> group) {
        const uint8_t first = v(group.begin()->first, group.begin()->second);
        if (first == 0 || first > colours) return;
        for (auto [c, r] : group)
            if (v(c, r) != first) return;
        for (auto [c, r] : group) cells.insert(game::cellIndex(c, r));
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

TEST_F(Matches, ClearsExactlyTheCellsOfEveryFigureOnRandomBoards) {
    game::Random boards(7);
    for (int trial = 0; trial < 3000; ++trial) {
        const int colours = 2 + trial % 3;
        const bool lines = trial % 2 == 0;
        def().colors = colours;
        state.settings.verticals = lines ? 1 : 0;
        for (uint8_t& cell : state.board.cells) cell = static_cast<uint8_t>(boards.mod(colours + 2));  // some empty, some beyond
        const game::Board before = state.board;
        const std::set<int> expected = figureCells(before, colours, lines);
        EXPECT_EQ(game::resolveMatches(state, services, Scoring::Off), !expected.empty());
        for (int i = 0; i < game::kCellCount; ++i) {
            const bool emptied = before.cells[i] != 0 && state.board.cells[i] == 0;
            ASSERT_EQ(emptied, expected.count(i) == 1) << "trial " << trial << " cell " << i;
        }
    }
}

}  // namespace
