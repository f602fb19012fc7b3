#include "present/headless_platform.hpp"

#include <algorithm>

namespace present {

bool HeadlessPlatform::createWindow(bool windowed) {
    windowCreated_ = true;
    windowed_ = windowed;
    return true;
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
