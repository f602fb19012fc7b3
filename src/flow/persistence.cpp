#include "flow/persistence.hpp"

#include "data/runs.hpp"

namespace flow {

namespace {

// The name screen closes only when it is the screen on top: a name committed from anywhere else
// must not close a screen that is not its own.
void closeNameScreen(Game& game) {
    if (game.screens.menuActive && game.screens.menuScreen == ScreenEnterName) closeMenuScreen(game);
}

}  // namespace

bool saveAll(Game& game) {
    syncPlayerTips(game);
    const data::WriteResult result = data::saveAll(game.folder, game.profiles, game.highScores);
    if (!result.ok) game.log.writeLog("saveAll failed, the game goes on unsaved: " + result.error);
    return result.ok;
}

void recordRun(Game& game) {
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
    const player_list::SaveNameOutcome outcome = player_list::saveName(game.profiles, game.playerScreen, game.log);
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
    data::PlayerProfile* player = currentProfile(game);
    if (player == nullptr) return;
    game.rules.player.toShowTips = player->toShowTips != 0;
    if (game.rules.player.shuffleTipShown) player->shuffleTipShown = 1;
}

void loadPlayerTips(Game& game) {
    const data::PlayerProfile* player = currentProfile(game);
    if (player == nullptr) return;
    game.rules.player.toShowTips = player->toShowTips != 0;
    game.rules.player.shuffleTipShown = player->shuffleTipShown != 0;
}

}  // namespace flow
