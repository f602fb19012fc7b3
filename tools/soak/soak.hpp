#pragma once
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace flow {
struct Game;
}

namespace soak {

// The sizes of everything in a running game that can grow, and the process's memory.
struct Sample {
    int64_t tick = 0;
    int64_t vmRssKb = -1;  // -1 where /proc is not there
    int64_t vmHwmKb = -1;
    std::map<std::string, int64_t> lists;
};

// Each growing list's largest size in a healthy game; a sample beyond it fails the soak.
const std::map<std::string, int64_t>& listBounds();

// Reads the sizes of the growing lists of `game`, and the diagnostic log's size on disk.
std::map<std::string, int64_t> listSizes(const flow::Game& game);
// The resident set and its peak from /proc/self/status, in kB; -1 when unreadable.
void readMemory(int64_t& vmRssKb, int64_t& vmHwmKb);

// The lists of `sample` beyond their bounds, as "name=size>bound" words; empty when all are within.
std::vector<std::string> listsOverBound(const Sample& sample);

struct SoakOptions {
    uint32_t seed = 1;
    int64_t ticks = 20000;
    std::filesystem::path gameDir;
    std::filesystem::path dataDir;  // where the player files go; empty: a fresh temporary folder
    int64_t sampleEvery = 0;        // 0: no samples printed (the lists are still checked)
    int64_t checkEvery = 500;       // how often the lists are checked against their bounds
};

struct SoakResult {
    int exitCode = 0;   // 0 ran to the end within the bounds; 1 a list went past its bound; 2 no start
    int64_t ticks = 0;  // frame ticks run
    int64_t steps = 0;  // monkey steps
    int restarts = 0;   // the quit button ended the game, which was started again
    Sample first, last;
    int64_t peakRssKb = -1;
    std::map<std::string, int64_t> largest;      // each list's largest size seen
    std::map<std::string, int64_t> screenTicks;  // ticks spent on each screen, menu screen, dialog and play state
    std::vector<std::string> failures;
};

// Plays a game with the monkey for `ticks` frame ticks on a headless platform, as lumerik-sim
// runs it, with no sound log. Samples go to `out` as lines when asked; failures to `err`.
SoakResult runSoak(const SoakOptions& options, std::ostream& out, std::ostream& err);

// One line of a sample: tick, memory and every list.
std::string sampleLine(const Sample& sample);

}  // namespace soak
