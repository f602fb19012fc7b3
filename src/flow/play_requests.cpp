#include "flow/play_requests.hpp"

#include "flow/persistence.hpp"
#include "flow/play_screen.hpp"
#include "game/bonus_kinds.hpp"
#include "present/blitter.hpp"

namespace flow {

namespace {

constexpr uint32_t kExplodeTipDelayMs = 700;

void due(Game& game, DueDialog dialog) { game.play.dialogsDue.push_back(dialog); }

// A tip over the board stops the level clock while it is open.
void dueTip(Game& game, int32_t dialog) { due(game, {dialog, DialogBackdrop::Screen, true, {}}); }

void openDueDialogs(Game& game) {
    // Opening a dialog may rebuild the menu screen, which is free to look at this list: take it first.
    std::vector<DueDialog> dialogs;
    dialogs.swap(game.play.dialogsDue);
    for (const DueDialog& d : dialogs) {
        if (d.backdropPicture)
            present::copyRect(game.pictures.surface(*d.backdropPicture), 0, 0, 0, 0, present::kScreenWidth,
                              present::kScreenHeight, game.display.captureSurface, present::ColourKey::Ignore);
        if (d.pausesClock)
            openDialogPausingClock(game, d.dialog, d.backdrop);
        else
            openDialog(game, d.dialog, d.backdrop);
    }
}

// A level that is the first of its mode to have some kinds of bonus stacks their tips, the last
// one on top: bonuses that expire first, then the kinds in their order.
void dueLevelTips(Game& game) {
    const rules::GameState& rules = game.rules;
    const auto& first = rules.bonusFirstLevel[static_cast<size_t>(rules.gameMode)];
    const int level = rules.level.currentLevel;
    for (int entry = 0; entry < rules::kFirstLevelEntries; ++entry) {
        if (first[static_cast<size_t>(entry)] != level) continue;
        if (entry == rules::kExpiryFirstLevelEntry) dueTip(game, rules::kExpiryTipDialog);
        for (const rules::BonusKindInfo& kind : rules::kBonusKinds)
            if (kind.firstLevelEntry == entry && kind.tipAtLevelStart) dueTip(game, kind.tipDialog);
    }
}

}  // namespace

void serveRuleRequests(Game& game) {
    rules::GameState& rules = game.rules;
    rules::RuleRequests& requests = rules.requests;

    if (requests.startGameMusic) {
        requests.startGameMusic = false;
        game.sound.startGameMusic(game.decoration);
    }

    launchBonusFlights(game);

    if (requests.recordRun) {
        // Play of a level begins: the saved run holds the board as it starts.
        requests.recordRun = false;
        recordRun(game);
        saveAll(game);
    }

    if (requests.explodeTipPending && rules::elapsedSince(game.services.now(), requests.explodeTipAt) > kExplodeTipDelayMs) {
        requests.explodeTipPending = false;
        dueTip(game, rules::bonusKind(rules::BonusExplode).tipDialog);
    }
    if (requests.figuresTip) {
        requests.figuresTip = false;
        dueTip(game, DialogFiguresTip);
    }
    if (requests.levelTips) {
        requests.levelTips = false;
        dueLevelTips(game);
    }
    if (requests.shuffleTip) {
        requests.shuffleTip = false;
        dueTip(game, DialogShuffleTip);
    }

    if (requests.stuckDialog) {
        requests.stuckDialog = false;
        // Closing this dialog is the only way on from it, and it loses the level.
        game.play.stuckLost = true;
        due(game, {DialogNoMoves, DialogBackdrop::BackBuffer, false, {}});
    }

    if (requests.gameComplete) {
        requests.gameComplete = false;
        // The run is recorded as complete (level 0): the player's saved run of the mode ends here,
        // its high-score entry stays.
        recordRun(game);
        saveAll(game);
        due(game, {DialogGameComplete, DialogBackdrop::Prepared, false, present::SurfacePicture::Background5});
    }

    if (game.display.windowedRefused) {
        game.display.windowedRefused = false;
        // A message in front of the board stops the level's clock, as a tip does.
        due(game,
            {DialogModeSwitched, DialogBackdrop::Prepared, rules.level.levelRunning, present::SurfacePicture::MenuBackground});
    }

    openDueDialogs(game);
}

}  // namespace flow
