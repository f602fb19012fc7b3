#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "data/game_folder.hpp"
#include "game/clock.hpp"
#include "game/random.hpp"
#include "game/sound_ids.hpp"

namespace present {

class AudioBackend;

struct SoundLogEntry {
    int64_t tick;
    rules::SoundId id;
    bool play;  // false: stop
};

enum class Volumes { Off, On };

// The two volume settings (percent) and the music limit from the level file.
struct VolumeLevels {
    int32_t soundVolume = 50;
    int32_t musicVolume = 50;
    double musicLimit = 0.65;
};

// The sound table's file for `id`, as the game names it ("mfx//vleft.ogg").
const char* soundFile(rules::SoundId id);
// 30..34 are the looping music streams that share the one music slot; 0..29 are effects.
constexpr bool isMusic(rules::SoundId id) { return id >= rules::SoundMenuMusic && id < rules::kSoundCount; }

// The game's 35 streams over SDL_mixer (or the simulated mixer of lumerik-sim). Effects are decoded
// into memory and each has its own channel, so playing one that is still playing starts it over.
// The music streams share the one music slot; a stream knows whether it holds the slot, so stopping
// a track that is not playing never stops another. Without a device, or for a file that did not
// load, every operation does nothing.
class SoundSystem final : public rules::SoundSink {
  public:
    SoundSystem();
    ~SoundSystem() override;
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Opens the default audio device. False when there is none: the game then runs silent.
    bool openAudio();
    // Nothing is heard: every stream plays for its decoded length on `clock`, music repeats. The
    // simulated mixer also keeps the full log of plays and stops.
    void openSimulatedAudio(const rules::Clock& clock);
    bool hasDevice() const { return backend_ != nullptr; }
    // Stops everything and lets the device go.
    void closeAudio();

    // Opens all 35 streams from the game folder, in table order.
    void loadSounds(const data::GameFolder& folder);
    // Restarts the stream when it is playing, otherwise plays it.
    void playSound(rules::SoundId id);
    // Stops and rewinds, so the next play starts at the beginning.
    void stopSound(rules::SoundId id);
    // Off silences every stream (they go on playing); On sets the effects to soundVolume percent and
    // the music to musicVolume percent times the music limit.
    void applyVolumes(Volumes which, const VolumeLevels& levels = {});
    // Starts one of the four game tracks at random, never the one chosen last time.
    void startGameMusic(rules::Random& random);
    // At exit: every stream stops.
    void stopAll();
    // The 4000 Hz, 100 ms tone of a picture that does not decode.
    void beep();

    void play(rules::SoundId id) override { playSound(id); }
    void stop(rules::SoundId id) override { stopSound(id); }
    bool isPlaying(rules::SoundId id) const override;

    bool loaded(rules::SoundId id) const;
    float volume(rules::SoundId id) const;
    // The music stream holding the slot, if any.
    std::optional<rules::SoundId> musicOwner() const;
    // The game track started last, if any.
    std::optional<rules::SoundId> lastGameTrack() const;

    // Every play and stop asked for so far, stamped with the frame tick number the caller sets. Only
    // kept once keepLog has been called (the simulator does): a running game would grow it forever.
    const std::vector<SoundLogEntry>& log() const { return log_; }
    void keepLog(bool keep = true) { keepLog_ = keep; }
    std::vector<rules::SoundId> playingNow() const;
    void setTickNumber(int64_t tick) { tick_ = tick; }

  private:
    bool usable(rules::SoundId id) const;

    std::unique_ptr<AudioBackend> backend_;
    std::array<bool, rules::kSoundCount> loaded_{};
    std::array<float, rules::kSoundCount> volume_{};
    int musicOwner_ = -1;
    int lastGameTrack_ = -1;
    std::vector<SoundLogEntry> log_;
    bool keepLog_ = false;
    int64_t tick_ = 0;
};

}  // namespace present
