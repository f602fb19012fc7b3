#include "present/headless_platform.hpp"

#include <algorithm>

namespace present {

bool HeadlessPlatform::createWindow(bool windowed, const std::optional<data::WindowPlacement>& placement) {
    windowCreated_ = true;
    placement_ = placement;
    setWindowMode(windowed);
    return true;
}

void HeadlessPlatform::setWindowMode(bool windowed) {
    windowed_ = windowed;
    // There is no desktop to fit: a first window is the picture's own size.
    if (windowed && !placement_) placement_ = data::WindowPlacement{0, 0, kScreenWidth, kScreenHeight};
}

void HeadlessPlatform::present(const Surface& backBuffer) {
    ++presentCount_;
    if (backBuffer.width == kScreenWidth && backBuffer.height == kScreenHeight) {
        for (int y = 0; y < kScreenHeight; ++y) std::copy_n(backBuffer.row(y), kScreenWidth, screen_.row(y));
    }
}

void HeadlessPlatform::setPointer(Point p) {
    pointer_ = {std::clamp(p.x, 0, kScreenWidth - 1), std::clamp(p.y, 0, kScreenHeight - 1)};
}

}  // namespace present
