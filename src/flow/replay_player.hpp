#pragma once
#include <cstddef>
#include <string>

#include "data/replay_file.hpp"
#include "flow/input_seam.hpp"

namespace flow {

struct Game;

// A replay playing in a game: the messages of one recorded level, played one by one through the
// input seam with the readings they were recorded with.
struct ReplayPlayback {
    data::Replay replay;
    size_t next = 0;
    bool finished() const { return next >= replay.inputs.size(); }
    // The recorded time of the next message, or of the last when all have played.
    uint32_t nextTime() const;
};

// One line saying why a replay file cannot be played here (damaged, foreign, made with another
// level file); empty when it can.
std::string replayRefusal(Game& game, const data::ReplayRead& read);

// Puts the game where the recorded level started and turns watching on: from now on nothing is
// recorded or saved.
void beginPlayback(Game& game, InputSeam& seam, const data::Replay& replay);
// Plays the next message. False when there was none.
bool playNext(Game& game, InputSeam& seam, ReplayPlayback& playback);
// Watching ends; the game is as the replay left it.
void endPlayback(Game& game, InputSeam& seam);

// How the level stands now against how it ended when it was recorded: empty when the same, else
// the first difference in words.
std::string endDifference(const Game& game, const data::ReplayEnd& end);

}  // namespace flow
