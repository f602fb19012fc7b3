#include "flow/replay_player.hpp"

#include "flow/game.hpp"
#include "flow/replay_recorder.hpp"

namespace flow {

uint32_t ReplayPlayback::nextTime() const {
    if (replay.inputs.empty()) return replay.start.startTime;
    return replay.inputs[std::min(next, replay.inputs.size() - 1)].time;
}

std::string replayRefusal(Game& game, const data::ReplayRead& read) {
    if (!read.playable()) return "the replay is " + data::describeReplayStatus(read.status);
    if (read.replay.start.levelsHash != levelFileHash(game))
        return "the replay was recorded with another level file (ini\\levels.txt) and would play another game";
    return {};
}

void beginPlayback(Game& game, InputSeam& seam, const data::Replay& replay) {
    const data::ReplayStart& start = replay.start;
    rules::LevelTable levels = std::move(game.rules.levels);
    const rules::LevelSettings settings = game.rules.settings;
    const rules::BonusFirstLevels bonusFirstLevel = game.rules.bonusFirstLevel;
    game.rules = start.state;
    game.rules.levels = std::move(levels);
    game.rules.settings = settings;
    game.rules.bonusFirstLevel = bonusFirstLevel;
    game.random.setState(start.random);
    game.decoration.setState(start.decoration);

    game.app.tickNumber = start.tickNumber;
    game.app.suspended = start.suspended;
    game.app.pausedByFocus = start.pausedByFocus;
    game.app.graphicsLoaded = start.graphicsLoaded;
    game.app.activatedAt = start.activatedAt;
    game.app.swallowedCharacter = start.swallowedCharacter;
    game.play = PlayScreenState{};
    game.nav = NavigationState{};
    game.nav.block = {start.cursorColumn, start.cursorRow};
    game.nav.blockShown = start.cursorShown;
    game.play.lastPlayTick = start.playFrameBefore ? start.tickNumber : start.tickNumber - 2;
    ScreenState& screens = game.screens;
    screens.base = Screen::Play;
    screens.menuActive = false;
    screens.menuScreen = 0;
    screens.dialogId = 0;
    screens.screenStack.clear();
    screens.dialogStack.clear();

    game.replays.watching = true;
    game.replays.watchedOptions = {start.colourSymbols, start.moveHints};
    game.sound.stopAll();
    seam.setReplaying(true);
}

bool playNext(Game& game, InputSeam& seam, ReplayPlayback& playback) {
    if (playback.finished()) return false;
    const data::ReplayInput& input = playback.replay.inputs[playback.next++];
    if (const std::optional<present::InputEvent> event = inputEvent(input)) deliverHeld(game, seam, *event, reading(input));
    return true;
}

void endPlayback(Game& game, InputSeam& seam) {
    game.replays.watching = false;
    seam.setReplaying(false);
}

std::string endDifference(const Game& game, const data::ReplayEnd& end) {
    const data::ReplayEnd now = levelEnd(game, end.kind);
    auto differs = [](const char* what, int64_t recorded, int64_t replayed) {
        return std::string(what) + " " + std::to_string(replayed) + " where the recording has " + std::to_string(recorded);
    };
    if (now.levelScore != end.levelScore) return differs("level score", end.levelScore, now.levelScore);
    if (now.totalScore != end.totalScore) return differs("total score", end.totalScore, now.totalScore);
    if (now.playState != end.playState) return differs("level state", end.playState, now.playState);
    for (size_t i = 0; i < end.cells.size(); ++i)
        if (now.cells[i] != end.cells[i])
            return differs(
                ("ball at column " + std::to_string(i / rules::kRows) + " row " + std::to_string(i % rules::kRows)).c_str(),
                end.cells[i], now.cells[i]);
    return {};
}

}  // namespace flow
