#include "flow/screen_frames.hpp"
#include "present/blitter.hpp"
#include "present/layout.hpp"

namespace flow {

namespace {

// With the studio's logo the opening lasts 5500 ms; without it the splash phase is skipped and the
// sequence lasts 4500 ms, the last 500 of them black.
constexpr uint32_t kWithPartnerMs = 5500;
constexpr uint32_t kWithoutPartnerMs = 4500;
constexpr uint32_t kSplashFadeMs = 1500;
constexpr int32_t kFadeInMs = 1000;
constexpr int32_t kHoldUntilMs = 3000;

float studioStrength(int32_t j) {
    if (j < kFadeInMs) return static_cast<float>(j * 0.001);
    if (j < kHoldUntilMs) return 1.0f;
    // Below 0 after 4000 ms: the blend then clamps every channel to black.
    return static_cast<float>(1.0 - (j - kHoldUntilMs) * 0.001);
}

}  // namespace

bool runLogoSequence(Game& game) {
    ScreenState& screens = game.screens;
    present::Display& display = game.display;
    const uint32_t t = rules::elapsedSince(game.platform.clock().now(), screens.logoStartedAt);
    const bool partner = game.pictures.branding.logoScreenFirstPhase;
    if (t >= (partner ? kWithPartnerMs : kWithoutPartnerMs)) return true;

    const uint32_t e = partner ? t : t + kSplashFadeMs;
    if (e < kSplashFadeMs) {
        // The splash logo the start-up showed at full strength fades out.
        display.backBuffer.fill(0);
        const present::layout::Rect& logo = present::layout::kLogoBig;
        present::blendBlit(0, 0, logo.x, logo.y, logo.w, logo.h, game.pictures.logoBig, display.backBuffer,
                           static_cast<float>(1.0 - e / 1500.0), 1.0f);
        present::presentFrame(display, game.platform);
        return false;
    }

    const present::PixelImage& studio = game.pictures.partnerLogoBig;
    if (!screens.logoCentred) {
        screens.logoX = (present::kScreenWidth - studio.width) / 2;
        screens.logoY = (present::kScreenHeight - studio.height) / 2;
        screens.logoCentred = true;
    }
    present::Surface& work = display.logoSurface;
    work.fill(0);
    present::blendBlit(0, 0, screens.logoX, screens.logoY, studio.width, studio.height, studio, work,
                       studioStrength(static_cast<int32_t>(e - kSplashFadeMs)), 1.0f);
    present::copyRect(work, 0, 0, 0, 0, present::kScreenWidth, present::kScreenHeight, display.backBuffer,
                      present::ColourKey::Ignore);
    present::presentFrame(display, game.platform);
    return false;
}

}  // namespace flow
