#pragma once
#include <cstdint>
#include <random>

namespace rules {

// The game's one generator. mt19937 is used raw: its sequence is fixed by the standard, so a seed
// replays the same game with any compiler and library. "random mod n" is a fresh draw reduced mod n.
class Random {
  public:
    explicit Random(uint32_t seed = 5489u) : engine_(seed) {}
    void seed(uint32_t seed) { engine_.seed(seed); }
    uint32_t next() { return static_cast<uint32_t>(engine_()); }
    // A draw reduced modulo n (n > 0); returns 0 for n <= 0 rather than dividing by zero.
    int mod(int n) { return n > 0 ? static_cast<int>(next() % static_cast<uint32_t>(n)) : 0; }

  private:
    std::mt19937 engine_;
};

}  // namespace rules
