#include <gtest/gtest.h>

#include <vector>

#include "game/moves.hpp"

namespace {

using namespace rules;

class RecordingSound final : public SoundSink {
  public:
    void play(SoundId id) override { played.push_back(id); }
    void stop(SoundId) override {}
    bool isPlaying(SoundId) const override { return false; }
    std::vector<SoundId> played;
};

struct Fixture {
    ManualClock clock{100000};
    Random random{1};
    RecordingSound sound;
    Services services{clock, random, sound};
    GameState state;

    Fixture() {
        state.playState = StatePlaying;
        // Every cell distinct enough to follow: colour from position, bonuses and stamps marked.
        for (int i = 0; i < kCellCount; ++i) {
            state.board.cells[i] = static_cast<uint8_t>(1 + i % 7);
            state.board.cellBonus[i] = static_cast<uint8_t>(i % 6);
            state.board.cellStamp[i] = state.board.cellBonus[i] ? 1000 + i : 0;
        }
    }
    void runBlockTurn() {
        for (int i = 0; i < 5; ++i) advanceBlockTurn(state);
    }
    void runBoardTurn() {
        while (state.playState == StateRotating) advanceBoardTurn(state);
    }
};

TEST(BlockTurn, ClickSelectsTheBlockUnderThePointerWithInclusiveEdges) {
    Fixture f;
    turnBlock(f.state, f.services, 257 + 279, 157 + 100, Direction::Clockwise);
    ASSERT_TRUE(f.state.moves.pendingBlockTurn.active);
    EXPECT_EQ(f.state.moves.pendingBlockTurn.blockColumn, 4);
    EXPECT_EQ(f.state.moves.pendingBlockTurn.blockRow, 1);
    EXPECT_EQ(f.sound.played, std::vector<SoundId>{SoundBlockRight});

    Fixture g;
    turnBlock(g.state, g.services, 257 + 280, 157 + 100, Direction::Clockwise);
    turnBlock(g.state, g.services, 256, 160, Direction::CounterClockwise);
    EXPECT_FALSE(g.state.moves.pendingBlockTurn.active);
    EXPECT_TRUE(g.sound.played.empty());
    EXPECT_FALSE(g.state.moves.moveMade);
}

TEST(BlockTurn, OnlyABlockHoldingABallCountsAsAMove) {
    Fixture f;
    for (int index : {cellIndex(0, 0), cellIndex(0, 1), cellIndex(1, 0), cellIndex(1, 1)}) f.state.board.cells[index] = 0;
    turnBlock(f.state, f.services, 260, 160, Direction::CounterClockwise);
    EXPECT_TRUE(f.state.moves.pendingBlockTurn.active);
    EXPECT_EQ(f.sound.played, std::vector<SoundId>{SoundBlockLeft});
    EXPECT_FALSE(f.state.moves.moveMade);

    f.runBlockTurn();
    f.state.board.cells[cellIndex(1, 1)] = 3;
    turnBlock(f.state, f.services, 260, 160, Direction::CounterClockwise);
    EXPECT_TRUE(f.state.moves.moveMade);
}

TEST(BlockTurn, PermutesAllThreeArraysOnTheFifthFrame) {
    Fixture f;
    const Board before = f.state.board;
    const int tl = cellIndex(2, 4), bl = cellIndex(2, 5), tr = cellIndex(3, 4), br = cellIndex(3, 5);
    turnBlock(f.state, f.services, 257 + 56 + 10, 157 + 112 + 10, Direction::CounterClockwise);

    std::vector<int> steps;
    for (int frame = 1; frame <= 4; ++frame) {
        advanceBlockTurn(f.state);
        steps.push_back(blockTurnStep(f.state.moves.pendingBlockTurn));
    }
    EXPECT_EQ(f.state.board, before) << "nothing moves before the fifth frame";
    advanceBlockTurn(f.state);
    steps.push_back(blockTurnStep(f.state.moves.pendingBlockTurn));
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(f.state.moves.pendingBlockTurn.active);
    advanceBlockTurn(f.state);
    EXPECT_EQ(blockTurnStep(f.state.moves.pendingBlockTurn), 0) << "the frame after shows no turn";
    EXPECT_EQ(f.state.playState, StatePlaying);

    const Board& b = f.state.board;
    EXPECT_EQ(b.cells[tl], before.cells[tr]);
    EXPECT_EQ(b.cells[tr], before.cells[br]);
    EXPECT_EQ(b.cells[br], before.cells[bl]);
    EXPECT_EQ(b.cells[bl], before.cells[tl]);
    EXPECT_EQ(b.cellBonus[tl], before.cellBonus[tr]);
    EXPECT_EQ(b.cellStamp[tl], before.cellStamp[tr]);
    EXPECT_EQ(b.cellBonus[bl], before.cellBonus[tl]);
    EXPECT_EQ(b.cellStamp[bl], before.cellStamp[tl]);

    // A clockwise turn draws its steps backwards and permutes the other way.
    Fixture g;
    turnBlock(g.state, g.services, 260, 160, Direction::Clockwise);
    steps.clear();
    for (int frame = 1; frame <= 5; ++frame) {
        advanceBlockTurn(g.state);
        steps.push_back(blockTurnStep(g.state.moves.pendingBlockTurn));
    }
    EXPECT_EQ(steps, (std::vector<int>{5, 4, 3, 2, 1}));
    EXPECT_EQ(g.state.board.cells[cellIndex(0, 0)], before.cells[cellIndex(0, 1)]);
    EXPECT_EQ(g.state.board.cells[cellIndex(1, 0)], before.cells[cellIndex(0, 0)]);
}

TEST(BlockTurn, FourTurnsOfEitherDirectionGiveTheBoardBack) {
    for (Direction direction : {Direction::Clockwise, Direction::CounterClockwise}) {
        Fixture f;
        const Board before = f.state.board;
        for (int turn = 0; turn < 4; ++turn) {
            turnBlock(f.state, f.services, 257 + 170, 157 + 10, direction);
            EXPECT_TRUE(f.state.moves.pendingBlockTurn.active);
            f.runBlockTurn();
            if (turn < 3) {
                EXPECT_NE(f.state.board, before);
            }
        }
        EXPECT_EQ(f.state.board, before);
    }
}

TEST(BlockTurn, IgnoredWhilePendingOrOutsidePlay) {
    Fixture f;
    turnBlock(f.state, f.services, 260, 160, Direction::CounterClockwise);
    advanceBlockTurn(f.state);
    turnBlock(f.state, f.services, 400, 400, Direction::Clockwise);
    EXPECT_EQ(f.state.moves.pendingBlockTurn.blockColumn, 0);
    EXPECT_EQ(f.state.moves.pendingBlockTurn.frame, 1);
    EXPECT_EQ(f.sound.played.size(), 1u);

    for (PlayState other : {StateSettling, StateRotating, StateShuffle, StateLevelOver, StateLevelAdvance}) {
        Fixture g;
        g.state.playState = other;
        turnBlock(g.state, g.services, 400, 400, Direction::Clockwise);
        EXPECT_FALSE(g.state.moves.pendingBlockTurn.active) << other;
        EXPECT_FALSE(g.state.moves.moveMade) << other;
    }
}

TEST(BlockTurn, AStalePendingTurnIsDroppedByAClickMoreThanTwoSecondsLater) {
    Fixture f;
    turnBlock(f.state, f.services, 260, 160, Direction::CounterClockwise);
    f.clock.advance(2000);
    turnBlock(f.state, f.services, 400, 400, Direction::Clockwise);
    EXPECT_EQ(f.state.moves.pendingBlockTurn.blockColumn, 0) << "2000 ms is not yet stale";
    f.clock.advance(2001);
    turnBlock(f.state, f.services, 400, 400, Direction::Clockwise);
    ASSERT_TRUE(f.state.moves.pendingBlockTurn.active);
    EXPECT_EQ(f.state.moves.pendingBlockTurn.blockColumn, 2);
    EXPECT_EQ(f.state.moves.pendingBlockTurn.direction, Direction::Clockwise);
}

TEST(BlockTurn, ATurnPendingWhenPlayStopsIsDroppedWithoutTouchingTheBoard) {
    for (PlayState stopped : {StateShuffle, StateLevelOver, StateFallOut}) {
        Fixture f;
        const Board before = f.state.board;
        turnBlock(f.state, f.services, 260, 160, Direction::CounterClockwise);
        advanceBlockTurn(f.state);
        f.state.playState = stopped;
        for (int i = 0; i < 5; ++i) advanceBlockTurn(f.state);
        EXPECT_FALSE(f.state.moves.pendingBlockTurn.active);
        EXPECT_EQ(f.state.playState, stopped);
        EXPECT_EQ(f.state.board, before);
    }
}

TEST(BoardTurn, ArrowButtonsStartTurnsWithInclusiveBoundsAndTableOrder) {
    Fixture f;
    EXPECT_TRUE(turnBoardAt(f.state, f.services, 361, 109));  // button 0, top-left corner
    EXPECT_EQ(f.state.playState, StateRotating);
    EXPECT_EQ(f.state.moves.boardTurn.direction, Direction::CounterClockwise);
    EXPECT_TRUE(f.state.moves.moveMade);
    EXPECT_EQ(f.sound.played, std::vector<SoundId>{SoundBoardLeft});

    Fixture g;
    EXPECT_TRUE(turnBoardAt(g.state, g.services, 436, 134));  // button 4, bottom-right corner
    EXPECT_EQ(g.state.moves.boardTurn.direction, Direction::Clockwise);

    Fixture h;
    EXPECT_FALSE(turnBoardAt(h.state, h.services, 437, 134));
    EXPECT_FALSE(turnBoardAt(h.state, h.services, 36, 249));  // a side button never turns the board
    h.state.playState = StateSettling;
    EXPECT_FALSE(turnBoardAt(h.state, h.services, 361, 109));

    // A click on an arrow button goes to the board turn, not to a block.
    Fixture k;
    turnBlock(k.state, k.services, 209, 302, Direction::Clockwise);
    EXPECT_EQ(k.state.playState, StateRotating);
    EXPECT_EQ(k.state.moves.boardTurn.direction, Direction::CounterClockwise);
    EXPECT_FALSE(k.state.moves.pendingBlockTurn.active);
}

TEST(BoardTurn, TurnsTheArraysOnTheSixthFrame) {
    Fixture f;
    const Board before = f.state.board;
    turnBoard(f.state, f.services, Direction::Clockwise);
    for (int frame = 1; frame <= 5; ++frame) {
        advanceBoardTurn(f.state);
        EXPECT_EQ(f.state.moves.boardTurn.frame, frame);
        EXPECT_EQ(f.state.board, before);
    }
    advanceBoardTurn(f.state);
    EXPECT_EQ(f.state.playState, StatePlaying);
    // Clockwise the top-left cell goes to the top-right corner.
    EXPECT_EQ(f.state.board.cells[cellIndex(9, 0)], before.cells[cellIndex(0, 0)]);
    EXPECT_EQ(f.state.board.cellStamp[cellIndex(9, 0)], before.cellStamp[cellIndex(0, 0)]);
    EXPECT_EQ(f.state.board.cellBonus[cellIndex(9, 3)], before.cellBonus[cellIndex(3, 0)]);

    Fixture g;
    turnBoard(g.state, g.services, Direction::CounterClockwise);
    g.runBoardTurn();
    EXPECT_EQ(g.state.board.cells[cellIndex(0, 9)], before.cells[cellIndex(0, 0)]);
    EXPECT_EQ(g.state.board.cellBonus[cellIndex(3, 9)], before.cellBonus[cellIndex(0, 3)]);
}

TEST(BoardTurn, FourTurnsGiveTheBoardBackAndNothingElseMovesMeanwhile) {
    for (Direction direction : {Direction::Clockwise, Direction::CounterClockwise}) {
        Fixture f;
        const Board before = f.state.board;
        for (int turn = 0; turn < 4; ++turn) {
            turnBoard(f.state, f.services, direction);
            turnBoard(f.state, f.services, direction);  // a second trigger mid-turn does nothing
            turnBlock(f.state, f.services, 400, 400, direction);
            EXPECT_FALSE(f.state.moves.pendingBlockTurn.active);
            f.runBoardTurn();
        }
        EXPECT_EQ(f.state.board, before);
        EXPECT_EQ(f.sound.played.size(), 4u);
    }
}

}  // namespace
