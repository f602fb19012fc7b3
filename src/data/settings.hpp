#pragma once
// "profile\settings.txt": the settings the profile and high-score files have no field for, kept as
// text a person can read and edit, and rewritten whole by every save. For example:
//
//     Lumerik settings
//     [machine]
//     window 120 80 1024 768
//     [player "ANN"]
//     colourSymbols 1
//     moveHints 0
//
// The first line names the file: text that does not begin with "Lumerik settings" is another
// program's and reads as the defaults, as does a missing, empty, unreadable or oversized file.
// After it, each line is a bracketed heading or a key word followed by whole numbers, separated by
// spaces. A heading starts the machine's section or a player's, whose name is quoted: \" for a
// quote, \\ for a backslash and \xHH (two hexadecimal digits) for any other byte outside printable
// ASCII, so any byte but 0 can be part of a name and the game spells every name one way.
//
// Reading never fails, it skips: a line it does not know, every line under a heading it does not
// know (the keys and sections of a newer game, remarks) and a line with too few numbers or a
// word where a number belongs. Numbers past those a key takes are passed over, so a later game may
// give a key more values. A key given twice takes its last value, a number past the key's range is
// held to it. A new setting is one more row in the key table and one more field here: older games
// skip its line, and files without it read as its default.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/file_io.hpp"
#include "data/game_folder.hpp"
#include "data/profiles.hpp"

namespace data {

inline constexpr const char* kSettingsFile = "profile\\settings.txt";
// Larger files are not ours: they read as missing. A save never writes more.
inline constexpr size_t kSettingsFileLimit = 256u << 10;
// The longest name a profile record can give (a damaged one has no terminator in its field).
inline constexpr size_t kSettingsNameLimit = kNameFieldSize;
// A window's corner is held to this many pixels either way from the desktop's origin, its sides to
// 1 up to as many.
inline constexpr int32_t kWindowCoordinateLimit = 16384;

// Where the window was last: its corner on the desktop and its inner size, in pixels.
struct WindowPlacement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 1;
    int32_t height = 1;

    bool operator==(const WindowPlacement&) const = default;
};

// The settings of the machine, shared by every player.
struct MachineSettings {
    std::optional<WindowPlacement> window;  // none until a window was placed

    bool operator==(const MachineSettings&) const = default;
};

// One player's options.
struct PlayerOptions {
    bool colourSymbols = false;  // a symbol on each ball besides its colour
    bool moveHints = true;

    bool operator==(const PlayerOptions&) const = default;
};

struct Settings {
    MachineSettings machine;
    std::map<std::string, PlayerOptions, std::less<>> players;  // by name
    // The file was there but could not be read: saves do not put the defaults in its place.
    bool keepFile = false;

    bool operator==(const Settings&) const = default;
};

// The options of the player of that name; the defaults when the name has none.
PlayerOptions playerOptions(const Settings& settings, std::string_view name);

// A renamed player keeps their options under the new name. The old name's stay too, for a
// cancelled player screen that brings the old name back.
void carryPlayerOptions(Settings& settings, std::string_view from, std::string_view to);

// Forgets the options of every name but those in `names`.
void forgetPlayersBut(Settings& settings, std::span<const std::string> names);

// What a save keeps: the machine's settings and the options of each player of the list (the
// defaults for a player without any), none for names no longer listed.
Settings settingsForPlayers(const Settings& settings, std::span<const PlayerProfile> players);

// The text as settings: the one pure reader, for the file and the tests.
Settings scanSettingsText(std::string_view text);

// Every section of `settings`, the machine's first, then the players' in byte order of their
// names. Player sections that would take the text past kSettingsFileLimit are left out.
std::string writeSettingsText(const Settings& settings);

// Reads the file beside the profile; anything amiss gives the defaults, silently.
Settings loadSettings(const GameFolder& folder);

// Replaces the file atomically with the text of settingsForPlayers, unless the file could not be
// read at start.
WriteResult saveSettings(const GameFolder& folder, const Settings& settings, std::span<const PlayerProfile> players);

}  // namespace data
