#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/types.hpp"

namespace rules {

// One level of one mode: 28 signed 32-bit fields, all zero until the level file sets them.
struct LevelDefinition {
    std::array<int32_t, 5> bonusRatio{};  // weights of bonus kinds 1..5
    int32_t runesSquare2x2 = 0;
    int32_t runesSquare2x3 = 0;
    std::array<int32_t, 5> runesDiagonal{};  // diagonal runs of length 4..8
    std::array<int32_t, 2> runesFigure{};    // several figures in one pass: 2 (even) and 3 (odd)
    int32_t bonusDuration = 0;               // milliseconds; 0 = bonuses never expire
    int32_t target = 0;                      // "Score" or "Progress"
    int32_t limit = 0;                       // "Time" (seconds) or "Moves"
    int32_t colors = 0;
    int32_t square4 = 0;
    int32_t square6 = 0;
    std::array<int32_t, 5> diagonal{};  // points for diagonal runs of length 4..8
    int32_t vh = 0;
    int32_t scoreBoost = 0;
    int32_t ball = 0;
};

struct LevelEntry {
    int32_t number = 0;
    LevelDefinition definition;
};

// Four lists, one per mode, in the order their headers appear in the file.
struct LevelTable {
    std::array<std::vector<LevelEntry>, kModeCount> lists;

    // The first record created for (mode, number), or nullptr.
    const LevelDefinition* findLevel(GameMode mode, int32_t number) const {
        for (const LevelEntry& entry : lists[static_cast<int>(mode)])
            if (entry.number == number) return &entry.definition;
        return nullptr;
    }
    LevelDefinition* findLevel(GameMode mode, int32_t number) {
        for (LevelEntry& entry : lists[static_cast<int>(mode)])
            if (entry.number == number) return &entry.definition;
        return nullptr;
    }
};

struct ColourTint {
    uint16_t red = 0, green = 0, blue = 0;
};

// The settings that hold for the whole level file; defaults as the game ships without a file.
struct LevelSettings {
    std::array<ColourTint, 8> colorTints{
        {{255, 0, 254}, {0, 0, 217}, {249, 249, 0}, {0, 249, 16}, {249, 0, 16}, {255, 255, 255}, {249, 0, 249}, {0, 169, 249}}};
    int32_t verticals = 0;
    int32_t startingLevel = 1;
    std::array<double, 8> combo{};  // multipliers for indices 2..9
    int32_t mainStatus = 0;
    int32_t fps = 0;
    int32_t freezeDurationMs = 0;  // "FreezDuration" is written in seconds
    int32_t universal = 0;
    int32_t zeroRunesOnNextLevel = 0;
    int32_t explodeType = 0;
    std::array<int32_t, 5> timeBonus{};
    std::array<int32_t, 5> moveBonus{};
    std::array<int32_t, 5> swap{};
    double maxMusicVolume = 0.65;

    double comboFactor(int index) const { return combo[static_cast<size_t>(index - 2)]; }
};

}  // namespace rules
