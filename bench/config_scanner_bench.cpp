#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "data/config_scanner.hpp"
#include "data/levels.hpp"

namespace {

// A full 128 KiB image of level blocks written the way the shipped file writes them.
std::vector<char> levelImage() {
    std::string text = "Combo 2 = 0.5\nTIMEbonus 10 12 15 18 20\nSWAP 4 4 5 5 6\nmaxMusVol 0.65\n";
    const char* headers[] = {"ActionLevel", "StrategyLevel", "PuzzleLevel", "ActionPuzzleLevel"};
    for (int n = 1; text.size() < data::kConfigImageSize; ++n) {
        text += std::string(headers[n % 4]) + " " + std::to_string(n) + "\n";
        text += "Colors 5\nScore 1500\nTime 120\nBall 10\nBonusDuration 30000\nBonusRatio 2 1 1 0 2\n";
        text += "RunesSQuare2x2 2\nRunesSQuare2x3 3\nRunesFigure 2 = 2\nRunesFigure 3 = 3\n";
        for (int k = 4; k <= 8; ++k) text += "RunesDIagonal " + std::to_string(k) + " = " + std::to_string(k) + "\n";
        text += "Square 4 = 50\nSquare 6 = 120\nVH 60\nSCoreBoost 250\n";
        for (int k = 4; k <= 8; ++k) text += "Diagonal " + std::to_string(k) + " = " + std::to_string(k * 30) + "\n";
        text += "\n";
    }
    std::vector<char> image(data::kConfigImageSize, '\0');
    std::copy_n(text.begin(), image.size(), image.begin());
    return image;
}

void BM_ScanLevelFile(benchmark::State& state) {
    const std::vector<char> image = levelImage();
    rules::LevelTable levels;
    rules::LevelSettings settings;
    for (auto _ : state) {
        data::scanLevelText(std::string_view(image.data(), image.size()), levels, settings);
        benchmark::DoNotOptimize(levels.lists[0].size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(image.size()));
}
BENCHMARK(BM_ScanLevelFile)->Unit(benchmark::kMicrosecond);

}  // namespace
