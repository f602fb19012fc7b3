#include "data/runs.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace data {

namespace {

// Seconds or moves as a whole number, towards zero.
int32_t wholeNumber(double value) {
    if (!std::isfinite(value)) return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(value), lo, hi));
}

}  // namespace

void startNewRun(Profiles& profiles, rules::GameState& state, rules::Random& random) {
    const int32_t runId = static_cast<int32_t>(random.next());
    if (PlayerProfile* player = currentProfile(profiles)) player->runId = runId;
    rules::LevelState& level = state.level;
    level.currentRunId = runId;
    level.nextLevel = state.settings.startingLevel;
    level.totalScore = 0;
    level.levelScore = 0;
    level.inResumedLevel = false;
    level.resumeSaved = false;
    level.passPoints = 0;
}

void resumeRun(Profiles& profiles, rules::GameState& state, rules::Random& random) {
    const PlayerProfile* player = currentProfile(profiles);
    const rules::GameMode mode = state.gameMode;
    if (player == nullptr || savedLevel(*player, mode) == 0) {
        startNewRun(profiles, state, random);
        return;
    }
    const SavedRun& saved = *player->savedRun(mode);
    rules::LevelState& level = state.level;
    level.currentRunId = player->runId;
    level.nextLevel = saved.level;
    // Scores never go below 0 in play; a negative one can only come from a damaged file.
    level.totalScore = std::max(saved.total, 0);
    level.levelScore = std::max(saved.levelScore, 0);
    state.runePoints = std::max(saved.runes, 0);
    level.passPoints = 0;
    level.inResumedLevel = true;
    level.resumeSaved = true;
    level.levelWon = false;
    if (rules::isTimed(mode))
        level.resumeElapsedSeconds = saved.elapsedOrMovesLeft;
    else
        level.resumeMovesLeft = saved.elapsedOrMovesLeft;
    level.resumeBoard.cells = saved.board;
    level.resumeBoard.cellBonus = saved.bonusLayer;
    level.resumeBoard.cellStamp = saved.cellTimes;
}

void recordRun(Profiles& profiles, HighScores& highScores, const rules::GameState& state, uint32_t now) {
    PlayerProfile* player = currentProfile(profiles);
    if (player == nullptr) return;
    const rules::LevelState& level = state.level;
    const rules::GameMode mode = state.gameMode;
    if (SavedRun* run = player->savedRun(mode)) {
        run->total = level.totalScore;
        run->level = static_cast<int8_t>(static_cast<uint8_t>(level.currentLevel & 0xFF));
        run->levelScore = level.levelScore;
        run->elapsedOrMovesLeft =
            rules::isTimed(mode) ? wholeNumber(static_cast<double>(level.limit) - level.remaining) : wholeNumber(level.remaining);
        run->runes = state.runePoints;
        run->board = state.board.cells;
        run->bonusLayer = state.board.cellBonus;
        for (int i = 0; i < rules::kCellCount; ++i) {
            const int32_t stamp = state.board.cellStamp[i];
            run->cellTimes[i] = stamp != 0 ? static_cast<int32_t>(now - static_cast<uint32_t>(stamp)) : 0;
        }
    }
    if (level.totalScore == 0 || level.inResumedLevel) return;
    enterHighScore(highScoreTable(highScores, mode), level.currentRunId, player->name(), static_cast<uint32_t>(level.totalScore));
}

}  // namespace data
