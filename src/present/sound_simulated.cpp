#include <vorbis/vorbisfile.h>

#include <array>
#include <cstdint>

#include "game/sound_ids.hpp"
#include "present/sound_backend.hpp"

namespace present {

namespace {

// A stream's decoded length, as sample frames at its rate.
struct Length {
    uint64_t frames = 0;
    uint64_t rate = 0;
};

// Reads the length from the stream's headers and last page, without decoding the audio.
bool vorbisLength(const std::filesystem::path& file, Length& length) {
    OggVorbis_File vf;
    if (ov_fopen(file.c_str(), &vf) != 0) return false;
    const ogg_int64_t frames = ov_pcm_total(&vf, -1);
    const vorbis_info* info = ov_info(&vf, -1);
    const bool ok = frames >= 0 && info && info->rate > 0;
    if (ok) length = {static_cast<uint64_t>(frames), static_cast<uint64_t>(info->rate)};
    ov_clear(&vf);
    return ok;
}

class SimulatedBackend final : public AudioBackend {
  public:
    explicit SimulatedBackend(const rules::Clock& clock) : clock_(clock) {}

    bool loadEffect(int slot, const std::filesystem::path& file) override { return vorbisLength(file, lengths_[slot]); }
    bool loadMusic(int slot, const std::filesystem::path& file) override { return vorbisLength(file, lengths_[slot]); }

    void playEffect(int slot) override {
        effectPlaying_[slot] = true;
        effectStart_[slot] = clock_.now();
    }
    void stopEffect(int slot) override { effectPlaying_[slot] = false; }
    bool effectPlaying(int slot) const override {
        if (!effectPlaying_[slot]) return false;
        // Playing while less than the decoded length has passed: elapsed ms < frames * 1000 / rate.
        const uint64_t elapsed = clock_.now() - effectStart_[slot];
        return elapsed * lengths_[slot].rate < lengths_[slot].frames * 1000;
    }
    void setEffectVolume(int, float) override {}

    // Music repeats, so it plays until it is stopped or replaced; an empty stream has nothing to repeat.
    void playMusic(int slot) override { musicSlot_ = slot; }
    void rewindMusic() override {}
    void stopMusic() override { musicSlot_ = -1; }
    bool musicPlaying() const override { return musicSlot_ >= 0 && lengths_[musicSlot_].frames > 0; }
    void setMusicVolume(float) override {}

    void beep() override {}

  private:
    const rules::Clock& clock_;
    std::array<Length, rules::kSoundCount> lengths_{};
    std::array<bool, rules::kSoundCount> effectPlaying_{};
    std::array<uint32_t, rules::kSoundCount> effectStart_{};
    int musicSlot_ = -1;
};

}  // namespace

std::unique_ptr<AudioBackend> makeSimulatedBackend(const rules::Clock& clock) {
    return std::make_unique<SimulatedBackend>(clock);
}

}  // namespace present
