// The hint finder on the busiest settled boards: seven colours, lines on, a bonus on every other
// ball and every block different; in Puzzle the columns also stand at uneven heights, so both board
// turns are played out through their falls.
#include <benchmark/benchmark.h>

#include "game/falling.hpp"
#include "game/hints.hpp"
#include "game/matches.hpp"

namespace {

constexpr rules::BonusKind kBonusCycle[] = {rules::BonusExplode, rules::BonusUniversal, rules::BonusColor, rules::BonusScoreBoost,
                                            rules::BonusFreeze};
// Empty cells at the top of each column of the Puzzle board; of each pair of columns one keeps at
// least its second ball, so no block of the top row is empty.
constexpr int kPuzzleHoles[rules::kColumns] = {1, 3, 0, 2, 3, 1, 2, 0, 1, 3};

struct BusyBoard {
    rules::GameState state;
    rules::ManualClock clock{100000};
    rules::Random random{7};
    rules::SilentSound sound;
    rules::Services services{clock, random, sound};

    explicit BusyBoard(rules::GameMode mode) {
        state.gameMode = mode;
        state.playState = rules::StatePlaying;
        state.settings.verticals = 1;
        state.settings.explodeType = 1;
        rules::LevelDefinition& def = state.level.definition;
        def.colors = 7;
        def.square4 = 50;
        def.square6 = 120;
        def.diagonal = {80, 120, 180, 250, 350};
        def.vh = 60;
        def.ball = 5;
        def.scoreBoost = 200;
        rules::generateBoard(state, services, 7);
        if (!rules::isRefilled(mode))
            for (int c = 0; c < rules::kColumns; ++c)
                for (int r = 0; r < kPuzzleHoles[c]; ++r) state.board.cells[rules::cellIndex(c, r)] = 0;
        // Bonuses on the black squares of a chessboard, the five kinds spread along rows and columns.
        for (int c = 0; c < rules::kColumns; ++c) {
            for (int r = (c % 2); r < rules::kRows; r += 2) {
                const int i = rules::cellIndex(c, r);
                if (state.board.cells[i] == 0) continue;
                state.board.cellBonus[i] = kBonusCycle[(c + 3 * r) % 5];
                // A universal ball may complete a figure where it lands; the board must stay settled.
                if (holdsFigure()) state.board.cellBonus[i] = rules::BonusNone;
            }
        }
    }

    bool holdsFigure() {
        rules::GameState trial = state;
        return rules::resolveMatches(trial, services, rules::Scoring::Off);
    }
};

void findHintOn(benchmark::State& bench, rules::GameMode mode) {
    const BusyBoard busy(mode);
    bool found = false;
    for (auto _ : bench) {
        const std::optional<rules::Hint> hint = rules::findHint(busy.state);
        found = hint.has_value();
        benchmark::DoNotOptimize(hint);
    }
    bench.SetLabel(found ? "a move found" : "no move found");
}

void BM_FindHintAction(benchmark::State& bench) { findHintOn(bench, rules::GameMode::Action); }
BENCHMARK(BM_FindHintAction)->Unit(benchmark::kMicrosecond);

void BM_FindHintPuzzle(benchmark::State& bench) { findHintOn(bench, rules::GameMode::Puzzle); }
BENCHMARK(BM_FindHintPuzzle)->Unit(benchmark::kMicrosecond);

}  // namespace
