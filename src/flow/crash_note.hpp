#pragma once
#include <filesystem>

namespace flow {

// When the game stops on a fatal signal (an assertion aborts with one), the diagnostic log gets one
// line naming the replay file of the level in progress, so that the crash can be played again.
// The handler writes only what was prepared before the crash and then lets the signal end the
// process as it would have.
void installCrashNote(const std::filesystem::path& logFile);

// The level now recorded into `replayFile`; an empty path: no level is under way.
void noteLevelInProgress(const std::filesystem::path& replayFile);

}  // namespace flow
