#pragma once
#include <cstdint>

namespace rules {

// The one source of time: 32-bit milliseconds, compared as unsigned differences except where a time
// may lie ahead of now (the level clock after startPlay).
class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint32_t now() const = 0;
};

// A clock that moves only when told to; the simulator and the tests run on it.
class ManualClock final : public Clock {
  public:
    explicit ManualClock(uint32_t start = 100000) : time_(start) {}
    uint32_t now() const override { return time_; }
    void advance(uint32_t ms) { time_ += ms; }
    void set(uint32_t ms) { time_ = ms; }

  private:
    uint32_t time_;
};

// Milliseconds from `since` to `now`, wrapping like the 32-bit tick counter.
constexpr uint32_t elapsedSince(uint32_t now, uint32_t since) { return now - since; }

}  // namespace rules
