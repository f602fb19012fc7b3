#include "flow/play_view.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

#include "game/falling.hpp"
#include "game/modes.hpp"
#include "game/moves.hpp"
#include "present/layout.hpp"

namespace flow {

namespace {

using present::PlayView;
using present::Point;
namespace layout = present::layout;

constexpr int kBarRows = 270;
constexpr double kBarRowsPerPercent = 2.7;
constexpr uint32_t kGlassStepMs = 50;
constexpr int kGlassSteps = 9;
constexpr int kFallenDrawLimit = 430;
constexpr int kBoardTurnShownFrames = 5;
constexpr float kSideGlowDimming = 0.3f;
constexpr uint32_t kHintPulseMs = 1200;
constexpr float kHintLightening = 0.45f;
// A flight's point off the screen is drawn at its centre rather than outside the back buffer.
constexpr int kFlightRight = 772, kFlightBottom = 572;

// The angle of a board turn's frame 0..5 in radians, counter-clockwise as seen on screen.
double turnAngle(rules::Direction direction, int frame) {
    const int degrees = rules::kBoardTurnAngles[std::clamp(frame, 0, 5)];
    const double sign = direction == rules::Direction::Clockwise ? -1.0 : 1.0;
    return sign * degrees * std::numbers::pi / 180.0;
}

// (x, y), with y pointing up, turned by `a` about `origin` of the picture.
Point turned(double x, double y, double a, Point origin) {
    return {static_cast<int>(x * std::cos(a) - y * std::sin(a) + origin.x),
            static_cast<int>(origin.y - (x * std::sin(a) + y * std::cos(a)))};
}

struct CellSnapshot {
    uint8_t ball = 0;
    uint8_t bonus = 0;
    int32_t stamp = 0;
};

// A bonus picture to draw over its ball: the ball's bonus stamp (which sets the animation's
// frame), where the picture's hot spot goes, the bonus kind 0..4 and the ball's cell.
struct BonusSprite {
    int32_t counter = 0;
    Point at;
    int32_t kind = 0;
    int32_t column = 0;
    int32_t row = 0;
};

// The four cells of block (k, i) in cell order: 0 top-left, 1 bottom-left, 2 top-right, 3 bottom-right.
std::array<CellSnapshot, 4> blockCells(const rules::Board& board, int k, int i) {
    std::array<CellSnapshot, 4> cells;
    for (int c = 0; c < 4; ++c) {
        const int index = rules::cellIndex(2 * k + c / 2, 2 * i + c % 2);
        cells[static_cast<size_t>(c)] = {board.cells[index], board.cellBonus[index], board.cellStamp[index]};
    }
    return cells;
}

// The picture of one play frame from the rules' state and the play screen's, which it only reads.
class ViewBuilder {
  public:
    ViewBuilder(const Game& game, PlayView& view)
        : game_(game), rules_(game.rules), play_(game.play), view_(view), now_(game.services.now()) {}

    void build() {
        view_.clear();
        flash();
        bars();
        thaw();
        board();
        view_.score = static_cast<int64_t>(rules_.level.totalScore) + rules_.level.levelScore;
        view_.level = rules_.level.currentLevel;
        endTexts();
        runeMeter();
        bonusSprites();
        flights();
        buttonGlows();
        effects();
        levelCaption();
        hint();
        if (game_.nav.blockShown && view_.board == present::BoardShape::Blocks)
            view_.cursor = {true, game_.nav.block.x, game_.nav.block.y};
    }

  private:
    void flash() {
        if (play_.flashOn)
            view_.flash = {true, present::kRuneGlowStrength[static_cast<size_t>(std::clamp(play_.flashStep, 0, 7))]};
    }

    void bars() {
        const rules::LevelState& level = rules_.level;
        view_.progressTop =
            std::clamp(static_cast<int>((100 - std::min(play_.progressShown, 100)) * kBarRowsPerPercent), 0, kBarRows);
        view_.timeBar = play_.timeBar;
        if (play_.timeBar == present::TimeBarShape::Frozen) {
            const uint32_t k = rules::elapsedSince(now_, level.freezeStart) / kGlassStepMs;
            view_.freezeLevel = k < kGlassSteps ? 0.1f * static_cast<float>(k) : 1.0f;
            return;
        }
        view_.timeTop = timeBarTop(rules_, play_);
        if (play_.timeBar == present::TimeBarShape::Critical) view_.criticalFrame = std::clamp(play_.criticalFrame, 0, 4);
    }

    void thaw() {
        const rules::LevelState& level = rules_.level;
        if (!level.thawOn) return;
        const uint32_t k = rules::elapsedSince(now_, level.thawStart) / kGlassStepMs;
        view_.thaw = {true, k < kGlassSteps ? 0.1f * static_cast<float>(kGlassSteps - k) : 0.0f};
    }

    // A block at rotation step `step`: its balls at the step's turn positions (a Universal ball's
    // picture stands in for it), and a bonus sprite for every ball that carries a bonus.
    void composeBlock(int k, int i, int step, rules::Direction direction, Point at, const std::array<CellSnapshot, 4>& cells) {
        present::PlayBlock block{at, step, {}};
        // A clockwise turn runs its steps backwards, so its balls are taken in another order: then
        // the turn starts from the cells' real places.
        const bool clockwise = direction == rules::Direction::Clockwise && step != 0;
        std::array<int, 4> placeOfCell{};
        for (int j = 0; j < 4; ++j) {
            const int c = clockwise ? layout::kClockwiseCellOrder[static_cast<size_t>(j)] : j;
            placeOfCell[static_cast<size_t>(c)] = j;
            const CellSnapshot& cell = cells[static_cast<size_t>(c)];
            if (cell.ball != 0 && cell.bonus != rules::BonusUniversal)
                block.balls[static_cast<size_t>(j)] = std::min<uint8_t>(cell.ball, 7);
        }
        view_.blocks.push_back(block);
        for (int c = 0; c < 4; ++c) {
            const CellSnapshot& cell = cells[static_cast<size_t>(c)];
            const Point place =
                layout::kTurnPositions[static_cast<size_t>(step)][static_cast<size_t>(placeOfCell[static_cast<size_t>(c)])];
            addSprite(cell, {267 + rules::kBlockPitch * k + place.x, 167 + rules::kBlockPitch * i + place.y}, 2 * k + c / 2,
                      2 * i + c % 2);
        }
    }

    // A bonus is drawn with its ball: an empty cell (a ball not revealed yet) shows none.
    void addSprite(const CellSnapshot& cell, Point at, int column, int row) {
        if (cell.bonus == 0 || cell.ball == 0) return;
        sprites_.push_back({cell.stamp, at, cell.bonus - 1, column, row});
    }

    void uprightSockets() {
        view_.centreFrame = 0;
        for (int i = 0; i < 5; ++i)
            for (int k = 0; k < 5; ++k) view_.sockets[static_cast<size_t>(5 * i + k)] = layout::socketAt(k, i);
    }

    // The frame of a board turn that is shown (1..5), or 0 when the board does not turn.
    int boardTurnFrame() const {
        const int frame = rules_.moves.boardTurn.frame;
        return rules_.playState == rules::StateRotating && frame >= 1 && frame <= kBoardTurnShownFrames ? frame : 0;
    }

    void board() {
        const rules::BoardTurn& turn = rules_.moves.boardTurn;
        if (const int t = boardTurnFrame(); t > 0) {
            // Frame t shows the sockets and the blocks at the angle of frame t - 1.
            const bool clockwise = turn.direction == rules::Direction::Clockwise;
            view_.centreFrame = std::abs(4 * clockwise - (t - 1)) + 1;
            const double a = turnAngle(turn.direction, t - 1);
            int n = 0;
            for (int x = -112; x <= 112; x += 56)
                for (int y = 112; y >= -112; y -= 56)
                    view_.sockets[static_cast<size_t>(n++)] = turned(x, y, a, layout::kTurnedSocketOrigin);
            turnedBlocks(turn.direction, t);
            return;
        }
        uprightSockets();
        if (rules_.playState == rules::StateFallOut)
            fallOut();
        else if (rules_.fall.fallOffset >= rules::kDropPixels)
            settledBlocks();
        else
            fallingBalls();
    }

    void turnedBlocks(rules::Direction direction, int t) {
        const bool clockwise = direction == rules::Direction::Clockwise;
        const int step = std::clamp(std::abs(6 * clockwise - t), 0, 5);
        const double a = turnAngle(direction, t - 1);
        for (int k = 0; k < 5; ++k)
            for (int i = 0; i < 5; ++i)
                composeBlock(k, i, step, direction,
                             turned(rules::kBlockPitch * k - 112, 112 - rules::kBlockPitch * i, a, layout::kTurnedBlockOrigin),
                             blockCells(rules_.board, k, i));
    }

    void settledBlocks() {
        const rules::PendingBlockTurn& turn = rules_.moves.pendingBlockTurn;
        const int turningStep = rules::blockTurnStep(turn);
        for (int i = 0; i < 5; ++i) {
            for (int k = 0; k < 5; ++k) {
                const bool turning = turningStep != 0 && turn.blockColumn == k && turn.blockRow == i;
                composeBlock(k, i, turning ? turningStep : 0, turning ? turn.direction : rules::Direction::CounterClockwise,
                             layout::blockAt(k, i), turning ? cellsBeforeTurn(turn) : blockCells(rules_.board, k, i));
            }
        }
    }

    // The turning block's cells as they stood when the turn began: its last frame, which permuted
    // them, still shows the balls coming into their new places.
    std::array<CellSnapshot, 4> cellsBeforeTurn(const rules::PendingBlockTurn& turn) const {
        if (turn.active) return blockCells(rules_.board, turn.blockColumn, turn.blockRow);
        rules::Board before = rules_.board;
        const rules::Direction back =
            turn.direction == rules::Direction::Clockwise ? rules::Direction::CounterClockwise : rules::Direction::Clockwise;
        rules::turnBlockCells(before, turn.blockColumn, turn.blockRow, back);
        return blockCells(before, turn.blockColumn, turn.blockRow);
    }

    // A drop is being drawn: in each column the balls above its lowest hole hang fallOffset
    // pixels lower, bonus pictures with them.
    void fallingBalls() {
        view_.board = present::BoardShape::LooseBalls;
        const rules::Board& board = rules_.board;
        for (int c = 0; c < rules::kColumns; ++c) {
            int offset = 0;
            for (int r = rules::kRows - 1; r >= 0; --r) {
                const int index = rules::cellIndex(c, r);
                const uint8_t ball = board.cells[index];
                if (ball == 0) {
                    offset = rules_.fall.fallOffset;
                    continue;
                }
                const CellSnapshot cell{ball, board.cellBonus[index], board.cellStamp[index]};
                const Point at = layout::ballAt(c, r);
                if (cell.bonus != rules::BonusUniversal)
                    view_.balls.push_back({{at.x, at.y + offset}, std::min<uint8_t>(ball, 7)});
                const Point centre = layout::ballCentreAt(c, r);
                addSprite(cell, {centre.x, centre.y + offset}, c, r);
            }
        }
    }

    // The end animation: every ball as far below its cell as it has fallen.
    void fallOut() {
        view_.board = present::BoardShape::LooseBalls;
        for (int c = 0; c < rules::kColumns; ++c) {
            for (int r = 0; r < rules::kRows; ++r) {
                const int index = rules::cellIndex(c, r);
                const int32_t offset = rules_.fallOut.fallOffsets[index];
                const uint8_t ball = rules_.board.cells[index];
                if (offset > kFallenDrawLimit || ball == 0) continue;
                const Point at = layout::ballAt(c, r);
                view_.balls.push_back({{at.x, at.y + std::max(offset, 0)}, std::min<uint8_t>(ball, 7)});
            }
        }
    }

    void addText(data::TextId id, int y, std::string_view suffix = {}) {
        std::string text(game_.texts.text(id));
        text += suffix;
        view_.endTexts.push_back({std::move(text), y, present::FontWhite});
    }

    void endTexts() {
        if (rules_.playState != rules::StateFallOut) return;
        const bool strategy = rules_.gameMode == rules::GameMode::Strategy;
        if (rules_.level.levelWon) {
            addText(data::TextId::LevelWon, layout::kEndTextY);
            if (!rules::endBonusPaying(rules_)) return;
            const auto bonus = static_cast<int64_t>(rules_.level.endBonusShown);
            addText(strategy ? data::TextId::MovesBonusCaption : data::TextId::TimeBonusCaption, layout::kEndSubtitleY,
                    bonus != 0 ? std::to_string(bonus) : std::string());
        } else if (play_.stuckLost) {
            addText(data::TextId::LostSubtitle, layout::kStuckTextY);
        } else {
            addText(strategy ? data::TextId::MovesUp : data::TextId::TimeUp, layout::kEndTextY);
            if (rules_.fallOut.fallenCount >= rules::kEndBonusStartCount)
                addText(data::TextId::LostSubtitle, layout::kEndSubtitleY);
        }
    }

    void runeMeter() {
        for (int slot = 0; slot < rules::kRuneSlots; ++slot) {
            const rules::RuneSlot& rune = rules_.runeSlots[static_cast<size_t>(slot)];
            if (rune.state != 0)
                view_.runeSlots[static_cast<size_t>(slot)] = {
                    true, present::kRuneGlowStrength[static_cast<size_t>(std::clamp(rune.counter, 0, 7))]};
            else
                view_.runeSlots[static_cast<size_t>(slot)] = {};
        }
    }

    // Bonus pictures, last pushed first; during a board turn each goes with its cell, turned.
    void bonusSprites() {
        const int t = boardTurnFrame();
        const double a = turnAngle(rules_.moves.boardTurn.direction, t - 1);
        for (auto it = sprites_.rbegin(); it != sprites_.rend(); ++it) {
            const BonusSprite& sprite = *it;
            if (sprite.kind < 0 || sprite.kind >= rules::kBonusKindCount) continue;
            const int frames = game_.gfx.bonuses[static_cast<size_t>(sprite.kind)].frames;
            // A picture without frames is not drawn rather than divided by.
            if (frames <= 0) continue;
            Point at = sprite.at;
            if (t > 0)
                at =
                    turned(rules::kCellPitch * sprite.column - 126, 126 - rules::kCellPitch * sprite.row, a, layout::kTurnCentre);
            const int phase = play_.bonusPhase[static_cast<size_t>(sprite.kind)];
            const int64_t counter = ((static_cast<int64_t>(sprite.counter) % frames) + frames) % frames;
            const int frame = static_cast<int>((counter + phase) % frames);
            view_.bonusSprites.push_back({sprite.kind, std::max(frame, 0), at});
        }
    }

    void flights() {
        for (const BonusFlight& flight : play_.flights) {
            const int count = static_cast<int>(flight.points.size());
            if (count == 0) continue;
            Point at = flight.points[static_cast<size_t>(std::clamp(flight.index, 0, count - 1))];
            if (at.x < 0 || at.x > kFlightRight) at.x = layout::kFlightFallback.x;
            if (at.y < 0 || at.y > kFlightBottom) at.y = layout::kFlightFallback.y;
            view_.flights.push_back({at, flight.pictureRow, flight.index % 7});
        }
    }

    void buttonGlows() {
        for (int b = 0; b < 12; ++b) {
            const present::glow::GlowPair& glow = play_.buttonGlow[static_cast<size_t>(b)];
            present::PlayGlow& shown = view_.buttonGlows[static_cast<size_t>(b)];
            shown = {};
            if (glow.state != 0) {
                const float g = present::glow::strength(glow, present::glow::kPlayStrength);
                shown = {true, b >= layout::kBackButton ? g - kSideGlowDimming : g};
            }
        }
    }

    void effects() {
        const rules::EffectQueues& queues = rules_.effects;
        const std::vector<rules::EffectEntry>* lists[3] = {&queues.burst, &queues.clear, &queues.reveal};
        for (int s = 0; s < 3; ++s)
            for (const rules::EffectEntry& e : *lists[s])
                view_.effects[static_cast<size_t>(s)].push_back({e.column, e.row, e.frame});
    }

    // A hinted move pulses gently: a block's four balls lighten and darken again, or, for a board
    // turn, the frame's four arrows of its direction glow.
    void hint() {
        if (!play_.hint) return;
        const float phase = static_cast<float>(now_ % kHintPulseMs) / kHintPulseMs;
        const float pulse = 0.5f - 0.5f * std::cos(2.0f * std::numbers::pi_v<float> * phase);
        const rules::Hint& hint = *play_.hint;
        if (hint.kind == rules::HintKind::BlockTurn) {
            view_.hint = {true, hint.blockColumn, hint.blockRow, kHintLightening * pulse};
            return;
        }
        for (int b = 0; b < layout::kArrowButtonCount; ++b)
            if (rules::kArrowButtons[static_cast<size_t>(b)].direction == hint.direction)
                view_.buttonGlows[static_cast<size_t>(b)] = {true, present::glow::kPlayStrength[1] * pulse};
    }

    void levelCaption() {
        if (rules_.playState != rules::StateBoardFill) return;
        const int level = rules_.level.currentLevel;
        view_.captions.push_back({"LEVEL " + std::to_string(level), layout::kLevelTextY, present::FontWhite});
        if (level > 0 && level % rules::levelGroupSize(rules_.gameMode) == 0)
            view_.captions.push_back(
                {std::string(game_.texts.text(data::TextId::LastLevelNote)), layout::kLastLevelNoteY, present::FontWhite});
    }

    const Game& game_;
    const rules::GameState& rules_;
    const PlayScreenState& play_;
    PlayView& view_;
    const uint32_t now_;
    std::vector<BonusSprite> sprites_;
};

}  // namespace

present::PlayView buildPlayView(const Game& game) {
    present::PlayView view;
    ViewBuilder(game, view).build();
    return view;
}

int timeBarTop(const rules::GameState& rules, const PlayScreenState& play) {
    const int32_t limit = rules.level.limit;
    // A level file may give a limit of 0: the bar is then empty rather than a division by zero.
    const int top = limit > 0 ? static_cast<int>(kBarRows - play.timeShown * kBarRows / static_cast<float>(limit)) : kBarRows;
    return std::clamp(top, 0, kBarRows);
}

void drawIntermissionView(Game& game) {
    const rules::GameState& rules = game.rules;
    const int group = rules::groupEntry(rules.gameMode, rules.level.nextLevel);
    const present::PlayArt art{game.pictures, game.gfx, present::makeSpriteFont(game.pictures, game.characterMap)};
    present::drawIntermission(group, game.texts.text(data::TextId::GroupTitle1, group), art, game.display);
}

}  // namespace flow
