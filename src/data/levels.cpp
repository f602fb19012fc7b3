#include "data/levels.hpp"

#include <algorithm>
#include <unordered_map>

#include "data/config_scanner.hpp"

namespace data {

namespace {

enum LevelKey : int {
    KeyColors,
    KeyColor,
    KeyVerticals,
    KeyRunesSquare2x3,
    KeyActionLevel,
    KeyScore,
    KeyTime,
    KeyActionPuzzleLevel,
    KeyProgress,
    KeyMoves,
    KeyPuzzleLevel,
    KeyStrategyLevel,
    KeyStartingLevel,
    KeySquare,
    KeyDiagonal,
    KeyVH,
    KeyCombo,
    KeyMainStatus,
    KeyFPS,
    KeyFreezDuration,
    KeyBonusDuration,
    KeyUniversal,
    KeyZeroRunes,
    KeyRunesSquare2x2,
    KeyRunesDiagonal,
    KeyRunesFigure,
    KeyScoreBoost,
    KeyBall,
    KeyExplodeType,
    KeyBonusRatio,
    KeyTimeBonus,
    KeyMoveBonus,
    KeySwap,
    KeyMaxMusVol,
};

using enum ValueKind;

// The order is part of the format: "Colors" must come before "Color", and a value's last character
// is consumed, so "Score 100Time 60" sets both but "Time 60Score 100" loses the score.
constexpr ConfigKey kLevelKeys[] = {
    {"Colors", Integer, KeyColors},
    {"Color", Colour, KeyColor},
    {"Verticals", Integer, KeyVerticals},
    {"RunesSQuare2x3", Integer, KeyRunesSquare2x3},
    {"ActionLevel", Integer, KeyActionLevel},
    {"Score", Integer, KeyScore},
    {"Time", Integer, KeyTime},
    {"ActionPuzzleLevel", Integer, KeyActionPuzzleLevel},
    {"Progress", Integer, KeyProgress},
    {"Moves", Integer, KeyMoves},
    {"PuzzleLevel", Integer, KeyPuzzleLevel},
    {"StrategyLevel", Integer, KeyStrategyLevel},
    {"StartingLevel", Integer, KeyStartingLevel},
    {"Square", IndexedPair, KeySquare},
    {"Diagonal", IndexedPair, KeyDiagonal},
    {"VH", Integer, KeyVH},
    {"Combo", IndexedReal, KeyCombo},
    {"MainStatus", Integer, KeyMainStatus},
    {"FPS", Integer, KeyFPS},
    {"FreezDuration", Integer, KeyFreezDuration},
    {"BonusDuration", Integer, KeyBonusDuration},
    {"Universal", Integer, KeyUniversal},
    {"ZeroRunesOnNextLEvel", Integer, KeyZeroRunes},
    {"RunesSQuare2x2", Integer, KeyRunesSquare2x2},
    {"RunesDIagonal", IndexedPair, KeyRunesDiagonal},
    {"RunesFigure", IndexedPair, KeyRunesFigure},
    {"SCoreBoost", Integer, KeyScoreBoost},
    {"Ball", Integer, KeyBall},
    {"ExplodeType", Integer, KeyExplodeType},
    {"BonusRatio", List, KeyBonusRatio, 5},
    {"TIMEbonus", List, KeyTimeBonus, 5},
    {"MOVEbonus", List, KeyMoveBonus, 5},
    {"SWAP", List, KeySwap, 5},
    {"maxMusVol", Real, KeyMaxMusVol},
};

// Seconds to milliseconds without leaving 32 bits.
int32_t secondsToMs(int32_t seconds) {
    const int64_t ms = static_cast<int64_t>(seconds) * 1000;
    return ms > kConfigNumberMax ? kConfigNumberMax : static_cast<int32_t>(ms);
}

// Writes slot (index - first) of `slots` when the index is one the key accepts.
template <size_t N, typename T>
void setIndexed(std::array<T, N>& slots, int32_t index, int32_t first, T value) {
    if (index >= first && index - first < static_cast<int32_t>(N)) slots[static_cast<size_t>(index - first)] = value;
}

void copyList(std::array<int32_t, 5>& to, const ConfigValue& value) {
    for (size_t i = 0; i < to.size(); ++i) to[i] = value.list[i];
}

class LevelFileTarget final : public ConfigTarget {
  public:
    LevelFileTarget(rules::LevelTable& levels, rules::LevelSettings& settings) : levels_(levels), settings_(settings) {}

    void apply(const ConfigKey& key, const ConfigValue& value) override {
        const int32_t v = value.integer;
        switch (static_cast<LevelKey>(key.id)) {
            case KeyActionLevel: return openLevel(rules::GameMode::Action, v);
            case KeyStrategyLevel: return openLevel(rules::GameMode::Strategy, v);
            case KeyPuzzleLevel: return openLevel(rules::GameMode::Puzzle, v);
            case KeyActionPuzzleLevel: return openLevel(rules::GameMode::ActionPuzzle, v);

            case KeyColor:
                if (value.index >= 0 && value.index < static_cast<int32_t>(settings_.colorTints.size())) {
                    rules::ColourTint& tint = settings_.colorTints[static_cast<size_t>(value.index)];
                    tint.red = static_cast<uint16_t>((v >> 16) & 0xff);
                    tint.green = static_cast<uint16_t>((v >> 8) & 0xff);
                    tint.blue = static_cast<uint16_t>(v & 0xff);
                }
                return;
            case KeyVerticals: settings_.verticals = v; return;
            case KeyStartingLevel: settings_.startingLevel = v; return;
            case KeyCombo: setIndexed(settings_.combo, value.index, 2, value.real); return;
            case KeyMainStatus: settings_.mainStatus = v; return;
            case KeyFPS: settings_.fps = v; return;
            case KeyFreezDuration: settings_.freezeDurationMs = secondsToMs(v); return;
            case KeyUniversal: settings_.universal = v; return;
            case KeyZeroRunes: settings_.zeroRunesOnNextLevel = v; return;
            case KeyExplodeType: settings_.explodeType = v; return;
            case KeyTimeBonus: copyList(settings_.timeBonus, value); return;
            case KeyMoveBonus: copyList(settings_.moveBonus, value); return;
            case KeySwap: copyList(settings_.swap, value); return;
            case KeyMaxMusVol: settings_.maxMusicVolume = value.real; return;
            default: break;
        }

        // Everything else belongs to the level block in force; before any header it is read and lost.
        rules::LevelDefinition* record = currentRecord();
        if (!record) return;
        switch (static_cast<LevelKey>(key.id)) {
            case KeyColors: record->colors = v; return;
            case KeyRunesSquare2x3: record->runesSquare2x3 = v; return;
            case KeyScore:
            case KeyProgress: record->target = v; return;
            case KeyTime:
            case KeyMoves: record->limit = v; return;
            case KeySquare:
                if (value.index == 4) record->square4 = v;
                if (value.index == 6) record->square6 = v;
                return;
            case KeyDiagonal: setIndexed(record->diagonal, value.index, 4, v); return;
            case KeyVH: record->vh = v; return;
            case KeyBonusDuration: record->bonusDuration = v; return;
            case KeyRunesSquare2x2: record->runesSquare2x2 = v; return;
            case KeyRunesDiagonal: setIndexed(record->runesDiagonal, value.index, 4, v); return;
            case KeyRunesFigure: setIndexed(record->runesFigure, value.index, 2, v); return;
            case KeyScoreBoost: record->scoreBoost = v; return;
            case KeyBall: record->ball = v; return;
            case KeyBonusRatio: copyList(record->bonusRatio, value); return;
            default: return;
        }
    }

  private:
    // A header appends a fresh record; the keys that follow go to the first record of that mode and
    // number, so a repeated header's record is never filled.
    void openLevel(rules::GameMode mode, int32_t number) {
        const size_t m = static_cast<size_t>(mode);
        std::vector<rules::LevelEntry>& list = levels_.lists[m];
        list.push_back({number, {}});
        mode_ = m;
        const auto [first, created] = firstIndex_[m].try_emplace(number, list.size() - 1);
        recordIndex_ = first->second;
        hasRecord_ = true;
    }

    rules::LevelDefinition* currentRecord() { return hasRecord_ ? &levels_.lists[mode_][recordIndex_].definition : nullptr; }

    rules::LevelTable& levels_;
    rules::LevelSettings& settings_;
    // The context: the block in force, as an index because the list may grow and move.
    size_t mode_ = 0;
    size_t recordIndex_ = 0;
    bool hasRecord_ = false;
    std::array<std::unordered_map<int32_t, size_t>, rules::kModeCount> firstIndex_;
};

}  // namespace

void scanLevelText(std::string_view text, rules::LevelTable& levels, rules::LevelSettings& settings) {
    levels = {};
    settings = {};
    LevelFileTarget target(levels, settings);
    scanConfigText(text, kLevelKeys, target);
}

void loadLevelFile(const GameFolder& folder, rules::LevelTable& levels, rules::LevelSettings& settings) {
    const std::vector<char> image = readConfigFile(folder.resolve("ini\\levels.txt"));
    scanLevelText(std::string_view(image.data(), image.size()), levels, settings);
}

}  // namespace data
