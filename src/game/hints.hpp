#pragma once
#include <cstdint>
#include <optional>

#include "game/state.hpp"

namespace rules {

enum class HintKind { BlockTurn, BoardTurn };

// A move that makes a figure at once.
struct Hint {
    HintKind kind = HintKind::BlockTurn;
    int blockColumn = 0;  // 0..4, for a block turn
    int blockRow = 0;     // 0..4, for a block turn
    Direction direction = Direction::CounterClockwise;
    int32_t points = 0;  // what the move's figures, and the bonuses caught in them, score
    bool operator==(const Hint&) const = default;
};

// The best move that makes a figure now on the board of `state`, tried on a trimmed copy: nothing in
// `state` changes, no sound plays, and no draw is taken from the game's generator.
//
// Candidates are every block turn and, where the board is not refilled, both board turns (on a full
// board a board turn only turns its figures along). Balls fall after a move as the frames let them
// fall, so a board turn, or a block turn that lifts a ball over a hole, scores the figures its fall
// completes. A move is worth the points of its first pass of figures; the chain that may follow is
// not counted. Among moves worth the same, the first in this order wins: block turns before board
// turns; blocks row by row from the top, left to right within a row; counter-clockwise (the left
// button) before clockwise.
//
// None when no move makes a figure, and none when the board is not waiting for the player: outside
// StatePlaying, while a block turn is pending, while balls fall or hang over holes, or while the
// board still holds a figure of its own.
std::optional<Hint> findHint(const GameState& state);

}  // namespace rules
