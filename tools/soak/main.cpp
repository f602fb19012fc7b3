#include <chrono>
#include <iostream>
#include <string>

#include "soak.hpp"

namespace {

int usage() {
    std::cerr << "usage: lumerik-soak [--seed N] [--ticks N] [--game DIR] [--data DIR] [--sample-every N]\n";
    return 2;
}

bool number(const char* text, int64_t& value) {
    try {
        size_t used = 0;
        value = std::stoll(text, &used);
        return used == std::string(text).size() && value >= 0;
    } catch (...) {
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    soak::SoakOptions options;
    std::error_code ec;
    options.gameDir = std::filesystem::canonical("/proc/self/exe", ec).parent_path();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        int64_t value = 0;
        if (i + 1 >= argc) return usage();
        if (arg == "--game") {
            options.gameDir = argv[++i];
        } else if (arg == "--data") {
            options.dataDir = argv[++i];
        } else if (arg == "--seed" && number(argv[++i], value)) {
            options.seed = static_cast<uint32_t>(value);
        } else if (arg == "--ticks" && number(argv[++i], value)) {
            options.ticks = value;
        } else if (arg == "--sample-every" && number(argv[++i], value)) {
            options.sampleEvery = value;
        } else {
            return usage();
        }
    }

    const auto started = std::chrono::steady_clock::now();
    const soak::SoakResult result = soak::runSoak(options, std::cout, std::cerr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (result.exitCode == 2) return 2;

    std::cout << "seed " << options.seed << ": " << result.ticks << " ticks, " << result.steps << " steps, " << result.restarts
              << " restarts, " << seconds << " s\n";
    std::cout << "VmRSS start " << result.first.vmRssKb << " kB, end " << result.last.vmRssKb << " kB, peak (VmHWM) "
              << result.peakRssKb << " kB\n";
    std::cout << "largest lists:";
    for (const auto& [name, size] : result.largest) std::cout << " " << name << "=" << size;
    std::cout << "\nticks per screen:";
    for (const auto& [screen, ticks] : result.screenTicks) std::cout << " [" << screen << "]=" << ticks;
    std::cout << "\n";
    for (const std::string& failure : result.failures) std::cout << "FAIL " << failure << "\n";
    return result.exitCode;
}
