// The screens around the play screen, one frame tick at a time, with the built game's pictures:
// the title, a menu screen's live pass over its static picture, and the static pass itself.
#include <benchmark/benchmark.h>

#include "flow/frame_tick.hpp"
#include "flow/scene.hpp"
#include "flow/screens.hpp"
#include "flow/startup.hpp"
#include "present/headless_platform.hpp"

namespace {

struct BenchGame {
    present::HeadlessPlatform platform;
    flow::Game game{platform, data::GameFolder(LUMERIK_BENCH_GAME_DIR), 1};

    BenchGame() {
        flow::startGame(game);
        flow::showTitle(game);
        // Over a button, so the glow and hover work is part of every frame.
        platform.setPointer({300, 180});
    }
    void tick() {
        platform.manualClock().advance(33);
        flow::frameTick(game);
    }
};

void TitleFrame(benchmark::State& state) {
    BenchGame b;
    for (auto _ : state) b.tick();
}
BENCHMARK(TitleFrame)->Unit(benchmark::kMicrosecond);

void MenuFrame(benchmark::State& state) {
    BenchGame b;
    flow::openMenuScreen(b.game, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) b.tick();
}
BENCHMARK(MenuFrame)
    ->Arg(flow::ScreenHelpBonuses)
    ->Arg(flow::ScreenOptions)
    ->Arg(flow::ScreenChoosePlayer)
    ->Unit(benchmark::kMicrosecond);

void RebuildMenuScreen(benchmark::State& state) {
    BenchGame b;
    flow::openMenuScreen(b.game, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) flow::recomposeScene(b.game);
}
BENCHMARK(RebuildMenuScreen)->Arg(flow::ScreenHelpRules)->Arg(flow::ScreenOptions)->Unit(benchmark::kMicrosecond);

}  // namespace
