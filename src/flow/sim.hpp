#pragma once
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>

namespace flow {

struct SimOptions {
    std::filesystem::path gameDir;      // the game folder
    std::filesystem::path writeDir;     // where profiles and the log go; empty = the game folder
    std::optional<uint32_t> seed;       // without one the generator is seeded from the clock
    bool soundLog = true;               // off for long runs: the log of plays and stops grows with them
};

// Runs a lumerik-sim script: the game's own start-up, frame tick and window procedure on a headless
// platform with a virtual clock. Returns the exit code: 0 at the end or on `quit`, 2 on a bad line
// (with a message naming it on `err`).
int runSimScript(std::istream& script, const SimOptions& options, std::ostream& out, std::ostream& err);

}  // namespace flow
