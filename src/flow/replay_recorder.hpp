#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>

#include "data/replay_file.hpp"
#include "flow/input_seam.hpp"

namespace flow {

struct Game;

// Every level played is recorded from its set-up to its end into the replays folder beside the
// player files. Kept: the last kKeptLevels levels, and for each high-score entry the best level of
// its run.
inline constexpr size_t kKeptLevels = 20;

std::filesystem::path replaysFolder(const Game& game);

// Before a message goes to the game: a level about to be set up begins a recording, and a level
// being recorded records the message with what the game reads during it.
void recordMessage(Game& game, const present::InputEvent& event, const InputSeam::Reading& reading);
// After the message: a level that ended (won, lost, left) is written out.
void afterRecordedMessage(Game& game);
// The game shuts down: a level under way is written out as closed.
void finishRecordingOnClose(Game& game);
// The level's state was changed from outside the game (a simulator script edited the board): its
// recording could not be played back, so it is dropped.
void dropRecording(Game& game);

// The fingerprint of the level file the game plays with.
uint64_t levelFileHash(Game& game);

// The level's start as the game stands now.
data::ReplayStart levelStart(Game& game, uint32_t now);
// The level's end as the game stands now.
data::ReplayEnd levelEnd(const Game& game, data::ReplayEndKind kind);

// The kept file of the best level of high-score entry `row` in the table of `mode`.
std::optional<std::filesystem::path> highScoreReplay(const Game& game, rules::GameMode mode, size_t row);

// The message in the replay file's terms and back.
data::ReplayInput replayInput(const present::InputEvent& event, const InputSeam::Reading& reading);
// None for a message of a kind this game does not know.
std::optional<present::InputEvent> inputEvent(const data::ReplayInput& input);
InputSeam::Reading reading(const data::ReplayInput& input);

}  // namespace flow
