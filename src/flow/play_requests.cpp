#include "flow/play_requests.hpp"

#include <algorithm>

#include "flow/persistence.hpp"
#include "flow/play_view.hpp"
#include "present/blitter.hpp"
#include "present/layout.hpp"

namespace flow {

namespace {

constexpr uint32_t kExplodeTipDelayMs = 700;
constexpr uint32_t kLevelTipDelayMs = 500;
constexpr uint32_t kSweepMs = 2100;
constexpr uint32_t kSweepStepMs = 150;
// The frame's arrows light up one after another, one and a half times round.
constexpr int kSweepOrder[] = {3, 7, 1, 5, 0, 4, 2, 6, 3, 7, 1, 5, 0, 4};
constexpr int kFiguresTipEvents = 3;

// The level-start tips: which bonus property of the level's mode opens which dialog, in this order.
struct LevelTip {
    int property;
    int32_t dialog;
};
constexpr LevelTip kLevelTips[] = {
    {0, DialogExpiryTip}, {1, DialogScoreBoostTip}, {2, DialogUniversalTip}, {3, DialogColorTip}, {5, DialogFreezeTip},
};

void due(Game& game, DueDialog dialog) { game.play.dialogsDue.push_back(dialog); }

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

}  // namespace

void checkExplodeTip(Game& game) {
    rules::RuleRequests& requests = game.rules.requests;
    if (!requests.explodeTipPending) return;
    if (rules::elapsedSince(game.services.now(), requests.explodeTipAt) <= kExplodeTipDelayMs) return;
    requests.explodeTipPending = false;
    due(game, {DialogExplodeTip, DialogBackdrop::Screen, true, {}});
}

void checkPlayTips(Game& game) {
    rules::GameState& rules = game.rules;
    PlayScreenState& play = game.play;
    const uint32_t now = game.services.now();
    const bool tips = rules.player.toShowTips;
    const int level = rules.level.currentLevel;

    if (rules.chain.matchEvents == kFiguresTipEvents && level == 1 && rules.gameMode == rules::GameMode::ActionPuzzle && tips) {
        ++rules.chain.matchEvents;  // so that it comes once
        due(game, {DialogFiguresTip, DialogBackdrop::Screen, true, {}});
    }

    if (play.tipPending && tips && rules::elapsedSince(now, play.tipTimerAt) > kLevelTipDelayMs) {
        play.tipPending = false;
        const auto& first = rules.bonusFirstLevel[static_cast<size_t>(rules.gameMode)];
        // A level that is the first of several kinds stacks their tips, the last one on top.
        for (const LevelTip& tip : kLevelTips)
            if (first[static_cast<size_t>(tip.property)] == level) due(game, {tip.dialog, DialogBackdrop::Screen, true, {}});
        rules.playState = rules::StatePlaying;
    }

    // Before sweepStartAt the unsigned difference is huge, so nothing happens.
    const uint32_t sinceSweep = rules::elapsedSince(now, play.sweepStartAt);
    if (sinceSweep < kSweepMs) rules.playGlow[static_cast<size_t>(kSweepOrder[sinceSweep / kSweepStepMs])] = {1, 0};
}

void serveRuleRequests(Game& game) {
    rules::GameState& rules = game.rules;
    rules::RuleRequests& requests = rules.requests;
    PlayScreenState& play = game.play;

    if (requests.startGameMusic) {
        requests.startGameMusic = false;
        game.sound.startGameMusic(game.random);
    }

    for (const rules::BonusFlightRequest& flight : requests.bonusFlights) {
        const present::Pos start = present::layout::kRuneSlots[static_cast<size_t>(std::clamp(flight.startSlot, 0, 17))];
        addBonusFlight(play, start, present::layout::ballAt(flight.column, flight.row), flight.pictureRow);
    }
    requests.bonusFlights.clear();

    if (requests.recordRun) {
        // Play of a level begins: the saved run holds the board as it starts.
        requests.recordRun = false;
        recordRun(game);
        saveAll(game);
    }

    if (requests.shuffleTip) {
        requests.shuffleTip = false;
        due(game, {DialogShuffleTip, DialogBackdrop::Screen, true, {}});
    }

    if (requests.stuckDialog) {
        requests.stuckDialog = false;
        // Closing this dialog is the only way on from it, and it loses the level.
        play.stuckLost = true;
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
