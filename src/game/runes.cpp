#include "game/runes.hpp"

#include <algorithm>

#include "game/bonus_kinds.hpp"
#include "game/effects.hpp"

namespace rules {

namespace {

// A payout looks for a free ball for 10 ms, a universal ball for up to 100 ms from the payout's
// start. The clock may stand still (the simulator's does), so the draws are counted as well: with
// a single free ball on the board, 2000 draws miss it about once in 500 million payouts.
constexpr uint32_t kCellSearchMs = 10;
constexpr uint32_t kUniversalSearchMs = 100;
constexpr int kCellSearchDraws = 2000;
constexpr int kUniversalSearchDraws = 20000;

constexpr int kLitCounterTop = 5;
constexpr int kFadeCounterTop = 7;

bool takesBonus(const Board& board, int index) { return board.cells[index] != 0 && board.cellBonus[index] == 0; }

bool anyBallTakesBonus(const Board& board) {
    for (int i = 0; i < kCellCount; ++i)
        if (takesBonus(board, i)) return true;
    return false;
}

// Draws a column and then a row until the cell holds a ball without a bonus, while the search
// window is open. -1 when none turned up.
int drawFreeBall(const GameState& state, Services& services, uint32_t start, uint32_t windowMs, int maxDraws) {
    if (!anyBallTakesBonus(state.board)) return -1;
    for (int draws = 1;; ++draws) {
        const int column = services.random.mod(kColumns);
        const int row = services.random.mod(kRows);
        if (takesBonus(state.board, cellIndex(column, row))) return cellIndex(column, row);
        if (elapsedSince(services.now(), start) >= windowMs || draws >= maxDraws) return -1;
    }
}

// The kind of the next bonus by the level's weights (negative weights count as 0); none when every
// weight is 0.
BonusKind drawKind(const LevelDefinition& def, Random& random) {
    uint64_t sum = 0;
    for (int32_t weight : def.bonusRatio) sum += static_cast<uint64_t>(std::max(weight, 0));
    if (sum == 0) return BonusNone;
    const uint64_t draw = sum > 0xFFFFFFFFu ? (uint64_t{random.next()} << 32) | random.next() : random.next();
    const uint64_t r = draw % sum;
    uint64_t reach = 0;
    for (int k = 0; k < kBonusKindCount; ++k) {
        const int32_t weight = def.bonusRatio[k];
        if (weight <= 0) continue;
        reach += static_cast<uint64_t>(weight);
        if (r < reach) return static_cast<BonusKind>(k + 1);
    }
    return BonusNone;
}

void placeBonus(GameState& state, Services& services, int index, BonusKind kind) {
    state.board.cellBonus[index] = kind;
    state.board.cellStamp[index] = static_cast<int32_t>(services.now());
    const BonusKindInfo& info = bonusKind(kind);
    const int slot = info.flightSlots[static_cast<size_t>(services.random.mod(2))];
    state.requests.bonusFlights.push_back({info.pictureRecord, slot, index / kRows, index % kRows});
}

// The first Explode bonus of the mode's first Explode level explains itself, once per level.
void requestExplodeTip(GameState& state, Services& services, int index) {
    RuleRequests& requests = state.requests;
    const int firstLevel = state.bonusFirstLevel[static_cast<int>(state.gameMode)][bonusKind(BonusExplode).firstLevelEntry];
    if (requests.explodeTipShown || !state.player.toShowTips || state.level.currentLevel != firstLevel) return;
    requests.explodeTipAt = services.now();
    requests.explodeTipPending = true;
    requests.explodeTipShown = true;
    requests.explodeTipColour = state.board.cells[index] - 1;
}

void payOut(GameState& state, Services& services, uint32_t start) {
    const int cell = drawFreeBall(state, services, start, kCellSearchMs, kCellSearchDraws);
    if (cell < 0) return;
    const BonusKind kind = drawKind(state.level.definition, services.random);
    if (kind == BonusNone) return;
    if (kind != BonusUniversal) {
        placeBonus(state, services, cell, kind);
        if (kind == BonusExplode) requestExplodeTip(state, services, cell);
        return;
    }
    for (int n = 0; n < state.settings.universal; ++n) {
        // A search that fails has used up the window (or found no free ball left), and so would
        // every later one.
        const int target = drawFreeBall(state, services, start, kUniversalSearchMs, kUniversalSearchDraws);
        if (target < 0) return;
        placeBonus(state, services, target, BonusUniversal);
    }
}

}  // namespace

void updateRuneMeter(GameState& state, Services& services) {
    const int lit = std::min(state.runePoints, kRuneSlots);
    for (int j = 0; j < lit; ++j)
        if (state.runeSlots[j].state == 0) state.runeSlots[j] = {1, 0};
    if (state.runePoints < kRunesPerPayout) return;

    if (!services.sound.isPlaying(SoundBonusAppear)) services.sound.play(SoundBonusAppear);
    if (!services.sound.isPlaying(SoundDisappear)) services.sound.play(SoundDisappear);
    const int payouts = state.runePoints / kRunesPerPayout;
    // A remainder of 18 or more pays out again on the next frame.
    state.runePoints = state.settings.zeroRunesOnNextLevel != 0 ? 0 : state.runePoints - kRunesPerPayout;
    for (int j = std::max(state.runePoints, 0); j < kRuneSlots; ++j) state.runeSlots[j].state = 2;

    // A level file with huge rune values could ask for millions of payouts in one frame; a hundred
    // already covers every ball of the board.
    const int boundedPayouts = std::min(payouts, kCellCount);
    const uint32_t start = services.now();
    for (int p = 0; p < boundedPayouts; ++p) {
        if (!anyBallTakesBonus(state.board)) break;
        payOut(state, services, start);
    }
}

void expireBonuses(GameState& state, Services& services) {
    const int32_t duration = state.level.definition.bonusDuration;
    if (duration <= 0) return;
    const uint32_t now = services.now();
    Board& board = state.board;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const int i = cellIndex(c, r);
            if (board.cellStamp[i] == 0) continue;
            if (elapsedSince(now, static_cast<uint32_t>(board.cellStamp[i])) < static_cast<uint32_t>(duration)) continue;
            board.cellStamp[i] = 0;
            board.cellBonus[i] = 0;
            queueEffect(state.effects.burst, c, r);
        }
    }
}

void computeBonusFirstLevels(GameState& state) {
    for (int mode = 0; mode < kModeCount; ++mode) {
        std::array<int32_t, kFirstLevelEntries>& first = state.bonusFirstLevel[mode];
        first.fill(-1);
        auto note = [&first](int entry, int32_t level) {
            if (first[static_cast<size_t>(entry)] < 0) first[static_cast<size_t>(entry)] = level;
        };
        for (int32_t level = 1;; ++level) {
            const LevelDefinition* def = state.levels.findLevel(static_cast<GameMode>(mode), level);
            if (def == nullptr) break;
            if (def->bonusDuration != 0) note(kExpiryFirstLevelEntry, level);
            // A kind's weight in the level's bonus ratio says whether the level has it.
            for (const BonusKindInfo& info : kBonusKinds)
                if (def->bonusRatio[static_cast<size_t>(info.kind - 1)] != 0) note(info.firstLevelEntry, level);
        }
    }
}

void advanceRuneSlots(GameState& state) {
    for (RuneSlot& slot : state.runeSlots) {
        if (slot.state == 1) {
            slot.counter = std::min(slot.counter + 1, kLitCounterTop);
        } else if (slot.state == 2) {
            if (slot.counter >= kFadeCounterTop)
                slot = {};
            else
                slot.counter += 1;
        }
    }
}

}  // namespace rules
