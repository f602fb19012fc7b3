#include "flow/play_view.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/effects.hpp"
#include "game/falling.hpp"
#include "game/moves.hpp"
#include "game/runes.hpp"
#include "present/layout.hpp"

namespace flow {

namespace {

// A plain view of the board until the pictures arrive: a dark field, the board's 25 blocks, the
// balls as discs in the level's tint colours, a white mark on a ball with a bonus, the rune meter
// as 18 small squares and the effects as outlines.
constexpr uint32_t kBackground = 0x101020;
constexpr uint32_t kBlockColour = 0x2a2a48;
constexpr int kFallenDrawLimit = 430;

void fillRect(present::Surface& s, int x, int y, int w, int h, uint32_t colour) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, s.width), y1 = std::min(y + h, s.height);
    for (int yy = y0; yy < y1; ++yy) std::fill(s.row(yy) + x0, s.row(yy) + x1, colour);
}

void outlineRect(present::Surface& s, int x, int y, int w, int h, uint32_t colour) {
    fillRect(s, x, y, w, 1, colour);
    fillRect(s, x, y + h - 1, w, 1, colour);
    fillRect(s, x, y, 1, h, colour);
    fillRect(s, x + w - 1, y, 1, h, colour);
}

void fillDisc(present::Surface& s, int x, int y, int size, uint32_t colour) {
    const double r = size / 2.0;
    for (int dy = 0; dy < size; ++dy) {
        const int yy = y + dy;
        if (yy < 0 || yy >= s.height) continue;
        for (int dx = 0; dx < size; ++dx) {
            const int xx = x + dx;
            if (xx < 0 || xx >= s.width) continue;
            const double fx = dx + 0.5 - r, fy = dy + 0.5 - r;
            if (fx * fx + fy * fy <= r * r) s.row(yy)[xx] = colour;
        }
    }
}

uint32_t ballColour(const rules::GameState& rules, uint8_t ball) {
    const rules::ColourTint& tint = rules.settings.colorTints[std::min<uint8_t>(ball, 7)];
    return (uint32_t{tint.red} << 16) | (uint32_t{tint.green} << 8) | tint.blue;
}

struct CellSnapshot {
    uint8_t ball = 0, bonus = 0;
};

void drawBall(present::Surface& s, const rules::GameState& rules, int x, int y, CellSnapshot cell) {
    if (cell.ball == 0) return;
    fillDisc(s, x, y, 20, ballColour(rules, cell.ball));
    if (cell.bonus != 0) fillRect(s, x + 8, y + 8, 4, 4, 0xffffff);
}

CellSnapshot cellAt(const rules::Board& board, int column, int row) {
    const int index = rules::cellIndex(column, row);
    return {board.cells[index], board.cellBonus[index]};
}

// The four cells of a block in position order 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right.
std::array<CellSnapshot, 4> blockCells(const rules::Board& board, int k, int i) {
    std::array<CellSnapshot, 4> cells;
    for (int j = 0; j < 4; ++j) cells[j] = cellAt(board, 2 * k + j / 2, 2 * i + j % 2);
    return cells;
}

void drawEmptyBlock(present::Surface& s, int x, int y) { fillRect(s, x + 2, y + 2, 58, 58, kBlockColour); }

void drawBlock(present::Surface& s, const rules::GameState& rules, int x, int y,
               const std::array<CellSnapshot, 4>& cells, int step, rules::Direction direction) {
    drawEmptyBlock(s, x, y);
    // A clockwise turn runs its steps backwards, so it starts from the cells' real places.
    using present::layout::kTurnPositions;
    for (int j = 0; j < 4; ++j) {
        const CellSnapshot cell =
            direction == rules::Direction::Clockwise && step != 0 ? cells[present::layout::kClockwiseCellOrder[j]] : cells[j];
        drawBall(s, rules, x + kTurnPositions[step][j].x, y + kTurnPositions[step][j].y, cell);
    }
}

void drawEmptyBlocks(present::Surface& s) {
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k < 5; ++k) drawEmptyBlock(s, 257 + 56 * k, 157 + 56 * i);
}

void drawTurningBoard(present::Surface& s, const rules::GameState& rules, int frame) {
    const rules::BoardTurn& turn = rules.moves.boardTurn;
    const double sign = turn.direction == rules::Direction::Clockwise ? -1.0 : 1.0;
    const double a = sign * rules::kBoardTurnAngles[frame] * std::numbers::pi / 180.0;
    for (int k = 0; k < 5; ++k) {
        for (int i = 0; i < 5; ++i) {
            const double x = 56 * k - 112, y = 112 - 56 * i;
            const int px = static_cast<int>(x * std::cos(a) - y * std::sin(a) + 369);
            const int py = static_cast<int>(269 - (x * std::sin(a) + y * std::cos(a)));
            drawBlock(s, rules, px, py, blockCells(rules.board, k, i), 0, turn.direction);
        }
    }
}

// The end animation: every ball drawn as far below its cell as it has fallen.
void drawFallOut(present::Surface& s, const rules::GameState& rules) {
    drawEmptyBlocks(s);
    for (int c = 0; c < rules::kColumns; ++c) {
        for (int r = 0; r < rules::kRows; ++r) {
            const int32_t offset = rules.fallOut.fallOffsets[rules::cellIndex(c, r)];
            if (offset > kFallenDrawLimit) continue;
            drawBall(s, rules, 264 + 28 * c, 164 + 28 * r + std::max(offset, 0), cellAt(rules.board, c, r));
        }
    }
}

// A drop is being drawn: each column's balls above its lowest hole hang fallOffset pixels lower.
void drawFallingBoard(present::Surface& s, rules::GameState& rules) {
    drawEmptyBlocks(s);
    for (int c = 0; c < rules::kColumns; ++c) {
        int offset = 0;
        for (int r = rules::kRows - 1; r >= 0; --r) {
            const CellSnapshot cell = cellAt(rules.board, c, r);
            if (cell.ball == 0) offset = rules.fall.fallOffset;
            drawBall(s, rules, 264 + 28 * c, 164 + 28 * r + offset, cell);
        }
    }
    rules::advanceFallAnimation(rules);
}

void drawSettledBoard(present::Surface& s, rules::GameState& rules) {
    for (int i = 0; i < 5; ++i) {
        for (int k = 0; k < 5; ++k) {
            const rules::PendingBlockTurn& turn = rules.moves.pendingBlockTurn;
            const bool turning = turn.active && turn.blockColumn == k && turn.blockRow == i;
            // The block is composed from its cells as they stood before this frame's step, which
            // on the fifth frame permutes them.
            const auto cells = blockCells(rules.board, k, i);
            const rules::Direction direction = turn.direction;
            const int step = turning ? rules::advanceBlockTurn(rules) : 0;
            drawBlock(s, rules, 257 + 56 * k, 157 + 56 * i, cells, step, direction);
        }
    }
}

void drawBoard(present::Surface& s, rules::GameState& rules) {
    if (rules.playState == rules::StateRotating) {
        const int frame = rules.moves.boardTurn.frame;
        if (frame < 5) {
            drawTurningBoard(s, rules, frame);
            rules::advanceBoardTurn(rules);
            return;
        }
        rules::advanceBoardTurn(rules);
        if (rules.playState == rules::StateRotating) return;
    }
    if (rules.playState == rules::StateFallOut)
        drawFallOut(s, rules);
    else if (rules.fall.fallOffset > 27)
        drawSettledBoard(s, rules);
    else
        drawFallingBoard(s, rules);
}

void drawRuneMeter(present::Surface& s, rules::GameState& rules) {
    for (int j = 0; j < rules::kRuneSlots; ++j) {
        static constexpr uint32_t kSlotColours[3] = {0x303048, 0xffd040, 0x806820};
        const int state = std::clamp(rules.runeSlots[j].state, 0, 2);
        fillRect(s, present::layout::kRuneSlots[j].x + 4, present::layout::kRuneSlots[j].y + 4, 10, 10, kSlotColours[state]);
    }
    rules::advanceRuneSlots(rules);
}

void drawEffectQueue(present::Surface& s, const std::vector<rules::EffectEntry>& queue, int frames, uint32_t colour) {
    for (const rules::EffectEntry& entry : queue) {
        // The outline closes in on the cell as the effect plays.
        const int inset = frames > 1 ? 10 * entry.frame / (frames - 1) : 5;
        outlineRect(s, 264 + 28 * entry.column + inset - 4, 164 + 28 * entry.row + inset - 4, 28 - 2 * inset,
                    28 - 2 * inset, colour);
    }
}

void drawEffects(present::Surface& s, rules::GameState& rules) {
    const rules::EffectQueues& effects = rules.effects;
    drawEffectQueue(s, effects.burst, rules::effectFrames(effects, rules::EffectStrip::Burst), 0xa0ffff);
    drawEffectQueue(s, effects.clear, rules::effectFrames(effects, rules::EffectStrip::Clear), 0xffffff);
    drawEffectQueue(s, effects.reveal, rules::effectFrames(effects, rules::EffectStrip::Reveal), 0xffe080);
    rules::advanceEffects(rules);
}

}  // namespace

void drawPlayView(Game& game) {
    present::Surface& s = game.display.backBuffer;
    rules::GameState& rules = game.rules;
    s.fill(kBackground);
    drawBoard(s, rules);
    drawRuneMeter(s, rules);
    drawEffects(s, rules);
}

void drawIntermissionView(Game& game) {
    // Each level group has its own shade until the group pictures arrive.
    const int group = rules::groupEntry(game.rules.gameMode, game.rules.level.nextLevel);
    game.display.backBuffer.fill(0x182038 + 0x100810 * static_cast<uint32_t>(group));
}

}  // namespace flow
