#include "sim/session.hpp"

#include <cctype>
#include <fstream>
#include <iostream>
#include <string>

#include "flow/frame_tick.hpp"
#include "flow/launch.hpp"
#include "flow/persistence.hpp"
#include "flow/replay_player.hpp"
#include "flow/replay_recorder.hpp"
#include "flow/startup.hpp"
#include "flow/window_proc.hpp"
#include "present/headless_platform.hpp"
#include "present/images.hpp"
#include "sim/dump.hpp"
#include "sim/script.hpp"
#include "sim/state_json.hpp"

namespace sim {

using namespace flow;

namespace {

constexpr uint32_t kTickMs = 33;

bool writeJson(const nlohmann::json& json, const std::string& file, std::ostream& out) {
    if (file == "-") {
        out << json.dump(1) << "\n";
        return true;
    }
    std::ofstream f(file);
    if (!f) return false;
    f << json.dump(1) << "\n";
    return true;
}

bool fail(std::string& error, std::string message) {
    error = std::move(message);
    return false;
}

}  // namespace

std::unique_ptr<SimSession> SimSession::launch(const SimOptions& options, std::ostream& out) {
    std::unique_ptr<SimSession> session(new SimSession(out));
    present::HeadlessPlatform& platform = session->platform_;
    session->game_ = launchGame(session->seam_, data::GameFolder(options.gameDir, options.writeDir),
                                options.seed.value_or(platform.clock().now()),
                                [&platform](Game& g) { g.sound.openSimulatedAudio(platform.clock()); });
    if (!session->game_) return nullptr;
    session->game_->sound.keepLog(options.soundLog);
    return session;
}

SimSession::SimSession(std::ostream& out) : out_(out) {}

SimSession::~SimSession() {
    if (game_) shutdownGame(*game_);
}

bool SimSession::run(const SimCommand& c, std::string& error) {
    using Kind = SimCommand::Kind;
    switch (c.kind) {
        case Kind::Tick:
            for (long i = 0; i < c.count && !game_->app.quitRequested; ++i) tick();
            break;
        case Kind::Wait: platform_.manualClock().advance(static_cast<uint32_t>(c.count)); break;
        case Kind::Move: platform_.setPointer({c.x, c.y}); break;
        case Kind::HoldEscape:
        case Kind::ReleaseEscape: platform_.setEscapeDown(c.kind == Kind::HoldEscape); break;
        case Kind::Press:
        case Kind::Release:
            if (c.hasPoint) platform_.setPointer({c.x, c.y});
            mouse(c.kind == Kind::Press ? present::InputEvent::Type::ButtonDown : present::InputEvent::Type::ButtonUp, c.button,
                  1);
            break;
        case Kind::Click:
            platform_.setPointer({c.x, c.y});
            mouse(present::InputEvent::Type::ButtonDown, c.button, 1);
            mouse(present::InputEvent::Type::ButtonUp, c.button, 1);
            break;
        case Kind::DoubleClick:
            platform_.setPointer({c.x, c.y});
            mouse(present::InputEvent::Type::ButtonDown, c.button, 2);
            break;
        case Kind::Key: key(c.key, c.letter, c.shift); break;
        case Kind::Pad:
        case Kind::PadConnect:
        case Kind::PadDisconnect: {
            present::InputEvent event;
            event.type = c.kind == Kind::Pad          ? present::InputEvent::Type::PadDown
                         : c.kind == Kind::PadConnect ? present::InputEvent::Type::PadConnected
                                                      : present::InputEvent::Type::PadDisconnected;
            event.pad = c.pad;
            deliver(*game_, seam_, event);
            break;
        }
        case Kind::AltEnter: {
            present::InputEvent event;
            event.type = present::InputEvent::Type::AltEnter;
            deliver(*game_, seam_, event);
            break;
        }
        case Kind::Text:
            for (unsigned char ch : c.text) character(ch);
            break;
        case Kind::FocusOut:
        case Kind::FocusIn: {
            present::InputEvent event;
            if (c.kind == Kind::FocusIn) platform_.setSurfacesLost(false);
            event.type = c.kind == Kind::FocusIn ? present::InputEvent::Type::FocusGained : present::InputEvent::Type::FocusLost;
            deliver(*game_, seam_, event);
            break;
        }
        case Kind::Lose: platform_.setSurfacesLost(true); break;
        case Kind::Board:
        case Kind::Bonus: {
            // A level changed from outside cannot be played back.
            dropRecording(*game_);
            rules::Board& board = game_->rules.board;
            const int32_t now = static_cast<int32_t>(platform_.clock().now());
            for (int i = 0; i < rules::kCellCount; ++i) {
                const uint8_t digit = c.digits[static_cast<size_t>(i)];
                if (c.kind == Kind::Board) {
                    board.cells[i] = digit;
                } else {
                    board.cellBonus[i] = digit;
                    board.cellStamp[i] = digit != 0 ? now : 0;
                }
            }
            break;
        }
        case Kind::Shot:
            if (!present::savePng(platform_.screen(), c.file)) return fail(error, "cannot write " + c.file);
            break;
        case Kind::State:
            if (!writeJson(stateJson(*game_), c.file, out_)) return fail(error, "cannot write " + c.file);
            break;
        case Kind::Dump: {
            nlohmann::json json;
            if (!dumpJson(*game_, c.name, json)) return fail(error, "dump takes levels, gfx or texts");
            if (!writeJson(json, c.file, out_)) return fail(error, "cannot write " + c.file);
            break;
        }
        case Kind::Set:
            dropRecording(*game_);
            if (!setStateVariable(*game_, c.name, c.value)) return fail(error, "unknown variable " + c.name);
            break;
        case Kind::Save:
        case Kind::SaveRun:
            // The four player files, as the game writes them; `save run` first records the run,
            // as leaving a game does.
            if (c.kind == Kind::SaveRun) recordRun(*game_);
            saveAll(*game_);
            break;
        case Kind::Replay:
            if (!replay(c.file, error)) return false;
            break;
        case Kind::Quit: return false;
    }
    return !game_->app.quitRequested;
}

void SimSession::tick() {
    platform_.manualClock().advance(kTickMs);
    deliver(*game_, seam_, present::InputEvent{});
}

void SimSession::mouse(present::InputEvent::Type type, present::MouseButton button, int clicks) {
    present::InputEvent event;
    event.type = type;
    event.button = button;
    event.clicks = clicks;
    event.at = platform_.pointer();
    deliver(*game_, seam_, event);
}

void SimSession::character(uint8_t c) {
    present::InputEvent event;
    event.type = present::InputEvent::Type::Character;
    event.character = c;
    deliver(*game_, seam_, event);
}

void SimSession::key(present::Key key, uint8_t letter, bool shift) {
    present::InputEvent event;
    event.type = present::InputEvent::Type::KeyDown;
    event.key = key;
    event.shift = shift;
    if (key == present::Key::Letter) {
        event.character = static_cast<uint8_t>(std::toupper(letter));
        deliver(*game_, seam_, event);
        character(static_cast<uint8_t>(std::tolower(letter)));
        return;
    }
    deliver(*game_, seam_, event);
    // Enter and Backspace are also characters, as the keyboard translation delivers them.
    if (key == present::Key::Return) character(13);
    if (key == present::Key::Backspace) character(8);
}

// The replay plays on its own recorded clock; the virtual clock then goes on from where it ended.
bool SimSession::replay(const std::string& file, std::string& error) {
    const data::ReplayRead read = data::readReplay(file);
    if (const std::string refusal = replayRefusal(*game_, read); !refusal.empty()) return fail(error, file + ": " + refusal);
    dropRecording(*game_);
    ReplayPlayback playback{read.replay};
    beginPlayback(*game_, seam_, playback.replay);
    while (playNext(*game_, seam_, playback)) {
    }
    endPlayback(*game_, seam_);
    platform_.manualClock().set(playback.nextTime());
    std::string difference;
    if (read.replay.end) difference = endDifference(*game_, *read.replay.end);
    if (!difference.empty()) exitStatus_ = 1;
    const std::string score = "level score " + std::to_string(game_->rules.level.levelScore) + ", total " +
                              std::to_string(game_->rules.level.totalScore);
    if (!read.replay.end)
        report_ += "replay " + file + ": incomplete (the level's end is missing); played to " + score + "\n";
    else if (difference.empty())
        report_ += "replay " + file + ": reproduced, " + score + "\n";
    else
        report_ += "replay " + file + ": NOT reproduced: " + difference + "\n";
    return true;
}

int runSimScript(std::istream& script, const SimOptions& options, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<SimSession> session = SimSession::launch(options, out);
    if (!session) {
        err << "lumerik-sim: cannot create the window\n";
        return 1;
    }
    std::string line;
    for (int lineNumber = 1; std::getline(script, line); ++lineNumber) {
        const SimLine parsed = parseSimLine(line);
        std::string error;
        if (const auto* bad = std::get_if<SimScriptError>(&parsed)) error = bad->message;
        if (const auto* command = std::get_if<SimCommand>(&parsed)) {
            const bool goesOn = session->run(*command, error);
            err << session->takeReport();
            if (!goesOn && error.empty()) break;
        }
        if (!error.empty()) {
            err << "lumerik-sim: line " << lineNumber << ": " << error << "\n";
            return 2;
        }
    }
    return session->exitStatus();
}

}  // namespace sim
