// "gfx//logo//trader.ini": the eleven lines of the partner branding from any text.
#include "fuzz_check.hpp"
#include "present/pictures.hpp"

namespace {

bool sameBranding(const present::PartnerBranding& a, const present::PartnerBranding& b) {
    return a.logoIsSurface == b.logoIsSurface && a.logoX == b.logoX && a.logoY == b.logoY && a.logoWidth == b.logoWidth &&
           a.logoHeight == b.logoHeight && a.logoScreenFirstPhase == b.logoScreenFirstPhase &&
           a.showPartnerLogo == b.showPartnerLogo && a.smallLogoX == b.smallLogoX && a.smallLogoY == b.smallLogoY &&
           a.smallLogoWidth == b.smallLogoWidth && a.smallLogoHeight == b.smallLogoHeight;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = fuzzing::bytesOf(data, size);
    const present::PartnerBranding branding = present::parseBranding(text);

    // Only the first eleven lines count: whatever follows them changes nothing.
    size_t end = 0;
    int lines = 0;
    while (lines < 11 && end < text.size()) {
        const size_t feed = text.find('\n', end);
        end = feed == std::string_view::npos ? text.size() : feed + 1;
        ++lines;
    }
    FUZZ_CHECK(sameBranding(present::parseBranding(text.substr(0, end)), branding));

    // Windows line ends read as bare line feeds.
    if (text.find('\r') == std::string_view::npos)
        FUZZ_CHECK(sameBranding(present::parseBranding(fuzzing::withWindowsLineEnds(text)), branding));
    return 0;
}
