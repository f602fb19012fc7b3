#include "game/modes.hpp"

#include "game/falling.hpp"
#include "game/pause.hpp"
#include "game/shuffle.hpp"
#include "rules_fixture.hpp"

namespace {

using rules::GameMode;
using rules::RuleStep;

struct Modes : rules_test::RulesFixture {
    rules::LevelDefinition level(int target, int limit, int colours = 5) {
        rules::LevelDefinition def;
        def.target = target;
        def.limit = limit;
        def.colors = colours;
        def.square4 = 10;
        return def;
    }

    // Sets the level up and plays it from its first frame, as the opening would end.
    void start(GameMode mode, int number) {
        state.level.nextLevel = number;
        ASSERT_TRUE(rules::setupLevel(state, services, mode));
        setRows(rules_test::quietRows());
        rules::startPlay(state, services);
    }

    RuleStep rules() { return rules::applyModeRules(state, services); }

    // Sets a timed level's clock so that the whole seconds left are `left`.
    void secondsLeft(int left) {
        state.level.levelStartTime = clock.now() - static_cast<uint32_t>(state.level.limit - left) * 1000u;
    }
};

TEST_F(Modes, ActionIsLostInTheFrameInWhichTheLimitHasPassed) {
    addLevel(GameMode::Action, 1, level(1000, 60));
    start(GameMode::Action, 1);
    EXPECT_EQ(state.playState, rules::StatePlaying);
    EXPECT_TRUE(state.requests.recordRun);
    EXPECT_EQ(rules(), RuleStep::Continue);
    EXPECT_FLOAT_EQ(state.level.remaining, 60);

    state.level.levelScore = 500;
    state.level.totalScore = 300;
    clock.advance(1000 + 1000 / 55 + 59999);
    EXPECT_EQ(rules(), RuleStep::Continue);
    EXPECT_FLOAT_EQ(state.level.remaining, 1);
    EXPECT_EQ(state.level.progressPercent, 50);
    clock.advance(1);
    EXPECT_EQ(rules(), RuleStep::LevelLost);
    EXPECT_EQ(state.playState, rules::StateLevelOver);
    EXPECT_EQ(state.level.levelScore, 0);
    EXPECT_EQ(state.level.totalScore, 300);
    EXPECT_EQ(state.level.nextLevel, 1);
    EXPECT_FALSE(state.level.levelWon);
    EXPECT_FALSE(state.level.levelRunning);
}

TEST_F(Modes, FinishLevelLetsTheBoardSettleAndScoreFirst) {
    addLevel(GameMode::Action, 1, level(10, 60));
    start(GameMode::Action, 1);
    def().colors = 7;
    for (int c : {2, 3})
        for (int r : {2, 3}) put(c, r, 7);
    state.playState = rules::StateLevelOver;
    rules::finishLevel(state, services);
    EXPECT_EQ(state.level.levelScore, 10);
    EXPECT_TRUE(state.level.freezeOn);
    int frames = 1;
    for (; state.playState == rules::StateLevelOver && frames < 100; ++frames) {
        rules::finishLevel(state, services);
        if (state.fall.fallOffset < 28) rules::advanceFallAnimation(state);
    }
    EXPECT_EQ(state.playState, rules::StateFallOut);
    EXPECT_EQ(emptyCount(), 0);
    EXPECT_GT(frames, 10);
}

TEST_F(Modes, FallOutEmptiesTheBoardBottomRowFirst) {
    rules::startFallOut(state, services);
    for (int r = 0; r < 10; ++r) {
        std::vector<int> waits;
        for (int c = 0; c < 10; ++c) waits.push_back(-135 + 15 * r - state.fallOut.fallOffsets[rules::cellIndex(c, r)]);
        std::sort(waits.begin(), waits.end());
        EXPECT_EQ(waits, (std::vector<int>{1, 2, 4, 5, 7, 8, 10, 11, 13, 14})) << r;
    }
    int ticks = 0, twentyAt = 0;
    state.level.endBonusShown = 5;
    while (!rules::advanceFallOut(state) && ticks < 1000) {
        ++ticks;
        if (twentyAt == 0 && state.fallOut.fallenCount >= 20) {
            twentyAt = ticks;
            EXPECT_EQ(state.fallOut.fallenCount, 20);
            EXPECT_EQ(state.level.endBonusShown, 0);
            state.level.endBonusShown = 0.9375f;
        } else if (twentyAt != 0 && ticks == twentyAt + 1) {
            // Still 20 out, but the bonus paid on the previous tick stays.
            EXPECT_EQ(state.fallOut.fallenCount, 20);
            EXPECT_EQ(state.level.endBonusShown, 0.9375f);
        }
    }
    // Row 8's last ball (a wait of 29) leaves at tick 43, row 0's last (149) at tick 163.
    EXPECT_EQ(twentyAt, 43);
    EXPECT_EQ(ticks + 1, 163);
    EXPECT_EQ(state.fallOut.fallenCount, 100);
}

TEST_F(Modes, NextLevelComesAfterAnIntermissionOnlyWhenAWonLevelOpensAGroup) {
    struct Case {
        GameMode mode;
        int next;
        bool won;
        rules::PlayState expected;
    };
    const Case cases[] = {
        {GameMode::Action, 6, true, rules::StateIntermission},        {GameMode::Action, 7, true, rules::StateLevelStart},
        {GameMode::Action, 6, false, rules::StateLevelStart},         {GameMode::Action, 26, true, rules::StateLevelStart},
        {GameMode::ActionPuzzle, 11, true, rules::StateIntermission}, {GameMode::ActionPuzzle, 6, true, rules::StateLevelStart},
        {GameMode::ActionPuzzle, 51, true, rules::StateLevelStart},   {GameMode::Puzzle, 26, true, rules::StateLevelStart},
        {GameMode::Strategy, 0, true, rules::StateLevelStart},        {GameMode::Strategy, -4, true, rules::StateLevelStart},
    };
    for (const Case& c : cases) {
        state.gameMode = c.mode;
        state.level.nextLevel = c.next;
        state.level.levelWon = c.won;
        rules::chooseNextLevel(state);
        EXPECT_EQ(state.playState, c.expected) << static_cast<int>(c.mode) << " " << c.next;
    }
}

TEST_F(Modes, SetUpCarriesScoresAndHoldsUndefinedLevelValuesToSaneOnes) {
    addLevel(GameMode::Strategy, 1, level(0, 25, 0));
    addLevel(GameMode::Strategy, 2, level(500, 30, 12));
    state.level.levelScore = 70;
    state.level.totalScore = 30;
    state.runePoints = 11;
    state.moves.pendingBlockTurn.active = true;
    state.fall.fallOffset = 7;
    state.level.nextLevel = 1;
    ASSERT_TRUE(rules::setupLevel(state, services, GameMode::Strategy));
    EXPECT_EQ(state.level.totalScore, 100);
    EXPECT_EQ(state.level.levelScore, 0);
    EXPECT_EQ(state.runePoints, 0);
    EXPECT_FLOAT_EQ(state.level.remaining, 25);
    EXPECT_EQ(state.playState, rules::StateLevelStart);
    EXPECT_FALSE(state.moves.pendingBlockTurn.active);
    EXPECT_EQ(state.fall.fallOffset, 28);
    EXPECT_TRUE(state.level.levelRunning);

    // Target 0 counts as 1: nothing is won before the first point, and then the level is.
    EXPECT_EQ(state.level.target, 1);
    EXPECT_EQ(rules::ballColours(state), 2);
    EXPECT_EQ(rules(), RuleStep::Continue);
    EXPECT_EQ(state.playState, rules::StateLevelStart);
    state.level.levelScore = 1;
    rules();
    EXPECT_EQ(state.playState, rules::StateLevelOver);

    state.level.nextLevel = 2;
    ASSERT_TRUE(rules::setupLevel(state, services, GameMode::Strategy));
    EXPECT_EQ(rules::ballColours(state), 7);
    state.level.nextLevel = 3;
    EXPECT_FALSE(rules::setupLevel(state, services, GameMode::Strategy));

    // A resumed timed level takes its saved clock and keeps its scores.
    addLevel(GameMode::Action, 4, level(500, 60));
    state.level.nextLevel = 4;
    state.level.resumeSaved = true;
    state.level.resumeElapsedSeconds = 20;
    state.level.levelScore = 40;
    state.runePoints = 9;
    ASSERT_TRUE(rules::setupLevel(state, services, GameMode::Action));
    EXPECT_FALSE(state.level.resumeSaved);
    EXPECT_EQ(state.level.levelStartTime, clock.now() - 20000);
    EXPECT_EQ(state.level.levelScore, 40);
    EXPECT_EQ(state.runePoints, 9);

    // The clock starts a little after the opening: 1000 + 1000 / (11 x colours) ms.
    const uint32_t before = state.level.levelStartTime;
    rules::startPlay(state, services);
    EXPECT_EQ(state.level.levelStartTime - before, 1000u + 1000u / 55u);
}

TEST_F(Modes, AContinuedLevelPlaysOnItsSavedBoardAndAFreshSetUpEndsTheContinuation) {
    addLevel(GameMode::Action, 4, level(500, 60, 5));
    rules::Board& saved = state.level.resumeBoard;
    for (int i = 0; i < rules::kCellCount; ++i) saved.cells[i] = static_cast<uint8_t>(1 + i % 5);
    saved.cellBonus[12] = rules::BonusFreeze;
    saved.cellStamp[12] = 3000;  // an age
    saved.cells[10] = 9;         // no such colour: a damaged save
    saved.cells[11] = 6;         // a colour this level does not have
    saved.cellBonus[13] = 9;     // no such bonus
    saved.cellStamp[13] = 10;
    saved.cells[14] = 0;  // an empty cell carries no bonus
    saved.cellBonus[14] = rules::BonusExplode;
    state.level.nextLevel = 4;
    state.level.resumeSaved = true;
    state.level.inResumedLevel = true;
    state.level.resumeElapsedSeconds = 20;
    ASSERT_TRUE(rules::setupLevel(state, services, GameMode::Action));
    EXPECT_EQ(state.board.cells[0], 1);
    EXPECT_EQ(state.board.cells[99], 5);
    EXPECT_EQ(state.board.cellBonus[12], rules::BonusFreeze);
    EXPECT_EQ(state.board.cellStamp[12], static_cast<int32_t>(clock.now() - 3000)) << "the age is a time again";
    EXPECT_EQ(state.board.cells[10], 0);
    EXPECT_EQ(state.board.cells[11], 0);
    EXPECT_EQ(state.board.cellBonus[13], rules::BonusNone);
    EXPECT_EQ(state.board.cellStamp[13], 0);
    EXPECT_EQ(state.board.cellBonus[14], rules::BonusNone);
    EXPECT_EQ(state.level.levelStartTime, clock.now() - 20000);
    EXPECT_TRUE(state.level.inResumedLevel) << "until a level is set up fresh";

    // A damaged clock starts neither ahead of now nor past the level's end.
    for (const auto& [elapsed, expected] : {std::pair{-5, 0u}, std::pair{1000, 60000u}}) {
        state.level.resumeSaved = true;
        state.level.resumeElapsedSeconds = elapsed;
        ASSERT_TRUE(rules::setupLevel(state, services, GameMode::Action));
        EXPECT_EQ(clock.now() - state.level.levelStartTime, expected);
    }

    state.level.nextLevel = 4;
    ASSERT_TRUE(rules::setupLevel(state, services, GameMode::Action));
    EXPECT_FALSE(state.level.inResumedLevel);
}

TEST_F(Modes, ResumingGoesBackToTheStateThePauseInterrupted) {
    addLevel(GameMode::Action, 1, level(1000, 60));
    start(GameMode::Action, 1);
    // A tip closed over a settling board goes back to play; the settle test takes it from there.
    state.playState = rules::StateSettling;
    rules::pauseLevel(state, services);
    rules::resumeLevel(state, services);
    EXPECT_EQ(state.playState, rules::StatePlaying);

    state.playState = rules::StateShuffle;
    rules::pauseLevel(state, services);
    rules::resumeLevel(state, services);
    EXPECT_EQ(state.playState, rules::StateShuffle);

    state.playState = rules::StateFallOut;
    rules::pauseLevel(state, services);
    rules::resumeLevel(state, services);
    EXPECT_EQ(state.playState, rules::StateFallOut);
}

TEST_F(Modes, LevelLostDuringAShuffleKeepsTheDeal) {
    addLevel(GameMode::Action, 1, level(1000, 60));
    start(GameMode::Action, 1);
    state.settings.swap = {4, 4, 4, 4, 4};
    secondsLeft(20);
    rules::shuffle(state, services);
    ASSERT_EQ(state.playState, rules::StateShuffle);
    const rules::ShuffleState deal = state.shuffle;
    for (int t = 0; t < 10; ++t) rules::advanceShuffle(state);
    clock.advance(10000);
    EXPECT_EQ(rules(), RuleStep::LevelLost);
    EXPECT_EQ(state.board.cells, deal.shuffleCells);
    EXPECT_TRUE(state.effects.reveal.empty());
}

}  // namespace
