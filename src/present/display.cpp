#include "present/display.hpp"

#include "present/blitter.hpp"

namespace present {

namespace {

constexpr int kMinWindowedDesktopWidth = 1024;
constexpr int kLogoX = 322, kLogoY = 203, kLogoWidth = 160, kLogoHeight = 147;

}  // namespace

bool createDisplay(Display& display) {
    display.backBuffer = Surface::create(kScreenWidth, kScreenHeight);
    return !display.backBuffer.empty();
}

void applyWindowMode(Display& display, Platform& platform, bool windowed) {
    platform.setWindowMode(windowed);
    createDisplay(display);
}

void presentFrame(Display& display, Platform& platform) {
    if (display.backBuffer.empty()) return;
    platform.present(display.backBuffer);
}

void captureScreen(Display& display, const Platform& platform) {
    copyRect(platform.screen(), 0, 0, 0, 0, kScreenWidth, kScreenHeight, display.captureSurface, ColourKey::Ignore);
}

Point cursorToClient(const Platform& platform) { return platform.pointer(); }

bool windowedModeSupported(const Platform& platform) {
    const DesktopMode mode = platform.desktopMode();
    return mode.bytesPerPixel == 4 && mode.width >= kMinWindowedDesktopWidth;
}

bool surfacesLost(Platform& platform) {
    platform.restoreSurfaces();
    return platform.surfacesLost();
}

void createWorkSurfaces(Display& display) {
    display.sceneSurface = createSurface(kScreenWidth, kScreenHeight, kNoColourKey);
    display.blockSurface = createSurface(kBlockSurfaceSide, kBlockSurfaceSide, kMagentaKey);
}

void createCaptureSurface(Display& display) { display.captureSurface = createSurface(kScreenWidth, kScreenHeight, kNoColourKey); }

void createLogoSurface(Display& display) { display.logoSurface = createSurface(kScreenWidth, kScreenHeight, kNoColourKey); }

void showStillLogo(Display& display, Platform& platform, const PixelImage& logo) {
    display.backBuffer.fill(0);
    blendBlit(0, 0, kLogoX, kLogoY, kLogoWidth, kLogoHeight, logo, display.backBuffer, 1.0f, 1.0f);
    presentFrame(display, platform);
}

}  // namespace present
