#pragma once
#include "present/platform.hpp"

namespace present {

// The platform of lumerik-sim and the tests: a virtual clock, no window, frames kept in memory.
// Everything a script does to the window (pointer, Escape, focus, lost surfaces) is set directly.
class HeadlessPlatform final : public Platform {
  public:
    explicit HeadlessPlatform(uint32_t startTime = 100000) : clock_(startTime) {}

    const rules::Clock& clock() const override { return clock_; }
    rules::ManualClock& manualClock() { return clock_; }

    bool createWindow(bool windowed, const std::optional<data::WindowPlacement>& placement) override;
    void setWindowMode(bool windowed) override;
    std::optional<data::WindowPlacement> windowPlacement() const override { return placement_; }
    DesktopMode desktopMode() const override { return desktop_; }
    void minimise() override { ++minimiseCount_; }

    void startTimer() override {}
    void stopTimer() override {}
    bool waitEvent(InputEvent&) override { return false; }

    void setCursor(CursorShape shape) override { cursor_ = shape; }
    bool escapeDown() const override { return escapeDown_; }
    Point pointer() const override { return pointer_; }
    void movePointer(Point p) override { setPointer(p); }

    void present(const Surface& backBuffer) override;
    const Surface& screen() const override { return screen_; }

    bool surfacesLost() const override { return lost_; }
    void restoreSurfaces() override {}

    void beep() override { ++beepCount_; }

    // What a script sets.
    void setPointer(Point p);
    void setEscapeDown(bool down) { escapeDown_ = down; }
    void setSurfacesLost(bool lost) { lost_ = lost; }
    void setDesktopMode(DesktopMode mode) { desktop_ = mode; }
    // The window moved or was resized to `placement` (a script's stand-in for the window manager).
    void placeWindow(const data::WindowPlacement& placement) { placement_ = placement; }

    // What a test reads.
    bool windowCreated() const { return windowCreated_; }
    bool windowed() const { return windowed_; }
    CursorShape cursor() const { return cursor_; }
    int minimiseCount() const { return minimiseCount_; }
    int beepCount() const { return beepCount_; }
    int presentCount() const { return presentCount_; }

  private:
    rules::ManualClock clock_;
    Surface screen_ = Surface::create(kScreenWidth, kScreenHeight);
    DesktopMode desktop_;
    Point pointer_;
    CursorShape cursor_ = CursorShape::SystemArrow;
    bool escapeDown_ = false;
    bool lost_ = false;
    bool windowCreated_ = false;
    bool windowed_ = false;
    std::optional<data::WindowPlacement> placement_;
    int minimiseCount_ = 0;
    int beepCount_ = 0;
    int presentCount_ = 0;
};

}  // namespace present
