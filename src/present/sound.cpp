#include "present/sound.hpp"

namespace present {

void SoundSystem::play(game::SoundId id) { log_.push_back({tick_, id, true}); }

void SoundSystem::stop(game::SoundId id) { log_.push_back({tick_, id, false}); }

bool SoundSystem::isPlaying(game::SoundId) const { return false; }

std::vector<game::SoundId> SoundSystem::playingNow() const { return {}; }

}  // namespace present
