// The level-balancing bot: its look-ahead plays moves out as the rules would, it wins an easy level
// through the real frame tick, its random clicker replays by seed, and its report judges a level set
// by the targets.
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "batch.hpp"
#include "data/levels.hpp"
#include "game/falling.hpp"
#include "game/matches.hpp"
#include "planner.hpp"
#include "report.hpp"
#include "support/test_support.hpp"

namespace {

using levelbot::AttemptResult;
using levelbot::AttemptSetup;
using levelbot::Move;
using levelbot::MoveKind;
using levelbot::PlayerKind;

// Small, easy levels: one of each mode the tests play.
constexpr std::string_view kLevels = R"(
Verticals 1
Universal 2
ExplodeType 2
FreezDuration 5
Combo 2 = 0.5
Combo 3 = 1.0
SWAP 4 4 4 4 4
TIMEbonus 10 10 10 10 10
MOVEbonus 10 10 10 10 10

ActionLevel 1
Colors 4
Score 300
Time 60
Square 4 = 50
Square 6 = 120
Diagonal 4 = 80
VH 60
RunesSQuare2x2 2

StrategyLevel 1
Colors 4
Score 100000
Moves 24
Square 4 = 50
Square 6 = 120

PuzzleLevel 1
Colors 4
Progress 12
Moves 10
Square 4 = 50
Square 6 = 120
)";

// A game folder holding only the level file and the graphics settings: the rules need no pictures
// or sounds.
class LevelbotGame : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::filesystem::path ini = game_.path() / "ini";
        testing_support::writeFile(ini / "levels.txt", std::string(kLevels));
        testing_support::writeFile(ini / "gfxini.txt",
                                   testing_support::readFile(testing_support::builtGameFolder() / "ini" / "gfxini.txt"));
        ASSERT_TRUE(levelbot::readLevelSet(ini / "levels.txt", set_));
        folders_ = {game_.path(), writes_.path()};
    }

    AttemptResult play(rules::GameMode mode, PlayerKind player, uint32_t seed, bool openTarget = false) {
        AttemptSetup setup;
        setup.mode = mode;
        setup.level = 1;
        setup.seed = seed;
        setup.player = player;
        setup.paceMs = player == PlayerKind::Bot ? levelbot::kHumanPaceMs : 0;
        setup.openTarget = openTarget;
        return levelbot::playAttempt(set_, folders_, setup);
    }

    testing_support::TempFolder game_, writes_;
    levelbot::LevelSet set_;
    levelbot::GameFolders folders_;
};

void expectRisingMilestones(const AttemptResult& r) {
    ASSERT_FALSE(r.milestones.empty());
    for (size_t i = 1; i < r.milestones.size(); ++i) {
        EXPECT_GT(r.milestones[i].progress, r.milestones[i - 1].progress);
        EXPECT_LE(r.milestones[i].left, r.milestones[i - 1].left);
    }
    EXPECT_EQ(r.milestones.back().progress, r.progress);
}

TEST_F(LevelbotGame, TheBotWinsEasyLevelsThroughTheFrameTick) {
    // Action: 300 points in a minute, one move a second.
    const AttemptResult action = play(rules::GameMode::Action, PlayerKind::Bot, 3);
    EXPECT_TRUE(action.won);
    EXPECT_GE(action.progress, 300);
    EXPECT_GT(action.left, 0);
    EXPECT_LE(action.left, 60);
    // At one move a second, no more moves than seconds gone by.
    EXPECT_LE(action.moves, static_cast<int>(action.gameMs / 1000) + 1);
    EXPECT_GT(action.moves, 0);
    expectRisingMilestones(action);

    // Puzzle: twelve empty cells within ten moves; no new balls come in.
    const AttemptResult puzzle = play(rules::GameMode::Puzzle, PlayerKind::Bot, 5);
    EXPECT_TRUE(puzzle.won);
    EXPECT_GE(puzzle.progress, 12);
    // Each turn costs a move and a shuffle a quarter of the budget (SWAP 4).
    EXPECT_LE(puzzle.moves, 10);
    EXPECT_EQ(puzzle.left, 10 - puzzle.moves - 2 * puzzle.shuffles);
    expectRisingMilestones(puzzle);
}

// A player who plays the game's move hint every time, at a human's pace, scores far more in the
// minute of the easy Action level than one who clicks at random at the same pace: the hints lead
// to figures.
TEST_F(LevelbotGame, FollowingTheMoveHintsScoresFarMoreThanClickingAtRandom) {
    const auto minute = [&](PlayerKind player) {
        AttemptSetup setup;
        setup.mode = rules::GameMode::Action;
        setup.level = 1;
        setup.seed = 3;
        setup.player = player;
        setup.paceMs = levelbot::kHumanPaceMs;
        setup.openTarget = true;
        return levelbot::playAttempt(set_, folders_, setup);
    };
    const AttemptResult hints = minute(PlayerKind::Hints), random = minute(PlayerKind::Random);
    EXPECT_GT(hints.moves, 0);
    EXPECT_GT(hints.progress, 2 * random.progress) << hints.progress << " against " << random.progress;
}

TEST_F(LevelbotGame, TheRandomClickerReplaysBySeedAndSpendsTheMoveBudget) {
    const AttemptResult first = play(rules::GameMode::Strategy, PlayerKind::Random, 11);
    const AttemptResult again = play(rules::GameMode::Strategy, PlayerKind::Random, 11);
    EXPECT_EQ(first.gameMs, again.gameMs);
    EXPECT_EQ(first.moves, again.moves);
    EXPECT_EQ(first.progress, again.progress);
    ASSERT_EQ(first.milestones.size(), again.milestones.size());
    for (size_t i = 0; i < first.milestones.size(); ++i) EXPECT_EQ(first.milestones[i].progress, again.milestones[i].progress);

    // Twenty-four moves at two a block turn: the level is lost after the twelfth click.
    EXPECT_FALSE(first.won);
    EXPECT_EQ(first.moves, 12);

    // Another seed deals other boards.
    bool differs = false;
    for (uint32_t seed : {12u, 13u}) {
        const AttemptResult other = play(rules::GameMode::Strategy, PlayerKind::Random, seed);
        differs = differs || other.gameMs != first.gameMs || other.progress != first.progress;
    }
    EXPECT_TRUE(differs);
}

TEST_F(LevelbotGame, WorkerProcessesReturnEveryResultInOrder) {
    std::vector<AttemptSetup> setups;
    for (uint32_t seed = 1; seed <= 3; ++seed)
        setups.push_back({rules::GameMode::Strategy, 1, seed, PlayerKind::Random, 0, true});
    const std::vector<AttemptResult> alone = levelbot::runAttempts(set_, folders_, setups, 1);
    const std::vector<AttemptResult> shared = levelbot::runAttempts(set_, folders_, setups, 2);
    ASSERT_EQ(shared.size(), setups.size());
    for (size_t i = 0; i < setups.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(shared[i].cutOff);
        EXPECT_EQ(shared[i].progress, alone[i].progress);
        EXPECT_EQ(shared[i].gameMs, alone[i].gameMs);
        EXPECT_EQ(shared[i].milestones.size(), alone[i].milestones.size());
    }
}

// A rule state at rest in play, as the planner sees it between moves.
struct PlannerBoard : ::testing::Test {
    rules::GameState state;

    void SetUp() override {
        state.playState = rules::StatePlaying;
        state.level.definition.colors = 5;
        state.level.definition.square4 = 50;
        state.level.definition.square6 = 120;
        state.level.levelRunning = true;
        state.level.limit = 20;
        state.level.remaining = 20;
    }

    // Rows top to bottom, columns left to right; '.' is empty.
    void setRows(const std::vector<std::string_view>& rows) {
        state.board.clear();
        for (int r = 0; r < static_cast<int>(rows.size()); ++r)
            for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
                state.board.cells[rules::cellIndex(c, r)] = rows[r][c] == '.' ? 0 : static_cast<uint8_t>(rows[r][c] - '0');
    }
};

TEST_F(PlannerBoard, TheLookAheadFindsTheTurnThatCompletesASquare) {
    state.gameMode = rules::GameMode::Puzzle;
    // A clockwise turn of the bottom-left block brings its two top balls into its right column,
    // beside the pair of 1s: a square.
    setRows({"..........", "..........", "..........", "..........", "..........", "..........", "..........", "..........",
             "111.......", "231......."});
    const std::vector<Move> candidates = levelbot::candidateMoves(state);
    // Blocks with a ball (four of them) turn both ways, and the board turns both ways.
    EXPECT_EQ(candidates.size(), 2u * 2 + 2);

    levelbot::Planner planner(1);
    const std::vector<levelbot::MoveValue> ranked = planner.rank(state, 100000);
    ASSERT_FALSE(ranked.empty());
    const Move best{MoveKind::Block, 0, 4, rules::Direction::Clockwise};
    EXPECT_EQ(ranked.front().move, best);
    EXPECT_EQ(ranked.front().gain, 4);
    EXPECT_EQ(planner.choose(state, 100000), best);

    rules::GameState after = state;
    rules::Random random(2);
    levelbot::playOut(after, best, 100000, random);
    EXPECT_EQ(after.level.levelScore, 50);
    EXPECT_EQ(levelbot::levelProgress(after), 100 - 2);
}

TEST_F(PlannerBoard, APlayOutSettlesTheBoardCompletely) {
    // Puzzle: a board turn leaves balls over holes; they fall before the play-out ends.
    state.gameMode = rules::GameMode::Puzzle;
    setRows({"..........", "..........", "..........", "..........", "..........", "..........", "..........", "..........",
             "1234......", "2345......"});
    rules::GameState turned = state;
    rules::Random random(3);
    levelbot::playOut(turned, {MoveKind::Board, 0, 0, rules::Direction::Clockwise}, 100000, random);
    EXPECT_FALSE(rules::boardHasHole(turned));
    EXPECT_EQ(levelbot::levelProgress(turned), 92);

    // Strategy: whatever a turn clears, the refilled board ends full and without a figure.
    state.gameMode = rules::GameMode::Strategy;
    state.level.definition.colors = 4;
    rules::ManualClock clock(100000);
    rules::SilentSound sound;
    rules::Services services{clock, random, sound};
    rules::generateBoard(state, services, 4);
    for (const Move& move : levelbot::candidateMoves(state)) {
        rules::GameState trial = state;
        levelbot::playOut(trial, move, 100000, random);
        EXPECT_FALSE(rules::boardHasHole(trial));
        EXPECT_FALSE(rules::resolveMatches(trial, services, rules::Scoring::Off));
    }
    // On a full board a board turn changes no figure, so it is no candidate.
    for (const Move& move : levelbot::candidateMoves(state)) EXPECT_EQ(move.kind, MoveKind::Block);
}

TEST(LevelbotResults, TravelThroughTheWorkerLineUnchanged) {
    AttemptResult r;
    r.won = true;
    r.progress = 1234;
    r.left = 17;
    r.limit = 90;
    r.moves = 44;
    r.shuffles = 1;
    r.gameMs = 73326;
    r.milestones = {{50, 89}, {170, 88.5}, {1234, 17}};
    size_t index = 0;
    AttemptResult back;
    ASSERT_TRUE(levelbot::decodeResult(levelbot::encodeResult(42, r), index, back));
    EXPECT_EQ(index, 42u);
    EXPECT_EQ(back.won, r.won);
    EXPECT_EQ(back.progress, r.progress);
    EXPECT_EQ(back.left, r.left);
    EXPECT_EQ(back.gameMs, r.gameMs);
    ASSERT_EQ(back.milestones.size(), 3u);
    EXPECT_EQ(back.milestones[1].left, 88.5);
    EXPECT_FALSE(levelbot::decodeResult("7 1 0 0 5", index, back));
}

// A report of one mode with the given win rates (out of ten tries) and random wins.
levelbot::ReportInput reportOf(rules::GameMode mode, const std::vector<int>& wins, const std::vector<int>& randomWins,
                               const std::vector<int>& colours) {
    levelbot::ReportInput input;
    for (size_t i = 0; i < wins.size(); ++i) {
        levelbot::LevelReport r;
        r.mode = mode;
        r.level = static_cast<int32_t>(i + 1);
        r.definition.limit = 100;
        r.definition.colors = colours[i];
        r.tries = 10;
        r.wins = wins[i];
        r.medianLeftWon = wins[i] > 0 ? 30 : -1;
        r.randomTries = 5;
        r.randomWins = randomWins[i];
        input.levels.push_back(r);
    }
    return input;
}

const levelbot::Check& check(const std::vector<levelbot::Check>& checks, std::string_view start) {
    for (const levelbot::Check& c : checks)
        if (c.name.rfind(start, 0) == 0) return c;
    static const levelbot::Check none;
    ADD_FAILURE() << "no check " << start;
    return none;
}

TEST(LevelbotReport, JudgesTheCurveByTheTargets) {
    const std::vector<int> colours = {4, 4, 4, 4, 4, 5, 5};
    {
        const auto input = reportOf(rules::GameMode::Action, {10, 9, 10, 10, 9, 7, 4}, {5, 3, 0, 0, 0, 0, 0}, colours);
        const auto checks = levelbot::checkTargets(input);
        EXPECT_TRUE(check(checks, "The bot wins the first group").met);
        EXPECT_TRUE(check(checks, "The bot wins the last level").met);
        EXPECT_TRUE(check(checks, "No level is unwinnable").met);
        EXPECT_TRUE(check(checks, "No level after the first group is trivial").met);
        EXPECT_TRUE(check(checks, "The random clicker wins nothing").met);
        EXPECT_TRUE(check(checks, "Colours grow").met);
    }
    {
        // 80 % in the first group, 70 % at the end, a level never won, random wins after the first
        // group, and colours that fall back.
        const auto input =
            reportOf(rules::GameMode::Action, {10, 8, 10, 10, 9, 0, 7}, {5, 3, 0, 0, 0, 1, 0}, {4, 4, 4, 5, 4, 5, 5});
        const auto checks = levelbot::checkTargets(input);
        EXPECT_FALSE(check(checks, "The bot wins the first group").met);
        EXPECT_FALSE(check(checks, "The bot wins the last level").met);
        EXPECT_FALSE(check(checks, "No level is unwinnable").met);
        EXPECT_FALSE(check(checks, "The random clicker wins nothing").met);
        EXPECT_NE(check(checks, "The random clicker wins nothing").found.find("Action 6"), std::string::npos);
        EXPECT_FALSE(check(checks, "Colours grow").met);
    }
    {
        // Won every time with more than half the clock left, after the first group: trivial. The
        // same in the first group is fine.
        auto input = reportOf(rules::GameMode::Action, {10, 10, 10, 10, 10, 10, 4}, {0, 0, 0, 0, 0, 0, 0}, colours);
        for (levelbot::LevelReport& r : input.levels) r.medianLeftWon = 60;
        const auto checks = levelbot::checkTargets(input);
        EXPECT_FALSE(check(checks, "No level after the first group is trivial").met);
        EXPECT_EQ(check(checks, "No level after the first group is trivial").found, "Action 6");
    }
}

TEST(LevelbotReport, EachBonusKindNeedsItsOwnFirstLevel) {
    levelbot::LevelSet set;
    data::scanLevelText(
        "ActionLevel 1\nColors 4\nBonusRatio 0 0 0 0 1\n"
        "ActionLevel 2\nColors 4\nBonusRatio 1 0 0 0 1\n",
        set.levels, set.settings);
    auto input = reportOf(rules::GameMode::Action, {10, 10}, {0, 0}, {4, 4});
    input.set = &set;
    EXPECT_TRUE(check(levelbot::checkTargets(input), "Each bonus kind").met);

    levelbot::LevelSet together;
    data::scanLevelText("ActionLevel 1\nColors 4\nBonusRatio 1 0 0 0 1\n", together.levels, together.settings);
    input.set = &together;
    EXPECT_FALSE(check(levelbot::checkTargets(input), "Each bonus kind").met);
}

TEST(LevelbotReport, MedianOfEvenAndOddCounts) {
    EXPECT_EQ(levelbot::median({3, 1, 2}), 2);
    EXPECT_EQ(levelbot::median({4, 1, 3, 2}), 2.5);
    EXPECT_EQ(levelbot::median({}), -1);
}

}  // namespace
