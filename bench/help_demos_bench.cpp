// A frame of the rules help with its three demonstrations, drawn with the game's own pictures into
// the 800 by 600 back buffer. Each iteration is one 33 ms frame, so a run of many iterations
// covers every moment of the scripts: glides, turns, bursts, glows and falling balls.
#include <benchmark/benchmark.h>

#include "data/gfx_settings.hpp"
#include "data/levels.hpp"
#include "flow/display_steps.hpp"
#include "flow/game.hpp"
#include "present/blitter.hpp"
#include "present/demos.hpp"
#include "present/headless_platform.hpp"

namespace {

constexpr uint32_t kFrameMs = 33;
constexpr present::layout::Point kHelpOrigin = {44, 32};

// A game with its graphics settings, level colours and every picture loaded, as after start-up.
struct LoadedGame {
    present::HeadlessPlatform platform;
    flow::Game game{platform, data::GameFolder(LUMERIK_BENCH_GAME_DIR), 1};

    LoadedGame() {
        data::loadGraphicsSettings(game.folder, game.gfx);
        data::loadLevelFile(game.folder, game.rules.levels, game.rules.settings);
        flow::loadStartupPictures(game);
    }
    uint32_t nextFrame() {
        platform.manualClock().advance(kFrameMs);
        return platform.clock().now();
    }
};

// The demonstrations alone: stepping the scripts and drawing blocks, effects and pointers.
void BM_HelpDemos(benchmark::State& state) {
    LoadedGame loaded;
    flow::Game& game = loaded.game;
    if (game.pictures.surface(present::SurfacePicture::Quadro).empty()) {
        state.SkipWithError("the game folder has no pictures");
        return;
    }
    for (auto _ : state) {
        present::stepHelpDemos(game.helpDemos, loaded.nextFrame(), true);
        present::drawHelpDemos(game.helpDemos, kHelpOrigin, game.pictures, game.display.backBuffer);
        benchmark::DoNotOptimize(game.display.backBuffer.pixels.data());
    }
}
BENCHMARK(BM_HelpDemos)->Unit(benchmark::kMicrosecond);

// The frame around them: the composed static picture copied to the back buffer first.
void BM_HelpFrameWithDemos(benchmark::State& state) {
    LoadedGame loaded;
    flow::Game& game = loaded.game;
    present::copyRect(game.pictures.surface(present::SurfacePicture::MenuBackground), 0, 0, 0, 0, present::kScreenWidth,
                      present::kScreenHeight, game.display.sceneSurface, present::ColourKey::Ignore);
    for (auto _ : state) {
        present::copyRect(game.display.sceneSurface, 0, 0, 0, 0, present::kScreenWidth, present::kScreenHeight,
                          game.display.backBuffer, present::ColourKey::Ignore);
        present::stepHelpDemos(game.helpDemos, loaded.nextFrame(), true);
        present::drawHelpDemos(game.helpDemos, kHelpOrigin, game.pictures, game.display.backBuffer);
        benchmark::DoNotOptimize(game.display.backBuffer.pixels.data());
    }
}
BENCHMARK(BM_HelpFrameWithDemos)->Unit(benchmark::kMicrosecond);

}  // namespace
