// "profile\settings.txt": the machine's settings and every player's options from any text, and back.
#include <algorithm>

#include "data/settings.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzzing::bytesOf(data, std::min(size, data::kSettingsFileLimit));
    const data::Settings settings = data::scanSettingsText(text);
    FUZZ_CHECK(!settings.keepFile);

    // Only what a player or a window can have.
    for (const auto& [name, options] : settings.players)
        FUZZ_CHECK(name.size() <= data::kSettingsNameLimit && name.find('\0') == std::string::npos);
    if (const auto& w = settings.machine.window) {
        constexpr int32_t kLimit = data::kWindowCoordinateLimit;
        FUZZ_CHECK(w->x >= -kLimit && w->x <= kLimit && w->y >= -kLimit && w->y <= kLimit);
        FUZZ_CHECK(w->width >= 1 && w->width <= kLimit && w->height >= 1 && w->height <= kLimit);
    }
    FUZZ_CHECK(data::scanSettingsText(fuzzing::withWindowsLineEnds(text)) == settings);

    // Written out, the settings read back the same, and the text then stays as it is.
    const std::string written = data::writeSettingsText(settings);
    FUZZ_CHECK(written.size() <= data::kSettingsFileLimit);
    const data::Settings reread = data::scanSettingsText(written);
    if (reread.players.size() == settings.players.size()) FUZZ_CHECK(reread == settings);
    FUZZ_CHECK(data::writeSettingsText(reread) == written);
    return 0;
}
