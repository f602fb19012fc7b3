#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "present/platform.hpp"

namespace sim {

// One line of a lumerik-sim script, read but not yet run. Only the fields of its kind mean anything.
struct SimCommand {
    enum class Kind {
        Tick,  // `count` ticks
        Wait,  // `count` milliseconds without a tick
        Move,  // pointer to (x, y)
        HoldEscape,
        ReleaseEscape,
        Press,        // `button`, at (x, y) when `hasPoint`
        Release,      // the same
        Click,        // `button` at (x, y): move, press, release
        DoubleClick,  // the second press of a double click, `button` at (x, y)
        Key,          // `key`; for Key::Letter the letter as written in `letter`
        AltEnter,
        Text,  // one character message per byte of `text`
        FocusOut,
        FocusIn,
        Lose,
        Board,    // `digits`: the hundred cells in index order
        Bonus,    // `digits`: the hundred bonus kinds
        Shot,     // `file`
        State,    // `file`, "-" for standard output
        Dump,     // `name` (levels, gfx or texts) into `file`
        Set,      // variable `name` := `value`
        Save,     // write the four player files
        SaveRun,  // record the run, then write the four player files
        Replay,   // play the level recorded in `file`
        Quit,
        Pad,            // `pad`: a controller button pressed and released
        PadConnect,     // a controller plugged in
        PadDisconnect,  // the controller unplugged
    };
    Kind kind = Kind::Quit;
    long count = 0;
    int x = 0, y = 0;
    bool hasPoint = false;
    present::MouseButton button = present::MouseButton::Left;
    present::Key key = present::Key::Other;
    uint8_t letter = 0;
    bool shift = false;  // Shift held with `key`
    present::PadButton pad = present::PadButton::A;
    std::string text;
    std::string file;
    std::string name;
    double value = 0;
    std::vector<uint8_t> digits;
};

// What is wrong with a line, as the run reports it after the line number.
struct SimScriptError {
    std::string message;
};

// A blank line or a comment.
struct SimNothing {};

using SimLine = std::variant<SimNothing, SimCommand, SimScriptError>;

// Reads one line of a script (without its line feed; a carriage return at its end is dropped).
// Blanks before the command and around its words are ignored; "#" first starts a comment. Checks
// everything a line can be checked for without the game: command names, argument counts, numbers,
// buttons, key names and the hundred digits of a board. Whether a `set` variable exists, and
// whether a file can be written, is found out when the command runs.
SimLine parseSimLine(std::string_view line);

}  // namespace sim
