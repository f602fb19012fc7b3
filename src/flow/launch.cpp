#include "flow/launch.hpp"

#include "flow/persistence.hpp"
#include "flow/startup.hpp"

namespace flow {

std::unique_ptr<Game> launchGame(present::Platform& platform, data::GameFolder folder, uint32_t seed,
                                 const std::function<void(Game&)>& openSound) {
    data::Profiles profiles;
    data::HighScores highScores;
    data::loadProfiles(folder, profiles, highScores);
    data::Settings settings = data::loadSettings(folder);
    if (!platform.createWindow(profiles.windowed, settings.machine.window)) return nullptr;

    auto game = std::make_unique<Game>(platform, std::move(folder), seed);
    game->profiles = std::move(profiles);
    game->highScores = std::move(highScores);
    game->settings = std::move(settings);
    loadPlayerTips(*game);
    if (openSound) openSound(*game);
    startGame(*game);
    return game;
}

}  // namespace flow
