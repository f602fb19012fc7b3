#include "planner.hpp"

#include <algorithm>

#include "game/board.hpp"
#include "game/falling.hpp"
#include "game/frame.hpp"
#include "game/matches.hpp"
#include "game/shuffle.hpp"

namespace levelbot {

namespace {

constexpr double kPotentialWeight = 0.001;  // near-figures only decide between otherwise equal moves

// The rule state without what a look-ahead never reads, so that copies are cheap.
rules::GameState trialBase(const rules::GameState& state) {
    rules::GameState base;
    base.board = state.board;
    base.playState = rules::StatePlaying;
    base.gameMode = state.gameMode;
    base.level = state.level;
    base.settings = state.settings;
    base.player.toShowTips = false;
    // No limit runs out in a look-ahead, and it places no new bonuses (its figures earn no runes).
    base.level.levelRunning = false;
    base.runePoints = 0;
    rules::LevelDefinition& def = base.level.definition;
    def.runesSquare2x2 = def.runesSquare2x3 = 0;
    def.runesDiagonal.fill(0);
    def.runesFigure.fill(0);
    // The board is quiet when a move is chosen: no chain runs, nothing falls.
    return base;
}

bool blockWorthTurning(const rules::Board& board, int blockColumn, int blockRow) {
    const int tl = rules::cellIndex(2 * blockColumn, 2 * blockRow);
    const int tr = rules::cellIndex(2 * blockColumn + 1, 2 * blockRow);
    const uint8_t cells[4] = {board.cells[tl], board.cells[tl + 1], board.cells[tr], board.cells[tr + 1]};
    const uint8_t bonuses[4] = {board.cellBonus[tl], board.cellBonus[tl + 1], board.cellBonus[tr], board.cellBonus[tr + 1]};
    // Four balls of one colour without bonuses look the same after a turn (and would have matched
    // already); four empty cells cost nothing and change nothing.
    for (int k = 1; k < 4; ++k)
        if (cells[k] != cells[0] || bonuses[k] != bonuses[0]) return true;
    return false;
}

}  // namespace

double levelProgress(const rules::GameState& state) {
    if (rules::isRefilled(state.gameMode)) return state.level.levelScore;
    return static_cast<double>(std::count(state.board.cells.begin(), state.board.cells.end(), uint8_t{0}));
}

void playOut(rules::GameState& state, const Move& move, uint32_t now, rules::Random& random) {
    rules::ManualClock clock(now);
    rules::SilentSound sound;
    rules::Services services{clock, random, sound};
    if (move.kind == MoveKind::Block)
        rules::turnBlockCells(state.board, move.blockColumn, move.blockRow, move.direction);
    else if (move.kind == MoveKind::Board)
        rules::turnQuarter(state.board, move.direction);
    state.playState = rules::StatePlaying;
    state.chain.chainRunning = false;
    // The game's own frames take it from there: figures, chains and falls (new balls enter in the
    // refilled modes) until the board is quiet.
    rules::settleBoard(state, services);
    state.effects.burst.clear();
    state.effects.clear.clear();
}

int nearFigures(const rules::Board& board) {
    auto at = [&](int c, int r) { return board.cells[rules::cellIndex(c, r)]; };
    // Three of four cells of one colour, the fourth holding another ball.
    auto threeOfFour = [](uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
        if (a == 0 || b == 0 || c == 0 || d == 0) return false;
        const uint8_t v[4] = {a, b, c, d};
        for (int i = 0; i < 2; ++i) {
            int same = 0;
            for (uint8_t x : v) same += x == v[i];
            if (same == 3) return true;
        }
        return false;
    };
    int count = 0;
    for (int c = 0; c + 1 < rules::kColumns; ++c)
        for (int r = 0; r + 1 < rules::kRows; ++r) count += threeOfFour(at(c, r), at(c + 1, r), at(c, r + 1), at(c + 1, r + 1));
    for (int c = 0; c + 3 < rules::kColumns; ++c) {
        for (int r = 0; r + 3 < rules::kRows; ++r) {
            count += threeOfFour(at(c, r), at(c + 1, r + 1), at(c + 2, r + 2), at(c + 3, r + 3));
            count += threeOfFour(at(c + 3, r), at(c + 2, r + 1), at(c + 1, r + 2), at(c, r + 3));
        }
    }
    return count;
}

std::vector<Move> candidateMoves(const rules::GameState& state) {
    std::vector<Move> moves;
    moves.reserve(52);
    for (int bc = 0; bc < 5; ++bc) {
        for (int br = 0; br < 5; ++br) {
            if (!blockWorthTurning(state.board, bc, br)) continue;
            moves.push_back({MoveKind::Block, bc, br, rules::Direction::CounterClockwise});
            moves.push_back({MoveKind::Block, bc, br, rules::Direction::Clockwise});
        }
    }
    // A full board turned is the same board turned: its figures are the same. Only where balls can
    // fall into holes does a board turn change anything.
    if (!rules::isRefilled(state.gameMode)) {
        moves.push_back({MoveKind::Board, 0, 0, rules::Direction::CounterClockwise});
        moves.push_back({MoveKind::Board, 0, 0, rules::Direction::Clockwise});
    }
    return moves;
}

std::vector<MoveValue> Planner::rank(const rules::GameState& state, uint32_t now) {
    const rules::GameState base = trialBase(state);
    const double before = levelProgress(base);
    std::vector<MoveValue> ranked;
    rules::GameState first, second;
    for (const Move& move : candidateMoves(base)) {
        first = base;
        playOut(first, move, now, random_);
        MoveValue v;
        v.move = move;
        const double after = levelProgress(first);
        v.gain = after - before;
        for (const Move& next : candidateMoves(first)) {
            second = first;
            playOut(second, next, now, random_);
            v.followUp = std::max(v.followUp, levelProgress(second) - after);
        }
        v.potential = nearFigures(first.board);
        // A tiny random share breaks ties, so equal moves are not always taken in scan order.
        v.value = v.gain + kFollowUpWeight * v.followUp + kPotentialWeight * v.potential + 1e-6 * random_.mod(1000);
        ranked.push_back(v);
    }
    std::sort(ranked.begin(), ranked.end(), [](const MoveValue& a, const MoveValue& b) { return a.value > b.value; });
    return ranked;
}

Move Planner::choose(const rules::GameState& state, uint32_t now) {
    const std::vector<MoveValue> ranked = rank(state, now);
    const bool nothingInReach = ranked.empty() || ranked.front().gain + ranked.front().followUp <= 0;
    if (nothingInReach && fruitlessMoves_ >= kFruitlessBeforeShuffle) {
        rules::ManualClock clock(now);
        rules::Random unused;
        rules::SilentSound sound;
        const rules::Services services{clock, unused, sound};
        const int price = rules::shufflePrice(state);
        const int32_t limit = state.level.limit;
        // Only while enough of the limit would be left after paying.
        const double left = rules::isTimed(state.gameMode) ? limit - static_cast<int32_t>(now - state.level.levelStartTime) / 1000
                                                           : state.level.remaining;
        if (rules::canShuffle(state, services) && left - price >= limit * kShuffleReserve) {
            fruitlessMoves_ = 0;
            return {MoveKind::Shuffle};
        }
    }
    if (ranked.empty()) return {};
    return ranked.front().move;
}

}  // namespace levelbot
