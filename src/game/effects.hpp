#pragma once
#include <vector>

#include "game/state.hpp"

namespace rules {

enum class EffectStrip { Burst = 0, Clear = 1, Reveal = 2 };

// Appends an effect at frame 0 to the end of a queue.
void queueEffect(std::vector<EffectEntry>& queue, int column, int row);

// The number of frames an effect of the strip plays: its count from the graphics settings, at
// least one.
int effectFrames(const EffectQueues& effects, EffectStrip strip);

// One frame of the three queues once a frame has shown them: every entry's frame grows by one and an
// entry that has played its last frame leaves its queue. A reveal entry that has just
// played its last frame completes its cell: with the shuffle's deal during a shuffle, otherwise
// with the level's prepared board.
void advanceEffects(GameState& state);

}  // namespace rules
