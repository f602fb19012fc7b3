#pragma once
#include <vector>

#include "flow/game.hpp"

namespace flow {

// What one particle shows this tick: a rocket's ball, or a spark at frame `frame` of its burst.
struct FireworkSprite {
    int x = 0;
    int y = 0;
    bool rocket = false;
    int colour = 0;
    int frame = 0;
};

// One tick of the fireworks: a rocket rises from a lower corner every 666 ms; 1100 ms after the top
// of its climb it bursts into 15 to 23 sparks. Every particle falls back under gravity and is gone
// below the bottom edge, also a spark thrown above the top edge, which moves on out of sight.
// `shown` receives what this tick draws, in drawing order.
void stepFireworks(ScreenState& screens, rules::Random& random, uint32_t now, std::vector<FireworkSprite>& shown);

// What stepFireworks said a tick shows, drawn into the back buffer.
void drawFireworks(Game& game, const std::vector<FireworkSprite>& shown);

}  // namespace flow
