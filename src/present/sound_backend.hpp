#pragma once
#include <filesystem>
#include <memory>

#include "game/clock.hpp"

namespace present {

// What the sound table needs from a mixer. Effects live in memory, each on its own channel, so a
// replay restarts the one copy; music streams share the one music slot. Slots are the table's
// indices; a slot whose load failed is never passed back in.
class AudioBackend {
  public:
    virtual ~AudioBackend() = default;

    virtual bool loadEffect(int slot, const std::filesystem::path& file) = 0;
    virtual bool loadMusic(int slot, const std::filesystem::path& file) = 0;

    // From the start, cutting off the slot's previous play.
    virtual void playEffect(int slot) = 0;
    virtual void stopEffect(int slot) = 0;
    virtual bool effectPlaying(int slot) const = 0;
    virtual void setEffectVolume(int slot, float volume) = 0;

    // Takes the music slot and plays `slot` from the start, repeating.
    virtual void playMusic(int slot) = 0;
    virtual void rewindMusic() = 0;
    virtual void stopMusic() = 0;
    virtual bool musicPlaying() const = 0;
    virtual void setMusicVolume(float volume) = 0;

    // The 4000 Hz, 100 ms tone.
    virtual void beep() = 0;
};

// The default audio device through SDL_mixer; null when there is none. SDL's audio subsystem must be
// initialised first.
std::unique_ptr<AudioBackend> openMixerBackend();

// lumerik-sim's mixer: nothing is heard, every stream plays for its decoded length on `clock`.
std::unique_ptr<AudioBackend> makeSimulatedBackend(const rules::Clock& clock);

}  // namespace present
