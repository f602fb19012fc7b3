#pragma once
#include "flow/game.hpp"

namespace flow {

// The volumes the game plays at: the player's two settings and the level file's music limit.
present::VolumeLevels volumeLevels(const Game& game);

// Sets every stream's volume from the settings (On) or silences them all (Off).
void applyVolumes(Game& game, present::Volumes which);

}  // namespace flow
