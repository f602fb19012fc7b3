#pragma once
#include "present/platform.hpp"
#include "present/surface.hpp"

namespace present {

// The picture the player sees: every frame is composed in the back buffer and presented whole.
struct Display {
    Surface backBuffer = Surface::create(kScreenWidth, kScreenHeight);
    Surface sceneSurface = Surface::create(kScreenWidth, kScreenHeight);
    Surface captureSurface = Surface::create(kScreenWidth, kScreenHeight);
};

inline void presentFrame(Display& display, Platform& platform) { platform.present(display.backBuffer); }

}  // namespace present
