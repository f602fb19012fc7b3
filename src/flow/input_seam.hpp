#pragma once
#include <cstdint>
#include <functional>

#include "present/platform.hpp"

namespace flow {

struct Game;

// The platform as the game sees it. During each message it holds what the game reads of the
// world (the clock, the pointer, the keyboard's Escape, lost surfaces) at one value, so that a
// recording of those values replays the message exactly; a replay puts the recorded values in
// their place. Everything else goes to the platform underneath, except what would move the
// watcher's own window while a replay plays.
class InputSeam final : public present::Platform {
  public:
    struct Reading {
        uint32_t time = 0;
        present::Point pointer;
        bool escapeDown = false;
        bool surfacesLost = false;
    };

    explicit InputSeam(present::Platform& inner) : inner_(inner), clock_(*this) {}

    present::Platform& inner() { return inner_; }
    // What the platform underneath shows now.
    Reading live() const;
    void hold(const Reading& reading) {
        reading_ = reading;
        held_ = true;
    }
    void release() { held_ = false; }
    const Reading* held() const { return held_ ? &reading_ : nullptr; }
    // A replay plays: the window is the watcher's.
    void setReplaying(bool on) { replaying_ = on; }
    bool replaying() const { return replaying_; }
    // Drawn over every frame shown while a replay plays (its speed), on a copy of the frame.
    void setReplayOverlay(std::function<void(present::Surface&)> overlay) { overlay_ = std::move(overlay); }

    const rules::Clock& clock() const override { return clock_; }
    bool createWindow(bool windowed, const std::optional<data::WindowPlacement>& placement) override {
        return inner_.createWindow(windowed, placement);
    }
    void setWindowMode(bool windowed) override {
        if (!replaying_) inner_.setWindowMode(windowed);
    }
    std::optional<data::WindowPlacement> windowPlacement() const override { return inner_.windowPlacement(); }
    present::DesktopMode desktopMode() const override { return inner_.desktopMode(); }
    void minimise() override {
        if (!replaying_) inner_.minimise();
    }
    void startTimer() override { inner_.startTimer(); }
    void stopTimer() override { inner_.stopTimer(); }
    bool waitEvent(present::InputEvent& event) override { return inner_.waitEvent(event); }
    void setCursor(present::CursorShape shape) override { inner_.setCursor(shape); }
    bool escapeDown() const override { return held_ ? reading_.escapeDown : inner_.escapeDown(); }
    present::Point pointer() const override { return held_ ? reading_.pointer : inner_.pointer(); }
    void movePointer(present::Point p) override {
        if (held_) reading_.pointer = p;
        if (!replaying_) inner_.movePointer(p);
    }
    void present(const present::Surface& backBuffer) override;
    const present::Surface& screen() const override { return inner_.screen(); }
    bool surfacesLost() const override { return held_ ? reading_.surfacesLost : inner_.surfacesLost(); }
    void restoreSurfaces() override { inner_.restoreSurfaces(); }
    void beep() override { inner_.beep(); }

  private:
    class HeldClock final : public rules::Clock {
      public:
        explicit HeldClock(const InputSeam& seam) : seam_(seam) {}
        uint32_t now() const override { return seam_.held_ ? seam_.reading_.time : seam_.inner_.clock().now(); }

      private:
        const InputSeam& seam_;
    };

    present::Platform& inner_;
    HeldClock clock_;
    Reading reading_;
    bool held_ = false;
    bool replaying_ = false;
    std::function<void(present::Surface&)> overlay_;
};

// One message from the message loop (a frame tick or an input message) through the seam: what the
// game reads is held for the message, a level under way records it, and it goes to the frame tick
// or the window procedure.
void deliver(Game& game, InputSeam& seam, const present::InputEvent& event);

// The same with the readings given, for a replay (nothing is recorded).
void deliverHeld(Game& game, InputSeam& seam, const present::InputEvent& event, const InputSeam::Reading& reading);

}  // namespace flow
