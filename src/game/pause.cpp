#include "game/pause.hpp"

namespace game {

void toggleStampAges(Board& board, uint32_t now) {
    for (int32_t& stamp : board.cellStamp)
        if (stamp != 0) stamp = static_cast<int32_t>(now - static_cast<uint32_t>(stamp));
}

void pauseLevel(GameState& state, const Services& services) {
    const uint32_t now = services.now();
    state.level.pauseStart = now;
    toggleStampAges(state.board, now);
}

void resumeLevel(GameState& state, const Services& services) {
    const uint32_t now = services.now();
    LevelState& level = state.level;
    const uint32_t paused = now - level.pauseStart;
    level.freezeStart += paused;
    level.levelStartTime += paused;
    state.playState = StatePlaying;
    toggleStampAges(state.board, now);
    if (isTimed(state.gameMode)) {
        const int64_t usedSeconds = static_cast<int64_t>(level.limit) - static_cast<int64_t>(level.remaining);
        level.levelStartTime = now - static_cast<uint32_t>(usedSeconds * 1000);
    }
}

}  // namespace game
