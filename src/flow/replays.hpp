#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/replay_file.hpp"
#include "data/settings.hpp"

namespace flow {

struct Game;

// The level being recorded: its file on disk as it grows, and the same bytes in memory for the
// finished file.
struct LevelRecording {
    std::filesystem::path inProgress;  // replays/L<sequence>-recording.lrp
    std::FILE* stream = nullptr;       // flushed after every message, so a crash leaves it on disk
    std::vector<uint8_t> bytes;
    data::ReplayInput previous;
    int32_t table = 0;
    int32_t runId = 0;
    uint64_t sequence = 0;
    bool levelSeen = false;  // the level got past its set-up
};

// Recording every level played, and watching one.
struct ReplayState {
    bool recordingOn = true;  // off for games that must leave no files behind
    std::optional<LevelRecording> recording;
    std::optional<uint64_t> levelsHash;  // of the level file, read once
    uint64_t nextSequence = 0;           // 0: not yet worked out from the folder
    std::filesystem::path lastFinished;  // the file of the last level recorded

    // While a replay plays, nothing is recorded or saved, and the player's options are the
    // recorded ones.
    bool watching = false;
    data::PlayerOptions watchedOptions;
    // A high-score entry's level to watch, asked for on the high-score screen; the message loop
    // (which owns the input seam) starts it.
    std::optional<std::filesystem::path> watchRequest;
};

}  // namespace flow
