#include "game/shuffle.hpp"

#include "game/effects.hpp"

namespace rules {

namespace {

constexpr uint8_t kNotDealt = 255;
constexpr int kSweepFrames = 68;  // 19 diagonals, one every third frame, then the last ones play out
constexpr int kFramesPerDiagonal = 3;
// A deal draws places until it finds a free one; past this many draws it takes the first free
// place, so the deal ends even with an unlucky generator.
constexpr int kDealDraws = 10000;

bool paysInMoves(GameMode mode) { return !isTimed(mode); }

int wholeSecondsLeft(const GameState& state, const Services& services) {
    const int32_t elapsedMs = static_cast<int32_t>(services.now() - state.level.levelStartTime);
    return state.level.limit - elapsedMs / 1000;
}

int dealTarget(const ShuffleState& deal, Random& random) {
    for (int draws = 0; draws < kDealDraws; ++draws) {
        const int column = random.mod(kColumns);
        const int row = random.mod(kRows);
        if (deal.shuffleCells[cellIndex(column, row)] == kNotDealt) return cellIndex(column, row);
    }
    for (int i = 0; i < kCellCount; ++i)
        if (deal.shuffleCells[i] == kNotDealt) return i;
    return -1;
}

}  // namespace

int shufflePrice(const GameState& state) {
    const int32_t swap = state.settings.swap[groupEntry(state.gameMode, state.level.currentLevel)];
    if (swap <= 0) return -1;
    return state.level.limit / swap;
}

bool canShuffle(const GameState& state, const Services& services) {
    const int price = shufflePrice(state);
    if (price < 0) return false;
    // Puzzle has a move budget and no clock, so it pays in moves like Strategy.
    if (paysInMoves(state.gameMode)) return state.level.remaining > static_cast<float>(price);
    return wholeSecondsLeft(state, services) > price;
}

void shuffle(GameState& state, Services& services) {
    if (state.playState != StatePlaying || !canShuffle(state, services)) return;
    const int price = shufflePrice(state);
    LevelState& level = state.level;
    if (paysInMoves(state.gameMode))
        level.remaining -= static_cast<float>(price);
    else
        level.levelStartTime -= static_cast<uint32_t>(price) * 1000u;

    ShuffleState& deal = state.shuffle;
    const Board& board = state.board;
    deal.shuffleStamps.fill(0);
    deal.shuffleBonus.fill(0);
    for (int i = 0; i < kCellCount; ++i) deal.shuffleCells[i] = board.cells[i] != 0 ? kNotDealt : 0;
    deal.shuffleTick = 0;
    state.playState = StateShuffle;

    for (int i = 0; i < kCellCount; ++i) {
        if (board.cells[i] == 0) continue;
        const int target = dealTarget(deal, services.random);
        deal.shuffleCells[target] = board.cells[i];
        deal.shuffleBonus[target] = board.cellBonus[i];
        deal.shuffleStamps[target] = board.cellStamp[i];
    }
    services.sound.play(SoundShuffle);

    if (state.player.toShowTips && !state.player.shuffleTipShown) {
        state.requests.shuffleTip = true;
        state.player.shuffleTipShown = true;
    }
}

void advanceShuffle(GameState& state) {
    ShuffleState& deal = state.shuffle;
    if (deal.shuffleTick >= kSweepFrames) {
        completeShuffle(state);
        state.playState = StatePlaying;
        return;
    }
    const int t = deal.shuffleTick++;
    if (t % kFramesPerDiagonal != 0) return;
    const int s = t / kFramesPerDiagonal;
    // The anti-diagonal column + row = s: from row 0 downwards up to the main one, then from
    // column 9 leftwards.
    for (int k = 0; k < kColumns; ++k) {
        const int column = s <= 9 ? s - k : 9 - k;
        const int row = s - column;
        if (column < 0 || row < 0 || row > 9) continue;
        if (state.board.cells[cellIndex(column, row)] != 0) queueEffect(state.effects.reveal, column, row);
    }
}

void takeShuffleTarget(GameState& state, int index) {
    ShuffleState& deal = state.shuffle;
    // A place is taken once; the mark also keeps empty places empty.
    if (deal.shuffleCells[index] == 0) return;
    state.board.cells[index] = deal.shuffleCells[index];
    state.board.cellBonus[index] = deal.shuffleBonus[index];
    state.board.cellStamp[index] = deal.shuffleStamps[index];
    deal.shuffleCells[index] = 0;
}

void completeShuffle(GameState& state) {
    for (int i = 0; i < kCellCount; ++i) takeShuffleTarget(state, i);
    state.effects.reveal.clear();
}

}  // namespace rules
