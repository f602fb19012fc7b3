#include "flow/play_view.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/moves.hpp"

namespace flow {

namespace {

// A plain view of the board until the pictures arrive: a dark field, the board's 25 blocks and the
// balls as discs in the level's tint colours.
constexpr uint32_t kBackground = 0x101020;
constexpr uint32_t kBlockColour = 0x2a2a48;

void fillRect(present::Surface& s, int x, int y, int w, int h, uint32_t colour) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, s.width), y1 = std::min(y + h, s.height);
    for (int yy = y0; yy < y1; ++yy) std::fill(s.row(yy) + x0, s.row(yy) + x1, colour);
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

uint32_t ballColour(const game::GameState& rules, uint8_t ball) {
    const game::ColourTint& tint = rules.settings.colorTints[std::min<uint8_t>(ball, 7)];
    return (uint32_t{tint.red} << 16) | (uint32_t{tint.green} << 8) | tint.blue;
}

struct CellSnapshot {
    uint8_t ball = 0, bonus = 0;
};

void drawBall(present::Surface& s, const game::GameState& rules, int x, int y, CellSnapshot cell) {
    if (cell.ball == 0) return;
    fillDisc(s, x, y, 20, ballColour(rules, cell.ball));
    if (cell.bonus != 0) fillRect(s, x + 8, y + 8, 4, 4, 0xffffff);
}

// The four cells of a block in position order 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right.
std::array<CellSnapshot, 4> blockCells(const game::Board& board, int k, int i) {
    std::array<CellSnapshot, 4> cells;
    for (int j = 0; j < 4; ++j) {
        const int index = game::cellIndex(2 * k + j / 2, 2 * i + j % 2);
        cells[j] = {board.cells[index], board.cellBonus[index]};
    }
    return cells;
}

void drawBlock(present::Surface& s, const game::GameState& rules, int x, int y,
               const std::array<CellSnapshot, 4>& cells, int step, game::Direction direction) {
    fillRect(s, x + 2, y + 2, 58, 58, kBlockColour);
    // A clockwise turn runs its steps backwards, so it starts from the cells' real places.
    static constexpr int kClockwiseOrder[4] = {1, 3, 0, 2};
    for (int j = 0; j < 4; ++j) {
        const CellSnapshot cell = direction == game::Direction::Clockwise && step != 0 ? cells[kClockwiseOrder[j]] : cells[j];
        drawBall(s, rules, x + kTurnPositions[step][j].x, y + kTurnPositions[step][j].y, cell);
    }
}

void drawTurningBoard(present::Surface& s, const game::GameState& rules, int frame) {
    const game::BoardTurn& turn = rules.moves.boardTurn;
    const double sign = turn.direction == game::Direction::Clockwise ? -1.0 : 1.0;
    const double a = sign * game::kBoardTurnAngles[frame] * std::numbers::pi / 180.0;
    for (int k = 0; k < 5; ++k) {
        for (int i = 0; i < 5; ++i) {
            const double x = 56 * k - 112, y = 112 - 56 * i;
            const int px = static_cast<int>(x * std::cos(a) - y * std::sin(a) + 369);
            const int py = static_cast<int>(269 - (x * std::sin(a) + y * std::cos(a)));
            drawBlock(s, rules, px, py, blockCells(rules.board, k, i), 0, turn.direction);
        }
    }
}

}  // namespace

void drawPlayView(Game& game) {
    present::Surface& s = game.display.backBuffer;
    game::GameState& rules = game.rules;
    s.fill(kBackground);

    if (rules.playState == game::StateRotating) {
        const int frame = rules.moves.boardTurn.frame;
        if (frame < 5) {
            drawTurningBoard(s, rules, frame);
            game::advanceBoardTurn(rules);
            return;
        }
        game::advanceBoardTurn(rules);
        if (rules.playState == game::StateRotating) return;
    }

    for (int i = 0; i < 5; ++i) {
        for (int k = 0; k < 5; ++k) {
            const game::PendingBlockTurn& turn = rules.moves.pendingBlockTurn;
            const bool turning = turn.active && turn.blockColumn == k && turn.blockRow == i && rules.fall.fallOffset > 27;
            // The block is composed from its cells as they stood before this frame's step, which
            // on the fifth frame permutes them.
            const auto cells = blockCells(rules.board, k, i);
            const game::Direction direction = turn.direction;
            const int step = turning ? game::advanceBlockTurn(rules) : 0;
            drawBlock(s, rules, 257 + 56 * k, 157 + 56 * i, cells, step, direction);
        }
    }
}

}  // namespace flow
