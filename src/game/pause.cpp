#include "game/pause.hpp"

namespace rules {

void toggleStampAges(Board& board, uint32_t now) {
    for (int32_t& stamp : board.cellStamp)
        if (stamp != 0) stamp = static_cast<int32_t>(now - static_cast<uint32_t>(stamp));
}

void pauseLevel(GameState& state, const Services& services) {
    const uint32_t now = services.now();
    state.level.pauseStart = now;
    // A pause may interrupt a board turn, a fall, a shuffle, the opening or the end of a level;
    // resuming goes back there rather than cut the turn or the sweep short or hand a finished level
    // back to play. A settling board resumes as play: the next frame's settle test finds the fall
    // again.
    const PlayState from = state.playState;
    state.level.pausedState = from == StateSettling ? StatePlaying : from;
    toggleStampAges(state.board, now);
}

void resumeLevel(GameState& state, const Services& services) {
    const uint32_t now = services.now();
    LevelState& level = state.level;
    const uint32_t paused = now - level.pauseStart;
    level.freezeStart += paused;
    level.levelStartTime += paused;
    state.playState = level.pausedState;
    level.pausedState = StatePlaying;
    toggleStampAges(state.board, now);
    if (isTimed(state.gameMode)) {
        const int64_t usedSeconds = static_cast<int64_t>(level.limit) - static_cast<int64_t>(level.remaining);
        level.levelStartTime = now - static_cast<uint32_t>(usedSeconds * 1000);
    }
}

}  // namespace rules
