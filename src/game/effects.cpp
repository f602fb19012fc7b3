#include "game/effects.hpp"

#include <algorithm>

#include "game/shuffle.hpp"

namespace rules {

namespace {

void completeRevealedCell(GameState& state, int index) {
    if (state.playState == StateShuffle)
        takeShuffleTarget(state, index);
    else
        state.board.cells[index] = state.reveal.preparedCells[index];
}

void advanceQueue(GameState& state, std::vector<EffectEntry>& queue, int frames, bool reveals) {
    for (EffectEntry& entry : queue) {
        if (reveals && entry.frame >= frames - 1) completeRevealedCell(state, cellIndex(entry.column, entry.row));
        entry.frame += 1;
    }
    std::erase_if(queue, [frames](const EffectEntry& entry) { return entry.frame >= frames; });
}

}  // namespace

void queueEffect(std::vector<EffectEntry>& queue, int column, int row) { queue.push_back({column, row, 0}); }

int effectFrames(const EffectQueues& effects, EffectStrip strip) { return std::max(1, effects.frames[static_cast<int>(strip)]); }

void advanceEffects(GameState& state) {
    EffectQueues& effects = state.effects;
    advanceQueue(state, effects.burst, effectFrames(effects, EffectStrip::Burst), false);
    advanceQueue(state, effects.clear, effectFrames(effects, EffectStrip::Clear), false);
    advanceQueue(state, effects.reveal, effectFrames(effects, EffectStrip::Reveal), true);
}

}  // namespace rules
