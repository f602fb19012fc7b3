#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "flow/input_seam.hpp"
#include "flow/replay_player.hpp"

namespace flow {

struct Game;

// Watching a recorded level in the window: the level plays with its board, sounds and effects
// while the message loop's ticks move the recorded clock on. Space or P pauses, 1, 2 and 4 (or a
// click on the speed label) set the speed, Escape ends it; a replay that has played to its end
// stays on screen for a moment. The game as it stood is put back afterwards, untouched: a replay
// writes no player file and is not itself recorded.
class ReplayWatch {
  public:
    // Null, with one line in `why`, when the file cannot be played here.
    static std::unique_ptr<ReplayWatch> start(Game& game, InputSeam& seam, const std::filesystem::path& file, std::string& why);
    ~ReplayWatch();
    ReplayWatch(const ReplayWatch&) = delete;
    ReplayWatch& operator=(const ReplayWatch&) = delete;

    // A message from the message loop. False when watching has ended and the game is back as it
    // was; a close message then still belongs to the game.
    bool message(const present::InputEvent& event);

    int speed() const { return speed_; }
    bool paused() const { return paused_; }

  private:
    struct Saved;
    ReplayWatch(Game& game, InputSeam& seam);
    void advance();
    void drawLabel(present::Surface& frame) const;
    void stop();

    Game& game_;
    InputSeam& seam_;
    ReplayPlayback playback_;
    std::unique_ptr<Saved> saved_;
    int speed_ = 1;
    bool paused_ = false;
    uint32_t at_ = 0;       // the recorded time reached
    int32_t endTicks_ = 0;  // ticks the finished replay has stood on screen
    bool stopped_ = false;
};

}  // namespace flow
