#include "flow/current_player.hpp"

#include "flow/persistence.hpp"

namespace flow {

namespace {

// Without a player the options keep their defaults, all on.
bool option(const Game& game, uint8_t data::PlayerProfile::*field) {
    const data::PlayerProfile* player = currentProfile(game);
    return player == nullptr || player->*field != 0;
}

void setOption(Game& game, uint8_t data::PlayerProfile::*field, bool on) {
    if (data::PlayerProfile* player = currentProfile(game)) player->*field = on ? 1 : 0;
}

// A replay shows the recorded player's choices, and a change during it stays with the replay.
data::PlayerOptions settingsOptions(const Game& game) {
    if (game.replays.watching) return game.replays.watchedOptions;
    const data::PlayerProfile* player = currentProfile(game);
    return player == nullptr ? data::PlayerOptions{} : data::playerOptions(game.settings, player->name());
}

void setSettingsOption(Game& game, bool data::PlayerOptions::*field, bool on) {
    if (game.replays.watching)
        game.replays.watchedOptions.*field = on;
    else if (const data::PlayerProfile* player = currentProfile(game))
        game.settings.players[player->name()].*field = on;
}

}  // namespace

// The rules keep a copy of the player's tips switch, in step with the profile every tick.
bool tipsWanted(const Game& game) { return game.rules.player.toShowTips; }

void setTipsWanted(Game& game, bool on) {
    setOption(game, &data::PlayerProfile::toShowTips, on);
    game.rules.player.toShowTips = on;
}

bool ownCursorWanted(const Game& game) { return option(game, &data::PlayerProfile::ownCursor); }
void setOwnCursorWanted(Game& game, bool on) { setOption(game, &data::PlayerProfile::ownCursor, on); }
bool helpBeforeGame(const Game& game) { return option(game, &data::PlayerProfile::showHelpBeforeGame); }
void setHelpBeforeGame(Game& game, bool on) { setOption(game, &data::PlayerProfile::showHelpBeforeGame, on); }

bool colourSymbolsWanted(const Game& game) { return settingsOptions(game).colourSymbols; }
void setColourSymbolsWanted(Game& game, bool on) { setSettingsOption(game, &data::PlayerOptions::colourSymbols, on); }
bool moveHintsWanted(const Game& game) { return settingsOptions(game).moveHints; }
void setMoveHintsWanted(Game& game, bool on) { setSettingsOption(game, &data::PlayerOptions::moveHints, on); }

std::optional<data::WindowPlacement> windowPlacement(const Game& game) { return game.settings.machine.window; }

void setWindowPlacement(Game& game, const data::WindowPlacement& placement) { game.settings.machine.window = placement; }

void recordWindowPlacement(Game& game) {
    if (const std::optional<data::WindowPlacement> placement = game.platform.windowPlacement())
        setWindowPlacement(game, *placement);
}

int32_t savedLevel(const Game& game, rules::GameMode mode) {
    const data::PlayerProfile* player = currentProfile(game);
    return player == nullptr ? 0 : data::savedLevel(*player, mode);
}

std::string currentPlayerName(const Game& game) {
    const data::PlayerProfile* player = currentProfile(game);
    return player == nullptr ? std::string() : player->name();
}

void saveAfterOptions(Game& game) { saveAll(game); }

}  // namespace flow
