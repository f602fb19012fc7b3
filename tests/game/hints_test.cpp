#include "game/hints.hpp"

#include <initializer_list>
#include <utility>

#include "game/rules_fixture.hpp"

namespace {

using namespace rules;

struct HintFixture : rules_test::RulesFixture {
    HintFixture() {
        state.playState = StatePlaying;
        def().colors = 7;
        def().square4 = 50;
        def().square6 = 120;
    }
};

TEST_F(HintFixture, TheBestScoringBlockTurnWinsAndTiesGoInTheDocumentedOrder) {
    state.gameMode = GameMode::Action;
    def().diagonal = {50, 80, 120, 180, 250};
    const auto quiet = rules_test::quietRows();
    setRows(quiet);
    using Cells = std::initializer_list<std::pair<int, int>>;
    auto placeSevens = [&](Cells cells) {
        for (auto [c, r] : cells) put(c, r, 7);
    };
    auto takeSevens = [&](Cells cells) {
        for (auto [c, r] : cells) put(c, r, static_cast<uint8_t>(quiet[r][c] - '0'));
    };
    // Block (2, 2) clockwise closes a 2 by 3 rectangle over columns 4..6, rows 3..4.
    const Cells rectangle = {{4, 3}, {5, 3}, {6, 3}, {4, 4}, {6, 4}, {4, 5}};
    placeSevens(rectangle);
    // Block (1, 0) counter-clockwise closes a square over columns 1..2.
    placeSevens({{1, 0}, {1, 1}, {2, 0}, {3, 0}});
    // Block (0, 2) either way closes a diagonal from (0, 4) to (3, 7).
    placeSevens({{1, 4}, {0, 5}, {2, 6}, {3, 7}});
    EXPECT_EQ(findHint(state), (Hint{HintKind::BlockTurn, 2, 2, Direction::Clockwise, 120}));

    // Without the rectangle the square and the diagonal tie, and block (1, 0) comes first row by row;
    // without the square the diagonal's two turns tie, and counter-clockwise comes first.
    takeSevens(rectangle);
    EXPECT_EQ(findHint(state), (Hint{HintKind::BlockTurn, 1, 0, Direction::CounterClockwise, 50}));
    takeSevens({{3, 0}});
    EXPECT_EQ(findHint(state), (Hint{HintKind::BlockTurn, 0, 2, Direction::CounterClockwise, 50}));
}

TEST_F(HintFixture, ABoardTurnWhoseFallMakesASquareIsFoundWhereTheBoardIsNotRefilled) {
    // Turned clockwise, row 7 becomes column 2, with its two 7s at the foot, and the two 7s of row 6
    // fall to the foot of column 3 beside them. No block turn makes a figure.
    setRows({"..........", "..........", "..........", "..........", "..........", "..........", "77........", "3456123477",
             "5612345612", "1234561234"});
    for (GameMode mode : {GameMode::Puzzle, GameMode::ActionPuzzle}) {
        state.gameMode = mode;
        EXPECT_EQ(findHint(state), (Hint{HintKind::BoardTurn, 0, 0, Direction::Clockwise, 50}));
    }
}

TEST_F(HintFixture, NoHintWhenNoMoveMakesAFigureOrTheBoardIsNotWaitingForThePlayer) {
    // A full board: a board turn only turns it, and no block turn brings a colour to itself.
    state.gameMode = GameMode::Strategy;
    setRows(rules_test::quietRows());
    EXPECT_EQ(findHint(state), std::nullopt);

    for (auto [c, r] : {std::pair{1, 0}, {1, 1}, {2, 0}, {3, 0}}) put(c, r, 7);
    ASSERT_TRUE(findHint(state));
    state.moves.pendingBlockTurn.active = true;
    EXPECT_EQ(findHint(state), std::nullopt);
    state.moves.pendingBlockTurn.active = false;
    state.fall.fallStepDue = false;
    EXPECT_EQ(findHint(state), std::nullopt);
    state.fall.fallStepDue = true;
    put(2, 1, 7);  // the square stands on the board already
    EXPECT_EQ(findHint(state), std::nullopt);
}

}  // namespace
