#pragma once
#include "game/state.hpp"

namespace rules {

// The price of a shuffle in the current level, in moves or seconds: the limit divided by the
// group's SWAP. -1 when the group's SWAP is not positive: such a group offers no shuffle.
int shufflePrice(const GameState& state);

// Whether the player can pay for a shuffle now: more moves left than the price in the move-limited
// modes, more whole seconds left than the price on the clock in the timed ones.
bool canShuffle(const GameState& state, const Services& services);

// The S key and the shuffle button, in StatePlaying: pays, deals every ball (with its bonus) to a
// random occupied place and starts the diagonal sweep that shows the deal.
void shuffle(GameState& state, Services& services);

// One frame of StateShuffle: every third frame the next diagonal gets its reveal effects; after 68
// frames play resumes.
void advanceShuffle(GameState& state);

// A cell's reveal effect has played during the sweep: the cell takes its dealt contents.
void takeShuffleTarget(GameState& state, int index);

// Ends a sweep at once: every cell still waiting takes its dealt contents, and the sweep's reveal
// effects are dropped. Used when StateShuffle ends, however it ends.
void completeShuffle(GameState& state);

}  // namespace rules
