#pragma once
#include <cstdint>

#include "flow/game.hpp"
#include "flow/player_list.hpp"

namespace flow {

// Saving and runs.

// Writes the profile file and the three high-score files from the game's state, then the settings
// file. A save that fails is written to the diagnostic log as one line; play goes on with the data
// in memory. True when all five files were written.
bool saveAll(Game& game);

// As the game closes: records where the window stands and, when the settings file says otherwise,
// writes that file alone. The player files are left as they are.
void saveWindowPlacementAtClose(Game& game);

// Stores the current run of the current mode into the current player's profile and the mode's
// high-score table, from the rule state as it is now. Always followed by saveAll.
void recordRun(Game& game);

// A new run, or the current player's saved run, of `game.rules.gameMode`: the play screen sets the
// level up on the next tick. Closes the menu screen on top and starts a new game track.
void startNewRun(Game& game);
void resumeRun(Game& game);

// Empties the high-score table of `mode` (the files change at the next save).
void clearHighScores(Game& game, rules::GameMode mode);

// The player screens. Each runs the player operation and the screen change that goes with it.

// Title button 0: remembers the list for cancelling, selects the current player, opens the player
// screen (3).
void beginPlayerScreen(Game& game);

// Opens the name screen (4) with name entry for a new player, or to rename the selected one (only
// when there are players: otherwise nothing happens and false comes back). The caller does not
// open screen 4 itself.
bool beginNameEntry(Game& game, player_list::NameEntryFor what);

// A typed character while name entry is active; Enter saves the name and then the files.
void typeNameCharacter(Game& game, uint8_t character);

// Commits the typed name and closes the name screen. A name that cannot be taken (the list is
// full) leaves the screen open with name entry active and the reason in
// `game.playerScreen.refusal`, for the name screen to show.
player_list::SaveNameOutcome saveName(Game& game);

// The delete confirmation's yes: closes it and removes the selected player; when none is left,
// name entry for a new player opens the name screen.
void deletePlayer(Game& game);

// The player screen's select and cancel buttons; both close the player screen.
void confirmPlayer(Game& game);
void cancelPlayerScreen(Game& game);

// The current player and the options the game takes from it.

// Null when there is no player yet.
const data::PlayerProfile* currentProfile(const Game& game);
data::PlayerProfile* currentProfile(Game& game);

// The mouse cursor the current player chose (the game's own when there is no player).
present::CursorShape playerCursor(const Game& game);

// Keeps the rules' copy of the player's tips in step with the profile: the player's toShowTips
// goes to the rules, and a shuffle tip the rules have shown is marked in the profile. Run every
// tick; does nothing while there is no player.
void syncPlayerTips(Game& game);

// Loads the rules' copy of the tips from the current player, after the current player changed.
void loadPlayerTips(Game& game);

}  // namespace flow
