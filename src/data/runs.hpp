#pragma once
#include <cstdint>

#include "data/high_scores.hpp"
#include "data/profiles.hpp"
#include "game/state.hpp"

namespace data {

// A new run of the current game mode for the current player: a fresh run identifier from the
// game's generator, the starting level, scores at 0. The caller begins the level sequence, closes
// the menu and starts a new track.
void startNewRun(Profiles& profiles, rules::GameState& state, rules::Random& random);

// Continues the current player's saved run of the current game mode: its identifier, level,
// scores, rune meter, and for the level's set-up its board, bonus timers and clock or moves. A
// mode without a saved run starts a new one. A continued run opens without an intermission.
void resumeRun(Profiles& profiles, rules::GameState& state, rules::Random& random);

// Stores the current run into the current player's profile (the mode's level, scores, clock or
// moves, runes and board, bonus timers as ages at `now`) and enters its total into the mode's
// high-score table. A run total of 0, or a level continued from a save, leaves the table alone.
// Nothing happens without a current player.
void recordRun(Profiles& profiles, HighScores& highScores, const rules::GameState& state, uint32_t now);

}  // namespace data
