#pragma once
#include <array>

#include "game/types.hpp"

namespace rules {

// A point of the 800 by 600 picture.
struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle of the picture: top-left corner, width and height. The screens test points against
// rectangles with three edge rules, each named.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;

    // Its w by h pixels.
    constexpr bool contains(Point p) const { return p.x >= x && p.x < x + w && p.y >= y && p.y < y + h; }
    // Its pixels and the column and row just past them (x + w and y + h count as inside).
    constexpr bool containsInclusive(Point p) const { return p.x >= x && p.x <= x + w && p.y >= y && p.y <= y + h; }
    // Inside its edges: neither x nor x + w, neither y nor y + h counts.
    constexpr bool containsStrictly(Point p) const { return p.x > x && p.x < x + w && p.y > y && p.y < y + h; }
};

// Where the board lies on the play screen. The rules hit-test clicks against it, so it lives with
// them; the drawing and the picture generator take it from here through present/layout.hpp.
inline constexpr int kBoardLeft = 257;  // block (0, 0) is drawn at (257, 157)
inline constexpr int kBoardTop = 157;
inline constexpr int kBlockPitch = 56;  // blocks of 2 by 2 cells, 56 pixels apart
inline constexpr int kCellPitch = 28;
// A click within 0..279 of the corner picks a block.
inline constexpr Rect kBoardHitArea = {kBoardLeft, kBoardTop, 279, 279};

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
