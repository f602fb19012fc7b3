#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "game/sound_ids.hpp"
#include "present/sound_backend.hpp"

namespace present {

namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kChunkFrames = 1024;
// Channels 0..29 belong to the effects, one each; the beep has the next one.
constexpr int kBeepChannel = rules::kEffectCount;
constexpr int kMixChannels = kBeepChannel + 1;

int mixVolume(float volume) { return static_cast<int>(std::lround(std::clamp(volume, 0.0f, 1.0f) * MIX_MAX_VOLUME)); }

// 100 ms of a 4000 Hz sine in the device's format (16-bit stereo), with 5 ms ramps so it does not
// click in and out.
std::vector<int16_t> beepSamples() {
    constexpr int frames = kFrequency / 10;
    constexpr int ramp = kFrequency / 200;
    std::vector<int16_t> samples(static_cast<size_t>(frames) * kChannels);
    for (int i = 0; i < frames; ++i) {
        const double envelope = std::min({1.0, static_cast<double>(i) / ramp, static_cast<double>(frames - 1 - i) / ramp});
        const double value = 0.3 * envelope * std::sin(2.0 * std::numbers::pi * 4000.0 * i / kFrequency);
        const auto sample = static_cast<int16_t>(std::lround(value * 32767.0));
        for (int c = 0; c < kChannels; ++c) samples[static_cast<size_t>(i) * kChannels + c] = sample;
    }
    return samples;
}

class MixerBackend final : public AudioBackend {
  public:
    MixerBackend() : beepSamples_(beepSamples()) {
        Mix_AllocateChannels(kMixChannels);
        // Reserved channels are never picked for a "first free channel" play; every play names its own.
        Mix_ReserveChannels(kMixChannels);
        beep_ = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(beepSamples_.data()),
                                  static_cast<Uint32>(beepSamples_.size() * sizeof(int16_t)));
        effects_.fill(nullptr);
        music_.fill(nullptr);
    }

    ~MixerBackend() override {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        for (Mix_Chunk* chunk : effects_)
            if (chunk) Mix_FreeChunk(chunk);
        for (Mix_Music* music : music_)
            if (music) Mix_FreeMusic(music);
        if (beep_) Mix_FreeChunk(beep_);
        Mix_CloseAudio();
        Mix_Quit();
    }

    bool loadEffect(int slot, const std::filesystem::path& file) override {
        effects_[slot] = Mix_LoadWAV(file.c_str());
        return effects_[slot] != nullptr;
    }

    bool loadMusic(int slot, const std::filesystem::path& file) override {
        music_[slot] = Mix_LoadMUS(file.c_str());
        return music_[slot] != nullptr;
    }

    void playEffect(int slot) override { Mix_PlayChannel(slot, effects_[slot], 0); }
    void stopEffect(int slot) override { Mix_HaltChannel(slot); }
    bool effectPlaying(int slot) const override { return Mix_Playing(slot) != 0; }
    void setEffectVolume(int slot, float volume) override { Mix_Volume(slot, mixVolume(volume)); }

    void playMusic(int slot) override { Mix_PlayMusic(music_[slot], -1); }
    void rewindMusic() override { Mix_RewindMusic(); }
    void stopMusic() override { Mix_HaltMusic(); }
    bool musicPlaying() const override { return Mix_PlayingMusic() != 0; }
    void setMusicVolume(float volume) override { Mix_VolumeMusic(mixVolume(volume)); }

    void beep() override {
        if (beep_) Mix_PlayChannel(kBeepChannel, beep_, 0);
    }

  private:
    std::array<Mix_Chunk*, rules::kSoundCount> effects_{};
    std::array<Mix_Music*, rules::kSoundCount> music_{};
    std::vector<int16_t> beepSamples_;  // the beep chunk plays straight from these
    Mix_Chunk* beep_ = nullptr;
};

}  // namespace

std::unique_ptr<AudioBackend> openMixerBackend() {
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) return nullptr;
    Mix_Init(MIX_INIT_OGG);
    // No format changes allowed: SDL converts to whatever the device wants, and the mixer (and the
    // beep) can count on 16-bit stereo at 44100 Hz.
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kChunkFrames, nullptr, 0) != 0) {
        Mix_Quit();
        return nullptr;
    }
    return std::make_unique<MixerBackend>();
}

}  // namespace present
