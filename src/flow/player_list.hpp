#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/log.hpp"
#include "data/profiles.hpp"

// The player screen's list and its name entry over the profiles.
namespace flow::player_list {

using data::DiagnosticLog;
using data::PlayerProfile;
using data::Profiles;

// The player list shows this many names at once.
inline constexpr int32_t kVisiblePlayers = 11;

// The player screen and the name entry: the selection in the list, the first name shown, the name
// being typed, and the copy of the list that cancelling brings back.
struct PlayerScreen {
    int32_t selection = 0;
    int32_t firstVisible = 0;
    std::string typedName;
    bool nameEntryActive = false;
    int32_t renaming = -1;  // the player the entry renames; -1 for a new player
    std::string refusal;    // why the last name could not be saved; empty after a save or a key
    bool backupTaken = false;
    std::vector<PlayerProfile> backupPlayers;
    uint8_t backupCurrentPlayer = 0;
};

// Opening the player screen: remembers the list and the current player for cancelling, and
// selects the current player.
void beginPlayerScreen(const Profiles& profiles, PlayerScreen& screen);

enum class NameEntryFor { NewPlayer, Rename };

// Starts typing a name: empty for a new player, or the selected player's name to rename it.
// Renaming needs a player: false (nothing starts) when there is none.
bool beginNameEntry(const Profiles& profiles, PlayerScreen& screen, NameEntryFor what);

enum class NameKey { Ignored, Edited, Commit };

// A typed character while name entry is active: backspace (8) removes the last character, Enter
// (13) asks for the name to be saved (Commit: the caller runs saveName, then saves the files),
// any other byte but 0 is appended while the name is shorter than 12, with a..z raised to A..Z.
NameKey typeNameCharacter(PlayerScreen& screen, uint8_t character);

enum class SaveNameOutcome {
    Created,           // a new player at the end of the list, selected
    Renamed,           // the renamed player moved to the end of the list under its new name
    SelectedExisting,  // a player of that name exists and is now selected
    EmptyIgnored,      // an empty name while players exist: logged, nothing created
    Refused,           // the list is full: entry stays active; the caller says why in `screen.refusal`
};

// Commits the typed name. Ends name entry (except when refused). An empty name on the first start
// becomes "PLAYER"; with players it writes "return saveName()" to the log and changes nothing.
SaveNameOutcome saveName(Profiles& profiles, PlayerScreen& screen, DiagnosticLog& log);

enum class DeleteOutcome { Deleted, NoPlayersLeft };

// Removes the selected player. NoPlayersLeft: the list is empty and name entry for a new player
// has begun. The selection moves to the middle of what remains.
DeleteOutcome deletePlayer(Profiles& profiles, PlayerScreen& screen);

// Makes the selected player current. False (nothing changes) when the selection holds no player
// or lies past index 255, which the current-player byte cannot name.
bool confirmPlayer(Profiles& profiles, PlayerScreen& screen);

// Brings back the list and the current player as they were when the screen opened.
void cancelPlayerScreen(Profiles& profiles, PlayerScreen& screen);

}  // namespace flow::player_list
