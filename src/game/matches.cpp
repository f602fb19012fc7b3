#include "game/matches.hpp"

#include <algorithm>
#include <bit>
#include <limits>
#include <vector>

#include "game/bonus_kinds.hpp"
#include "game/effects.hpp"

namespace rules {

namespace {

// One bit per cell, in cell index order. Shifting by 1 steps one row, by 10 one column, so a whole
// colour is tested for squares, lines and diagonals in a handful of operations.
__extension__ typedef unsigned __int128 Grid;

constexpr Grid cellBit(int index) { return Grid{1} << index; }

template <typename Pred>
constexpr Grid cellsWhere(Pred pred) {
    Grid mask = 0;
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < kRows; ++r)
            if (pred(c, r)) mask |= cellBit(cellIndex(c, r));
    return mask;
}

// Where a figure may have its top-left (or, for the down-left diagonal, top-right) cell.
constexpr Grid kSquareCorners = cellsWhere([](int c, int r) { return c <= 8 && r <= 8; });
constexpr Grid kMainScanCorners = cellsWhere([](int c, int r) { return c <= 7 && r <= 7; });
constexpr Grid kRowLineStarts = cellsWhere([](int c, int) { return c <= 6; });
constexpr Grid kColumnLineStarts = cellsWhere([](int, int r) { return r <= 6; });
constexpr Grid kDownRightStarts = cellsWhere([](int c, int r) { return c <= 6 && r <= 6; });
constexpr Grid kDownLeftStarts = cellsWhere([](int c, int r) { return c >= 3 && r <= 6; });

struct BlastMasks {
    Grid around[4][kCellCount];
};

constexpr bool blastCovers(int type, int dc, int dr) {
    const int adc = dc < 0 ? -dc : dc, adr = dr < 0 ? -dr : dr;
    switch (type) {
        case 1: return adc <= 2 && adr <= 2;
        case 2: return adc + adr <= 2;
        case 3: return adc + adr <= 3;
        default: return adc <= 1 && adr <= 1;
    }
}

constexpr BlastMasks makeBlastMasks() {
    BlastMasks masks{};
    for (int type = 0; type < 4; ++type)
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r)
                masks.around[type][cellIndex(c, r)] = cellsWhere([=](int cc, int rr) {
                    return cc - c >= -3 && cc - c <= 3 && rr - r >= -3 && rr - r <= 3 && blastCovers(type, cc - c, rr - r);
                });
    return masks;
}
constexpr BlastMasks kBlastMasks = makeBlastMasks();

// The diagonals examined for runs: down-right ones from column 0 and from row 0, down-left ones
// from row 0 and from column 9. Each holds at least four cells.
struct DiagonalLine {
    int start;  // cell index of the first cell
    int step;   // index step to the next cell: +11 down-right, -9 down-left
    int length;
};

constexpr std::array<DiagonalLine, 26> makeDiagonals() {
    std::array<DiagonalLine, 26> lines{};
    int n = 0;
    for (int r = 0; r <= 6; ++r) lines[n++] = {cellIndex(0, r), 11, 10 - r};
    for (int c = 1; c <= 6; ++c) lines[n++] = {cellIndex(c, 0), 11, 10 - c};
    for (int c = 3; c <= 9; ++c) lines[n++] = {cellIndex(c, 0), -9, c + 1};
    for (int r = 1; r <= 6; ++r) lines[n++] = {cellIndex(9, r), -9, 10 - r};
    return lines;
}
constexpr std::array<DiagonalLine, 26> kDiagonals = makeDiagonals();

bool has(Grid g, int index) { return static_cast<bool>((g >> index) & 1); }
bool has(Grid g, int c, int r) { return has(g, cellIndex(c, r)); }

template <typename Visit>
void forEachCell(Grid g, Visit visit) {
    for (int half = 0; half < 2; ++half) {
        uint64_t word = static_cast<uint64_t>(g >> (64 * half));
        while (word != 0) {
            visit(64 * half + std::countr_zero(word));
            word &= word - 1;
        }
    }
}

Grid squareAt(int c, int r) {
    return cellBit(cellIndex(c, r)) | cellBit(cellIndex(c + 1, r)) | cellBit(cellIndex(c, r + 1)) |
           cellBit(cellIndex(c + 1, r + 1));
}

// A quick look for anything that could be a figure; when it finds nothing, no scan would either.
bool mayHoldFigure(Grid g, bool lines) {
    if ((g & (g >> 1) & (g >> 10) & (g >> 11) & kSquareCorners) != 0) return true;
    if ((g & (g >> 11) & (g >> 22) & (g >> 33) & kDownRightStarts) != 0) return true;
    // Down-left, read from the top-right cell: (c - 1, r + 1) lies 9 cells earlier in index order.
    if ((g & (g << 9) & (g << 18) & (g << 27) & kDownLeftStarts) != 0) return true;
    if (!lines) return false;
    return (g & (g >> 10) & (g >> 20) & (g >> 30) & kRowLineStarts) != 0 ||
           (g & (g >> 1) & (g >> 2) & (g >> 3) & kColumnLineStarts) != 0;
}

int64_t diagonalValue(const std::array<int32_t, 5>& values, int length) {
    // The level file prices runs of four to eight; the rare runs of nine and ten count as eight.
    return values[static_cast<size_t>(std::min(length, 8) - 4)];
}

// The work of one call.
class MatchPass {
  public:
    MatchPass(GameState& state, Services& services, Scoring scoring)
        : state_(state), services_(services), def_(state.level.definition), scoring_(scoring == Scoring::On) {}

    bool run(int colours) {
        LevelState& level = state_.level;
        level.passPoints = 0;
        level.passFigures = 0;
        colours = std::clamp(colours, 0, 7);
        buildGrids(colours);

        const bool lines = state_.settings.verticals != 0;
        bool any = false;
        for (int k = 1; k <= colours && !any; ++k) any = mayHoldFigure(input_[k], lines);
        if (!any) return false;

        for (int k = 1; k <= colours; ++k) findSquares(input_[k], output_[k]);
        for (int k = 1; k <= colours; ++k) {
            if (lines) findLines(input_[k], output_[k]);
            findDiagonals(input_[k], output_[k]);
        }
        Grid clear = 0;
        for (int k = 1; k <= colours; ++k) clear |= output_[k];
        clear = spreadToFixedPoint(clear);
        activateBonuses(clear);
        emptyCells(clear);
        book();
        return clear != 0;
    }

  private:
    void buildGrids(int colours) {
        const Board& board = state_.board;
        Grid universal = 0;
        for (int i = 0; i < kCellCount; ++i) {
            const uint8_t ball = board.cells[i];
            if (ball >= 1 && ball <= colours) input_[ball] |= cellBit(i);
            const uint8_t bonus = board.cellBonus[i];
            if (bonus == BonusUniversal) universal |= cellBit(i);
            if (bonus == BonusExplode || bonus == BonusColor) spreading_ |= cellBit(i);
        }
        // A universal ball belongs to every colour's figures.
        for (int k = 1; k <= colours; ++k) input_[k] |= universal;
    }

    void findSquares(Grid g, Grid& out) {
        const Grid corners = g & (g >> 1) & (g >> 10) & (g >> 11) & kSquareCorners;
        if (corners == 0) return;
        int64_t squares = 0, rectangles = 0;
        forEachCell(corners & kMainScanCorners, [&](int i) {
            const int c = i / kRows, r = i % kRows;
            if (has(g, c + 2, r) && has(g, c + 2, r + 1)) {
                ++rectangles;
                out |= cellBit(cellIndex(c + 2, r)) | cellBit(cellIndex(c + 2, r + 1));
            } else if (has(g, c, r + 2) && has(g, c + 1, r + 2)) {
                ++rectangles;
                out |= cellBit(cellIndex(c, r + 2)) | cellBit(cellIndex(c + 1, r + 2));
            } else if (!(c >= 1 && has(g, c - 1, r) && has(g, c - 1, r + 1)) &&
                       !(r >= 1 && has(g, c, r - 1) && has(g, c + 1, r - 1))) {
                // A square that continues one to the left or above was counted with its neighbour.
                ++squares;
            }
            out |= squareAt(c, r);
        });
        // The edge strips: a square there scores unless its neighbour towards the middle makes it
        // part of a block the main scan has counted. It is cleared either way: the main scan does
        // not always reach it (a 3-wide block over rows 7 and 8 leaves the row 9 part).
        for (int r = 0; r <= 8; ++r) {
            if (!has(corners, 8, r)) continue;
            if (!(has(g, 7, r) && has(g, 7, r + 1))) ++squares;
            out |= squareAt(8, r);
        }
        for (int c = 0; c <= 7; ++c) {
            if (!has(corners, c, 8)) continue;
            if (!(has(g, c, 7) && has(g, c + 1, 7))) ++squares;
            out |= squareAt(c, 8);
        }
        if (!scoring_) return;
        points_ += squares * def_.square4 + rectangles * def_.square6;
        runes_ += squares * def_.runesSquare2x2 + rectangles * def_.runesSquare2x3;
        figures_ += squares + rectangles;
    }

    // Every window of four counts, so a line of five scores twice. Lines earn no rune points.
    void findLines(Grid g, Grid& out) {
        const Grid across = g & (g >> 10) & (g >> 20) & (g >> 30) & kRowLineStarts;
        const Grid down = g & (g >> 1) & (g >> 2) & (g >> 3) & kColumnLineStarts;
        forEachCell(across, [&](int i) { out |= cellBit(i) | cellBit(i + 10) | cellBit(i + 20) | cellBit(i + 30); });
        forEachCell(down, [&](int i) { out |= cellBit(i) | cellBit(i + 1) | cellBit(i + 2) | cellBit(i + 3); });
        if (scoring_)
            points_ += static_cast<int64_t>(
                           std::popcount(static_cast<uint64_t>(across)) + std::popcount(static_cast<uint64_t>(across >> 64)) +
                           std::popcount(static_cast<uint64_t>(down)) + std::popcount(static_cast<uint64_t>(down >> 64))) *
                       def_.vh;
    }

    // Each maximal run of four or more along an examined diagonal scores once, by its length.
    void findDiagonals(Grid g, Grid& out) {
        if ((g & (g >> 11) & (g >> 22) & (g >> 33) & kDownRightStarts) == 0 &&
            (g & (g << 9) & (g << 18) & (g << 27) & kDownLeftStarts) == 0)
            return;
        for (const DiagonalLine& line : kDiagonals) {
            int position = 0;
            while (line.length - position >= 4) {
                int n = 0;
                Grid run = 0;
                while (position + n < line.length && has(g, line.start + line.step * (position + n))) {
                    run |= cellBit(line.start + line.step * (position + n));
                    ++n;
                }
                if (n >= 4) {
                    out |= run;
                    if (scoring_) {
                        points_ += diagonalValue(def_.diagonal, n);
                        runes_ += diagonalValue(def_.runesDiagonal, n);
                        figures_ += 1;
                    }
                }
                position += n + 1;
            }
        }
    }

    Grid colourCells(uint8_t colour) const {
        Grid mask = 0;
        for (int i = 0; i < kCellCount; ++i)
            if (state_.board.cells[i] == colour) mask |= cellBit(i);
        return mask;
    }

    int blastType() const {
        const int type = state_.settings.explodeType;
        return type >= 0 && type <= 3 ? type : 0;
    }

    // Bonuses caught in a figure, a blast or a colour sweep set off their own effects, until the
    // marked area stops growing (at most once per cell).
    Grid spreadToFixedPoint(Grid clear) const {
        const Board& board = state_.board;
        Grid done = 0;
        for (int guard = 0; guard <= kCellCount; ++guard) {
            const Grid fresh = clear & spreading_ & ~done;
            if (fresh == 0) break;
            done |= fresh;
            forEachCell(fresh, [&](int i) {
                if (board.cellBonus[i] == BonusExplode)
                    clear |= kBlastMasks.around[blastType()][i];
                else if (board.cells[i] != 0)
                    clear |= colourCells(board.cells[i]);
            });
        }
        return clear;
    }

    void blast(int index) {
        Board& board = state_.board;
        board.cells[index] = 0;
        board.cellBonus[index] = 0;
        board.cellStamp[index] = 0;
        blasted_.push_back(static_cast<uint8_t>(index));
        points_ += def_.ball;
    }

    void activateBonuses(Grid clear) {
        Board& board = state_.board;
        struct Activation {
            uint8_t kind;
            uint8_t index;
        };
        std::vector<Activation> activations;
        forEachCell(clear, [&](int i) {
            if (board.cellBonus[i] != 0) activations.push_back({board.cellBonus[i], static_cast<uint8_t>(i)});
        });
        for (const Activation& a : activations) {
            const BonusKindInfo& kind = bonusKind(a.kind);
            switch (a.kind) {
                case BonusExplode:
                    services_.sound.play(*kind.sound);
                    forEachCell(kBlastMasks.around[blastType()][a.index], [&](int i) { blast(i); });
                    break;
                case BonusColor: {
                    // The sweep takes the colour the cell holds now; an earlier blast may have emptied it.
                    const uint8_t colour = board.cells[a.index];
                    if (colour == 0) break;
                    services_.sound.play(*kind.sound);
                    for (int i = 0; i < kCellCount; ++i)
                        if (board.cells[i] == colour) blast(i);
                    break;
                }
                case BonusFreeze:
                    services_.sound.play(*kind.sound);
                    startFreeze();
                    break;
                case BonusScoreBoost:
                    services_.sound.play(*kind.sound);
                    points_ += def_.scoreBoost;
                    break;
                default: break;
            }
            board.cellBonus[a.index] = 0;
            board.cellStamp[a.index] = 0;
        }
    }

    // Starts or restarts the freeze of the level clock. The move-limited modes have no clock to stop.
    void startFreeze() {
        if (!isTimed(state_.gameMode)) return;
        LevelState& level = state_.level;
        const uint32_t now = services_.now();
        if (level.freezeOn && state_.playState == StatePlaying) level.levelStartTime += now - level.freezeStart;
        level.freezeStart = now;
        level.freezeOn = true;
    }

    void emptyCells(Grid clear) {
        Grid blastedMask = 0;
        std::vector<uint8_t> firstBlasts;
        for (uint8_t index : blasted_) {
            if (has(blastedMask, index)) continue;
            blastedMask |= cellBit(index);
            firstBlasts.push_back(index);
        }
        forEachCell(clear, [&](int i) {
            state_.board.cells[i] = 0;
            if (scoring_ && !has(blastedMask, i)) queueEffect(state_.effects.clear, i / kRows, i % kRows);
        });
        for (uint8_t index : firstBlasts) queueEffect(state_.effects.burst, index / kRows, index % kRows);
    }

    void book() {
        LevelState& level = state_.level;
        addClamped(level.passPoints, points_);
        level.passFigures = static_cast<int32_t>(std::min<int64_t>(figures_, std::numeric_limits<int32_t>::max()));
        addClamped(level.levelScore, points_);
        if (figures_ >= 2) runes_ += figures_ % 2 == 0 ? def_.runesFigure[0] : def_.runesFigure[1];
        addClamped(state_.runePoints, runes_);
    }

    GameState& state_;
    Services& services_;
    const LevelDefinition& def_;
    const bool scoring_;
    Grid input_[8]{};
    Grid output_[8]{};
    Grid spreading_ = 0;  // cells whose bonus spreads the clearing: Explode and Color
    std::vector<uint8_t> blasted_;
    int64_t points_ = 0, runes_ = 0, figures_ = 0;
};

}  // namespace

void addClamped(int32_t& total, int64_t amount) {
    const int64_t sum = static_cast<int64_t>(total) + amount;
    total =
        static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

bool resolveMatchesWithColours(GameState& state, Services& services, Scoring scoring, int colours) {
    return MatchPass(state, services, scoring).run(colours);
}

bool resolveMatches(GameState& state, Services& services, Scoring scoring) {
    return resolveMatchesWithColours(state, services, scoring, ballColours(state));
}

}  // namespace rules
