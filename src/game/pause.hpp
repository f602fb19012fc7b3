#pragma once
#include "game/state.hpp"

namespace rules {

// Play is interrupted (pause button, tip screens, the window losing focus): bonus stamps become
// ages, so bonus lifetimes do not run while the game stands still.
void pauseLevel(GameState& state, const Services& services);

// Play continues where it was interrupted: the level clock and a running freeze move on by the
// time paused, stamps become ticks again, and in the timed modes the clock resumes at the whole
// second it showed.
void resumeLevel(GameState& state, const Services& services);

// Turns every non-zero stamp t into now - t; applied twice it gives the stamps back.
void toggleStampAges(Board& board, uint32_t now);

}  // namespace rules
