#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "game/sound_ids.hpp"
#include "game/types.hpp"

namespace rules {

// Everything the game says about each kind of bonus, in one place.
struct BonusKindInfo {
    BonusKind kind = BonusNone;
    // Its entry in GameState::bonusFirstLevel (the first level of each mode that has it); the
    // level-start tips come in the order of these entries.
    int32_t firstLevelEntry = 0;
    // The number of the dialog that explains it (a tip the first time a level has it).
    int32_t tipDialog = 0;
    // Whether that tip opens as its level starts; the Explode tip waits for the first Explode bonus.
    bool tipAtLevelStart = true;
    // Its record among the graphics settings' five bonus pictures, and its row of the rune
    // picture a new bonus flies with.
    int32_t pictureRecord = 0;
    // Heard when the bonus acts in a figure; the Universal ball stands in for any colour silently.
    std::optional<SoundId> sound;
    // The two rune slots a new bonus of this kind may fly from.
    std::array<int32_t, 2> flightSlots{};
};

inline constexpr std::array<BonusKindInfo, kBonusKindCount> kBonusKinds = {{
    {BonusExplode, 4, 7, false, 0, SoundExplode, {0, 8}},
    {BonusColor, 3, 6, true, 1, SoundColor, {6, 15}},
    {BonusFreeze, 5, 3, true, 2, SoundFreeze, {5, 14}},
    {BonusUniversal, 2, 5, true, 3, std::nullopt, {7, 16}},
    {BonusScoreBoost, 1, 4, true, 4, SoundScore, {4, 13}},
}};

// Entry 0 of bonusFirstLevel is not a kind: the first level whose bonuses expire, and its tip.
inline constexpr int32_t kExpiryFirstLevelEntry = 0;
inline constexpr int32_t kExpiryTipDialog = 2;
inline constexpr int kFirstLevelEntries = 6;

// The table's entry for a kind 1..5; the Explode entry for anything else, which no caller passes.
constexpr const BonusKindInfo& bonusKind(int kind) {
    return kBonusKinds[static_cast<size_t>(kind >= 1 && kind <= kBonusKindCount ? kind - 1 : 0)];
}

}  // namespace rules
