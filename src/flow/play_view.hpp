#pragma once
#include "flow/game.hpp"

namespace flow {

// The drawing step of the play screen. It is also where the board animations advance: a pending
// block turn steps once per frame while nothing falls, a board turn once per frame of StateRotating,
// the drop animation while something falls; the rune slots and the effect queues play one frame.
void drawPlayView(Game& game);

// The picture of a level group's intermission.
void drawIntermissionView(Game& game);

// Where the four balls of a block sit inside its 62 by 62 picture at rotation step 0..5; cells are
// numbered 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right.
struct BallOffset {
    int x, y;
};
inline constexpr BallOffset kTurnPositions[6][4] = {
    {{7, 7}, {7, 35}, {35, 7}, {35, 35}},  {{6, 8}, {8, 36}, {34, 6}, {36, 34}},
    {{4, 11}, {11, 38}, {31, 4}, {38, 31}}, {{1, 21}, {21, 41}, {21, 1}, {41, 21}},
    {{4, 31}, {31, 38}, {11, 4}, {38, 11}}, {{6, 34}, {34, 36}, {8, 6}, {36, 8}},
};

}  // namespace flow
