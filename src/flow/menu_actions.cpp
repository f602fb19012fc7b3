#include "flow/menu_actions.hpp"

#include "flow/current_player.hpp"
#include "flow/display_steps.hpp"
#include "flow/persistence.hpp"
#include "flow/scene.hpp"
#include "game/modes.hpp"
#include "present/blitter.hpp"

namespace flow {

namespace {

using namespace present::menu;

// Back, with what closing the game-complete and the no-moves dialogs means.
void back(Game& game) {
    const ScreenState& screens = game.screens;
    if (screens.menuScreen == ScreenDialogHost) {
        if (screens.dialogId == DialogGameComplete)
            leaveGameForTitle(game);
        else if (screens.dialogId == DialogNoMoves)
            rules::loseStuckLevel(game.rules);
    }
    closeMenuScreen(game);
}

void showScores(Game& game, rules::GameMode mode) {
    game.rules.gameMode = mode;
    closeMenuScreen(game);
    openMenuScreen(game, ScreenHighScores);
}

void startRunFromTitle(Game& game, rules::GameMode mode) {
    const int32_t level = savedLevel(game, mode);
    if (level >= 2)
        openMenuScreen(game, ScreenStartLater);
    else if (level == 1)
        openMenuScreen(game, ScreenStartLevelOne);
    else
        startNewRun(game);
    if (helpBeforeGame(game)) openMenuScreen(game, ScreenHelpRules);
    // Nothing before this reads the mode, and the level is set up on a later tick.
    game.rules.gameMode = mode;
}

}  // namespace

void runMenuAction(Game& game, int action) {
    switch (action) {
        case ActionQuit:
            game.app.quitRequested = true;
            game.app.exitCode = 0;
            break;
        case ActionBack: back(game); break;
        case ActionAskResetScores: openMenuScreen(game, ScreenResetScores); break;
        case ActionScoresAction: showScores(game, rules::GameMode::Action); break;
        case ActionScoresActionPuzzle: showScores(game, rules::GameMode::ActionPuzzle); break;
        case ActionScoresStrategy: showScores(game, rules::GameMode::Strategy); break;
        case ActionResetScores:
            clearHighScores(game, game.rules.gameMode);
            closeMenuScreen(game);
            break;
        case ActionNewPlayer: beginNameEntry(game, player_list::NameEntryFor::NewPlayer); break;
        case ActionRenamePlayer: beginNameEntry(game, player_list::NameEntryFor::Rename); break;
        case ActionAskDeletePlayer: openMenuScreen(game, ScreenDeletePlayer); break;
        case ActionSaveName:
            saveName(game);
            saveAll(game);
            break;
        case ActionDeletePlayer: deletePlayer(game); break;
        case ActionConfirmPlayer: confirmPlayer(game); break;
        case ActionCancelPlayers: cancelPlayerScreen(game); break;
        case ActionNewGame: startNewRun(game); break;
        case ActionContinueGame: resumeRun(game); break;
        case ActionHelpPage9: openMenuScreen(game, ScreenHelpModes); break;
        case ActionHelpPage10: openMenuScreen(game, ScreenHelpBonuses); break;
        case ActionHelpPage12: openMenuScreen(game, ScreenHelpHints); break;
        case ActionHideTips:
            setTipsWanted(game, false);
            closeMenuScreen(game);
            break;
        case ActionHelpPage14:
            game.screens.menuLive.controlsPage = false;
            closeMenuScreen(game);
            openMenuScreen(game, ScreenHelpMoreHints);
            break;
        case ActionHelpPage12Again:
            // The second page turns to the controls, and they back to the first page.
            game.screens.menuLive.controlsPage = !game.screens.menuLive.controlsPage;
            closeMenuScreen(game);
            openMenuScreen(game, game.screens.menuLive.controlsPage ? ScreenHelpMoreHints : ScreenHelpHints);
            break;
        default: break;
    }
}

void pressTitleButton(Game& game, int button) {
    switch (button) {
        case 0: beginPlayerScreen(game); break;
        case 1: startRunFromTitle(game, rules::GameMode::Action); break;
        case 2: startRunFromTitle(game, rules::GameMode::ActionPuzzle); break;
        case 3: startRunFromTitle(game, rules::GameMode::Strategy); break;
        case 4: openMenuScreen(game, ScreenHighScores); break;
        case 5: openMenuScreen(game, ScreenHelpRules); break;
        case 6: openMenuScreen(game, ScreenOptions); break;
        case 7: openMenuScreen(game, ScreenQuit); break;
        default: break;
    }
}

void toggleOptionBox(Game& game, int box) {
    switch (box) {
        case OptionOwnCursor: setOwnCursorWanted(game, !ownCursorWanted(game)); break;
        case OptionTips: setTipsWanted(game, !tipsWanted(game)); break;
        case OptionColourSymbols:
            setColourSymbolsWanted(game, !colourSymbolsWanted(game));
            game.pictures.symbolsShown = colourSymbolsWanted(game);
            break;
        case OptionMoveHints: setMoveHintsWanted(game, !moveHintsWanted(game)); break;
        case OptionFullScreen: toggleWindowMode(game); break;
        default: break;
    }
}

void toggleWindowMode(Game& game) {
    const bool requested = !game.profiles.windowed;
    game.profiles.windowed = requested;
    switchGameWindowMode(game);
    recomposeScene(game);
    if (game.profiles.windowed == requested) return;
    game.display.windowedRefused = false;
    present::copyRect(game.pictures.surface(present::SurfacePicture::MenuBackground), 0, 0, 0, 0, present::kScreenWidth,
                      present::kScreenHeight, game.display.captureSurface, present::ColourKey::Ignore);
    // A message in front of the board stops the level's clock, as a tip does.
    if (game.screens.base == Screen::Play && game.rules.level.levelRunning)
        openDialogPausingClock(game, DialogModeSwitched, DialogBackdrop::Prepared);
    else
        openDialog(game, DialogModeSwitched, DialogBackdrop::Prepared);
}

}  // namespace flow
