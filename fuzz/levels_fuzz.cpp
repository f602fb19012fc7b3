// "ini\levels.txt": the level table and the file-wide settings read from any text.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <unordered_set>

#include "data/config_scanner.hpp"
#include "data/levels.hpp"
#include "fuzz_check.hpp"

namespace {

// The record is 28 plain 32-bit fields, none of which the file can make negative. A repeated header's
// record is never written: every key of its block goes to the first record of that number.
void checkDefinition(const rules::LevelDefinition& d, bool repeated) {
    static_assert(sizeof d == 28 * sizeof(int32_t));
    int32_t fields[28];
    std::memcpy(fields, &d, sizeof fields);
    for (int32_t field : fields) FUZZ_CHECK(field >= 0 && (!repeated || field == 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzzing::bytesOf(data, std::min(size, data::kConfigImageSize));
    rules::LevelTable levels;
    rules::LevelSettings settings;
    data::scanLevelText(text, levels, settings);

    for (int m = 0; m < rules::kModeCount; ++m) {
        const auto mode = static_cast<rules::GameMode>(m);
        std::unordered_set<int32_t> seen;
        for (const rules::LevelEntry& entry : levels.lists[static_cast<size_t>(m)]) {
            FUZZ_CHECK(entry.number >= 0);
            const bool repeated = !seen.insert(entry.number).second;
            checkDefinition(entry.definition, repeated);
            FUZZ_CHECK(repeated || levels.findLevel(mode, entry.number) == &entry.definition);
        }
    }

    for (const rules::ColourTint& tint : settings.colorTints)
        FUZZ_CHECK(tint.red <= 255 && tint.green <= 255 && tint.blue <= 255);
    for (double combo : settings.combo) FUZZ_CHECK(std::isfinite(combo) && combo >= 0 && combo <= FLT_MAX);
    FUZZ_CHECK(std::isfinite(settings.maxMusicVolume) && settings.maxMusicVolume >= 0);
    FUZZ_CHECK(settings.freezeDurationMs >= 0 && settings.startingLevel >= 0 && settings.verticals >= 0 &&
               settings.universal >= 0 && settings.explodeType >= 0 && settings.mainStatus >= 0 && settings.fps >= 0 &&
               settings.zeroRunesOnNextLevel >= 0);
    for (const auto* list : {&settings.timeBonus, &settings.moveBonus, &settings.swap})
        for (int32_t value : *list) FUZZ_CHECK(value >= 0);
    return 0;
}
