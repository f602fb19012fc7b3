#pragma once
#include <vector>

#include "flow/game.hpp"

namespace flow {

// The play screen's frame, drawn where the rules' frame shows its picture: a level the rules set
// up starts afresh on screen (its group's background, the flash, empty bars); the level-1 sweep
// lights the frame's arrows; the bars ease towards their values; the view is built and drawn; then
// what it showed moves on (the flash, the critical pulse, the glows, the flights, the bonus
// pictures), the buttons light up under the pointer, and the shuffle button goes dark once a
// shuffle is out of reach.
void showPlayFrame(Game& game);

// The new bonus flights the rules asked for take off from the rune meter.
void launchBonusFlights(Game& game);

// The points of the line from `a` to `b`, both ends included: the larger of |dx| and |dy|, plus one.
std::vector<present::Point> linePoints(present::Point a, present::Point b);

}  // namespace flow
