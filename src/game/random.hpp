#pragma once
#include <cstdint>
#include <random>
#include <sstream>
#include <vector>

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

    // The engine's whole state as numbers, so that a replay starts a level from exactly where the
    // game stood; restoring a state the engine does not take leaves the generator as it was.
    std::vector<uint32_t> state() const {
        std::ostringstream out;
        out << engine_;
        std::istringstream in(out.str());
        std::vector<uint32_t> words;
        for (uint32_t word; in >> word;) words.push_back(word);
        return words;
    }
    bool setState(const std::vector<uint32_t>& words) {
        std::ostringstream out;
        for (uint32_t word : words) out << word << ' ';
        std::istringstream in(out.str());
        std::mt19937 restored;
        if (!(in >> restored)) return false;
        engine_ = restored;
        return true;
    }
    bool operator==(const Random&) const = default;

  private:
    std::mt19937 engine_;
};

}  // namespace rules
