#include "flow/window_proc.hpp"

#include "flow/audio.hpp"
#include "flow/current_player.hpp"
#include "flow/display_steps.hpp"
#include "flow/menu_actions.hpp"
#include "flow/persistence.hpp"
#include "flow/screen_frames.hpp"
#include "game/falling.hpp"
#include "game/moves.hpp"
#include "game/pause.hpp"
#include "game/shuffle.hpp"
#include "present/layout.hpp"
#include "present/menus.hpp"

namespace flow {

namespace {

using present::InputEvent;
namespace menu = present::menu;

constexpr uint32_t kIntermissionSkipMs = 3500;
// The arrow keys press the player list's arrows; these rows lie outside the list.
constexpr int kListKeyDownY = 106;
constexpr int kListKeyUpY = 478;

bool menuShows(const Game& game, int32_t screen) {
    return activeScreen(game) == ActiveScreen::Menu && game.screens.menuScreen == screen;
}

// Board input acts only on the play screen itself: a menu or dialog over it, the pause screen
// and the title all hide the board.
bool boardShows(const Game& game) { return activeScreen(game) == ActiveScreen::Play; }

rules::Direction directionOf(present::MouseButton button) {
    return button == present::MouseButton::Left ? rules::Direction::CounterClockwise : rules::Direction::Clockwise;
}

bool inside(const rules::Rect& r, present::Point p) { return p.x >= r.x && p.x < r.x + r.w && p.y >= r.y && p.y < r.y + r.h; }

void selectInPlayerList(Game& game, int y) {
    if (!menuShows(game, menu::ScreenChoosePlayer)) return;
    present::selectInList(game.playerScreen.selection, game.playerScreen.firstVisible,
                          static_cast<int>(game.profiles.players.size()), game.screens.menuLive, y);
}

// An arrow key works the list's arrow as a press would, leaving the pointer's hover as it was.
void pressListArrowByKey(Game& game, present::Key key) {
    present::MenuLiveState& live = game.screens.menuLive;
    const bool downHover = live.listDownHover, downPressed = live.listDownPressed, upHover = live.listUpHover,
               upPressed = live.listUpPressed;
    live.listDownHover = key == present::Key::Down;
    live.listUpHover = key == present::Key::Up;
    selectInPlayerList(game, key == present::Key::Down ? kListKeyDownY : kListKeyUpY);
    live.listDownHover = downHover;
    live.listUpHover = upHover;
    if (key == present::Key::Down) live.listDownPressed = downPressed;
    if (key == present::Key::Up) live.listUpPressed = upPressed;
}

void handleKey(Game& game, const InputEvent& event) {
    rules::GameState& rules = game.rules;
    if (rules.playState == rules::StatePaused) {
        rules::resumeLevel(rules, game.services);
        return;
    }
    if (event.key == present::Key::Down || event.key == present::Key::Up) {
        pressListArrowByKey(game, event.key);
        return;
    }
    if (!boardShows(game) || rules.playState != rules::StatePlaying) return;
    if (event.key == present::Key::Left) rules::turnBoard(rules, game.services, rules::Direction::CounterClockwise);
    if (event.key == present::Key::Right) rules::turnBoard(rules, game.services, rules::Direction::Clockwise);
}

void handleCharacter(Game& game, const InputEvent& event) {
    if (boardShows(game) && game.rules.playState == rules::StatePlaying) {
        if (event.character == 's' || event.character == 'S') rules::shuffle(game.rules, game.services);
        return;
    }
    // Typing goes to the name only while the name screen shows: not under the opening logos, nor
    // under a dialog opened over it.
    if (game.playerScreen.nameEntryActive && menuShows(game, menu::ScreenEnterName)) typeNameCharacter(game, event.character);
}

void pressOptionsControl(Game& game, present::Point p) {
    present::MenuLiveState& live = game.screens.menuLive;
    if (menu::kMusicSliderArea.contains(p.x, p.y)) live.musicSliderDrag = true;
    if (menu::kSoundSliderArea.contains(p.x, p.y)) live.soundSliderDrag = true;
    if (menu::kOptionBoxAreas[0].contains(p.x, p.y)) setOwnCursorWanted(game, !ownCursorWanted(game));
    if (menu::kOptionBoxAreas[1].contains(p.x, p.y)) setTipsWanted(game, !tipsWanted(game));
    if (menu::kOptionBoxAreas[2].contains(p.x, p.y)) toggleWindowMode(game);
}

void pressMenu(Game& game, present::Point p) {
    ScreenState& screens = game.screens;
    selectInPlayerList(game, p.y);
    if (screens.menuScreen == menu::ScreenOptions) pressOptionsControl(game, p);
    if (screens.menuScreen == menu::ScreenHelpRules && menu::kHelpBoxArea.contains(p.x, p.y))
        setHelpBeforeGame(game, !helpBeforeGame(game));
    // The options' full-screen box may have opened a dialog: the buttons are those of the screen now shown.
    const int action = present::menuActionAt(screens.menuScreen, screens.dialogId, p);
    if (action < 0) return;
    game.sound.play(rules::SoundMouseClick);
    runMenuAction(game, action);
}

void pressPlayScreen(Game& game, const InputEvent& event, present::Point p) {
    rules::GameState& rules = game.rules;
    namespace layout = present::layout;
    const bool playing = rules.playState == rules::StatePlaying;
    if (inside(layout::kPlayButtons[layout::kBackButton].rect, p)) {
        if (playing) leaveGameForTitle(game);
        game.sound.play(rules::SoundMouseClick);
        return;
    }
    if (inside(layout::kPlayButtons[layout::kShuffleButton].rect, p)) {
        if (!playing) return;
        game.sound.play(rules::SoundMouseClick);
        rules::shuffle(rules, game.services);
        return;
    }
    if (inside(layout::kPlayButtons[layout::kPauseButton].rect, p)) {
        if (playing) {
            rules.playState = rules::StatePaused;
            rules::pauseLevel(rules, game.services);
        }
        game.sound.play(rules::SoundMouseClick);
        return;
    }
    if (inside(layout::kPlayButtons[layout::kOptionsButton].rect, p)) {
        if (!playing) return;
        openMenuScreen(game, menu::ScreenOptions);
        holdLevelClock(game);
        game.sound.play(rules::SoundMouseClick);
        return;
    }
    if (!rules::needsFall(rules)) rules::turnBlock(rules, game.services, p.x, p.y, directionOf(event.button));
}

void handlePress(Game& game, const InputEvent& event) {
    rules::GameState& rules = game.rules;
    // A click cuts the intermission short: its start moves later, so the elapsed time, an unsigned
    // difference, is past the limit on the next tick.
    if (rules.playState == rules::StateIntermission) game.screens.intermissionStartedAt += kIntermissionSkipMs;
    if (rules.playState == rules::StatePaused) {
        rules::resumeLevel(rules, game.services);
        return;
    }
    const present::Point p = present::cursorToClient(game.platform);
    switch (activeScreen(game)) {
        case ActiveScreen::Logo: game.screens.logoClicked = true; return;
        case ActiveScreen::Paused: return;
        case ActiveScreen::Menu:
            if (event.button == present::MouseButton::Left) pressMenu(game, p);
            return;
        case ActiveScreen::Play:
            if (event.button == present::MouseButton::Left)
                pressPlayScreen(game, event, p);
            else if (!rules::needsFall(rules))
                rules::turnBlock(rules, game.services, p.x, p.y, rules::Direction::Clockwise);
            return;
        case ActiveScreen::Title: {
            if (event.button != present::MouseButton::Left) return;
            const int button = titleButtonPressed(p);
            if (button < 0) return;
            game.sound.play(rules::SoundMouseClick);
            pressTitleButton(game, button);
            return;
        }
    }
}

// The second press of a double click turns the block under the pointer inside the inner area, and
// is offered to the frame's arrows outside it. It neither resumes a pause nor turns a settling board.
void handleDoubleClick(Game& game, const InputEvent& event) {
    rules::GameState& rules = game.rules;
    if (event.button == present::MouseButton::Left) selectInPlayerList(game, event.at.y);
    if (!boardShows(game) || rules::needsFall(rules)) return;
    const present::Point at = present::cursorToClient(game.platform);
    if (inside(present::layout::kDoubleClickArea, at))
        rules::turnBlock(rules, game.services, at.x, at.y, directionOf(event.button));
    else
        rules::turnBoardAt(rules, game.services, at.x, at.y);
}

void handleRelease(Game& game) {
    present::MenuLiveState& live = game.screens.menuLive;
    live.listDownPressed = false;
    live.listUpPressed = false;
    live.musicSliderDrag = false;
    live.soundSliderDrag = false;
}

}  // namespace

void deactivate(Game& game) {
    game.app.suspended = true;
    // A tip or the options screen may already hold the level clock: pausing it again would restart
    // the pause and turn the bonus ages back into stamps.
    if (game.rules.playState == rules::StatePlaying && !levelClockHeld(game.screens)) {
        rules::pauseLevel(game.rules, game.services);
        game.app.pausedByFocus = true;
    }
    game.app.graphicsLoaded = false;
    // In the background the game is silent; the streams go on, so the music resumes where it was.
    applyVolumes(game, present::Volumes::Off);
    present::freeRiseImage(game.pictures);
    if (!game.app.closing) game.platform.minimise();
}

void activate(Game& game) {
    if (!game.app.suspended) return;
    game.app.suspended = false;
    applyVolumes(game, present::Volumes::On);
    if (game.app.pausedByFocus) {
        game.app.pausedByFocus = false;
        rules::resumeLevel(game.rules, game.services);
    }
    game.app.activatedAt = game.platform.clock().now();
}

void handleEvent(Game& game, const InputEvent& event) {
    using Type = InputEvent::Type;
    if (game.app.suspended) {
        // Input in the background first brings the game back; the message itself does nothing more.
        if (event.type == Type::ButtonDown || event.type == Type::KeyDown || event.type == Type::Character) {
            activate(game);
            return;
        }
        if (event.type == Type::ButtonUp) return;
    }
    switch (event.type) {
        case Type::FocusLost: deactivate(game); break;
        case Type::FocusGained: activate(game); break;
        case Type::Close:
        case Type::Quit:
            game.app.closing = true;
            game.app.quitRequested = true;
            game.app.exitCode = 0;
            break;
        case Type::KeyDown: handleKey(game, event); break;
        case Type::ButtonDown:
            if (event.clicks >= 2)
                handleDoubleClick(game, event);
            else
                handlePress(game, event);
            break;
        case Type::ButtonUp: handleRelease(game); break;
        case Type::AltEnter: toggleWindowMode(game); break;
        case Type::Character: handleCharacter(game, event); break;
        case Type::Tick: break;
    }
}

}  // namespace flow
