#pragma once
#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace scenario {

// What a scenario script left behind: the exit code, the error text and every `state -` it wrote,
// in order.
struct Run {
    int exitCode = 0;
    std::string err;
    std::vector<nlohmann::json> states;
};

// Runs tests/scenarios/NAME through lumerik-sim's script runner, in-process, on a copy of the built
// game folder whose level file is the scenarios' own tests/scenarios/levels.txt (or the shipped
// one when `shippedLevels` is set), with one player, "TESTER", in its profile file.
Run runScenario(const std::string& name, bool shippedLevels = false, uint32_t seed = 1);

// The same, with `prepare` changing the copied game folder first (a branding file, a profile).
Run runScenario(const std::string& name, const std::function<void(const std::filesystem::path&)>& prepare,
                bool shippedLevels = false, uint32_t seed = 1);

// Copies the built game folder into `folder`, with tests/scenarios/LEVELS as its level file (the
// shipped one when `levels` is empty) and the one player "TESTER", so a test can change pictures
// before running a script there.
void prepareGameFolder(const std::filesystem::path& folder, const std::string& levels);

// Runs tests/scenarios/NAME in a game folder made by prepareGameFolder.
Run runScenarioIn(const std::string& name, const std::filesystem::path& folder, uint32_t seed = 1);

int emptyCells(const nlohmann::json& state);

// How often a sound was played (or stopped) in the log of a state.
int played(const nlohmann::json& state, int soundId);

}  // namespace scenario
