#pragma once
#include <cstdint>

#include "present/images.hpp"
#include "present/platform.hpp"
#include "present/surface.hpp"

namespace present {

// The picture the player sees. Every frame is composed in the back buffer and presented whole;
// the other surfaces are the display's own work areas. All of them live in ordinary memory, so a
// lost display only costs the platform its texture, never a surface's pixels.
struct Display {
    Surface backBuffer = Surface::create(kScreenWidth, kScreenHeight);
    // The composed static picture of the current screen; each frame starts from a copy of it.
    Surface sceneSurface = Surface::create(kScreenWidth, kScreenHeight, kNoColourKey);
    // What was on screen when a menu or dialog opened: its backdrop.
    Surface captureSurface = Surface::create(kScreenWidth, kScreenHeight);
    // The 62 by 62 picture a turning block is composed in, keyed magenta.
    Surface blockSurface;
    // The second 800 by 600 work surface, on which the logo screen composes its picture.
    Surface logoSurface;
    // Set when the windowed-mode check forced full screen; whoever opens the dialog that says so
    // clears it.
    bool windowedRefused = false;
};

inline constexpr int kBlockSurfaceSide = 62;

// Builds the back buffer afresh (the old one is released first). False when it cannot be made.
bool createDisplay(Display& display);

// Puts the window in the mode `windowed` asks for, then rebuilds the display.
void applyWindowMode(Display& display, Platform& platform, bool windowed);

// Shows the back buffer.
void presentFrame(Display& display, Platform& platform);

// Copies what is on screen now into captureSurface.
void captureScreen(Display& display, const Platform& platform);

// The live pointer in picture coordinates (0..799, 0..599), wherever the window is.
Point cursorToClient(const Platform& platform);

// Windowed mode needs a desktop of 4 bytes per pixel at least 1024 pixels wide.
bool windowedModeSupported(const Platform& platform);

// Restores what the platform lost (its texture) and reports whether the display still fails.
bool surfacesLost(Platform& platform);

// The surfaces each picture reload makes afresh: sceneSurface and the 62 by 62 block surface.
void createWorkSurfaces(Display& display);
// The start-up surfaces: captureSurface, and the logo screen's work surface.
void createCaptureSurface(Display& display);
void createLogoSurface(Display& display);

// The still logo shown while the game loads: a black frame with the 160 by 147 logo added at
// (322, 203), presented at once.
void showStillLogo(Display& display, Platform& platform, const PixelImage& logo);

}  // namespace present
