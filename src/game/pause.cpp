#include "game/pause.hpp"

namespace game {

void toggleStampAges(Board& board, uint32_t now) {
    for (int32_t& stamp : board.cellStamp)
        if (stamp != 0) stamp = static_cast<int32_t>(now - static_cast<uint32_t>(stamp));
}

void pauseLevel(GameState& state, const Services& services) {
    const uint32_t now = services.now();
    state.level.pauseStart = now;
    // A tip may interrupt a fall, a board turn, a shuffle or the end of a level; resuming must go
    // back there rather than hand a settling board or a finished level back to play. The pause
    // button sets StatePaused first, and that returns to play.
    const PlayState from = state.playState;
    state.level.pausedState = from == StatePaused || from == StateTitle || from == StateLogo ? StatePlaying : from;
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

}  // namespace game
