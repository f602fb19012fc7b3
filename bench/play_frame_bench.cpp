// The whole play frame through the real drawing, with the game's own pictures, up to the upload
// to the window: a busy frame (a board turn under way, bonus pictures on the board, flights from
// the meter, all three effect strips playing, lit rune slots) and a quiet one for comparison.
#include <benchmark/benchmark.h>

#include "flow/play_frame.hpp"
#include "flow/play_screen.hpp"
#include "flow/play_view.hpp"
#include "flow/startup.hpp"
#include "game/moves.hpp"
#include "present/headless_platform.hpp"
#include "present/layout.hpp"

namespace {

struct BenchGame {
    present::HeadlessPlatform platform;
    flow::Game game{platform, data::GameFolder(LUMERIK_BENCH_GAME_DIR), 1};
    rules::Direction nextTurn = rules::Direction::CounterClockwise;

    BenchGame() {
        platform.createWindow(true, std::nullopt);
        flow::startGame(game);
        game.rules.gameMode = rules::GameMode::Action;
        game.rules.level.nextLevel = 1;
        game.rules.level.levelWon = false;  // straight into the level, without the group's intermission
        game.rules.player.toShowTips = false;
        flow::beginPlay(game);
        for (int i = 0; i < 200 && game.rules.playState != rules::StatePlaying; ++i) frame();
    }

    void frame() {
        platform.manualClock().advance(33);
        ++game.app.tickNumber;
        flow::composePlayFrame(game);
    }

    // Keeps the level running and busy: full time, no figure left to clear, and every animation
    // the play screen draws under way.
    void rearm(bool busy) {
        rules::GameState& rules = game.rules;
        rules.level.levelStartTime = platform.clock().now();
        rules.level.levelScore = 0;
        if (!busy) return;
        const int32_t stamp = static_cast<int32_t>(platform.clock().now());
        for (int i = 0; i < rules::kCellCount; i += 7) {
            if (rules.board.cellBonus[static_cast<size_t>(i)] != 0) continue;
            rules.board.cellBonus[static_cast<size_t>(i)] = static_cast<uint8_t>(1 + i % 5);
            rules.board.cellStamp[static_cast<size_t>(i)] = stamp;
        }
        rules.runePoints = 17;
        for (auto* queue : {&rules.effects.burst, &rules.effects.clear, &rules.effects.reveal})
            while (queue->size() < 12)
                queue->push_back({static_cast<int>(queue->size()) % 10, static_cast<int>(queue->size()) / 2, 0});
        while (game.play.flights.size() < 4) {
            const int n = static_cast<int>(game.play.flights.size());
            game.play.flights.push_back(
                {flow::linePoints(present::layout::kRuneSlots[static_cast<size_t>(n * 4)], present::layout::ballAt(n * 3, 5)), 0,
                 2});
        }
        if (rules.playState == rules::StatePlaying) {
            rules::turnBoard(rules, game.services, nextTurn);
            nextTurn = nextTurn == rules::Direction::Clockwise ? rules::Direction::CounterClockwise : rules::Direction::Clockwise;
        }
    }
};

void BM_PlayFrameBusy(benchmark::State& state) {
    BenchGame g;
    if (g.game.rules.playState != rules::StatePlaying) state.SkipWithError("the level did not start");
    for (auto _ : state) {
        g.rearm(true);
        g.frame();
        benchmark::DoNotOptimize(g.game.display.backBuffer.pixels.data());
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayFrameBusy)->Unit(benchmark::kMicrosecond);

void BM_PlayFrameQuiet(benchmark::State& state) {
    BenchGame g;
    if (g.game.rules.playState != rules::StatePlaying) state.SkipWithError("the level did not start");
    for (auto _ : state) {
        g.rearm(false);
        g.frame();
        benchmark::DoNotOptimize(g.game.display.backBuffer.pixels.data());
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayFrameQuiet)->Unit(benchmark::kMicrosecond);

}  // namespace
