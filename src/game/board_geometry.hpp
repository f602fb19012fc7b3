#pragma once
#include <array>

#include "game/types.hpp"

namespace rules {

// A rectangle of the 800 by 600 picture: top-left corner, width and height.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Where the board lies on the play screen. The rules hit-test clicks against it, so it lives with
// them; the drawing and the picture generator take it from here through present/layout.hpp.
inline constexpr int kBoardLeft = 257;  // block (0, 0) is drawn at (257, 157)
inline constexpr int kBoardTop = 157;
inline constexpr int kBlockPitch = 56;  // blocks of 2 by 2 cells, 56 pixels apart
inline constexpr int kCellPitch = 28;
inline constexpr int kBoardHitSpan = 279;  // a click within 0..279 of the corner picks a block

// The eight arrow buttons of the frame, in play-screen button order 0..7, and the way each turns
// the board. Their edges count as inside.
struct ArrowButton {
    Rect rect;
    Direction direction;
};
inline constexpr std::array<ArrowButton, 8> kArrowButtons = {{
    {{361, 109, 34, 25}, Direction::CounterClockwise},
    {{209, 302, 25, 34}, Direction::CounterClockwise},
    {{563, 261, 25, 34}, Direction::CounterClockwise},
    {{402, 463, 34, 25}, Direction::CounterClockwise},
    {{402, 109, 34, 25}, Direction::Clockwise},
    {{209, 261, 25, 34}, Direction::Clockwise},
    {{563, 302, 25, 34}, Direction::Clockwise},
    {{361, 463, 34, 25}, Direction::Clockwise},
}};

}  // namespace rules
