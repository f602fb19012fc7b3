#pragma once
#include <cstdint>
#include <vector>

#include "data/game_folder.hpp"
#include "data/gfx_settings.hpp"
#include "data/high_scores.hpp"
#include "data/log.hpp"
#include "data/profiles.hpp"
#include "data/settings.hpp"
#include "data/texts.hpp"
#include "flow/navigation.hpp"
#include "flow/play_state.hpp"
#include "flow/player_list.hpp"
#include "flow/replays.hpp"
#include "flow/screens.hpp"
#include "game/state.hpp"
#include "present/demos.hpp"
#include "present/display.hpp"
#include "present/images.hpp"
#include "present/overlay_text.hpp"
#include "present/pictures.hpp"
#include "present/platform.hpp"
#include "present/sound.hpp"

namespace flow {

// The window, the tick and the diagnostic overlay.
// The window mode and the volumes are the profile file's (Game::profiles).
struct AppState {
    bool suspended = false;
    bool graphicsLoaded = true;
    uint32_t activatedAt = 0;
    uint32_t tickStartedAt = 0;
    int32_t showMainStatus = 0;
    int32_t showFps = 0;
    float displayedFps = 30.0f;
    bool closing = false;  // a close request was seen; deactivation then does not minimise
    bool quitRequested = false;
    int exitCode = 0;
    int64_t tickNumber = 0;      // frame ticks run so far, for the sound log
    bool pausedByFocus = false;  // losing the focus paused the level; regaining it resumes it
    // The character the key that resumed a pause types right after it; it is not typed. Forgotten
    // at the next tick.
    uint8_t swallowedCharacter = 0;
};

// Everything of a running game, made by the entry point (or the simulator, or a test) and passed by
// reference. Declaration order matters: `services` refers to the members above it.
struct Game {
    Game(present::Platform& platform, data::GameFolder folder, uint32_t seed);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    present::Platform& platform;
    data::GameFolder folder;
    data::DiagnosticLog log;
    rules::Random random;  // the game's one generator: the rules and the runs draw from it alone
    // Decoration draws from a generator of its own (the menus' ball colours, music, fireworks, the
    // bonus flights), so the game's sequence depends only on the seed and the player's input.
    rules::Random decoration;
    present::SoundSystem sound;
    rules::Services services;
    present::PictureLoader pictureLoader;

    rules::GameState rules;
    AppState app;
    data::Profiles profiles;  // the machine-wide settings and the players
    data::HighScores highScores;
    data::Settings settings;  // what the profile has no field for: the window's place, more options
    player_list::PlayerScreen playerScreen;
    ScreenState screens;
    PlayScreenState play;
    NavigationState nav;  // the block cursor and the menu focus of the controller and the keys
    data::GraphicsSettings gfx;
    data::TextTables texts;
    std::vector<uint8_t> characterMap;
    present::Display display;
    present::Pictures pictures;
    present::HelpDemos helpDemos;  // the rules help's demonstrations, kept between visits
    present::OverlayFont overlayFont;
    ReplayState replays;
};

}  // namespace flow
