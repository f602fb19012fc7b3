#include "sim/script.hpp"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace sim {

namespace {

using Kind = SimCommand::Kind;

// The blanks that separate words: those of the C locale's isspace.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::vector<std::string_view> wordsOf(std::string_view line) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        const size_t start = pos;
        while (pos < line.size() && !isBlank(line[pos])) ++pos;
        if (pos > start) words.push_back(line.substr(start, pos - start));
    }
    return words;
}

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Reads the arguments of one line; the first failure names what is wrong.
class LineReader {
  public:
    const std::string& error() const { return error_; }

    bool fail(std::string message) {
        if (error_.empty()) error_ = std::move(message);
        return false;
    }

    bool argumentCount(const std::vector<std::string_view>& w, size_t least, size_t most) {
        if (w.size() >= least && w.size() <= most) return true;
        return fail("wrong number of arguments to " + std::string(w[0]));
    }

    bool whole(std::string_view text, long& out) {
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, out);
        if (ec == std::errc() && ptr == end) return true;
        return fail("not a whole number: " + std::string(text));
    }

    // Whatever strtod reads, as long as it takes the whole word and is a finite number in range.
    bool real(std::string_view text, double& out) {
        const std::string word(text);
        char* end = nullptr;
        errno = 0;
        const double value = std::strtod(word.c_str(), &end);
        if (!word.empty() && end == word.c_str() + word.size() && errno != ERANGE && std::isfinite(value)) {
            out = value;
            return true;
        }
        return fail("not a number: " + word);
    }

    bool point(std::string_view x, std::string_view y, SimCommand& c) {
        long px = 0, py = 0;
        if (!whole(x, px) || !whole(y, py)) return false;
        c.x = static_cast<int>(px);
        c.y = static_cast<int>(py);
        return true;
    }

    bool button(std::string_view name, bool rightAllowed, present::MouseButton& out) {
        if (name == "left") {
            out = present::MouseButton::Left;
            return true;
        }
        if (name == "right" && rightAllowed) {
            out = present::MouseButton::Right;
            return true;
        }
        return fail("not a mouse button: " + std::string(name));
    }

    // The hundred digits of a `board` or `bonus` line, spaces ignored.
    bool hundredDigits(std::string_view rest, std::vector<uint8_t>& digits) {
        for (char c : rest) {
            if (c == ' ' || c == '\t' || c == '\r') continue;
            if (c < '0' || c > '9') return fail(std::string("not a digit: ") + c);
            digits.push_back(static_cast<uint8_t>(c - '0'));
        }
        if (digits.size() == 100) return true;
        return fail("expected 100 digits, got " + std::to_string(digits.size()));
    }

    bool keyName(std::string_view name, SimCommand& c) {
        static constexpr std::pair<std::string_view, present::Key> kNamed[] = {
            {"Left", present::Key::Left},      {"Right", present::Key::Right},    {"Up", present::Key::Up},
            {"Down", present::Key::Down},      {"Return", present::Key::Return},  {"Backspace", present::Key::Backspace},
            {"Escape", present::Key::Escape},  {"Tab", present::Key::Tab},        {"KP8", present::Key::KeypadUp},
            {"KP2", present::Key::KeypadDown}, {"KP4", present::Key::KeypadLeft}, {"KP6", present::Key::KeypadRight},
        };
        if (name == "ShiftTab") {
            c.key = present::Key::Tab;
            c.shift = true;
            return true;
        }
        if (name == "AltEnter") {
            c.kind = Kind::AltEnter;
            return true;
        }
        for (const auto& [keyName, key] : kNamed) {
            if (name == keyName) {
                c.key = key;
                return true;
            }
        }
        if (name.size() == 1 && isAsciiLetter(name[0])) {
            c.key = present::Key::Letter;
            c.letter = static_cast<uint8_t>(name[0]);
            return true;
        }
        return fail("unknown key " + std::string(name));
    }

    bool padName(std::string_view name, SimCommand& c) {
        using present::PadButton;
        static constexpr std::pair<std::string_view, PadButton> kButtons[] = {
            {"a", PadButton::A},
            {"b", PadButton::B},
            {"x", PadButton::X},
            {"y", PadButton::Y},
            {"back", PadButton::Back},
            {"start", PadButton::Start},
            {"leftshoulder", PadButton::LeftShoulder},
            {"rightshoulder", PadButton::RightShoulder},
            {"dpup", PadButton::Up},
            {"dpdown", PadButton::Down},
            {"dpleft", PadButton::Left},
            {"dpright", PadButton::Right},
        };
        if (name == "connect" || name == "disconnect") {
            c.kind = name == "connect" ? Kind::PadConnect : Kind::PadDisconnect;
            return true;
        }
        for (const auto& [buttonName, button] : kButtons) {
            if (name == buttonName) {
                c.pad = button;
                return true;
            }
        }
        return fail("not a controller button: " + std::string(name));
    }

  private:
    std::string error_;
};

// `line` starts with the command word.
bool readCommand(std::string_view line, const std::vector<std::string_view>& w, SimCommand& c, LineReader& r) {
    const std::string_view cmd = w[0];
    if (cmd == "tick") {
        c.kind = Kind::Tick;
        c.count = 1;
        if (!r.argumentCount(w, 1, 2) || (w.size() == 2 && !r.whole(w[1], c.count))) return false;
        return c.count >= 0 || r.fail("negative tick count");
    }
    if (cmd == "wait") {
        c.kind = Kind::Wait;
        if (!r.argumentCount(w, 2, 2) || !r.whole(w[1], c.count)) return false;
        return c.count >= 0 || r.fail("negative wait");
    }
    if (cmd == "move") {
        c.kind = Kind::Move;
        return r.argumentCount(w, 3, 3) && r.point(w[1], w[2], c);
    }
    if (cmd == "hold" || (cmd == "release" && w.size() == 2 && w[1] == "Escape")) {
        c.kind = cmd == "hold" ? Kind::HoldEscape : Kind::ReleaseEscape;
        if (!r.argumentCount(w, 2, 2)) return false;
        return w[1] == "Escape" || r.fail("only Escape can be held");
    }
    if (cmd == "press" || cmd == "release") {
        c.kind = cmd == "press" ? Kind::Press : Kind::Release;
        if (w.size() != 2 && w.size() != 4) return r.fail("wrong number of arguments to " + std::string(cmd));
        if (!r.button(w[1], c.kind == Kind::Press, c.button)) return false;
        c.hasPoint = w.size() == 4;
        return !c.hasPoint || r.point(w[2], w[3], c);
    }
    if (cmd == "click" || cmd == "dblclick") {
        c.kind = cmd == "click" ? Kind::Click : Kind::DoubleClick;
        c.hasPoint = true;
        return r.argumentCount(w, 4, 4) && r.button(w[1], true, c.button) && r.point(w[2], w[3], c);
    }
    if (cmd == "key") {
        c.kind = Kind::Key;
        return r.argumentCount(w, 2, 2) && r.keyName(w[1], c);
    }
    if (cmd == "pad") {
        c.kind = Kind::Pad;
        return r.argumentCount(w, 2, 2) && r.padName(w[1], c);
    }
    if (cmd == "text") {
        // The rest of the line after "text" and one blank, blanks included.
        c.kind = Kind::Text;
        const size_t start = line.find("text") + 5;
        if (start <= line.size()) c.text = line.substr(start);
        return true;
    }
    if (cmd == "focus") {
        if (!r.argumentCount(w, 2, 2)) return false;
        if (w[1] != "out" && w[1] != "in") return r.fail("focus takes in or out");
        c.kind = w[1] == "out" ? Kind::FocusOut : Kind::FocusIn;
        return true;
    }
    if (cmd == "lose") {
        c.kind = Kind::Lose;
        return r.argumentCount(w, 1, 1);
    }
    if (cmd == "board" || cmd == "bonus") {
        c.kind = cmd == "board" ? Kind::Board : Kind::Bonus;
        return r.hundredDigits(line.substr(line.find(cmd) + cmd.size()), c.digits);
    }
    if (cmd == "shot" || cmd == "state") {
        c.kind = cmd == "shot" ? Kind::Shot : Kind::State;
        if (!r.argumentCount(w, 2, 2)) return false;
        c.file = w[1];
        return true;
    }
    if (cmd == "dump") {
        c.kind = Kind::Dump;
        if (!r.argumentCount(w, 3, 3)) return false;
        if (w[1] != "levels" && w[1] != "gfx" && w[1] != "texts") return r.fail("dump takes levels, gfx or texts");
        c.name = w[1];
        c.file = w[2];
        return true;
    }
    if (cmd == "set") {
        c.kind = Kind::Set;
        if (!r.argumentCount(w, 3, 3) || !r.real(w[2], c.value)) return false;
        c.name = w[1];
        return true;
    }
    if (cmd == "save") {
        c.kind = w.size() == 2 ? Kind::SaveRun : Kind::Save;
        if (!r.argumentCount(w, 1, 2)) return false;
        return w.size() == 1 || w[1] == "run" || r.fail("save takes nothing or run");
    }
    if (cmd == "replay") {
        c.kind = Kind::Replay;
        if (!r.argumentCount(w, 2, 2)) return false;
        c.file = w[1];
        return true;
    }
    if (cmd == "quit") {
        c.kind = Kind::Quit;
        return r.argumentCount(w, 1, 1);
    }
    return r.fail("unknown command " + std::string(cmd));
}

}  // namespace

SimLine parseSimLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') return SimNothing{};
    line.remove_prefix(first);
    const std::vector<std::string_view> words = wordsOf(line);
    // Other blanks alone (a form feed, a vertical tab) make a blank line too.
    if (words.empty()) return SimNothing{};

    SimCommand command;
    LineReader reader;
    if (!readCommand(line, words, command, reader)) return SimScriptError{reader.error()};
    return command;
}

}  // namespace sim
