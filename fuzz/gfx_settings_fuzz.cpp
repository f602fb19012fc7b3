// "ini\gfxini.txt": the three effect strips, the five bonus layouts and the menu factor from any text.
#include <algorithm>
#include <cmath>

#include "data/config_scanner.hpp"
#include "data/gfx_settings.hpp"
#include "fuzz_check.hpp"

namespace {

bool finiteFactor(float f) { return std::isfinite(f) && f >= 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzzing::bytesOf(data, std::min(size, data::kConfigImageSize));
    data::GraphicsSettings settings;
    data::scanGraphicsText(text, settings);

    for (const data::AnimationSettings& strip : settings.strips) {
        FUZZ_CHECK(finiteFactor(strip.transparencyS) && finiteFactor(strip.transparencyD));
        FUZZ_CHECK(strip.frames >= 0 && strip.frame_width >= 0 && strip.center_x >= 0 && strip.center_y >= 0 && strip.type >= 0);
        // The picture sizes come from loading, never from the file.
        FUZZ_CHECK(strip.width == 0 && strip.height == 0);
    }
    for (const data::BonusLayout& bonus : settings.bonuses) {
        FUZZ_CHECK(bonus.frames >= 0 && bonus.frame_width >= 0 && bonus.center_x >= 0 && bonus.center_y >= 0);
        FUZZ_CHECK(bonus.width == 0 && bonus.height == 0);
    }
    FUZZ_CHECK(finiteFactor(settings.menuTransparency));
    return 0;
}
