#include "flow/play_view.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

#include "game/effects.hpp"
#include "game/falling.hpp"
#include "game/modes.hpp"
#include "game/moves.hpp"
#include "game/runes.hpp"
#include "present/layout.hpp"

namespace flow {

namespace {

using present::PlayView;
using present::Pos;
namespace layout = present::layout;

constexpr int kBarRows = 270;
constexpr double kBarRowsPerPercent = 2.7;
constexpr int kCriticalBarRows = 202;  // above this the bar is low enough to run critical
constexpr float kCriticalGap = 2.0f;   // ... once it has come to rest within this of the value
constexpr float kEaseDown = 0.033333335f;
constexpr uint32_t kGlassStepMs = 50;
constexpr int kGlassSteps = 9;
constexpr int kFallenDrawLimit = 430;
constexpr int kEndBonusStartCount = 20;
constexpr int kTurnFrames = 5;
constexpr int kFlightPointsPerTick = 7;
constexpr float kSideGlowDimming = 0.3f;

// In-game messages, lines of "system\text04.txt".
constexpr int kLastLevelNote = 5;
constexpr int kLevelWonText = 6;
constexpr int kLostSubtitle = 7;
constexpr int kTimeBonusCaption = 8;
constexpr int kMovesBonusCaption = 9;
constexpr int kTimeUpText = 10;
constexpr int kMovesUpText = 11;
constexpr int kMessageTable = 4;

// The angle of a board turn's frame 0..5 in radians, counter-clockwise as seen on screen.
double turnAngle(rules::Direction direction, int frame) {
    const int degrees = rules::kBoardTurnAngles[std::clamp(frame, 0, 5)];
    const double sign = direction == rules::Direction::Clockwise ? -1.0 : 1.0;
    return sign * degrees * std::numbers::pi / 180.0;
}

// (x, y), with y pointing up, turned by `a` about `origin` of the picture.
Pos turned(double x, double y, double a, Pos origin) {
    return {static_cast<int>(x * std::cos(a) - y * std::sin(a) + origin.x),
            static_cast<int>(origin.y - (x * std::sin(a) + y * std::cos(a)))};
}

struct CellSnapshot {
    uint8_t ball = 0;
    uint8_t bonus = 0;
    int32_t stamp = 0;
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

class ViewBuilder {
  public:
    explicit ViewBuilder(Game& game)
        : game_(game), rules_(game.rules), play_(game.play), view_(game.play.view), now_(game.services.now()) {}

    void build() {
        view_.clear();
        play_.bonusSprites.clear();
        flash();
        progressBar();
        timeBar();
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
    }

  private:
    void flash() {
        view_.flash = {};
        if (!play_.flashOn) return;
        view_.flash = {true, present::kRuneGlowStrength[static_cast<size_t>(std::clamp(play_.flashStep, 0, 7))]};
        if (play_.flashStep >= 7)
            play_.flashOn = false;
        else
            ++play_.flashStep;
    }

    void progressBar() {
        if (play_.progressShown < rules_.level.progressPercent) ++play_.progressShown;
        const int p = std::min(play_.progressShown, 100);
        view_.progressTop = std::clamp(static_cast<int>((100 - p) * kBarRowsPerPercent), 0, kBarRows);
    }

    void easeTimeShown() {
        const rules::LevelState& level = rules_.level;
        float& shown = play_.timeShown;
        if (rules_.playState == rules::StateFallOut) {
            // The bar follows the end bonus once it is being paid.
            if (shown != 0 && rules_.fallOut.fallenCount >= kEndBonusStartCount) shown = level.remaining;
            return;
        }
        if (shown < level.remaining) {
            // The bar fills up at the start of a level.
            shown = std::min(shown + static_cast<float>(level.limit) / static_cast<float>(11 * rules::ballColours(rules_)),
                             level.remaining);
        } else if (shown > level.remaining) {
            shown -= (shown - level.remaining) * kEaseDown;
        }
    }

    void timeBar() {
        const rules::LevelState& level = rules_.level;
        if (level.freezeOn && level.levelRunning) {
            const uint32_t k = rules::elapsedSince(now_, level.freezeStart) / kGlassStepMs;
            view_.timeBar = present::TimeBarShape::Frozen;
            view_.freezeLevel = k < kGlassSteps ? 0.1f * static_cast<float>(k) : 1.0f;
            return;
        }
        easeTimeShown();
        const float shown = play_.timeShown;
        // A level file may give a limit of 0: the bar is then empty rather than a division by zero.
        const int top =
            level.limit > 0 ? static_cast<int>(kBarRows - shown * kBarRows / static_cast<float>(level.limit)) : kBarRows;
        view_.timeTop = std::clamp(top, 0, kBarRows);
        const bool atRest = std::fabs(shown - level.remaining) <= kCriticalGap;
        if (top < kCriticalBarRows || !atRest || rules_.playState == rules::StateFallOut) {
            view_.timeBar = present::TimeBarShape::Bar;
            return;
        }
        // Less than about a quarter left and the bar at rest: it pulses 0, 1, 2, 3, 4, 3, 2, 1, 0...
        view_.timeBar = present::TimeBarShape::Critical;
        view_.criticalFrame = std::clamp(play_.criticalFrame, 0, 4);
        play_.criticalFrame += play_.criticalStep;
        if (play_.criticalFrame <= 0 || play_.criticalFrame >= 4) play_.criticalStep = -play_.criticalStep;
        play_.criticalFrame = std::clamp(play_.criticalFrame, 0, 4);
    }

    void thaw() {
        rules::LevelState& level = rules_.level;
        view_.thaw = {};
        if (!level.thawOn) return;
        const uint32_t k = rules::elapsedSince(now_, level.thawStart) / kGlassStepMs;
        float f = 0;
        if (k < kGlassSteps)
            f = 0.1f * static_cast<float>(kGlassSteps - k);
        else
            level.thawOn = false;
        view_.thaw = {true, f};
    }

    // A block at rotation step `step`: its balls at the step's turn positions (a Universal ball's
    // picture stands in for it), and a bonus sprite for every ball that carries a bonus.
    void composeBlock(int k, int i, int step, rules::Direction direction, Pos at, const std::array<CellSnapshot, 4>& cells) {
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
            if (cell.bonus == 0) continue;
            const Pos place =
                layout::kTurnPositions[static_cast<size_t>(step)][static_cast<size_t>(placeOfCell[static_cast<size_t>(c)])];
            addSprite(cell, {267 + rules::kBlockPitch * k + place.x, 167 + rules::kBlockPitch * i + place.y}, 2 * k + c / 2,
                      2 * i + c % 2);
        }
    }

    void addSprite(const CellSnapshot& cell, Pos at, int column, int row) {
        play_.bonusSprites.push_back({cell.stamp, at, cell.bonus - 1, column, row});
    }

    void uprightSockets() {
        view_.centreFrame = 0;
        for (int i = 0; i < 5; ++i)
            for (int k = 0; k < 5; ++k) view_.sockets[static_cast<size_t>(5 * i + k)] = layout::socketAt(k, i);
    }

    void board() {
        const rules::BoardTurn& turn = rules_.moves.boardTurn;
        const bool clockwise = turn.direction == rules::Direction::Clockwise;
        if (rules_.playState == rules::StateRotating && turn.frame < kTurnFrames) {
            const int t = std::max(turn.frame, 0);
            view_.centreFrame = std::abs(4 * clockwise - t) + 1;
            const double a = turnAngle(turn.direction, t);
            int n = 0;
            for (int x = -112; x <= 112; x += 56)
                for (int y = 112; y >= -112; y -= 56)
                    view_.sockets[static_cast<size_t>(n++)] = turned(x, y, a, layout::kTurnedSocketOrigin);
        } else {
            uprightSockets();
        }

        if (rules_.playState == rules::StateRotating) {
            const int t = rules::advanceBoardTurn(rules_);
            if (rules_.playState == rules::StateRotating) {
                turnedBlocks(turn.direction, t);
                return;
            }
            // The turn is over: the board is drawn from the turned arrays in this same frame.
        }
        if (rules_.playState == rules::StateFallOut)
            fallOut();
        else if (rules_.fall.fallOffset > 27)
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
        for (int i = 0; i < 5; ++i) {
            for (int k = 0; k < 5; ++k) {
                const rules::PendingBlockTurn& turn = rules_.moves.pendingBlockTurn;
                const bool turning = turn.active && turn.blockColumn == k && turn.blockRow == i;
                // The block shows its cells as they stood before this frame's step, which on the
                // fifth frame permutes them; from the next frame on it shows the new cells.
                const auto cells = blockCells(rules_.board, k, i);
                const rules::Direction direction = turn.direction;
                const int step = turning ? rules::advanceBlockTurn(rules_) : 0;
                composeBlock(k, i, std::clamp(step, 0, 5), turning ? direction : rules::Direction::CounterClockwise,
                             layout::blockAt(k, i), cells);
            }
        }
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
                const Pos at = layout::ballAt(c, r);
                if (cell.bonus != rules::BonusUniversal)
                    view_.balls.push_back({{at.x, at.y + offset}, std::min<uint8_t>(ball, 7)});
                if (cell.bonus != 0) {
                    const Pos centre = layout::ballCentreAt(c, r);
                    addSprite(cell, {centre.x, centre.y + offset}, c, r);
                }
            }
        }
        rules::advanceFallAnimation(rules_);
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
                const Pos at = layout::ballAt(c, r);
                view_.balls.push_back({{at.x, at.y + std::max(offset, 0)}, std::min<uint8_t>(ball, 7)});
            }
        }
    }

    void addText(int entry, int y, std::string_view suffix = {}) {
        std::string text(game_.texts.text(kMessageTable, entry));
        text += suffix;
        view_.endTexts.push_back({std::move(text), y, present::FontWhite});
    }

    void endTexts() {
        if (rules_.playState != rules::StateFallOut) return;
        const bool strategy = rules_.gameMode == rules::GameMode::Strategy;
        const bool twentyGone = rules_.fallOut.fallenCount >= kEndBonusStartCount;
        if (rules_.level.levelWon) {
            addText(kLevelWonText, layout::kEndTextY);
            if (!twentyGone) return;
            rules::payEndBonus(rules_);
            const auto bonus = static_cast<int64_t>(rules_.level.endBonusShown);
            addText(strategy ? kMovesBonusCaption : kTimeBonusCaption, layout::kEndSubtitleY,
                    bonus != 0 ? std::to_string(bonus) : std::string());
        } else if (play_.stuckLost) {
            addText(kLostSubtitle, layout::kStuckTextY);
        } else {
            addText(strategy ? kMovesUpText : kTimeUpText, layout::kEndTextY);
            if (twentyGone) addText(kLostSubtitle, layout::kEndSubtitleY);
        }
    }

    void runeMeter() {
        for (int slot = 0; slot < rules::kRuneSlots; ++slot) {
            const rules::RuneSlot& rune = rules_.runeSlots[static_cast<size_t>(slot)];
            present::PlayGlow& glow = view_.runeSlots[static_cast<size_t>(slot)];
            glow = {};
            if (rune.state != 0) glow = {true, present::kRuneGlowStrength[static_cast<size_t>(std::clamp(rune.counter, 0, 7))]};
        }
        rules::advanceRuneSlots(rules_);
    }

    // Bonus pictures, last pushed first; during a board turn each goes with its cell, turned.
    void bonusSprites() {
        const bool rotating = rules_.playState == rules::StateRotating;
        // The turn has stepped already in this frame: frame t is drawn at the angle of frame t - 1.
        const double a = turnAngle(rules_.moves.boardTurn.direction, rules_.moves.boardTurn.frame - 1);
        for (auto it = play_.bonusSprites.rbegin(); it != play_.bonusSprites.rend(); ++it) {
            const BonusSprite& sprite = *it;
            if (sprite.kind < 0 || sprite.kind >= rules::kBonusKindCount) continue;
            const int frames = game_.gfx.bonuses[static_cast<size_t>(sprite.kind)].frames;
            // A picture without frames is not drawn rather than divided by.
            if (frames <= 0) continue;
            Pos at = sprite.at;
            if (rotating)
                at =
                    turned(rules::kCellPitch * sprite.column - 126, 126 - rules::kCellPitch * sprite.row, a, layout::kTurnCentre);
            const int phase = play_.bonusPhase[static_cast<size_t>(sprite.kind)];
            const int64_t counter = ((static_cast<int64_t>(sprite.counter) % frames) + frames) % frames;
            const int frame = static_cast<int>((counter + phase) % frames);
            view_.bonusSprites.push_back({sprite.kind, std::max(frame, 0), at});
        }
        play_.bonusSprites.clear();
    }

    void flights() {
        auto& list = play_.flights;
        for (BonusFlight& flight : list) {
            const int count = static_cast<int>(flight.points.size());
            if (count == 0) continue;
            Pos at = flight.points[static_cast<size_t>(std::clamp(flight.index, 0, count - 1))];
            // A point off the screen is drawn at its centre rather than outside the back buffer.
            if (at.x < 0 || at.x > 772) at.x = layout::kFlightFallback.x;
            if (at.y < 0 || at.y > 572) at.y = layout::kFlightFallback.y;
            // Every flight moves on, however short its line, so that each one lands.
            const int stride = std::max((count / kFlightPointsPerTick) / (1 + game_.random.mod(2)), 1);
            flight.index += stride;
            view_.flights.push_back({at, flight.pictureRow, flight.index % 7});
        }
        std::erase_if(list, [](const BonusFlight& f) { return f.index >= static_cast<int32_t>(f.points.size()); });
    }

    void buttonGlows() {
        for (int b = 0; b < 12; ++b) {
            rules::GlowPair& glow = rules_.playGlow[static_cast<size_t>(b)];
            present::PlayGlow& shown = view_.buttonGlows[static_cast<size_t>(b)];
            shown = {};
            if (glow.state != 0) {
                const float g = present::kPlayGlowStrength[static_cast<size_t>(std::clamp(glow.frame, 0, 5))];
                shown = {true, b >= layout::kBackButton ? g - kSideGlowDimming : g};
            }
            advanceGlow(glow);
        }
    }

    void effects() {
        const rules::EffectQueues& queues = rules_.effects;
        const std::vector<rules::EffectEntry>* lists[3] = {&queues.burst, &queues.clear, &queues.reveal};
        for (int s = 0; s < 3; ++s)
            for (const rules::EffectEntry& e : *lists[s])
                view_.effects[static_cast<size_t>(s)].push_back({e.column, e.row, e.frame});
        rules::advanceEffects(rules_);
    }

    void levelCaption() {
        if (rules_.playState != rules::StateBoardFill) return;
        const int level = rules_.level.currentLevel;
        view_.captions.push_back({"LEVEL " + std::to_string(level), layout::kLevelTextY, present::FontWhite});
        if (level > 0 && level % rules::levelGroupSize(rules_.gameMode) == 0)
            view_.captions.push_back(
                {std::string(game_.texts.text(kMessageTable, kLastLevelNote)), layout::kLastLevelNoteY, present::FontWhite});
    }

    Game& game_;
    rules::GameState& rules_;
    PlayScreenState& play_;
    PlayView& view_;
    const uint32_t now_;
};

}  // namespace

const present::PlayView& stepPlayView(Game& game) {
    ViewBuilder(game).build();
    return game.play.view;
}

std::vector<Pos> linePoints(Pos a, Pos b) {
    std::vector<Pos> points;
    const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    points.reserve(static_cast<size_t>(std::max(dx, -dy) + 1));
    int err = dx + dy;
    for (Pos p = a;;) {
        points.push_back(p);
        if (p.x == b.x && p.y == b.y) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.y += sy;
        }
    }
    return points;
}

void addBonusFlight(PlayScreenState& play, Pos start, Pos end, int pictureRow) {
    play.flights.push_back({linePoints(start, end), 0, pictureRow});
}

void advanceGlow(rules::GlowPair& glow) {
    if (glow.state == 0) return;
    glow.frame += 1;
    if (glow.frame == 2 && glow.state == 1) glow.frame = 1;  // a lit glow holds
    if (glow.frame >= 6) glow.state = 0;
}

void drawIntermissionView(Game& game) {
    const rules::GameState& rules = game.rules;
    const int group = rules::groupEntry(rules.gameMode, rules.level.nextLevel);
    const present::PlayArt art{game.pictures, game.gfx, present::makeSpriteFont(game.pictures, game.characterMap)};
    present::drawIntermission(group, game.texts.text(kMessageTable, group), art, game.display);
}

}  // namespace flow
