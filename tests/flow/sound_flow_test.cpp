// The sound layer as lumerik-sim drives it: start-up loads every stream and sets the volumes,
// leaving the foreground or losing the display silences everything, coming back restores it.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "sim/session.hpp"
#include "support/test_support.hpp"

namespace {

// Runs `script` on the built game folder (writing into a temporary one) and returns each `state -`.
std::vector<nlohmann::json> states(const std::string& script) {
    testing_support::TempFolder writes;
    sim::SimOptions options{testing_support::builtGameFolder(), writes.path(), 1234u};
    std::istringstream in(script);
    std::ostringstream out, err;
    EXPECT_EQ(sim::runSimScript(in, options, out, err), 0) << err.str();
    std::vector<nlohmann::json> result;
    std::istringstream lines(out.str());
    std::string text, chunk;
    // Each state is one JSON document; they follow one another on the output.
    for (std::string line; std::getline(lines, line);) {
        chunk += line + "\n";
        if (line == "}") {
            result.push_back(nlohmann::json::parse(chunk));
            chunk.clear();
        }
    }
    return result;
}

std::vector<double> volumes(const nlohmann::json& state) { return state["soundVolumes"].get<std::vector<double>>(); }

TEST(SoundFlow, FocusAndLostSurfacesMuteAndActivationRestores) {
    const std::vector<nlohmann::json> s = states(
        "tick\nstate -\n"
        "focus out\nstate -\n"
        "focus in\ntick\nstate -\n"
        "wait 5000\nlose\ntick\nstate -\n"
        "focus in\ntick\nstate -\n");
    ASSERT_EQ(s.size(), 5u);
    auto expectOn = [](const nlohmann::json& state, const char* when) {
        const std::vector<double> v = volumes(state);
        ASSERT_EQ(v.size(), 35u) << when;
        for (int id = 0; id < 30; ++id) EXPECT_NEAR(v[id], 0.5, 1e-6) << when << " " << id;
        for (int id = 30; id < 35; ++id) EXPECT_NEAR(v[id], 0.5 * 0.65, 1e-6) << when << " " << id;
    };
    auto expectOff = [](const nlohmann::json& state, const char* when) {
        for (double v : volumes(state)) EXPECT_EQ(v, 0.0) << when;
    };
    expectOn(s[0], "after start-up");
    expectOff(s[1], "in the background");
    expectOn(s[2], "back in front");
    expectOff(s[3], "with the display lost");
    expectOn(s[4], "after the display came back");
}

}  // namespace
