#include "game/falling.hpp"

#include "game/effects.hpp"
#include "game/matches.hpp"
#include "rules_fixture.hpp"

namespace {

using game::StatePlaying;
using game::StateSettling;

struct Falling : rules_test::RulesFixture {
    void SetUp() override {
        state.gameMode = game::GameMode::Action;
        state.playState = StatePlaying;
        def().colors = 7;
        def().square4 = 10;
        state.settings.combo = {2, 3, 4, 5, 6, 7, 8, 9};
        setRows(rules_test::quietRows());
    }

    // The play frame's steps that concern the fall: the state step, then the drawing step's drop.
    void frame() {
        if (state.playState == StatePlaying) {
            const bool cleared = game::resolveMatches(state, services, game::Scoring::On);
            game::afterMatches(state, services, cleared);
            if (game::fallStep(state, services)) state.playState = StateSettling;
        } else if (state.playState == StateSettling) {
            if (!game::fallStep(state, services)) state.playState = StatePlaying;
        }
        if (state.fall.fallOffset < 28) game::advanceFallAnimation(state);
    }

    // Frames after the current one until StatePlaying returns.
    int framesUntilPlaying() {
        for (int n = 1; n <= 100; ++n) {
            frame();
            if (state.playState == StatePlaying) return n;
        }
        return -1;
    }
};

TEST_F(Falling, ClearedSquareFallsInTwoStepsWithNewBallsInAction) {
    const game::Board before = state.board;
    for (int c : {4, 5})
        for (int r : {4, 5}) put(c, r, 7);
    frame();  // the square is cleared and the first drop is drawn
    ASSERT_EQ(state.playState, StateSettling);
    EXPECT_EQ(emptyCount(), 4);
    EXPECT_TRUE(game::needsFall(state));

    std::vector<int> stepFrames;
    for (int n = 1; state.playState != StatePlaying && n < 40; ++n) {
        const size_t heard = sound.played.size();
        frame();
        if (sound.played.size() > heard && sound.played.back() >= game::SoundFalling0) stepFrames.push_back(n);
    }
    // Board steps four frames apart after the first four-frame drop, then one more drop: play
    // resumes 12 frames after the clear.
    EXPECT_EQ(stepFrames, (std::vector<int>{4, 8}));
    EXPECT_EQ(state.playState, StatePlaying);
    EXPECT_EQ(sound.count(game::SoundFalling0), 1);
    EXPECT_EQ(sound.count(static_cast<game::SoundId>(game::SoundFalling0 + 1)), 1);
    EXPECT_EQ(emptyCount(), 0);
    for (int c : {4, 5}) {
        for (int r = 0; r < 4; ++r) EXPECT_EQ(at(c, r + 2), before.cells[game::cellIndex(c, r)]);
        for (int r = 6; r < 10; ++r) EXPECT_EQ(at(c, r), before.cells[game::cellIndex(c, r)]);
    }
    EXPECT_EQ(state.effects.burst, (std::vector<game::EffectEntry>{{4, 0, 0}, {5, 0, 0}, {4, 0, 0}, {5, 0, 0}}));
    EXPECT_EQ(state.fall.fallSoundIndex, 2);
    EXPECT_FALSE(state.fall.fallPrimed);

    // The first quiet frame of play ends the chain and starts the falling sounds over.
    frame();
    EXPECT_EQ(state.fall.fallSoundIndex, 0);
    EXPECT_FALSE(state.chain.chainRunning);
}

TEST_F(Falling, PuzzleKeepsTheHolesAtTheTop) {
    state.gameMode = game::GameMode::Puzzle;
    const game::Board before = state.board;
    for (int c : {4, 5})
        for (int r : {4, 5}) put(c, r, 7);
    frame();
    EXPECT_EQ(framesUntilPlaying(), 12);
    for (int c : {4, 5}) {
        EXPECT_EQ(at(c, 0), 0);
        EXPECT_EQ(at(c, 1), 0);
        for (int r = 0; r < 4; ++r) EXPECT_EQ(at(c, r + 2), before.cells[game::cellIndex(c, r)]);
    }
    EXPECT_EQ(emptyCount(), 4);
    EXPECT_FALSE(game::needsFall(state));
    EXPECT_TRUE(state.effects.burst.empty());
}

TEST_F(Falling, BallsThatLandInASquareContinueTheChain) {
    // Columns 4 and 5: a pair of 6 at row 5 lands on the pair of 6 at row 8 when the square of 7
    // at rows 6 and 7 goes.
    state.gameMode = game::GameMode::Puzzle;
    for (int c : {4, 5}) {
        put(c, 5, 6);
        put(c, 6, 7);
        put(c, 7, 7);
        put(c, 8, 6);
    }
    frame();
    EXPECT_EQ(state.level.levelScore, 10);
    EXPECT_EQ(sound.count(game::SoundDisappear), 1);
    EXPECT_EQ(framesUntilPlaying(), 12);
    EXPECT_EQ(at(4, 7), 6);
    frame();  // found on the first frame after the fall: base points plus Combo 2 times them
    EXPECT_EQ(state.level.levelScore, 10 + 10 + 10 * 2);
    EXPECT_EQ(sound.count(game::SoundCombo1), 1);
    EXPECT_EQ(state.chain.comboIndex, 1);
    EXPECT_EQ(state.chain.matchEvents, 2);
}

TEST_F(Falling, ComboMultipliersAndSoundsFollowTheChain) {
    state.level.passPoints = 10;
    for (int set = 1; set <= 11; ++set) game::afterMatches(state, services, true);
    // Set 1 starts the chain; sets 2..9 use Combo 2..9, later ones Combo 9 again.
    EXPECT_EQ(state.level.levelScore, 10 * (2 + 3 + 4 + 5 + 6 + 7 + 8 + 9 + 9 + 9));
    std::vector<game::SoundId> expected{game::SoundDisappear};
    for (int n = 0; n < 10; ++n) expected.push_back(static_cast<game::SoundId>(game::SoundCombo1 + std::min(n, 6)));
    EXPECT_EQ(sound.played, expected);
    EXPECT_EQ(state.chain.matchEvents, 11);

    // A quiet frame ends the chain; the disappear sound is not restarted while it plays.
    game::afterMatches(state, services, false);
    EXPECT_FALSE(state.chain.chainRunning);
    game::afterMatches(state, services, true);
    EXPECT_EQ(sound.count(game::SoundDisappear), 1);
    EXPECT_TRUE(state.chain.chainRunning);

    // Only the integer part of a fractional combo is kept.
    state.settings.combo[0] = 1.5;
    state.level.levelScore = 0;
    state.level.passPoints = 7;
    game::afterMatches(state, services, true);
    EXPECT_EQ(state.level.levelScore, 10);
}

TEST_F(Falling, GeneratedBoardsAreFullAndFigureFree) {
    for (int lines = 0; lines < 2; ++lines) {
        state.settings.verticals = lines;
        for (int colours = 0; colours <= 9; ++colours) {
            SCOPED_TRACE(testing::Message() << "lines " << lines << " colours " << colours);
            for (int seed = 0; seed < 5; ++seed) {
                random.seed(static_cast<uint32_t>(seed));
                game::generateBoard(state, services, colours);
                const int used = std::clamp(colours, 2, 7);
                for (int i = 0; i < game::kCellCount; ++i) {
                    ASSERT_GE(state.board.cells[i], 1);
                    ASSERT_LE(state.board.cells[i], used);
                    ASSERT_EQ(state.board.cellBonus[i], 0);
                }
                game::Board generated = state.board;
                EXPECT_FALSE(game::resolveMatchesWithColours(state, services, game::Scoring::Off, used));
                EXPECT_EQ(state.board, generated);
            }
        }
    }
}

TEST_F(Falling, RevealBringsColourOneFirstAndEachBallOnItsLastFrame) {
    def().colors = 5;
    state.effects.frames = {0, 0, 4};
    game::generateBoard(state, services, 5);
    const game::Board generated = state.board;
    game::startReveal(state, services);
    EXPECT_EQ(state.playState, game::StateBoardFill);
    EXPECT_EQ(emptyCount(), 100);
    EXPECT_EQ(state.reveal.preparedCells, generated.cells);
    EXPECT_EQ(state.reveal.revealOrder[0], 1);
    std::vector<uint8_t> order(state.reveal.revealOrder.begin(), state.reveal.revealOrder.begin() + 5);
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(sound.count(game::SoundRuneShine), 1);

    // Each colour comes when the previous one has played its four frames, and its balls enter the
    // board on the last of them.
    for (int batch = 0; batch < 5; ++batch) {
        EXPECT_FALSE(game::advanceReveal(state, services));
        const uint8_t colour = state.reveal.revealOrder[batch];
        const auto count = std::count(generated.cells.begin(), generated.cells.end(), colour);
        EXPECT_EQ(static_cast<long>(state.effects.reveal.size()), count);
        for (int tick = 0; tick < 4; ++tick) {
            if (tick > 0) {
                EXPECT_FALSE(game::advanceReveal(state, services));
            }
            EXPECT_EQ(std::count(state.board.cells.begin(), state.board.cells.end(), colour), 0);
            game::advanceEffects(state);
        }
        EXPECT_EQ(std::count(state.board.cells.begin(), state.board.cells.end(), colour), count);
    }
    EXPECT_TRUE(game::advanceReveal(state, services));
    EXPECT_EQ(state.board.cells, generated.cells);
    EXPECT_EQ(sound.count(game::SoundNewBalls), 5);

    // With no frame count from the graphics settings a reveal plays one frame and never stalls.
    state.effects.frames = {0, 0, 0};
    game::startReveal(state, services);
    int ticks = 0;
    while (!game::advanceReveal(state, services) && ticks < 20) {
        game::advanceEffects(state);
        ++ticks;
    }
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(state.board.cells, generated.cells);
}

}  // namespace
