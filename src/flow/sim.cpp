#include "flow/sim.hpp"

#include <cctype>
#include <fstream>
#include <iostream>
#include <string>

#include "flow/frame_tick.hpp"
#include "flow/launch.hpp"
#include "flow/persistence.hpp"
#include "flow/sim_dump.hpp"
#include "flow/sim_script.hpp"
#include "flow/sim_state.hpp"
#include "flow/startup.hpp"
#include "flow/window_proc.hpp"
#include "present/headless_platform.hpp"
#include "present/images.hpp"

namespace flow {

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

class SimRun {
public:
    SimRun(present::HeadlessPlatform& platform, Game& game, std::ostream& out)
        : platform_(platform), game_(game), out_(out) {}

    // Runs one command read by parseSimLine. False when the run ends: the script or the game quit, or
    // the command failed, with `error` saying why.
    bool run(const SimCommand& c, std::string& error) {
        using Kind = SimCommand::Kind;
        switch (c.kind) {
            case Kind::Tick:
                for (long i = 0; i < c.count && !game_.app.quitRequested; ++i) tick();
                break;
            case Kind::Wait:
                platform_.manualClock().advance(static_cast<uint32_t>(c.count));
                break;
            case Kind::Move:
                platform_.setPointer({c.x, c.y});
                break;
            case Kind::HoldEscape:
            case Kind::ReleaseEscape:
                platform_.setEscapeDown(c.kind == Kind::HoldEscape);
                break;
            case Kind::Press:
            case Kind::Release:
                if (c.hasPoint) platform_.setPointer({c.x, c.y});
                mouse(c.kind == Kind::Press ? present::InputEvent::Type::ButtonDown : present::InputEvent::Type::ButtonUp,
                      c.button, 1);
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
            case Kind::Key:
                key(c.key, c.letter);
                break;
            case Kind::AltEnter: {
                present::InputEvent event;
                event.type = present::InputEvent::Type::AltEnter;
                handleEvent(game_, event);
                break;
            }
            case Kind::Text:
                for (unsigned char ch : c.text) character(ch);
                break;
            case Kind::FocusOut:
            case Kind::FocusIn: {
                present::InputEvent event;
                if (c.kind == Kind::FocusIn) platform_.setSurfacesLost(false);
                event.type = c.kind == Kind::FocusIn ? present::InputEvent::Type::FocusGained
                                                     : present::InputEvent::Type::FocusLost;
                handleEvent(game_, event);
                break;
            }
            case Kind::Lose:
                platform_.setSurfacesLost(true);
                break;
            case Kind::Board:
            case Kind::Bonus: {
                rules::Board& board = game_.rules.board;
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
                if (!writeJson(stateJson(game_), c.file, out_)) return fail(error, "cannot write " + c.file);
                break;
            case Kind::Dump: {
                nlohmann::json json;
                if (!dumpJson(game_, c.name, json)) return fail(error, "dump takes levels, gfx or texts");
                if (!writeJson(json, c.file, out_)) return fail(error, "cannot write " + c.file);
                break;
            }
            case Kind::Set:
                if (!setStateVariable(game_, c.name, c.value)) return fail(error, "unknown variable " + c.name);
                break;
            case Kind::Save:
            case Kind::SaveRun:
                // The four player files, as the game writes them; `save run` first records the run,
                // as leaving a game does.
                if (c.kind == Kind::SaveRun) recordRun(game_);
                saveAll(game_);
                break;
            case Kind::Quit:
                return false;
        }
        return !game_.app.quitRequested;
    }

private:
    void tick() {
        platform_.manualClock().advance(kTickMs);
        frameTick(game_);
    }

    void mouse(present::InputEvent::Type type, present::MouseButton button, int clicks) {
        present::InputEvent event;
        event.type = type;
        event.button = button;
        event.clicks = clicks;
        event.at = platform_.pointer();
        handleEvent(game_, event);
    }

    void character(uint8_t c) {
        present::InputEvent event;
        event.type = present::InputEvent::Type::Character;
        event.character = c;
        handleEvent(game_, event);
    }

    static bool fail(std::string& error, std::string message) {
        error = std::move(message);
        return false;
    }

    void key(present::Key key, uint8_t letter) {
        present::InputEvent event;
        event.type = present::InputEvent::Type::KeyDown;
        event.key = key;
        if (key == present::Key::Letter) {
            event.character = static_cast<uint8_t>(std::toupper(letter));
            handleEvent(game_, event);
            character(static_cast<uint8_t>(std::tolower(letter)));
            return;
        }
        handleEvent(game_, event);
        // Enter and Backspace are also characters, as the keyboard translation delivers them.
        if (key == present::Key::Return) character(13);
        if (key == present::Key::Backspace) character(8);
    }

    present::HeadlessPlatform& platform_;
    Game& game_;
    std::ostream& out_;
};

}  // namespace

int runSimScript(std::istream& script, const SimOptions& options, std::ostream& out, std::ostream& err) {
    present::HeadlessPlatform platform;
    const std::unique_ptr<Game> launched =
        launchGame(platform, data::GameFolder(options.gameDir, options.writeDir),
                   options.seed.value_or(platform.clock().now()),
                   [&platform](Game& g) { g.sound.openSimulatedAudio(platform.clock()); });
    if (!launched) {
        err << "lumerik-sim: cannot create the window\n";
        return 1;
    }
    Game& game = *launched;
    game.sound.keepLog(options.soundLog);

    std::string line;
    for (int lineNumber = 1; std::getline(script, line); ++lineNumber) {
        const SimLine parsed = parseSimLine(line);
        std::string error;
        if (const auto* bad = std::get_if<SimScriptError>(&parsed)) error = bad->message;
        if (const auto* command = std::get_if<SimCommand>(&parsed)) {
            SimRun run(platform, game, out);
            if (!run.run(*command, error) && error.empty()) break;
        }
        if (!error.empty()) {
            err << "lumerik-sim: line " << lineNumber << ": " << error << "\n";
            return 2;
        }
    }
    shutdownGame(game);
    return 0;
}

}  // namespace flow
