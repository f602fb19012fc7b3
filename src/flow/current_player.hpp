#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "flow/game.hpp"

namespace flow {

// What the screens read from, and change in, the current player's profile.
bool tipsWanted(const Game& game);
void setTipsWanted(Game& game, bool on);
bool ownCursorWanted(const Game& game);
void setOwnCursorWanted(Game& game, bool on);
bool helpBeforeGame(const Game& game);
void setHelpBeforeGame(Game& game, bool on);
// The options kept in the settings file under the player's name. Without a player they keep their
// defaults (colour symbols off, move hints on) and setting them changes nothing.
bool colourSymbolsWanted(const Game& game);
void setColourSymbolsWanted(Game& game, bool on);
bool moveHintsWanted(const Game& game);
void setMoveHintsWanted(Game& game, bool on);

// Where the window was last placed, for every player of the machine; none until it was placed.
// It goes to disk with the next save.
std::optional<data::WindowPlacement> windowPlacement(const Game& game);
void setWindowPlacement(Game& game, const data::WindowPlacement& placement);
// Takes where the platform's window stands as a window into the settings (saved with the next save).
void recordWindowPlacement(Game& game);

// The level the current player's saved run of `mode` stands at; 0 without a saved run.
int32_t savedLevel(const Game& game, rules::GameMode mode);

// The current player's name; empty without players.
std::string currentPlayerName(const Game& game);

// The options screen is closing: what was set there goes to disk.
void saveAfterOptions(Game& game);

}  // namespace flow
