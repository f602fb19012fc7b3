#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "game/clock.hpp"
#include "game/sound_ids.hpp"

namespace present {

struct SoundLogEntry {
    int64_t tick;
    game::SoundId id;
    bool play;  // false: stop
};

// The game's 35 streams. This first version keeps only the record of what was played and stopped;
// the mixer and the simulated mixer fill in the rest.
class SoundSystem final : public game::SoundSink {
public:
    void play(game::SoundId id) override;
    void stop(game::SoundId id) override;
    bool isPlaying(game::SoundId id) const override;

    // Every play and stop so far, stamped with the frame tick number the caller sets.
    const std::vector<SoundLogEntry>& log() const { return log_; }
    std::vector<game::SoundId> playingNow() const;
    void setTickNumber(int64_t tick) { tick_ = tick; }

private:
    std::vector<SoundLogEntry> log_;
    int64_t tick_ = 0;
};

}  // namespace present
