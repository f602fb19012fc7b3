#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "data/replay_file.hpp"
#include "flow/crash_note.hpp"
#include "flow/game.hpp"
#include "flow/persistence.hpp"
#include "sim/script.hpp"
#include "sim/session.hpp"
#include "support/test_support.hpp"

namespace {

using testing_support::builtGameFolder;
using testing_support::TempFolder;

// A game that dies in the middle of a level leaves the level's recording on disk and its name in
// the diagnostic log; the cut recording reads as incomplete and plays as far as it goes.
TEST(CrashReplayDeathTest, TheLogNamesTheLevelInProgressAndItPlays) {
    // The child is a fork, so that it writes into this test's folder.
    GTEST_FLAG_SET(death_test_style, "fast");
    TempFolder data, watcher;
    sim::SimOptions options;
    options.gameDir = builtGameFolder();
    options.writeDir = data.path();
    options.seed = 3;
    EXPECT_DEATH(
        {
            std::ostringstream out;
            std::unique_ptr<sim::SimSession> session = sim::SimSession::launch(options, out);
            flow::installCrashNote(session->game().log.file());
            std::string error;
            auto run = [&](std::string_view line) { session->run(std::get<sim::SimCommand>(sim::parseSimLine(line)), error); };
            // A first player, then a Strategy game a few seconds in.
            for (std::string_view line : {"tick 170", "text ANNA", "key Return", "tick 2"}) run(line);
            session->game().rules.gameMode = rules::GameMode::Strategy;
            flow::startNewRun(session->game());
            run("tick 150");
            std::abort();
        },
        "");
    const std::string log = testing_support::readFile(data.path() / "crashDump.txt");
    const std::string marker = "recorded in ";
    const size_t at = log.find(marker);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_NE(log.find("fatal signal 6"), std::string::npos) << log;
    const std::string file = log.substr(at + marker.size(), log.find(' ', at + marker.size()) - at - marker.size());
    const data::ReplayRead read = data::readReplay(file);
    ASSERT_EQ(read.status, data::ReplayStatus::Incomplete) << file;
    EXPECT_GE(read.replay.inputs.size(), 100u);

    options.writeDir = watcher.path();
    std::ostringstream out, err;
    std::istringstream script("replay " + file + "\nstate -\n");
    EXPECT_EQ(sim::runSimScript(script, options, out, err), 0) << err.str();
    EXPECT_NE(err.str().find("incomplete"), std::string::npos) << err.str();
    EXPECT_NE(out.str().find("\"playState\": 2"), std::string::npos) << out.str();
}

}  // namespace
