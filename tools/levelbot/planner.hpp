#pragma once
#include <cstdint>
#include <vector>

#include "game/random.hpp"
#include "game/state.hpp"

namespace levelbot {

// How the planner weighs what it sees; the report quotes them.
inline constexpr double kFollowUpWeight = 0.75;     // a gain one move later is worth a little less than one now
inline constexpr int kFruitlessBeforeShuffle = 3;   // moves without progress before a shuffle is considered
inline constexpr double kShuffleReserve = 1.0 / 3;  // the share of the limit a shuffle must leave

enum class MoveKind { None, Block, Board, Shuffle };

// One thing a player can do on a settled board.
struct Move {
    MoveKind kind = MoveKind::None;
    int blockColumn = 0;  // 0..4, for a block turn
    int blockRow = 0;
    rules::Direction direction = rules::Direction::CounterClockwise;
    bool operator==(const Move&) const = default;
};

// What a candidate move is worth, found by playing it out on a copy of the rule state.
struct MoveValue {
    Move move;
    double gain = 0;       // points (refilled modes) or emptied cells (the others) of the move itself
    double followUp = 0;   // the best gain of one more move after it
    double potential = 0;  // near-figures on the board afterwards, to break ties
    double value = 0;      // what the planner ranks by
};

// How a level is going: the progress measure of its mode and what is left of its limit.
// Progress is the level score where the board is refilled, the number of empty cells elsewhere.
double levelProgress(const rules::GameState& state);

// Plays `move` out on `state` with the rules' own steps, as the game would over the next frames: the
// turn, then matching, chains and falls until the board is quiet. Refills draw from `random`, so in
// the refilled modes the result is one possible future. Bonuses act as they would; no new ones are
// placed (the rune meter is not run). Shuffles are not played out.
void playOut(rules::GameState& state, const Move& move, uint32_t now, rules::Random& random);

// Near-figures: 2 by 2 windows and diagonal runs of four that lack one ball of a colour. A board
// rich in them gives the next moves more to work with.
int nearFigures(const rules::Board& board);

// Chooses moves by playing every block turn (and, on boards that are not refilled, both board turns)
// out on a copy of the rule state, and for each the best move after it: a two-move look-ahead. A
// move that scores now ranks above one that only prepares; among moves that achieve nothing the
// one leaving the most near-figures wins. When several fruitless moves in a row find nothing, a
// shuffle is bought if the limit can spare it.
class Planner {
  public:
    explicit Planner(uint32_t seed) : random_(seed) {}

    // The move to make now on the settled board of `state`, at time `now`.
    Move choose(const rules::GameState& state, uint32_t now);

    // Every candidate with its value, best first (the look-ahead of `choose`, exposed for tests and
    // for the report's notes).
    std::vector<MoveValue> rank(const rules::GameState& state, uint32_t now);

    // A move the planner made and the progress it brought, so it knows when it is stuck.
    void moveEnded(bool progressed) { fruitlessMoves_ = progressed ? 0 : fruitlessMoves_ + 1; }

  private:
    rules::Random random_;
    int fruitlessMoves_ = 0;
};

// The candidate moves on a board of mode `mode`: the 50 block turns whose block holds a ball and is
// not of one colour, and both board turns where balls can fall.
std::vector<Move> candidateMoves(const rules::GameState& state);

}  // namespace levelbot
