#include "flow/sim.hpp"

#include <cctype>
#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "flow/frame_tick.hpp"
#include "flow/launch.hpp"
#include "flow/persistence.hpp"
#include "flow/sim_dump.hpp"
#include "flow/sim_state.hpp"
#include "flow/startup.hpp"
#include "flow/window_proc.hpp"
#include "present/headless_platform.hpp"
#include "present/images.hpp"

namespace flow {

namespace {

constexpr uint32_t kTickMs = 33;

struct ScriptError {
    std::string message;
};

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

long number(const std::string& text) {
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) throw ScriptError{"not a whole number: " + text};
    return value;
}

double real(const std::string& text) {
    try {
        size_t used = 0;
        const double value = std::stod(text, &used);
        if (used == text.size()) return value;
    } catch (...) {
    }
    throw ScriptError{"not a number: " + text};
}

void expectCount(const std::vector<std::string>& w, size_t least, size_t most) {
    if (w.size() < least || w.size() > most) throw ScriptError{"wrong number of arguments to " + w[0]};
}

present::MouseButton buttonOf(const std::string& name, bool rightAllowed = true) {
    if (name == "left") return present::MouseButton::Left;
    if (name == "right" && rightAllowed) return present::MouseButton::Right;
    throw ScriptError{"not a mouse button: " + name};
}

// The hundred digits of a `board` or `bonus` line, spaces ignored.
std::vector<uint8_t> hundredDigits(const std::string& rest) {
    std::vector<uint8_t> digits;
    for (char c : rest) {
        if (c == ' ' || c == '\t' || c == '\r') continue;
        if (c < '0' || c > '9') throw ScriptError{std::string("not a digit: ") + c};
        digits.push_back(static_cast<uint8_t>(c - '0'));
    }
    if (digits.size() != 100) throw ScriptError{"expected 100 digits, got " + std::to_string(digits.size())};
    return digits;
}

void writeJson(const nlohmann::json& json, const std::string& file, std::ostream& out) {
    if (file == "-") {
        out << json.dump(1) << "\n";
        return;
    }
    std::ofstream f(file);
    if (!f) throw ScriptError{"cannot write " + file};
    f << json.dump(1) << "\n";
}

class SimRun {
public:
    SimRun(present::HeadlessPlatform& platform, Game& game, std::ostream& out)
        : platform_(platform), game_(game), out_(out) {}

    // Returns false when the script asked to quit.
    bool run(const std::string& line) {
        const std::vector<std::string> w = words(line);
        const std::string& cmd = w[0];
        if (cmd == "tick") {
            expectCount(w, 1, 2);
            const long n = w.size() == 2 ? number(w[1]) : 1;
            if (n < 0) throw ScriptError{"negative tick count"};
            for (long i = 0; i < n && !game_.app.quitRequested; ++i) tick();
        } else if (cmd == "wait") {
            expectCount(w, 2, 2);
            const long ms = number(w[1]);
            if (ms < 0) throw ScriptError{"negative wait"};
            platform_.manualClock().advance(static_cast<uint32_t>(ms));
        } else if (cmd == "move") {
            expectCount(w, 3, 3);
            platform_.setPointer({static_cast<int>(number(w[1])), static_cast<int>(number(w[2]))});
        } else if (cmd == "hold" || (cmd == "release" && w.size() == 2 && w[1] == "Escape")) {
            expectCount(w, 2, 2);
            if (w[1] != "Escape") throw ScriptError{"only Escape can be held"};
            platform_.setEscapeDown(cmd == "hold");
        } else if (cmd == "press" || cmd == "release") {
            if (w.size() != 2 && w.size() != 4) throw ScriptError{"wrong number of arguments to " + cmd};
            const present::MouseButton button = buttonOf(w[1], cmd == "press");
            if (w.size() == 4) platform_.setPointer({static_cast<int>(number(w[2])), static_cast<int>(number(w[3]))});
            mouse(cmd == "press" ? present::InputEvent::Type::ButtonDown : present::InputEvent::Type::ButtonUp, button, 1);
        } else if (cmd == "click" || cmd == "dblclick") {
            expectCount(w, 4, 4);
            const present::MouseButton button = buttonOf(w[1]);
            platform_.setPointer({static_cast<int>(number(w[2])), static_cast<int>(number(w[3]))});
            if (cmd == "click") {
                mouse(present::InputEvent::Type::ButtonDown, button, 1);
                mouse(present::InputEvent::Type::ButtonUp, button, 1);
            } else {
                mouse(present::InputEvent::Type::ButtonDown, button, 2);
            }
        } else if (cmd == "key") {
            expectCount(w, 2, 2);
            key(w[1]);
        } else if (cmd == "text") {
            const size_t start = line.find("text") + 5;
            const std::string text = start <= line.size() ? line.substr(start) : std::string();
            for (unsigned char c : text) {
                present::InputEvent event;
                event.type = present::InputEvent::Type::Character;
                event.character = c;
                handleEvent(game_, event);
            }
        } else if (cmd == "focus") {
            expectCount(w, 2, 2);
            present::InputEvent event;
            if (w[1] == "out") {
                event.type = present::InputEvent::Type::FocusLost;
            } else if (w[1] == "in") {
                platform_.setSurfacesLost(false);
                event.type = present::InputEvent::Type::FocusGained;
            } else {
                throw ScriptError{"focus takes in or out"};
            }
            handleEvent(game_, event);
        } else if (cmd == "lose") {
            expectCount(w, 1, 1);
            platform_.setSurfacesLost(true);
        } else if (cmd == "board" || cmd == "bonus") {
            const std::vector<uint8_t> digits = hundredDigits(line.substr(line.find(cmd) + cmd.size()));
            rules::Board& board = game_.rules.board;
            const int32_t now = static_cast<int32_t>(platform_.clock().now());
            for (int i = 0; i < rules::kCellCount; ++i) {
                if (cmd == "board") {
                    board.cells[i] = digits[i];
                } else {
                    board.cellBonus[i] = digits[i];
                    board.cellStamp[i] = digits[i] != 0 ? now : 0;
                }
            }
        } else if (cmd == "shot") {
            expectCount(w, 2, 2);
            if (!present::savePng(platform_.screen(), w[1])) throw ScriptError{"cannot write " + w[1]};
        } else if (cmd == "state") {
            expectCount(w, 2, 2);
            writeJson(stateJson(game_), w[1], out_);
        } else if (cmd == "dump") {
            expectCount(w, 3, 3);
            nlohmann::json json;
            if (!dumpJson(game_, w[1], json)) throw ScriptError{"dump takes levels, gfx or texts"};
            writeJson(json, w[2], out_);
        } else if (cmd == "set") {
            expectCount(w, 3, 3);
            if (!setStateVariable(game_, w[1], real(w[2]))) throw ScriptError{"unknown variable " + w[1]};
        } else if (cmd == "save") {
            // The four player files, as the game writes them; `save run` first records the run,
            // as leaving a game does.
            expectCount(w, 1, 2);
            if (w.size() == 2 && w[1] != "run") throw ScriptError{"save takes nothing or run"};
            if (w.size() == 2) recordRun(game_);
            saveAll(game_);
        } else if (cmd == "quit") {
            expectCount(w, 1, 1);
            return false;
        } else {
            throw ScriptError{"unknown command " + cmd};
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

    void key(const std::string& name) {
        present::InputEvent event;
        event.type = present::InputEvent::Type::KeyDown;
        if (name == "AltEnter") {
            event.type = present::InputEvent::Type::AltEnter;
            handleEvent(game_, event);
            return;
        }
        static const std::pair<const char*, present::Key> named[] = {
            {"Left", present::Key::Left},   {"Right", present::Key::Right},       {"Up", present::Key::Up},
            {"Down", present::Key::Down},   {"Return", present::Key::Return},     {"Backspace", present::Key::Backspace},
            {"Escape", present::Key::Escape},
        };
        for (const auto& [keyName, keyValue] : named) {
            if (name == keyName) {
                event.key = keyValue;
                handleEvent(game_, event);
                // Enter and Backspace are also characters, as the keyboard translation delivers them.
                if (keyValue == present::Key::Return) character(13);
                if (keyValue == present::Key::Backspace) character(8);
                return;
            }
        }
        if (name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0]))) {
            event.key = present::Key::Letter;
            event.character = static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(name[0])));
            handleEvent(game_, event);
            character(static_cast<uint8_t>(std::tolower(static_cast<unsigned char>(name[0]))));
            return;
        }
        throw ScriptError{"unknown key " + name};
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
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        line.erase(0, first);
        try {
            SimRun run(platform, game, out);
            if (!run.run(line)) break;
        } catch (const ScriptError& e) {
            err << "lumerik-sim: line " << lineNumber << ": " << e.message << "\n";
            return 2;
        }
    }
    shutdownGame(game);
    return 0;
}

}  // namespace flow
