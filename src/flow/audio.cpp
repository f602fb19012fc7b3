#include "flow/audio.hpp"

namespace flow {

present::VolumeLevels volumeLevels(const Game& game) {
    return {game.profiles.soundVolume, game.profiles.musicVolume, game.rules.settings.maxMusicVolume};
}

void applyVolumes(Game& game, present::Volumes which) { game.sound.applyVolumes(which, volumeLevels(game)); }

}  // namespace flow
