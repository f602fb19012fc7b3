#pragma once
#include "game/state.hpp"

namespace rules {

inline constexpr int kRunesPerPayout = 18;

// Once per frame of the play screen, after the mode rules: lights the meter's slots and, for every
// 18 rune points, places a bonus on a random ball of the board.
void updateRuneMeter(GameState& state, Services& services);

// Once per frame right after updateRuneMeter: bonuses older than the level's BonusDuration vanish
// from their balls (the balls stay).
void expireBonuses(GameState& state, Services& services);

// Once after the level file is read: for each mode, the first level with each bonus property.
void computeBonusFirstLevels(GameState& state);

// One frame of the meter's slot animation: a lit slot brightens and holds, a fading one fades out
// and goes dark.
void advanceRuneSlots(GameState& state);

}  // namespace rules
