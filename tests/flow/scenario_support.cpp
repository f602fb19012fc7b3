#include "scenario_support.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/profiles.hpp"
#include "sim/session.hpp"
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

void prepareGameFolder(const fs::path& folder, const std::string& levels) {
    copyGameFolder(testing_support::builtGameFolder(), folder);
    if (!levels.empty()) {
        fs::create_directories(folder / "ini");
        fs::copy_file(fs::path(LUMERIK_TEST_SOURCE_DIR) / "scenarios" / levels, folder / "ini" / "levels.txt",
                      fs::copy_options::overwrite_existing);
    }
    // One player, so no name screen stands in front of the game; a scenario of the first start
    // removes the file.
    fs::create_directories(folder / "profile");
    data::Profiles profiles;
    profiles.players.emplace_back();
    profiles.players.back().setName("TESTER");
    testing_support::writeFile(folder / "profile" / "profile", bytesOf(data::serialiseProfiles(profiles)));
}

Run runScenarioIn(const std::string& name, const fs::path& folder, uint32_t seed) {
    std::ifstream script(fs::path(LUMERIK_TEST_SOURCE_DIR) / "scenarios" / name);
    std::ostringstream out, err;
    sim::SimOptions options;
    options.gameDir = folder;
    options.seed = seed;
    Run run;
    run.exitCode = script ? sim::runSimScript(script, options, out, err) : -1;
    run.err = err.str();
    run.states = statesIn(out.str());
    return run;
}

Run runScenario(const std::string& name, bool shippedLevels, uint32_t seed) {
    return runScenario(name, nullptr, shippedLevels, seed);
}

Run runScenario(const std::string& name, const std::function<void(const fs::path&)>& prepare, bool shippedLevels, uint32_t seed) {
    testing_support::TempFolder game;
    prepareGameFolder(game.path(), shippedLevels ? std::string() : std::string("levels.txt"));
    if (prepare) prepare(game.path());
    return runScenarioIn(name, game.path(), seed);
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
