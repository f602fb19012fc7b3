#include "flow/window_proc.hpp"

#include <cctype>
#include <filesystem>
#include <optional>
#include <utility>

#include "flow/audio.hpp"
#include "flow/current_player.hpp"
#include "flow/display_steps.hpp"
#include "flow/menu_actions.hpp"
#include "flow/navigation.hpp"
#include "flow/persistence.hpp"
#include "flow/replay_recorder.hpp"
#include "flow/screen_frames.hpp"
#include "game/falling.hpp"
#include "game/frame.hpp"
#include "game/moves.hpp"
#include "game/pause.hpp"
#include "game/shuffle.hpp"
#include "present/layout.hpp"
#include "present/menus.hpp"

namespace flow {

namespace {

using present::InputEvent;
namespace menu = present::menu;

bool menuShows(const Game& game, int32_t screen) {
    return activeScreen(game) == Screen::Menu && game.screens.menuScreen == screen;
}

// Board input acts only on the play screen itself: a menu or dialog over it, the pause screen
// and the title all hide the board.
bool boardShows(const Game& game) { return activeScreen(game) == Screen::Play; }

rules::Direction directionOf(present::MouseButton button) {
    return button == present::MouseButton::Left ? rules::Direction::CounterClockwise : rules::Direction::Clockwise;
}

// A press on the player list: on a row it selects that row, on an arrow it moves the selection
// one row and the arrow shows pressed until the button comes up.
void pressPlayerList(Game& game, present::Point p) {
    if (!menuShows(game, menu::ScreenChoosePlayer)) return;
    player_list::PlayerScreen& list = game.playerScreen;
    const int players = static_cast<int>(game.profiles.players.size());
    present::selectListRow(list.selection, list.firstVisible, players, p.y);
    const present::ListArrow arrow = present::listArrowAt(p);
    present::MenuLiveState& live = game.screens.menuLive;
    if (arrow == present::ListArrow::Up) live.listUpPressed = true;
    if (arrow == present::ListArrow::Down) live.listDownPressed = true;
    present::stepListSelection(list.selection, list.firstVisible, players, arrow);
}

// The Up and Down keys move the player list's selection as its arrows do.
void stepPlayerListByKey(Game& game, present::Key key) {
    if (!menuShows(game, menu::ScreenChoosePlayer)) return;
    present::stepListSelection(game.playerScreen.selection, game.playerScreen.firstVisible,
                               static_cast<int>(game.profiles.players.size()),
                               key == present::Key::Up ? present::ListArrow::Up : present::ListArrow::Down);
}

// The character a key also types, which the key that resumes a pause must not type: S would buy a
// shuffle as play resumes.
uint8_t characterOfKey(const InputEvent& event) {
    switch (event.key) {
        case present::Key::Letter: return static_cast<uint8_t>(std::tolower(event.character));
        case present::Key::Return: return 13;
        case present::Key::Backspace: return 8;
        default: return 0;
    }
}

void handleKey(Game& game, const InputEvent& event) {
    rules::GameState& rules = game.rules;
    if (game.screens.base == Screen::Pause) {
        resumeGame(game);
        game.app.swallowedCharacter = characterOfKey(event);
        return;
    }
    if (handleNavigationKey(game, event)) return;
    if (event.key == present::Key::Down || event.key == present::Key::Up) {
        stepPlayerListByKey(game, event.key);
        return;
    }
    if (!boardShows(game) || rules.playState != rules::StatePlaying) return;
    if (event.key == present::Key::Letter && event.character == 'H') game.play.hintAsked = true;
    if (event.key == present::Key::Left) rules::turnBoard(rules, game.services, rules::Direction::CounterClockwise);
    if (event.key == present::Key::Right) rules::turnBoard(rules, game.services, rules::Direction::Clockwise);
}

void handleCharacter(Game& game, const InputEvent& event) {
    const uint8_t swallowed = std::exchange(game.app.swallowedCharacter, 0);
    if (swallowed != 0 && std::tolower(event.character) == swallowed) return;
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
    if (menu::kMusicSliderArea.containsInclusive(p)) live.musicSliderDrag = true;
    if (menu::kSoundSliderArea.containsInclusive(p)) live.soundSliderDrag = true;
    // In the order of the boxes: full screen, which may open a dialog, comes after the others.
    for (int box :
         {menu::OptionOwnCursor, menu::OptionTips, menu::OptionColourSymbols, menu::OptionMoveHints, menu::OptionFullScreen})
        if (menu::kOptionBoxAreas[static_cast<size_t>(box)].containsInclusive(p)) toggleOptionBox(game, box);
}

// A click on a high-score row asks to watch the best level of that entry's run, when one is kept.
void pressHighScoreRow(Game& game, present::Point p) {
    const menu::MenuLayout& l = menu::kMenuLayouts[menu::ScreenHighScores];
    const int x = p.x - l.x - menu::kScoreRowX;
    const int y = p.y - l.y - menu::kScoreRowY;
    if (x < 0 || x >= l.fieldWidth() || y < 0 || y >= menu::kScoreRows * menu::kScoreRowPitch) return;
    if (std::optional<std::filesystem::path> file =
            highScoreReplay(game, game.rules.gameMode, static_cast<size_t>(y / menu::kScoreRowPitch))) {
        game.sound.play(rules::SoundMouseClick);
        game.replays.watchRequest = std::move(*file);
    }
}

void pressMenu(Game& game, present::Point p) {
    ScreenState& screens = game.screens;
    pressPlayerList(game, p);
    if (screens.menuScreen == menu::ScreenOptions) pressOptionsControl(game, p);
    if (screens.menuScreen == menu::ScreenHelpRules && menu::kHelpBoxArea.containsInclusive(p))
        setHelpBeforeGame(game, !helpBeforeGame(game));
    // The options' full-screen box may have opened a dialog: the buttons are those of the screen now shown.
    const int action = present::menuActionAt(screens.menuScreen, screens.dialogId, p);
    if (action < 0 && screens.menuScreen == menu::ScreenHighScores) pressHighScoreRow(game, p);
    if (action < 0) return;
    game.sound.play(rules::SoundMouseClick);
    runMenuAction(game, action);
}

void pressPlayScreen(Game& game, const InputEvent& event, present::Point p) {
    rules::GameState& rules = game.rules;
    namespace layout = present::layout;
    const bool playing = rules.playState == rules::StatePlaying;
    if (layout::kPlayButtons[layout::kBackButton].rect.contains(p)) {
        if (playing) leaveGameForTitle(game);
        game.sound.play(rules::SoundMouseClick);
        return;
    }
    if (layout::kPlayButtons[layout::kShuffleButton].rect.contains(p)) {
        if (!playing) return;
        game.sound.play(rules::SoundMouseClick);
        rules::shuffle(rules, game.services);
        return;
    }
    if (layout::kPlayButtons[layout::kPauseButton].rect.contains(p)) {
        if (playing) pauseGame(game);
        game.sound.play(rules::SoundMouseClick);
        return;
    }
    if (layout::kPlayButtons[layout::kOptionsButton].rect.contains(p)) {
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
    if (game.screens.base == Screen::Play) rules::skipIntermission(rules);
    if (game.screens.base == Screen::Pause) {
        resumeGame(game);
        return;
    }
    const present::Point p = present::cursorToClient(game.platform);
    switch (activeScreen(game)) {
        case Screen::Logo: game.screens.logoClicked = true; return;
        case Screen::Pause: return;
        case Screen::Menu:
            if (event.button == present::MouseButton::Left) pressMenu(game, p);
            return;
        case Screen::Play:
            if (event.button == present::MouseButton::Left)
                pressPlayScreen(game, event, p);
            else if (!rules::needsFall(rules))
                rules::turnBlock(rules, game.services, p.x, p.y, rules::Direction::Clockwise);
            return;
        case Screen::Title: {
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
    if (event.button == present::MouseButton::Left) pressPlayerList(game, present::cursorToClient(game.platform));
    if (!boardShows(game) || rules::needsFall(rules)) return;
    const present::Point at = present::cursorToClient(game.platform);
    if (present::layout::kDoubleClickArea.contains(at))
        rules::turnBlock(rules, game.services, at.x, at.y, directionOf(event.button));
    else
        rules::turnBoardAt(rules, game.services, at.x, at.y);
}

// A controller's button: on the pause screen any of them resumes, as any key does.
void handlePad(Game& game, const InputEvent& event) {
    if (game.screens.base == Screen::Pause) {
        resumeGame(game);
        return;
    }
    handlePadButton(game, event.pad);
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
    // The level stands still while the window is away, whatever it was doing: a fall, a turn, a
    // shuffle's sweep or its opening. The pause screen, a tip or the options screen may already hold
    // the level clock: pausing it again would restart the pause and turn the bonus ages back into
    // stamps.
    if (game.screens.base == Screen::Play && game.rules.level.levelRunning && !levelClockHeld(game.screens)) {
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
        if (event.type == Type::ButtonDown || event.type == Type::KeyDown || event.type == Type::Character ||
            event.type == Type::PadDown) {
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
            if (!game.app.closing) recordLevelOnClose(game);
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
        case Type::WindowPlaced: recordWindowPlacement(game); break;
        case Type::Character: handleCharacter(game, event); break;
        case Type::PadDown: handlePad(game, event); break;
        case Type::PadDisconnected: padDisconnected(game); break;
        case Type::PadConnected:
        case Type::Tick: break;
    }
}

}  // namespace flow
