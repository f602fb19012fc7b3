#include "game/shuffle.hpp"

#include <map>
#include <tuple>

#include "game/effects.hpp"
#include "rules_fixture.hpp"

namespace {

struct Shuffle : rules_test::RulesFixture {
    void SetUp() override {
        state.playState = rules::StatePlaying;
        state.level.currentLevel = 1;
        def().colors = 6;
        setRows(rules_test::quietRows());
    }

    void strategy(int moves, float left, int swap) {
        state.playState = rules::StatePlaying;
        state.gameMode = rules::GameMode::Strategy;
        state.level.limit = moves;
        state.level.remaining = left;
        state.settings.swap = {swap, swap, swap, swap, swap};
    }

    // A timed level with `secondsLeft` whole seconds on its clock.
    void action(int seconds, int secondsLeft, int swap) {
        state.playState = rules::StatePlaying;
        state.gameMode = rules::GameMode::Action;
        state.level.limit = seconds;
        state.level.levelStartTime = clock.now() - static_cast<uint32_t>(seconds - secondsLeft) * 1000u - 500u;
        state.settings.swap = {swap, swap, swap, swap, swap};
    }

    // Runs the sweep the way the play frame does; returns the frames it took.
    int sweep() {
        int frames = 0;
        while (state.playState == rules::StateShuffle && frames < 500) {
            rules::advanceShuffle(state);
            rules::advanceEffects(state);
            ++frames;
        }
        return frames;
    }

    using Ball = std::tuple<uint8_t, uint8_t, int32_t>;
    std::map<Ball, int> balls() const {
        std::map<Ball, int> all;
        for (int i = 0; i < rules::kCellCount; ++i)
            if (state.board.cells[i] != 0) ++all[{state.board.cells[i], state.board.cellBonus[i], state.board.cellStamp[i]}];
        return all;
    }
};

// The prices of tests/scenarios/shuffle_*.sim, here the groups without a usable SWAP.
TEST_F(Shuffle, GroupsWithoutAPositiveSwapOfferNoShuffle) {
    action(120, 100, 0);
    EXPECT_FALSE(rules::canShuffle(state, services));
    strategy(20, 10, -3);
    EXPECT_FALSE(rules::canShuffle(state, services));

    // Puzzle has no clock: it pays with its moves.
    strategy(20, 10, 4);
    state.gameMode = rules::GameMode::Puzzle;
    rules::shuffle(state, services);
    EXPECT_FLOAT_EQ(state.level.remaining, 5);

    // Levels past the last group use the last group's SWAP.
    strategy(20, 10, 4);
    state.settings.swap[4] = 10;
    state.level.currentLevel = 31;
    EXPECT_EQ(rules::shufflePrice(state), 2);
}

TEST_F(Shuffle, DealsEveryBallWithItsBonusAndKeepsTheHoles) {
    strategy(30, 20, 5);
    state.gameMode = rules::GameMode::Puzzle;
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 3 + c % 4; ++r) put(c, r, 0);
    setBonus(4, 8, rules::BonusExplode);
    clock.advance(10);
    setBonus(9, 9, rules::BonusColor);
    const rules::Board before = state.board;
    const auto ballsBefore = balls();

    rules::shuffle(state, services);
    EXPECT_EQ(state.board, before);  // the sweep shows the deal later
    EXPECT_EQ(sweep(), 69);
    EXPECT_EQ(state.playState, rules::StatePlaying);
    EXPECT_EQ(balls(), ballsBefore);
    int moved = 0;
    for (int i = 0; i < rules::kCellCount; ++i) {
        EXPECT_EQ(state.board.cells[i] == 0, before.cells[i] == 0) << i;
        if (state.board.cells[i] != before.cells[i]) ++moved;
        EXPECT_EQ(state.board.cellBonus[i] == 0, state.board.cellStamp[i] == 0) << i;
    }
    EXPECT_GT(moved, 20);
    EXPECT_TRUE(state.effects.reveal.empty());
}

TEST_F(Shuffle, SweepRunsDiagonalByDiagonal) {
    strategy(30, 20, 5);
    rules::shuffle(state, services);
    std::vector<std::vector<rules::EffectEntry>> diagonals;
    for (int t = 0; t < 68; ++t) {
        state.effects.reveal.clear();
        rules::advanceShuffle(state);
        if (t % 3 != 0) {
            EXPECT_TRUE(state.effects.reveal.empty());
        } else {
            diagonals.push_back(state.effects.reveal);
        }
    }
    ASSERT_EQ(diagonals.size(), 23u);
    EXPECT_EQ(diagonals[0], (std::vector<rules::EffectEntry>{{0, 0, 0}}));
    EXPECT_EQ(diagonals[2], (std::vector<rules::EffectEntry>{{2, 0, 0}, {1, 1, 0}, {0, 2, 0}}));
    EXPECT_EQ(diagonals[17], (std::vector<rules::EffectEntry>{{9, 8, 0}, {8, 9, 0}}));
    EXPECT_EQ(diagonals[18], (std::vector<rules::EffectEntry>{{9, 9, 0}}));
    for (size_t s = 19; s < diagonals.size(); ++s) EXPECT_TRUE(diagonals[s].empty());
    rules::advanceShuffle(state);
    EXPECT_EQ(state.playState, rules::StatePlaying);
}

TEST_F(Shuffle, RevealLongerThanTheSweepStillDealsEveryCell) {
    strategy(30, 20, 5);
    state.effects.frames = {0, 0, 30};
    rules::shuffle(state, services);
    const rules::ShuffleState deal = state.shuffle;
    EXPECT_EQ(sweep(), 69);
    EXPECT_EQ(state.board.cells, deal.shuffleCells);
    EXPECT_EQ(state.board.cellBonus, deal.shuffleBonus);
    EXPECT_TRUE(state.effects.reveal.empty());
}

TEST_F(Shuffle, OnlyFromPlayAndTheTipComesOnce) {
    strategy(30, 20, 5);
    state.playState = rules::StateSettling;
    rules::shuffle(state, services);
    EXPECT_EQ(state.playState, rules::StateSettling);
    EXPECT_FLOAT_EQ(state.level.remaining, 20);

    state.playState = rules::StatePlaying;
    rules::shuffle(state, services);
    EXPECT_TRUE(state.requests.shuffleTip);
    EXPECT_TRUE(state.player.shuffleTipShown);
    sweep();
    state.requests.shuffleTip = false;
    rules::shuffle(state, services);
    EXPECT_EQ(state.playState, rules::StateShuffle);
    EXPECT_FALSE(state.requests.shuffleTip);
}

}  // namespace
