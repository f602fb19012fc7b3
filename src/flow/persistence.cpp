#include "flow/persistence.hpp"

#include <string>
#include <vector>

#include "data/runs.hpp"
#include "flow/current_player.hpp"

namespace flow {

namespace {

// The name screen closes only when it is the screen on top: a name committed from anywhere else
// must not close a screen that is not its own.
void closeNameScreen(Game& game) {
    if (game.screens.menuActive && game.screens.menuScreen == ScreenEnterName) closeMenuScreen(game);
}

// The options of names that left the player list go, but not while cancelling the player screen
// can still bring them back.
void forgetUnlistedPlayers(Game& game) {
    std::vector<std::string> names;
    for (const data::PlayerProfile& player : game.profiles.players) names.push_back(player.name());
    if (game.playerScreen.backupTaken)
        for (const data::PlayerProfile& player : game.playerScreen.backupPlayers) names.push_back(player.name());
    data::forgetPlayersBut(game.settings, names);
}

// The name of the player at `index`; empty when there is none.
std::string nameAt(const Game& game, int32_t index) {
    const auto& players = game.profiles.players;
    return index >= 0 && static_cast<size_t>(index) < players.size() ? players[static_cast<size_t>(index)].name() : "";
}

}  // namespace

bool saveAll(Game& game) {
    // A replay is somebody's past game: it never writes the player files.
    if (game.replays.watching) return true;
    syncPlayerTips(game);
    // The four player files first: whatever becomes of the settings file never stands in their way.
    data::WriteResult result = data::saveAll(game.folder, game.profiles, game.highScores);
    forgetUnlistedPlayers(game);
    const data::WriteResult settings = data::saveSettings(game.folder, game.settings, game.profiles.players);
    if (!settings.ok) {
        result.ok = false;
        result.error += (result.error.empty() ? "" : "; ") + settings.error;
    }
    if (!result.ok) game.log.writeLog("saveAll failed, the game goes on unsaved: " + result.error);
    return result.ok;
}

void saveWindowPlacementAtClose(Game& game) {
    recordWindowPlacement(game);
    if (data::loadSettings(game.folder).machine.window == game.settings.machine.window) return;
    forgetUnlistedPlayers(game);
    const data::WriteResult result = data::saveSettings(game.folder, game.settings, game.profiles.players);
    if (!result.ok) game.log.writeLog("the window's place was not saved: " + result.error);
}

void recordRun(Game& game) {
    if (game.replays.watching) return;
    syncPlayerTips(game);
    data::recordRun(game.profiles, game.highScores, game.rules, game.platform.clock().now());
}

void startNewRun(Game& game) {
    data::startNewRun(game.profiles, game.rules, game.random);
    beginPlay(game);
    closeMenuScreen(game);
    game.sound.startGameMusic(game.decoration);
}

void resumeRun(Game& game) {
    data::resumeRun(game.profiles, game.rules, game.random);
    beginPlay(game);
    closeMenuScreen(game);
    game.sound.startGameMusic(game.decoration);
}

void clearHighScores(Game& game, rules::GameMode mode) { data::clearHighScores(game.highScores, mode); }

void beginPlayerScreen(Game& game) {
    player_list::beginPlayerScreen(game.profiles, game.playerScreen);
    openMenuScreen(game, ScreenChoosePlayer);
}

bool beginNameEntry(Game& game, player_list::NameEntryFor what) {
    if (!player_list::beginNameEntry(game.profiles, game.playerScreen, what)) return false;
    openMenuScreen(game, ScreenEnterName);
    return true;
}

void typeNameCharacter(Game& game, uint8_t character) {
    if (player_list::typeNameCharacter(game.playerScreen, character) != player_list::NameKey::Commit) return;
    saveName(game);
    saveAll(game);
}

player_list::SaveNameOutcome saveName(Game& game) {
    syncPlayerTips(game);
    const std::string renamedFrom = nameAt(game, game.playerScreen.renaming);
    const player_list::SaveNameOutcome outcome = player_list::saveName(game.profiles, game.playerScreen, game.log);
    // Both put the player last in the list. A new player starts from the defaults, whatever an
    // earlier player of the name chose.
    if (outcome == player_list::SaveNameOutcome::Renamed)
        data::carryPlayerOptions(game.settings, renamedFrom, game.profiles.players.back().name());
    if (outcome == player_list::SaveNameOutcome::Created) game.settings.players.erase(game.profiles.players.back().name());
    if (outcome == player_list::SaveNameOutcome::Refused)
        game.playerScreen.refusal = game.texts.text(data::TextId::PlayerListFull);
    else
        closeNameScreen(game);
    loadPlayerTips(game);
    return outcome;
}

void deletePlayer(Game& game) {
    syncPlayerTips(game);
    closeMenuScreen(game);
    if (player_list::deletePlayer(game.profiles, game.playerScreen) == player_list::DeleteOutcome::NoPlayersLeft)
        openMenuScreen(game, ScreenEnterName);
    loadPlayerTips(game);
}

void confirmPlayer(Game& game) {
    syncPlayerTips(game);
    player_list::confirmPlayer(game.profiles, game.playerScreen);
    closeMenuScreen(game);
    loadPlayerTips(game);
}

void cancelPlayerScreen(Game& game) {
    syncPlayerTips(game);
    player_list::cancelPlayerScreen(game.profiles, game.playerScreen);
    closeMenuScreen(game);
    loadPlayerTips(game);
}

const data::PlayerProfile* currentProfile(const Game& game) { return data::currentProfile(game.profiles); }

data::PlayerProfile* currentProfile(Game& game) { return data::currentProfile(game.profiles); }

present::CursorShape playerCursor(const Game& game) {
    const data::PlayerProfile* player = currentProfile(game);
    return player == nullptr || player->ownCursor != 0 ? present::CursorShape::Own : present::CursorShape::SystemArrow;
}

void syncPlayerTips(Game& game) {
    // A replay plays with the recorded player's tips, which its rule state holds.
    if (game.replays.watching) return;
    data::PlayerProfile* player = currentProfile(game);
    if (player == nullptr) return;
    game.rules.player.toShowTips = player->toShowTips != 0;
    if (game.rules.player.shuffleTipShown) player->shuffleTipShown = 1;
}

void loadPlayerTips(Game& game) {
    if (game.replays.watching) return;
    const data::PlayerProfile* player = currentProfile(game);
    if (player == nullptr) return;
    game.rules.player.toShowTips = player->toShowTips != 0;
    game.rules.player.shuffleTipShown = player->shuffleTipShown != 0;
}

}  // namespace flow
