#include "game/falling.hpp"

#include "game/effects.hpp"
#include "game/matches.hpp"
#include "rules_fixture.hpp"

namespace {

struct Falling : rules_test::RulesFixture {
    void SetUp() override {
        state.gameMode = rules::GameMode::Action;
        state.playState = rules::StatePlaying;
        def().colors = 7;
        def().square4 = 10;
        state.settings.combo = {2, 3, 4, 5, 6, 7, 8, 9};
        setRows(rules_test::quietRows());
    }
};

// The chain's steps, multipliers and sounds are shown by tests/scenarios/combos.sim.
TEST_F(Falling, ChainKeepsTheIntegerPartOfItsCombosAndEndsOnAQuietFrame) {
    state.settings.combo[0] = 1.5;
    state.level.passPoints = 7;
    rules::afterMatches(state, services, true);
    rules::afterMatches(state, services, true);
    EXPECT_EQ(state.level.levelScore, 10);
    EXPECT_EQ(state.chain.matchEvents, 2);

    rules::afterMatches(state, services, false);
    EXPECT_FALSE(state.chain.chainRunning);
    rules::afterMatches(state, services, true);
    EXPECT_EQ(state.chain.comboIndex, 0);
    // The disappear sound is not restarted while it plays.
    EXPECT_EQ(sound.played, (std::vector<rules::SoundId>{rules::SoundDisappear, rules::SoundCombo1}));
}

TEST_F(Falling, GeneratedBoardsAreFullAndFigureFree) {
    for (int lines = 0; lines < 2; ++lines) {
        state.settings.verticals = lines;
        for (int colours = 0; colours <= 9; ++colours) {
            SCOPED_TRACE(testing::Message() << "lines " << lines << " colours " << colours);
            for (int seed = 0; seed < 5; ++seed) {
                random.seed(static_cast<uint32_t>(seed));
                rules::generateBoard(state, services, colours);
                const int used = std::clamp(colours, 2, 7);
                for (int i = 0; i < rules::kCellCount; ++i) {
                    ASSERT_GE(state.board.cells[i], 1);
                    ASSERT_LE(state.board.cells[i], used);
                    ASSERT_EQ(state.board.cellBonus[i], 0);
                }
                rules::Board generated = state.board;
                EXPECT_FALSE(rules::resolveMatchesWithColours(state, services, rules::Scoring::Off, used));
                EXPECT_EQ(state.board, generated);
            }
        }
    }
}

// New balls are drawn from every colour of the level, the highest included, and from no other;
// the level's count is held to 2..7 as the board generator holds it.
TEST_F(Falling, RefilledModesBringNewBallsOfEveryColourOfTheLevel) {
    for (const rules::GameMode mode : {rules::GameMode::Action, rules::GameMode::Strategy}) {
        for (const int colours : {0, 2, 5, 7, 9}) {
            SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(mode) << " colours " << colours);
            state.gameMode = mode;
            def().colors = colours;
            const int used = std::clamp(colours, 2, 7);
            setRows(rules_test::quietRows());
            std::array<int, 8> drawn{};
            for (int round = 0; round < 40; ++round) {
                for (int c = 0; c < rules::kColumns; ++c) put(c, 0, 0);
                state.fall.fallStepDue = true;
                state.fall.fallPrimed = true;
                ASSERT_TRUE(rules::fallStep(state, services));
                for (int c = 0; c < rules::kColumns; ++c) {
                    const uint8_t colour = at(c, 0);
                    ASSERT_GE(colour, 1);
                    ASSERT_LE(colour, used);
                    drawn[colour] += 1;
                }
            }
            for (int colour = 1; colour <= used; ++colour) EXPECT_GT(drawn[colour], 0) << "colour " << colour;
        }
    }
}

TEST_F(Falling, RevealBringsColourOneFirstAndEachBallOnItsLastFrame) {
    def().colors = 5;
    state.effects.frames = {0, 0, 4};
    rules::generateBoard(state, services, 5);
    const rules::Board generated = state.board;
    rules::startReveal(state, services);
    EXPECT_EQ(state.playState, rules::StateBoardFill);
    EXPECT_EQ(emptyCount(), 100);
    EXPECT_EQ(state.reveal.preparedCells, generated.cells);
    EXPECT_EQ(state.reveal.revealOrder[0], 1);
    std::vector<uint8_t> order(state.reveal.revealOrder.begin(), state.reveal.revealOrder.begin() + 5);
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(sound.count(rules::SoundRuneShine), 1);

    // Each colour comes when the previous one has played its four frames, and its balls enter the
    // board on the last of them.
    for (int batch = 0; batch < 5; ++batch) {
        EXPECT_FALSE(rules::advanceReveal(state, services));
        const uint8_t colour = state.reveal.revealOrder[batch];
        const auto count = std::count(generated.cells.begin(), generated.cells.end(), colour);
        EXPECT_EQ(static_cast<long>(state.effects.reveal.size()), count);
        for (int tick = 0; tick < 4; ++tick) {
            if (tick > 0) {
                EXPECT_FALSE(rules::advanceReveal(state, services));
            }
            EXPECT_EQ(std::count(state.board.cells.begin(), state.board.cells.end(), colour), 0);
            rules::advanceEffects(state);
        }
        EXPECT_EQ(std::count(state.board.cells.begin(), state.board.cells.end(), colour), count);
    }
    EXPECT_TRUE(rules::advanceReveal(state, services));
    EXPECT_EQ(state.board.cells, generated.cells);
    EXPECT_EQ(sound.count(rules::SoundNewBalls), 5);

    // With no frame count from the graphics settings a reveal plays one frame and never stalls.
    state.effects.frames = {0, 0, 0};
    rules::startReveal(state, services);
    int ticks = 0;
    while (!rules::advanceReveal(state, services) && ticks < 20) {
        rules::advanceEffects(state);
        ++ticks;
    }
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(state.board.cells, generated.cells);
}

}  // namespace
