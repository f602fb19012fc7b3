#include "flow/replay_recorder.hpp"

#include <chrono>
#include <cstdio>

#include "data/file_io.hpp"
#include "flow/crash_note.hpp"
#include "flow/current_player.hpp"
#include "flow/game.hpp"
#include "flow/persistence.hpp"

namespace flow {

namespace {

constexpr size_t kLevelFileLimit = 4u << 20;

bool betweenLevels(rules::PlayState state) {
    return state == rules::StateLevelAdvance || state == rules::StateLevelStart || state == rules::StateIntermission;
}

std::filesystem::path inProgressName(uint64_t sequence) {
    char name[48];
    std::snprintf(name, sizeof name, "L%010llu-recording.lrp", static_cast<unsigned long long>(sequence));
    return name;
}

// The finished levels in the folder, by their names.
std::vector<data::ReplayName> keptFiles(const std::filesystem::path& folder) {
    std::vector<data::ReplayName> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (std::optional<data::ReplayName> name = data::parseReplayFileName(entry.path().filename().string()))
            files.push_back(*name);
    return files;
}

uint64_t nextSequence(const std::filesystem::path& folder) {
    uint64_t next = 1;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        unsigned long long sequence = 0;
        if (std::sscanf(entry.path().filename().string().c_str(), "L%10llu", &sequence) == 1 && sequence + 1 > next)
            next = sequence + 1;
    }
    return next;
}

std::vector<data::ReplayEntryKey> highScoreKeys(const Game& game) {
    std::vector<data::ReplayEntryKey> keys;
    for (int table = 0; table < data::kHighScoreTables; ++table)
        for (const data::HighScoreEntry& entry : game.highScores.tables[static_cast<size_t>(table)])
            keys.push_back({table, entry.runId});
    return keys;
}

void pruneReplays(const Game& game) {
    const std::filesystem::path folder = replaysFolder(game);
    for (const data::ReplayName& name : data::replaysToRemove(keptFiles(folder), highScoreKeys(game), kKeptLevels)) {
        std::error_code error;
        std::filesystem::remove(folder / data::replayFileName(name), error);
    }
}

}  // namespace

uint64_t levelFileHash(Game& game) {
    if (!game.replays.levelsHash) {
        const std::optional<std::vector<uint8_t>> bytes =
            data::readWholeFile(game.folder.resolve("ini\\levels.txt"), kLevelFileLimit);
        game.replays.levelsHash = data::hashBytes(bytes ? std::span<const uint8_t>(*bytes) : std::span<const uint8_t>());
    }
    return *game.replays.levelsHash;
}

namespace {

void append(LevelRecording& recording, size_t from) {
    if (!recording.stream) return;
    std::fwrite(recording.bytes.data() + from, 1, recording.bytes.size() - from, recording.stream);
    std::fflush(recording.stream);
}

void closeRecording(Game& game) {
    LevelRecording& recording = *game.replays.recording;
    if (recording.stream) std::fclose(recording.stream);
    std::error_code error;
    std::filesystem::remove(recording.inProgress, error);
    game.replays.recording.reset();
    noteLevelInProgress({});
}

void finishRecording(Game& game, data::ReplayEndKind kind) {
    LevelRecording& recording = *game.replays.recording;
    data::encodeReplayEnd(recording.bytes, levelEnd(game, kind));
    const data::ReplayName name{recording.sequence, recording.table, recording.runId, game.rules.level.levelScore};
    const std::filesystem::path file = replaysFolder(game) / data::replayFileName(name);
    const data::WriteResult written = data::writeFileAtomically(file, recording.bytes);
    if (written.ok)
        game.replays.lastFinished = file;
    else
        game.log.writeLog("replay not written: " + written.error);
    closeRecording(game);
    pruneReplays(game);
}

void beginRecording(Game& game, uint32_t now) {
    const std::filesystem::path folder = replaysFolder(game);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (game.replays.nextSequence == 0) game.replays.nextSequence = nextSequence(folder);
    LevelRecording recording;
    recording.sequence = game.replays.nextSequence++;
    recording.inProgress = folder / inProgressName(recording.sequence);
    recording.table = data::highScoreTableIndex(game.rules.gameMode);
    recording.runId = game.rules.level.currentRunId;
    const data::ReplayStart start = levelStart(game, now);
    recording.bytes = data::encodeReplayStart(start);
    recording.previous = data::firstPrevious(start);
    recording.stream = std::fopen(recording.inProgress.c_str(), "wb");
    // A folder that cannot be written to records nothing.
    if (!recording.stream) return;
    append(recording, 0);
    game.replays.recording = std::move(recording);
    noteLevelInProgress(game.replays.recording->inProgress);
}

}  // namespace

std::filesystem::path replaysFolder(const Game& game) { return game.folder.writable("replays"); }

data::ReplayStart levelStart(Game& game, uint32_t now) {
    data::ReplayStart start;
    start.levelsHash = levelFileHash(game);
    start.recordedAt =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    start.runId = game.rules.level.currentRunId;
    if (const data::PlayerProfile* player = currentProfile(game)) start.playerName = player->name();
    start.startTime = now;
    start.tickNumber = game.app.tickNumber;
    start.playFrameBefore = game.play.lastPlayTick == game.app.tickNumber;
    start.suspended = game.app.suspended;
    start.pausedByFocus = game.app.pausedByFocus;
    start.graphicsLoaded = game.app.graphicsLoaded;
    start.activatedAt = game.app.activatedAt;
    start.swallowedCharacter = game.app.swallowedCharacter;
    syncPlayerTips(game);
    start.toShowTips = game.rules.player.toShowTips;
    start.shuffleTipShown = game.rules.player.shuffleTipShown;
    start.colourSymbols = colourSymbolsWanted(game);
    start.moveHints = moveHintsWanted(game);
    start.cursorColumn = game.nav.block.x;
    start.cursorRow = game.nav.block.y;
    start.cursorShown = game.nav.blockShown;
    start.random = game.random.state();
    start.decoration = game.decoration.state();
    start.state = game.rules;
    start.state.levels = {};
    return start;
}

data::ReplayEnd levelEnd(const Game& game, data::ReplayEndKind kind) {
    data::ReplayEnd end;
    end.kind = kind;
    end.playState = game.rules.playState;
    end.levelScore = game.rules.level.levelScore;
    end.totalScore = game.rules.level.totalScore;
    end.cells = game.rules.board.cells;
    return end;
}

void recordMessage(Game& game, const present::InputEvent& event, const InputSeam::Reading& reading) {
    ReplayState& replays = game.replays;
    if (replays.watching || !replays.recordingOn) return;
    if (!replays.recording && activeScreen(game) == Screen::Play &&
        (game.rules.playState == rules::StateLevelStart || game.rules.playState == rules::StateIntermission))
        beginRecording(game, reading.time);
    if (!replays.recording) return;
    LevelRecording& recording = *replays.recording;
    // Where the window stands changes nothing in the level.
    if (event.type == present::InputEvent::Type::WindowPlaced) return;
    const data::ReplayInput input = replayInput(event, reading);
    const size_t from = recording.bytes.size();
    data::encodeReplayInput(recording.bytes, recording.previous, input);
    recording.previous = input;
    append(recording, from);
}

void afterRecordedMessage(Game& game) {
    if (!game.replays.recording) return;
    LevelRecording& recording = *game.replays.recording;
    const rules::PlayState state = game.rules.playState;
    const bool left = game.screens.base == Screen::Title || game.screens.base == Screen::Logo;
    if (!recording.levelSeen && !betweenLevels(state)) recording.levelSeen = true;
    if (!recording.levelSeen) {
        // Left before the level was set up (or there was none left to set up): nothing was played.
        if (left || game.app.quitRequested) closeRecording(game);
        return;
    }
    const bool over = betweenLevels(state) || (left && (state == rules::StateLevelOver || state == rules::StateFallOut));
    if (over)
        finishRecording(game, game.rules.level.levelWon ? data::ReplayEndKind::Won : data::ReplayEndKind::Lost);
    else if (game.app.quitRequested)
        finishRecording(game, data::ReplayEndKind::Closed);
    else if (left)
        finishRecording(game, data::ReplayEndKind::Left);
}

void finishRecordingOnClose(Game& game) {
    if (!game.replays.recording) return;
    if (game.replays.recording->levelSeen)
        finishRecording(game, data::ReplayEndKind::Closed);
    else
        closeRecording(game);
}

void dropRecording(Game& game) {
    if (game.replays.recording) closeRecording(game);
}

std::optional<std::filesystem::path> highScoreReplay(const Game& game, rules::GameMode mode, size_t row) {
    const data::HighScoreTable& table = data::highScoreTable(game.highScores, mode);
    if (row >= table.size()) return std::nullopt;
    const std::filesystem::path folder = replaysFolder(game);
    const std::optional<data::ReplayName> best =
        data::bestReplayOf(keptFiles(folder), {data::highScoreTableIndex(mode), table[row].runId});
    if (!best) return std::nullopt;
    return folder / data::replayFileName(*best);
}

data::ReplayInput replayInput(const present::InputEvent& event, const InputSeam::Reading& reading) {
    data::ReplayInput input;
    input.time = reading.time;
    input.pointerX = reading.pointer.x;
    input.pointerY = reading.pointer.y;
    input.escapeDown = reading.escapeDown;
    input.surfacesLost = reading.surfacesLost;
    if (event.type == present::InputEvent::Type::Tick) return input;
    input.kind = data::ReplayInput::Kind::Event;
    input.eventType = static_cast<uint8_t>(event.type);
    input.button = static_cast<uint8_t>(event.button);
    input.clicks = static_cast<uint8_t>(event.clicks);
    input.key = static_cast<uint8_t>(event.key);
    input.character = event.character;
    input.shift = event.shift ? 1 : 0;
    input.pad = static_cast<uint8_t>(event.pad);
    input.atX = event.at.x;
    input.atY = event.at.y;
    return input;
}

std::optional<present::InputEvent> inputEvent(const data::ReplayInput& input) {
    using Type = present::InputEvent::Type;
    present::InputEvent event;
    if (input.kind == data::ReplayInput::Kind::Tick) return event;
    if (input.eventType == static_cast<uint8_t>(Type::Tick) || input.eventType == static_cast<uint8_t>(Type::WindowPlaced) ||
        input.eventType > static_cast<uint8_t>(Type::PadDisconnected) || input.key > static_cast<uint8_t>(present::Key::Other) ||
        input.button > 1 || input.shift > 1 || input.pad > static_cast<uint8_t>(present::PadButton::Right))
        return std::nullopt;
    event.type = static_cast<Type>(input.eventType);
    event.button = input.button == 1 ? present::MouseButton::Right : present::MouseButton::Left;
    event.clicks = input.clicks;
    event.key = static_cast<present::Key>(input.key);
    event.character = input.character;
    event.shift = input.shift != 0;
    event.pad = static_cast<present::PadButton>(input.pad);
    event.at = {input.atX, input.atY};
    return event;
}

InputSeam::Reading reading(const data::ReplayInput& input) {
    return {input.time, {input.pointerX, input.pointerY}, input.escapeDown, input.surfacesLost};
}

}  // namespace flow
