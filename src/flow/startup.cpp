#include "flow/startup.hpp"

#include "data/gfx_settings.hpp"
#include "data/levels.hpp"
#include "data/texts.hpp"
#include "flow/audio.hpp"
#include "flow/display_steps.hpp"
#include "flow/persistence.hpp"
#include "flow/replay_recorder.hpp"
#include "game/runes.hpp"

namespace flow {

namespace {
// Where the pointer waits when the opening logos begin.
constexpr present::Point kStartPointer = {450, 360};
}  // namespace

void startGame(Game& game) {
    data::loadGraphicsSettings(game.folder, game.gfx);
    game.overlayFont.open(LUMERIK_OVERLAY_FONT, 13);
    data::loadLevelFile(game.folder, game.rules.levels, game.rules.settings);
    // The level file comes before the pictures: its colours tint the balls.
    loadStartupPictures(game);
    game.app.showMainStatus = game.rules.settings.mainStatus;
    game.app.showFps = game.rules.settings.fps;
    game.app.displayedFps = 30.0f;
    // The sounds, then their volumes (the level file has set the music limit by now).
    game.sound.loadSounds(game.folder);
    applyVolumes(game, present::Volumes::On);
    game.rules.moves.pendingBlockTurn = {};
    game.rules.level.nextLevel = game.rules.settings.startingLevel;
    // After the level file is read: the tips look up the first level of each bonus.
    rules::computeBonusFirstLevels(game.rules);
    // Each effect queue plays as many frames as its strip has.
    for (int strip = 0; strip < data::kStripCount; ++strip) game.rules.effects.frames[strip] = game.gfx.strips[strip].frames;
    present::createLogoSurface(game.display);
    data::loadCharacterMap(game.folder, game.characterMap);
    data::loadTexts(game.folder, game.texts);
    // The first start asks for a name before anything else; the name screen shows once the
    // opening logos have ended.
    if (game.profiles.players.empty()) beginNameEntry(game, player_list::NameEntryFor::NewPlayer);
    game.platform.movePointer(kStartPointer);
    showLogos(game);
}

void shutdownGame(Game& game) {
    finishRecordingOnClose(game);
    game.sound.stopAll();
}

}  // namespace flow
