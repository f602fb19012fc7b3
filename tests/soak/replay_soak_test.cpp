#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "data/file_io.hpp"
#include "data/replay_file.hpp"
#include "flow/game.hpp"
#include "flow/screens.hpp"
#include "game/board_geometry.hpp"
#include "game/hints.hpp"
#include "monkey.hpp"
#include "sim/session.hpp"
#include "support/test_support.hpp"

namespace {

using testing_support::builtGameFolder;
using testing_support::TempFolder;

constexpr size_t kLevelsWanted = 20;

std::vector<std::filesystem::path> finishedReplays(const std::filesystem::path& data) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(data / "replays", error))
        if (data::parseReplayFileName(entry.path().filename().string())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The monkey plays; now and then, on a board waiting for a move, it plays the move the hint finder
// shows instead, so that levels get won as well as lost and left.
void play(uint32_t seed, int64_t ticks, const std::filesystem::path& data) {
    sim::SimOptions options;
    options.gameDir = builtGameFolder();
    options.writeDir = data;
    options.seed = seed;
    options.soundLog = false;
    std::ostringstream out;
    std::unique_ptr<sim::SimSession> session = sim::SimSession::launch(options, out);
    ASSERT_TRUE(session);
    soak::Monkey monkey(seed);
    rules::Random choice(seed * 7919u);
    std::vector<sim::SimCommand> step;
    for (int64_t tick = 0; tick < ticks && finishedReplays(data).size() < kLevelsWanted;) {
        step.clear();
        const flow::Game& game = session->game();
        std::optional<rules::Hint> hint;
        if (flow::activeScreen(game) == flow::Screen::Play && choice.mod(3) != 0) hint = rules::findHint(game.rules);
        if (hint && hint->kind == rules::HintKind::BlockTurn) {
            const int x = rules::kBoardLeft + rules::kBlockPitch * hint->blockColumn + rules::kCellPitch;
            const int y = rules::kBoardTop + rules::kBlockPitch * hint->blockRow + rules::kCellPitch;
            step.push_back(soak::clickCommand(
                hint->direction == rules::Direction::Clockwise ? present::MouseButton::Right : present::MouseButton::Left, x, y));
            step.push_back(soak::tickCommand(4));
        } else {
            monkey.nextStep(game, step);
        }
        for (const sim::SimCommand& command : step) {
            std::string error;
            if (command.kind == sim::SimCommand::Kind::Tick) tick += command.count;
            if (!session->run(command, error)) {
                // The monkey found the quit button: the game starts again on the same folder.
                ASSERT_TRUE(error.empty()) << error;
                session.reset();
                session = sim::SimSession::launch(options, out);
                monkey.restarted();
                break;
            }
        }
    }
}

// Twenty levels of monkey play, in several modes, each recorded on its own and each replayed from
// its own start to the same end: the same level score, total, level state and board.
TEST(Replays, MonkeyLevelsReplayToTheSameEnd) {
    TempFolder data, watcher;
    for (uint32_t seed : {5u, 21u, 8u, 34u}) {
        if (finishedReplays(data.path()).size() >= kLevelsWanted) break;
        play(seed, 30000, data.path());
    }
    const std::vector<std::filesystem::path> files = finishedReplays(data.path());
    ASSERT_GE(files.size(), kLevelsWanted);

    std::set<data::ReplayEndKind> ends;
    std::set<int> modes;
    std::string script;
    for (const std::filesystem::path& file : files) {
        const data::ReplayRead read = data::readReplay(file);
        ASSERT_EQ(read.status, data::ReplayStatus::Complete) << file;
        ends.insert(read.replay.end->kind);
        modes.insert(static_cast<int>(read.replay.start.state.gameMode));
        script += "replay " + file.string() + "\n";
    }
    // One watcher plays them all, one after the other, each from its own start.
    sim::SimOptions options;
    options.gameDir = builtGameFolder();
    options.writeDir = watcher.path();
    options.seed = 99;
    options.soundLog = false;
    std::ostringstream out, err;
    std::istringstream lines(script);
    EXPECT_EQ(sim::runSimScript(lines, options, out, err), 0) << err.str();
    size_t reproduced = 0;
    for (size_t at = err.str().find(": reproduced"); at != std::string::npos; at = err.str().find(": reproduced", at + 1))
        ++reproduced;
    EXPECT_EQ(reproduced, files.size()) << err.str();
    EXPECT_TRUE(ends.count(data::ReplayEndKind::Won)) << "no level won";
    EXPECT_TRUE(ends.count(data::ReplayEndKind::Lost) || ends.count(data::ReplayEndKind::Left)) << "no level lost or left";
    EXPECT_GE(modes.size(), 2u);
    // Watching records nothing: no replay of a replay.
    EXPECT_TRUE(finishedReplays(watcher.path()).empty());

    // A recording whose end says otherwise is caught: exit status 1 and the difference named.
    data::Replay edited = data::readReplay(files.back()).replay;
    edited.end->totalScore += 1;
    std::vector<uint8_t> bytes = data::encodeReplayStart(edited.start);
    data::ReplayInput previous = data::firstPrevious(edited.start);
    for (const data::ReplayInput& input : edited.inputs) {
        data::encodeReplayInput(bytes, previous, input);
        previous = input;
    }
    data::encodeReplayEnd(bytes, *edited.end);
    const std::filesystem::path file = watcher.path() / "edited.lrp";
    ASSERT_TRUE(data::writeFileAtomically(file, bytes).ok);
    std::ostringstream editedErr;
    std::istringstream editedScript("replay " + file.string() + "\n");
    EXPECT_EQ(sim::runSimScript(editedScript, options, out, editedErr), 1);
    EXPECT_NE(editedErr.str().find("NOT reproduced: total score"), std::string::npos) << editedErr.str();
}

}  // namespace
