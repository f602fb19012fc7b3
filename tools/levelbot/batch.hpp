#pragma once
#include <functional>
#include <string>
#include <vector>

#include "attempt.hpp"

namespace levelbot {

// A result as one line of text and back, so that worker processes can hand results over a pipe.
std::string encodeResult(size_t index, const AttemptResult& result);
bool decodeResult(const std::string& line, size_t& index, AttemptResult& result);

// Called after each finished try with the number done so far.
using ProgressFn = std::function<void(size_t done, size_t total)>;

// Plays every setup and returns the results in setup order. With more than one worker the tries are
// shared out over that many child processes (each with its own game and its own folder under the
// write root), since one game per process is how the game runs. A worker that dies leaves its
// tries as default results with `cutOff` set.
std::vector<AttemptResult> runAttempts(const LevelSet& set, const GameFolders& folders, const std::vector<AttemptSetup>& setups,
                                       int workers, const ProgressFn& progress = {});

}  // namespace levelbot
