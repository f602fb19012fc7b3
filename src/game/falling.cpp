#include "game/falling.hpp"

namespace game {

bool boardHasHole(const GameState& state) {
    const auto& cells = state.board.cells;
    if (isRefilled(state.gameMode)) {
        for (uint8_t cell : cells)
            if (cell == 0) return true;
        return false;
    }
    // Empty cells at the top of a column stay empty for good; only a ball above a hole falls.
    for (int c = 0; c < kColumns; ++c) {
        bool ballAbove = false;
        for (int r = 0; r < kRows; ++r) {
            if (cells[cellIndex(c, r)] != 0)
                ballAbove = true;
            else if (ballAbove)
                return true;
        }
    }
    return false;
}

bool needsFall(const GameState& state) { return !state.fall.fallStepDue || boardHasHole(state); }

}  // namespace game
