// The rules' per-tick work: match resolution with and without figures, a board step of a fall,
// board generation for each number of colours, and all the rule steps of one tick of play.
#include <benchmark/benchmark.h>

#include "game/falling.hpp"
#include "game/matches.hpp"
#include "game/modes.hpp"
#include "game/runes.hpp"

namespace {

struct Rules {
    rules::GameState state;
    rules::ManualClock clock{100000};
    rules::Random random{1};
    rules::SilentSound sound;
    rules::Services services{clock, random, sound};

    explicit Rules(int colours = 7) {
        state.gameMode = rules::GameMode::Action;
        state.playState = rules::StatePlaying;
        state.settings.verticals = 1;
        rules::LevelDefinition& def = state.level.definition;
        def.colors = colours;
        def.square4 = 50;
        def.square6 = 120;
        def.diagonal = {80, 120, 180, 250, 350};
        def.vh = 60;
        def.runesSquare2x2 = 2;
        def.bonusRatio = {1, 1, 1, 1, 1};
        def.target = 1000000;
        def.limit = 600;
        state.level.levelRunning = true;
        state.level.levelStartTime = clock.now();
    }

    // Seven colours, no colour next to itself in any direction: no figure anywhere.
    void quietBoard() {
        for (int c = 0; c < rules::kColumns; ++c)
            for (int r = 0; r < rules::kRows; ++r)
                state.board.cells[rules::cellIndex(c, r)] = static_cast<uint8_t>(1 + (c + 3 * r) % 7);
    }

    // The quiet board with two squares, a 2 by 3 rectangle and a diagonal of five.
    void busyBoard() {
        quietBoard();
        auto put = [&](int c, int r, uint8_t v) { state.board.cells[rules::cellIndex(c, r)] = v; };
        for (int c : {1, 2})
            for (int r : {1, 2}) put(c, r, 1);
        for (int c : {6, 7})
            for (int r : {7, 8}) put(c, r, 2);
        for (int c : {6, 7})
            for (int r : {1, 2, 3}) put(c, r, 3);
        for (int k = 0; k < 5; ++k) put(1 + k, 4 + k, 4);
    }
};

void BM_ResolveMatchesNoFigure(benchmark::State& bench) {
    Rules rules;
    rules.quietBoard();
    for (auto _ : bench) benchmark::DoNotOptimize(rules::resolveMatches(rules.state, rules.services, rules::Scoring::On));
}
BENCHMARK(BM_ResolveMatchesNoFigure);

void BM_ResolveMatchesSeveralFigures(benchmark::State& bench) {
    Rules rules;
    rules.busyBoard();
    const rules::Board busy = rules.state.board;
    for (auto _ : bench) {
        rules.state.board = busy;
        rules.state.effects.clear.clear();
        benchmark::DoNotOptimize(rules::resolveMatches(rules.state, rules.services, rules::Scoring::On));
    }
}
BENCHMARK(BM_ResolveMatchesSeveralFigures);

// One board step: every column with a hole moves down by one and takes a new ball.
void BM_FallStep(benchmark::State& bench) {
    Rules rules;
    rules.quietBoard();
    for (int c = 0; c < rules::kColumns; ++c) rules.state.board.cells[rules::cellIndex(c, 6)] = 0;
    const rules::Board holed = rules.state.board;
    for (auto _ : bench) {
        rules.state.board = holed;
        rules.state.effects.burst.clear();
        rules.state.fall.fallStepDue = true;
        rules.state.fall.fallPrimed = true;
        benchmark::DoNotOptimize(rules::fallStep(rules.state, rules.services));
    }
}
BENCHMARK(BM_FallStep);

void BM_GenerateBoard(benchmark::State& bench) {
    Rules rules;
    rules.state.settings.verticals = static_cast<int32_t>(bench.range(1));
    const int colours = static_cast<int>(bench.range(0));
    for (auto _ : bench) {
        rules::generateBoard(rules.state, rules.services, colours);
        benchmark::DoNotOptimize(rules.state.board.cells.data());
    }
}
BENCHMARK(BM_GenerateBoard)
    ->ArgsProduct({{2, 3, 4, 5, 6, 7}, {0, 1}})
    ->ArgNames({"colours", "lines"})
    ->Unit(benchmark::kMicrosecond);

// Every rule step of one quiet tick of play, in the order the play frame runs them.
void BM_RuleTickOfPlay(benchmark::State& bench) {
    Rules rules;
    rules.quietBoard();
    rules::GameState& state = rules.state;
    for (int i = 0; i < rules::kCellCount; i += 7) {
        state.board.cellBonus[i] = rules::BonusScoreBoost;
        state.board.cellStamp[i] = 100000;
    }
    state.level.definition.bonusDuration = 1000000;
    for (auto _ : bench) {
        rules.clock.advance(33);
        const bool cleared = rules::resolveMatches(state, rules.services, rules::Scoring::On);
        rules::afterMatches(state, rules.services, cleared);
        if (rules::fallStep(state, rules.services)) state.playState = rules::StateSettling;
        rules::applyModeRules(state, rules.services);
        rules::updateRuneMeter(state, rules.services);
        rules::expireBonuses(state, rules.services);
        state.moves.moveMade = false;
        rules::advanceRuneSlots(state);
        benchmark::DoNotOptimize(state.level.remaining);
    }
}
BENCHMARK(BM_RuleTickOfPlay);

}  // namespace
