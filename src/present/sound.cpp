#include "present/sound.hpp"

#include <algorithm>

#include "present/sound_backend.hpp"

namespace present {

namespace {

constexpr const char* kSoundFiles[rules::kSoundCount] = {
    "mfx//vleft.ogg",
    "mfx//vright.OGG",
    "mfx//poleleft.OGG",
    "mfx//poleright.OGG",
    "mfx//explode.OGG",
    "mfx//color.OGG",
    "mfx//score.OGG",
    "mfx//freeze.OGG",
    "mfx//bonus_appear.OGG",
    "mfx//shuffle.OGG",
    "mfx//fall_level.OGG",
    "mfx//runeshine.OGG",
    "mfx//newballs.OGG",
    "mfx//disappear.OGG",
    "mfx//falling//falling0.OGG",
    "mfx//falling//falling1.OGG",
    "mfx//falling//falling2.OGG",
    "mfx//falling//falling3.OGG",
    "mfx//falling//falling4.OGG",
    "mfx//mouseover.OGG",
    "mfx//mouseclick.OGG",
    "mfx//mouseRotation.OGG",
    "mfx//combo//combo1.OGG",
    "mfx//combo//combo2.OGG",
    "mfx//combo//combo3.OGG",
    "mfx//combo//combo4.OGG",
    "mfx//combo//combo5.OGG",
    "mfx//combo//combo6.OGG",
    "mfx//combo//combo7.OGG",
    "mfx//music//music_level.OGG",
    "mfx//music//menu.OGG",
    "mfx//music//action.OGG",
    "mfx//music//puzzle.OGG",
    "mfx//music//space.OGG",
    "mfx//music//strategy.OGG",
};

constexpr int kGameTracks = 4;
// A draw that keeps hitting the last track gives way to the next one rather than looping on.
constexpr int kMaxTrackDraws = 64;

// Effects are decoded whole into memory. A file far larger than any effect is not one, and decoding
// it could take all the memory there is; the mixer would even read a garbage file whole.
constexpr uintmax_t kMaxEffectFileBytes = 8u << 20;

bool plausibleEffect(const std::filesystem::path& file) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(file, ec);
    return !ec && size <= kMaxEffectFileBytes;
}

bool inTable(rules::SoundId id) { return id >= 0 && id < rules::kSoundCount; }

// A damaged profile or level file must not push a stream past full volume or below silence.
float clampedVolume(double volume) { return static_cast<float>(std::clamp(volume, 0.0, 1.0)); }

}  // namespace

const char* soundFile(rules::SoundId id) { return inTable(id) ? kSoundFiles[id] : ""; }

SoundSystem::SoundSystem() { volume_.fill(1.0f); }

SoundSystem::~SoundSystem() { closeAudio(); }

bool SoundSystem::openAudio() {
    closeAudio();
    backend_ = openMixerBackend();
    return backend_ != nullptr;
}

void SoundSystem::openSimulatedAudio(const rules::Clock& clock) {
    closeAudio();
    backend_ = makeSimulatedBackend(clock);
    keepLog();
}

void SoundSystem::closeAudio() {
    if (!backend_) return;
    for (int id = 0; id < rules::kEffectCount; ++id)
        if (loaded_[id]) backend_->stopEffect(id);
    backend_->stopMusic();
    backend_.reset();
    loaded_.fill(false);
    musicOwner_ = -1;
}

void SoundSystem::loadSounds(const data::GameFolder& folder) {
    if (!backend_) return;
    for (int id = 0; id < rules::kSoundCount; ++id) {
        const auto sid = static_cast<rules::SoundId>(id);
        const std::filesystem::path file = folder.resolve(kSoundFiles[id]);
        if (isMusic(sid))
            loaded_[id] = backend_->loadMusic(id, file);
        else
            loaded_[id] = plausibleEffect(file) && backend_->loadEffect(id, file);
    }
}

bool SoundSystem::usable(rules::SoundId id) const { return backend_ && inTable(id) && loaded_[id]; }

void SoundSystem::playSound(rules::SoundId id) {
    if (!inTable(id)) return;
    if (keepLog_) log_.push_back({tick_, id, true});
    if (!usable(id)) return;
    if (!isMusic(id)) {
        backend_->playEffect(id);
        return;
    }
    if (musicOwner_ == id && backend_->musicPlaying()) {
        backend_->rewindMusic();
        return;
    }
    backend_->playMusic(id);
    musicOwner_ = id;
    backend_->setMusicVolume(volume_[id]);
}

void SoundSystem::stopSound(rules::SoundId id) {
    if (!inTable(id)) return;
    if (keepLog_) log_.push_back({tick_, id, false});
    if (!usable(id)) return;
    if (!isMusic(id)) {
        backend_->stopEffect(id);
    } else if (musicOwner_ == id) {
        backend_->stopMusic();
        musicOwner_ = -1;
    }
}

bool SoundSystem::isPlaying(rules::SoundId id) const {
    if (!usable(id)) return false;
    if (isMusic(id)) return musicOwner_ == id && backend_->musicPlaying();
    return backend_->effectPlaying(id);
}

void SoundSystem::applyVolumes(Volumes which, const VolumeLevels& levels) {
    // Formed in double precision, handed on in single precision.
    const float effects = which == Volumes::On ? clampedVolume(levels.soundVolume * 0.01) : 0.0f;
    const float music = which == Volumes::On ? clampedVolume(levels.musicVolume * 0.01 * levels.musicLimit) : 0.0f;
    for (int id = 0; id < rules::kSoundCount; ++id) {
        const auto sid = static_cast<rules::SoundId>(id);
        volume_[id] = isMusic(sid) ? music : effects;
        if (usable(sid) && !isMusic(sid)) backend_->setEffectVolume(id, volume_[id]);
    }
    if (backend_ && musicOwner_ >= 0) backend_->setMusicVolume(volume_[musicOwner_]);
}

void SoundSystem::startGameMusic(rules::Random& random) {
    for (int id = rules::SoundMusicAction; id <= rules::SoundMusicStrategy; ++id) stopSound(static_cast<rules::SoundId>(id));
    int choice = random.mod(kGameTracks);
    for (int draws = 1; rules::SoundMusicAction + choice == lastGameTrack_; ++draws)
        choice = draws < kMaxTrackDraws ? random.mod(kGameTracks) : (choice + 1) % kGameTracks;
    const auto track = static_cast<rules::SoundId>(rules::SoundMusicAction + choice);
    stopSound(track);
    playSound(track);
    lastGameTrack_ = track;
}

void SoundSystem::stopAll() {
    for (int id = 0; id < rules::kSoundCount; ++id) stopSound(static_cast<rules::SoundId>(id));
}

void SoundSystem::beep() {
    if (backend_) backend_->beep();
}

bool SoundSystem::loaded(rules::SoundId id) const { return inTable(id) && loaded_[id]; }

float SoundSystem::volume(rules::SoundId id) const { return inTable(id) ? volume_[id] : 0.0f; }

std::optional<rules::SoundId> SoundSystem::musicOwner() const {
    if (musicOwner_ < 0) return std::nullopt;
    return static_cast<rules::SoundId>(musicOwner_);
}

std::optional<rules::SoundId> SoundSystem::lastGameTrack() const {
    if (lastGameTrack_ < 0) return std::nullopt;
    return static_cast<rules::SoundId>(lastGameTrack_);
}

std::vector<rules::SoundId> SoundSystem::playingNow() const {
    std::vector<rules::SoundId> playing;
    for (int id = 0; id < rules::kSoundCount; ++id)
        if (isPlaying(static_cast<rules::SoundId>(id))) playing.push_back(static_cast<rules::SoundId>(id));
    return playing;
}

}  // namespace present
