#include <gtest/gtest.h>

#include "data/runs.hpp"

namespace {

using rules::GameMode;

struct Runs : ::testing::Test {
    data::Profiles profiles;
    data::HighScores scores;
    rules::GameState state;
    rules::Random random{99};
    static constexpr uint32_t kNow = 500000;

    Runs() {
        profiles.players.resize(2);
        profiles.players[0].setName("ANNA");
        profiles.players[1].setName("BO");
        profiles.currentPlayer = 1;
    }

    data::PlayerProfile& player() { return profiles.players[1]; }
    data::HighScoreTable& table(GameMode mode) { return data::highScoreTable(scores, mode); }

    // Plays on in the current run and records it with this total.
    void recordTotal(int32_t total) {
        state.level.totalScore = total;
        data::recordRun(profiles, scores, state, kNow);
    }

    static data::HighScoreEntry entry(int32_t runId, uint32_t score, std::string_view name) {
        data::HighScoreEntry e;
        e.runId = runId;
        e.score = score;
        std::copy(name.begin(), name.end(), e.nameField.begin());
        return e;
    }

    // Ten entries of other runs; the lowest, 300, held by runs 5, 7 and 9.
    void fillTable(GameMode mode) {
        const uint32_t scoresOf[10] = {900, 800, 700, 600, 500, 300, 400, 300, 350, 300};
        for (int i = 0; i < 10; ++i) table(mode).push_back(entry(i, scoresOf[i], "OLD"));
    }
};

TEST_F(Runs, ANewRunDrawsItsIdentifierAndStartsFromTheFirstLevel) {
    state.settings.startingLevel = 3;
    state.level.totalScore = 50;
    state.level.levelScore = 20;
    state.level.inResumedLevel = true;
    state.level.resumeSaved = true;
    state.level.passPoints = 8;
    rules::Random same{99};
    data::startNewRun(profiles, state, random);
    EXPECT_EQ(player().runId, static_cast<int32_t>(same.next()));
    EXPECT_EQ(state.level.currentRunId, player().runId);
    EXPECT_EQ(profiles.players[0].runId, 0) << "only the current player's run changes";
    EXPECT_EQ(state.level.nextLevel, 3);
    EXPECT_EQ(state.level.totalScore, 0);
    EXPECT_EQ(state.level.levelScore, 0);
    EXPECT_FALSE(state.level.inResumedLevel);
    EXPECT_FALSE(state.level.resumeSaved);
    EXPECT_EQ(state.level.passPoints, 0);
    EXPECT_EQ(state.playState, rules::StateLevelAdvance);
    data::startNewRun(profiles, state, random);
    EXPECT_EQ(player().runId, static_cast<int32_t>(same.next())) << "every run gets a fresh draw";
}

TEST_F(Runs, ResumingTakesTheModesSavedRunAndWithoutOneStartsANewRun) {
    data::SavedRun& saved = player().strategy;
    saved.level = 4;
    saved.total = 1200;
    saved.levelScore = 80;
    saved.elapsedOrMovesLeft = 17;
    saved.runes = 11;
    saved.board[3] = 5;
    saved.bonusLayer[3] = rules::BonusFreeze;
    saved.cellTimes[3] = 2500;
    player().runId = 4242;
    state.gameMode = GameMode::Strategy;
    state.level.levelWon = true;
    data::resumeRun(profiles, state, random);
    EXPECT_EQ(state.level.currentRunId, 4242);
    EXPECT_EQ(state.level.nextLevel, 4);
    EXPECT_EQ(state.level.totalScore, 1200);
    EXPECT_EQ(state.level.levelScore, 80);
    EXPECT_EQ(state.runePoints, 11);
    EXPECT_EQ(state.level.resumeMovesLeft, 17);
    EXPECT_TRUE(state.level.resumeSaved);
    EXPECT_TRUE(state.level.inResumedLevel);
    EXPECT_FALSE(state.level.levelWon) << "a continued run opens without an intermission";
    EXPECT_EQ(state.level.resumeBoard.cells[3], 5);
    EXPECT_EQ(state.level.resumeBoard.cellBonus[3], rules::BonusFreeze);
    EXPECT_EQ(state.level.resumeBoard.cellStamp[3], 2500) << "still an age: the level set-up turns it into a time";
    EXPECT_EQ(state.playState, rules::StateLevelAdvance);

    state.gameMode = GameMode::Action;
    player().action.elapsedOrMovesLeft = 33;
    player().action.level = 0;
    data::resumeRun(profiles, state, random);
    EXPECT_FALSE(state.level.resumeSaved) << "level 0: nothing saved, a new run";
    EXPECT_EQ(state.level.currentRunId, player().runId);
    player().action.level = 2;
    player().action.total = -40;  // only a damaged file holds a negative score
    data::resumeRun(profiles, state, random);
    EXPECT_EQ(state.level.resumeElapsedSeconds, 33);
    EXPECT_EQ(state.level.totalScore, 0);
}

TEST_F(Runs, RecordingStoresTheModesFieldsWithTimersAsAges) {
    state.gameMode = GameMode::Action;
    state.level.currentLevel = 300;  // only the low byte is kept
    state.level.levelScore = 75;
    state.level.limit = 60;
    state.level.remaining = 38.0f;
    state.runePoints = 13;
    state.board.cells[7] = 6;
    state.board.cellBonus[7] = rules::BonusExplode;
    state.board.cellStamp[7] = static_cast<int32_t>(kNow - 1234);
    state.board.cellStamp[8] = 0;
    recordTotal(999);
    const data::SavedRun& action = player().action;
    EXPECT_EQ(action.level, 44);
    EXPECT_EQ(action.total, 999);
    EXPECT_EQ(action.levelScore, 75);
    EXPECT_EQ(action.elapsedOrMovesLeft, 22) << "seconds used: limit - remaining";
    EXPECT_EQ(action.runes, 13);
    EXPECT_EQ(action.board[7], 6);
    EXPECT_EQ(action.bonusLayer[7], rules::BonusExplode);
    EXPECT_EQ(action.cellTimes[7], 1234);
    EXPECT_EQ(action.cellTimes[8], 0) << "no timer stays no timer";
    EXPECT_EQ(state.board.cellStamp[7], static_cast<int32_t>(kNow - 1234)) << "the live board is not touched";
    EXPECT_EQ(player().strategy, data::SavedRun{});

    state.gameMode = GameMode::Strategy;
    state.level.currentLevel = 6;
    state.level.remaining = 7.0f;
    recordTotal(10);
    EXPECT_EQ(player().strategy.elapsedOrMovesLeft, 7) << "moves left";
    state.gameMode = GameMode::ActionPuzzle;
    state.level.limit = 90;
    state.level.remaining = 89.5f;
    recordTotal(10);
    EXPECT_EQ(player().actionPuzzle.elapsedOrMovesLeft, 0) << "truncated to whole seconds";

    state.gameMode = GameMode::Puzzle;
    const data::PlayerProfile before = player();
    recordTotal(4000);
    EXPECT_EQ(player(), before) << "Puzzle keeps no saved run";
    EXPECT_EQ(table(GameMode::Action).front().score, 4000u) << "its scores go to the Action table";

    profiles.currentPlayer = 7;
    const data::Profiles all = profiles;
    const data::HighScores allScores = scores;
    recordTotal(5000);
    EXPECT_EQ(profiles, all) << "no current player: nothing is recorded";
    EXPECT_EQ(scores, allScores);
}

TEST_F(Runs, ARunKeepsOneEntryThatOnlyEverGoesUp) {
    state.gameMode = GameMode::Strategy;
    state.level.currentRunId = 31;
    recordTotal(500);
    recordTotal(800);
    recordTotal(700);
    ASSERT_EQ(table(GameMode::Strategy).size(), 1u);
    EXPECT_EQ(table(GameMode::Strategy)[0].score, 800u);
    EXPECT_EQ(table(GameMode::Strategy)[0].runId, 31);
    EXPECT_EQ(table(GameMode::Strategy)[0].name(), "BO");
    EXPECT_EQ(player().strategy.total, 700) << "the profile holds the run as it is now";

    // Another player of the same name, on another run, gets an entry of its own.
    state.level.currentRunId = 32;
    recordTotal(600);
    ASSERT_EQ(table(GameMode::Strategy).size(), 2u);
    EXPECT_EQ(table(GameMode::Strategy)[1].runId, 32);
    EXPECT_TRUE(table(GameMode::Action).empty());
    EXPECT_TRUE(table(GameMode::ActionPuzzle).empty());

    state.level.currentRunId = 33;
    recordTotal(0);
    EXPECT_EQ(table(GameMode::Strategy).size(), 2u) << "a total of 0 never makes an entry";
}

TEST_F(Runs, AFullTableTakesAtLeastItsLowestScoreWhichTheNewEntryReplaces) {
    state.gameMode = GameMode::ActionPuzzle;
    fillTable(GameMode::ActionPuzzle);
    state.level.currentRunId = 100;
    recordTotal(299);
    EXPECT_EQ(table(GameMode::ActionPuzzle).size(), 10u);
    EXPECT_EQ(table(GameMode::ActionPuzzle)[5].runId, 5) << "299 is not entered: no sort either";

    recordTotal(300);
    const data::HighScoreTable& t = table(GameMode::ActionPuzzle);
    ASSERT_EQ(t.size(), 10u);
    std::vector<int32_t> runs;
    for (const auto& e : t) runs.push_back(e.runId);
    // Run 5 (the first 300) went; the new 300 stands below the older ones.
    EXPECT_EQ(runs, (std::vector<int32_t>{0, 1, 2, 3, 4, 6, 8, 7, 9, 100}));
}

TEST_F(Runs, AnEditedTableOfElevenKeepsItsLengthAndScoresCompareUnsigned) {
    state.gameMode = GameMode::Action;
    fillTable(GameMode::Action);
    table(GameMode::Action).push_back(entry(10, 200, "OLD"));
    state.level.currentRunId = 100;
    recordTotal(250);
    ASSERT_EQ(table(GameMode::Action).size(), 11u);
    EXPECT_EQ(table(GameMode::Action).back().runId, 100) << "the 200 made room";

    // A score past 2^31 is a high score, not a negative one.
    data::HighScoreTable& t = table(GameMode::Action);
    for (auto& e : t) e.score = 0x80000000u + static_cast<uint32_t>(e.runId);
    state.level.currentRunId = 101;
    recordTotal(2000000000);
    EXPECT_EQ(t.size(), 11u);
    EXPECT_TRUE(std::none_of(t.begin(), t.end(), [](const auto& e) { return e.runId == 101; }));
}

TEST_F(Runs, AContinuedLevelLeavesTheTableAloneButStoresTheProfile) {
    state.gameMode = GameMode::Action;
    state.level.currentRunId = 8;
    state.level.inResumedLevel = true;
    state.level.currentLevel = 5;
    recordTotal(4000);
    EXPECT_TRUE(table(GameMode::Action).empty());
    EXPECT_EQ(player().action.total, 4000);
    EXPECT_EQ(player().action.level, 5);
}

}  // namespace
