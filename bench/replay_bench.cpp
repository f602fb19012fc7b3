// Replaying a recorded Action level headless, against the time it took to play: a level of up to
// three minutes is played once (a click on the board about every second, so the clock runs out or
// the level ends), recorded as the game records it, then replayed through the frame tick.
// Counters: the recording's size, its length in real time, and how many times faster than real
// time the replay runs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "data/replay_file.hpp"
#include "flow/game.hpp"
#include "flow/input_seam.hpp"
#include "flow/persistence.hpp"
#include "flow/replay_player.hpp"
#include "flow/replay_recorder.hpp"
#include "flow/startup.hpp"
#include "present/headless_platform.hpp"

namespace {

constexpr uint32_t kTickMs = 33;
constexpr int kThreeMinutesOfTicks = 180000 / kTickMs;

struct Recorded {
    std::filesystem::path file;
    size_t bytes = 0;
    double seconds = 0;
};

std::filesystem::path writeFolder() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lumerik-replay-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

Recorded recordActionLevel() {
    present::HeadlessPlatform platform;
    flow::InputSeam seam(platform);
    flow::Game game(seam, data::GameFolder(LUMERIK_BENCH_GAME_DIR, writeFolder()), 12345);
    flow::startGame(game);
    game.rules.gameMode = rules::GameMode::Action;
    flow::startNewRun(game);
    rules::Random clicks(7);
    auto deliver = [&](present::InputEvent event) { flow::deliver(game, seam, event); };
    for (int tick = 0; tick < kThreeMinutesOfTicks + 400 && game.replays.lastFinished.empty(); ++tick) {
        platform.manualClock().advance(kTickMs);
        deliver({});
        if (tick % 30 == 0) {
            present::InputEvent press;
            press.type = present::InputEvent::Type::ButtonDown;
            press.at = {rules::kBoardLeft + clicks.mod(270), rules::kBoardTop + clicks.mod(270)};
            platform.setPointer(press.at);
            deliver(press);
            press.type = present::InputEvent::Type::ButtonUp;
            deliver(press);
        }
        // Three minutes in, the player leaves.
        if (tick == kThreeMinutesOfTicks) {
            present::InputEvent escape;
            escape.type = present::InputEvent::Type::KeyDown;
            escape.key = present::Key::Escape;
            platform.setEscapeDown(true);
            deliver(escape);
        }
    }
    flow::shutdownGame(game);
    Recorded recorded;
    recorded.file = game.replays.lastFinished;
    const data::ReplayRead read = data::readReplay(recorded.file);
    recorded.bytes = std::filesystem::file_size(recorded.file);
    if (!read.replay.inputs.empty()) recorded.seconds = (read.replay.inputs.back().time - read.replay.start.startTime) / 1000.0;
    return recorded;
}

void ReplayActionLevel(benchmark::State& state) {
    const Recorded recorded = recordActionLevel();
    const data::ReplayRead read = data::readReplay(recorded.file);
    if (!read.playable()) {
        state.SkipWithError("no level was recorded");
        return;
    }
    present::HeadlessPlatform platform;
    flow::InputSeam seam(platform);
    flow::Game game(seam, data::GameFolder(LUMERIK_BENCH_GAME_DIR, writeFolder()), 1);
    flow::startGame(game);
    double seconds = 0;
    for (auto _ : state) {
        const auto began = std::chrono::steady_clock::now();
        flow::ReplayPlayback playback{read.replay};
        flow::beginPlayback(game, seam, playback.replay);
        while (flow::playNext(game, seam, playback)) {
        }
        flow::endPlayback(game, seam);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        if (read.replay.end && !flow::endDifference(game, *read.replay.end).empty()) state.SkipWithError("not reproduced");
    }
    state.counters["file_kB"] = static_cast<double>(recorded.bytes) / 1024.0;
    state.counters["messages"] = static_cast<double>(read.replay.inputs.size());
    state.counters["level_s"] = recorded.seconds;
    state.counters["x_real_time"] = recorded.seconds * static_cast<double>(state.iterations()) / seconds;
}
BENCHMARK(ReplayActionLevel)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
