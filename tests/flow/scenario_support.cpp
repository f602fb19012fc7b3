#include "scenario_support.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/profiles.hpp"
#include "flow/sim.hpp"
#include "support/test_support.hpp"

namespace scenario {

namespace {

namespace fs = std::filesystem;

// The data folders of the built game; the executables stay where they are, and so do the player
// files a run of the built game may have left (every scenario starts as a first start).
void copyGameFolder(const fs::path& from, const fs::path& to) {
    for (const fs::directory_entry& entry : fs::directory_iterator(from))
        if (entry.is_directory() && entry.path().filename() != "profile")
            fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
}

std::string bytesOf(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<nlohmann::json> statesIn(const std::string& text) {
    std::vector<nlohmann::json> states;
    std::istringstream in(text);
    while ((in >> std::ws).peek() != std::char_traits<char>::eof()) {
        nlohmann::json state;
        in >> state;
        states.push_back(std::move(state));
    }
    return states;
}

}  // namespace

Run runScenario(const std::string& name, bool shippedLevels, uint32_t seed) {
    return runScenario(name, nullptr, shippedLevels, seed);
}

Run runScenario(const std::string& name, const std::function<void(const fs::path&)>& prepare, bool shippedLevels,
                uint32_t seed) {
    testing_support::TempFolder game;
    copyGameFolder(testing_support::builtGameFolder(), game.path());
    const fs::path scenarios = fs::path(LUMERIK_TEST_SOURCE_DIR) / "scenarios";
    if (!shippedLevels) {
        fs::create_directories(game.path() / "ini");
        fs::copy_file(scenarios / "levels.txt", game.path() / "ini" / "levels.txt", fs::copy_options::overwrite_existing);
    }

    // One player, so no name screen stands in front of the game; a scenario of the first start
    // removes the file.
    fs::create_directories(game.path() / "profile");
    data::Profiles profiles;
    profiles.players.emplace_back();
    profiles.players.back().setName("TESTER");
    testing_support::writeFile(game.path() / "profile" / "profile", bytesOf(data::serialiseProfiles(profiles)));
    if (prepare) prepare(game.path());

    std::ifstream script(scenarios / name);
    std::ostringstream out, err;
    flow::SimOptions options;
    options.gameDir = game.path();
    options.seed = seed;
    Run run;
    run.exitCode = script ? flow::runSimScript(script, options, out, err) : -1;
    run.err = err.str();
    run.states = statesIn(out.str());
    return run;
}

int emptyCells(const nlohmann::json& state) {
    int empty = 0;
    for (const auto& cell : state["cells"]) empty += cell.get<int>() == 0 ? 1 : 0;
    return empty;
}

int played(const nlohmann::json& state, int soundId) {
    int count = 0;
    for (const auto& entry : state["soundLog"])
        if (entry[1].get<int>() == soundId && entry[2] == "play") ++count;
    return count;
}

}  // namespace scenario
