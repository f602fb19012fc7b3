#include "flow/navigation.hpp"

#include <algorithm>
#include <cstdlib>

#include "flow/audio.hpp"
#include "flow/current_player.hpp"
#include "flow/game.hpp"
#include "flow/menu_actions.hpp"
#include "flow/menu_view.hpp"
#include "flow/persistence.hpp"
#include "game/falling.hpp"
#include "game/frame.hpp"
#include "game/moves.hpp"
#include "game/shuffle.hpp"
#include "present/layout.hpp"
#include "present/menus.hpp"

namespace flow {

namespace {

namespace menu = present::menu;
using present::PadButton;

constexpr int32_t kTitleKey = 1000;
// A push of the d-pad moves a focused volume knob by a twentieth of its track.
constexpr int kKnobStep = menu::kKnobTravel / 20;
constexpr uint8_t kBackspace = 8, kEnter = 13;

// Which screen a focus belongs to: the title, or a menu screen with its dialog.
int32_t screenKey(const Game& game) {
    switch (activeScreen(game)) {
        case Screen::Title: return kTitleKey;
        case Screen::Menu: return game.screens.menuScreen * 100 + game.screens.dialogId;
        default: return -1;
    }
}

rules::Point centre(const rules::Rect& r) { return {r.x + r.w / 2, r.y + r.h / 2}; }

// The nearest control the way the d-pad points: the distance along that way, and twice the
// distance across it, so that a control straight ahead wins over a nearer one off to the side.
int nearestTowards(const std::vector<FocusItem>& items, int from, int dx, int dy) {
    const rules::Point c = centre(items[static_cast<size_t>(from)].area);
    int best = -1;
    long bestScore = 0;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (i == from) continue;
        const rules::Point d = centre(items[static_cast<size_t>(i)].area);
        const long along = dx != 0 ? long{d.x - c.x} * dx : long{d.y - c.y} * dy;
        const long across = dx != 0 ? std::abs(d.y - c.y) : std::abs(d.x - c.x);
        if (along <= 0) continue;
        const long score = along + 2 * across;
        if (best < 0 || score < bestScore) best = i, bestScore = score;
    }
    return best;
}

void setFocus(Game& game, int focus) {
    game.nav.focus = focus;
    game.nav.focusScreen = screenKey(game);
}

void moveKnob(Game& game, int slider, int step) {
    present::VolumeSliders sliders = volumeSliders(game);
    const int32_t originX = menu::kMenuLayouts[menu::ScreenOptions].x;
    int32_t& knob = slider == 0 ? sliders.musicSliderX : sliders.soundSliderX;
    knob = present::clampKnob(knob + step, originX);
    (slider == 0 ? sliders.musicVolume : sliders.soundVolume) = present::knobVolume(knob, originX);
    storeVolumeSliders(game, sliders);
    applyVolumes(game, present::Volumes::On);
}

// A push of the d-pad (or the slider keys) on the title or a menu: the list and the sliders take
// the ways they move along; every other way, and every other control, moves the focus.
void steerFocus(Game& game, int dx, int dy) {
    const std::vector<FocusItem> items = focusItems(game);
    if (items.empty()) return;
    const std::optional<FocusItem> focused = focusedItem(game);
    if (!focused) {
        setFocus(game, 0);
        return;
    }
    if (focused->kind == FocusKind::PlayerList && dy != 0) {
        present::stepListSelection(game.playerScreen.selection, game.playerScreen.firstVisible,
                                   static_cast<int>(game.profiles.players.size()),
                                   dy < 0 ? present::ListArrow::Up : present::ListArrow::Down);
        return;
    }
    if (focused->kind == FocusKind::Slider && dx != 0) {
        moveKnob(game, focused->index, dx * kKnobStep);
        return;
    }
    const int next = nearestTowards(items, game.nav.focus, dx, dy);
    if (next >= 0) setFocus(game, next);
}

void cycleFocus(Game& game, bool backwards) {
    const int count = static_cast<int>(focusItems(game).size());
    if (count == 0) return;
    if (!focusedItem(game)) {
        setFocus(game, backwards ? count - 1 : 0);
        return;
    }
    setFocus(game, (game.nav.focus + (backwards ? count - 1 : 1)) % count);
}

// A, or Return: the focused control does what a click on it does. Without a focus the first
// press only shows one.
void pressFocus(Game& game) {
    const std::optional<FocusItem> focused = focusedItem(game);
    if (!focused) {
        if (!focusItems(game).empty()) setFocus(game, 0);
        return;
    }
    switch (focused->kind) {
        case FocusKind::TitleButton:
            game.sound.play(rules::SoundMouseClick);
            pressTitleButton(game, focused->index);
            return;
        case FocusKind::MenuButton:
            game.sound.play(rules::SoundMouseClick);
            runMenuAction(game, menu::kMenuLayouts[static_cast<size_t>(game.screens.menuScreen)]
                                    .buttons[static_cast<size_t>(focused->index)]
                                    .action);
            return;
        case FocusKind::OptionBox: toggleOptionBox(game, focused->index); return;
        case FocusKind::HelpBox: setHelpBeforeGame(game, !helpBeforeGame(game)); return;
        case FocusKind::NameKey:
            typeNameCharacter(game, focused->index == menu::kNameKeyBackspace ? kBackspace
                                    : focused->index == menu::kNameKeyOk      ? kEnter
                                                                              : static_cast<uint8_t>('A' + focused->index));
            return;
        case FocusKind::PlayerList:
        case FocusKind::Slider: return;
    }
}

// B: the screen's back, cancel or no button, where it has one; on the name screen the last letter
// goes.
void pressBack(Game& game) {
    const ScreenState& screens = game.screens;
    if (screens.menuScreen == menu::ScreenEnterName && game.playerScreen.nameEntryActive) {
        typeNameCharacter(game, kBackspace);
        return;
    }
    if (screens.menuScreen < 0 || screens.menuScreen >= menu::kMenuScreenCount) return;
    const menu::MenuLayout& layout = menu::kMenuLayouts[static_cast<size_t>(screens.menuScreen)];
    for (int i = 0; i < layout.buttonCount; ++i) {
        if (i == 1 && present::secondButtonHidden(screens.dialogId)) continue;
        const int32_t action = layout.buttons[static_cast<size_t>(i)].action;
        if (action != menu::ActionBack && action != menu::ActionCancelPlayers) continue;
        game.sound.play(rules::SoundMouseClick);
        runMenuAction(game, action);
        return;
    }
}

void moveBlockCursor(Game& game, int dx, int dy) {
    NavigationState& nav = game.nav;
    // The first push shows the cursor where it stood.
    if (nav.blockShown) {
        nav.block.x = std::clamp(nav.block.x + dx, 0, rules::kColumns / 2 - 1);
        nav.block.y = std::clamp(nav.block.y + dy, 0, rules::kRows / 2 - 1);
    }
    nav.blockShown = true;
}

// The block under the cursor turns as a click on it would.
void turnCursorBlock(Game& game, rules::Direction direction) {
    game.nav.blockShown = true;
    if (rules::needsFall(game.rules)) return;
    const present::Point at = present::layout::blockAt(game.nav.block.x, game.nav.block.y);
    const int half = rules::kBlockPitch / 2;
    rules::turnBlock(game.rules, game.services, at.x + half, at.y + half, direction);
}

void padOnBoard(Game& game, PadButton button) {
    rules::GameState& rules = game.rules;
    const bool playing = rules.playState == rules::StatePlaying;
    switch (button) {
        case PadButton::Up: moveBlockCursor(game, 0, -1); return;
        case PadButton::Down: moveBlockCursor(game, 0, 1); return;
        case PadButton::Left: moveBlockCursor(game, -1, 0); return;
        case PadButton::Right: moveBlockCursor(game, 1, 0); return;
        case PadButton::A:
            rules::skipIntermission(rules);
            turnCursorBlock(game, rules::Direction::CounterClockwise);
            return;
        case PadButton::B:
            rules::skipIntermission(rules);
            turnCursorBlock(game, rules::Direction::Clockwise);
            return;
        case PadButton::LeftShoulder:
            if (playing) rules::turnBoard(rules, game.services, rules::Direction::CounterClockwise);
            return;
        case PadButton::RightShoulder:
            if (playing) rules::turnBoard(rules, game.services, rules::Direction::Clockwise);
            return;
        case PadButton::X:
            if (playing) rules::shuffle(rules, game.services);
            return;
        case PadButton::Y:
            if (playing) game.play.hintAsked = true;
            return;
        case PadButton::Start:
            rules::skipIntermission(rules);
            if (playing) pauseGame(game);
            return;
        case PadButton::Back:
            if (playing) leaveGameForTitle(game);
            return;
    }
}

void padOnMenu(Game& game, PadButton button) {
    switch (button) {
        case PadButton::Up: steerFocus(game, 0, -1); return;
        case PadButton::Down: steerFocus(game, 0, 1); return;
        case PadButton::Left: steerFocus(game, -1, 0); return;
        case PadButton::Right: steerFocus(game, 1, 0); return;
        case PadButton::A: pressFocus(game); return;
        case PadButton::B:
            if (activeScreen(game) == Screen::Menu) pressBack(game);
            return;
        case PadButton::Back:
            // On the title, as Escape there: the question whether to quit.
            if (activeScreen(game) == Screen::Title) openMenuScreen(game, menu::ScreenQuit);
            return;
        default: return;
    }
}

}  // namespace

std::vector<FocusItem> focusItems(const Game& game) {
    std::vector<FocusItem> items;
    const Screen screen = activeScreen(game);
    if (screen == Screen::Title) {
        namespace layout = present::layout;
        for (int i = 0; i < static_cast<int>(layout::kTitleButtons.size()); ++i) {
            const rules::Point at = layout::kTitleButtons[static_cast<size_t>(i)];
            const rules::Point glass = i < layout::kTitleBigButtons ? layout::kBigGlass : layout::kSmallGlass;
            items.push_back({FocusKind::TitleButton, i, {at.x, at.y, glass.x, glass.y}});
        }
        return items;
    }
    const int32_t shown = game.screens.menuScreen;
    if (screen != Screen::Menu || shown < 0 || shown >= menu::kMenuScreenCount) return items;
    const menu::MenuLayout& l = menu::kMenuLayouts[static_cast<size_t>(shown)];
    if (shown == menu::ScreenEnterName && game.playerScreen.nameEntryActive)
        for (int key = 0; key < menu::kNameKeyCount; ++key) items.push_back({FocusKind::NameKey, key, menu::nameKeyArea(key)});
    if (shown == menu::ScreenChoosePlayer)
        items.push_back({FocusKind::PlayerList,
                         0,
                         {l.x + 56, menu::kListPressTop - 4, l.fieldWidth() + 20, menu::kListRows * menu::kListRowPitch + 8}});
    if (shown == menu::ScreenOptions) {
        items.push_back({FocusKind::Slider, 0, menu::kMusicSliderArea});
        items.push_back({FocusKind::Slider, 1, menu::kSoundSliderArea});
        // Row by row, as they stand.
        for (int box :
             {menu::OptionOwnCursor, menu::OptionColourSymbols, menu::OptionTips, menu::OptionFullScreen, menu::OptionMoveHints})
            items.push_back({FocusKind::OptionBox, box, menu::kOptionBoxAreas[static_cast<size_t>(box)]});
    }
    if (shown == menu::ScreenHelpRules) items.push_back({FocusKind::HelpBox, 0, menu::kHelpBoxArea});
    for (int i = 0; i < l.buttonCount; ++i) {
        if (i == 1 && present::secondButtonHidden(game.screens.dialogId)) continue;
        const menu::Button& b = l.buttons[static_cast<size_t>(i)];
        items.push_back(
            {FocusKind::MenuButton,
             i,
             {l.x + b.bx + menu::kButtonGlassX, l.y + b.by + menu::kButtonGlassY, menu::kButtonGlassW, menu::kButtonGlassH}});
    }
    return items;
}

std::optional<FocusItem> focusedItem(const Game& game) {
    const NavigationState& nav = game.nav;
    if (nav.focus < 0 || nav.focusScreen != screenKey(game)) return std::nullopt;
    const std::vector<FocusItem> items = focusItems(game);
    if (nav.focus >= static_cast<int>(items.size())) return std::nullopt;
    return items[static_cast<size_t>(nav.focus)];
}

void handlePadButton(Game& game, PadButton button) {
    switch (activeScreen(game)) {
        case Screen::Logo:
            if (button == PadButton::A || button == PadButton::Start) game.screens.logoClicked = true;
            return;
        case Screen::Pause: return;
        case Screen::Play: padOnBoard(game, button); return;
        case Screen::Title:
        case Screen::Menu: padOnMenu(game, button); return;
    }
}

bool handleNavigationKey(Game& game, const present::InputEvent& event) {
    using present::Key;
    const Screen screen = activeScreen(game);
    if (screen == Screen::Play) {
        // Beside the keys of today: I, J, K and L or the keypad's arrows move the block cursor, Z
        // and X turn its block as the left and the right button do.
        if (game.rules.playState != rules::StatePlaying && game.rules.playState != rules::StateSettling) return false;
        const char letter = event.key == Key::Letter ? static_cast<char>(event.character) : '\0';
        if (letter == 'I' || event.key == Key::KeypadUp)
            padOnBoard(game, PadButton::Up);
        else if (letter == 'K' || event.key == Key::KeypadDown)
            padOnBoard(game, PadButton::Down);
        else if (letter == 'J' || event.key == Key::KeypadLeft)
            padOnBoard(game, PadButton::Left);
        else if (letter == 'L' || event.key == Key::KeypadRight)
            padOnBoard(game, PadButton::Right);
        else if (letter == 'Z')
            turnCursorBlock(game, rules::Direction::CounterClockwise);
        else if (letter == 'X')
            turnCursorBlock(game, rules::Direction::Clockwise);
        else
            return false;
        return true;
    }
    if (screen != Screen::Title && screen != Screen::Menu) return false;
    // The name screen's keyboard types the name: Return there takes it, as it always has.
    const bool typing =
        screen == Screen::Menu && game.screens.menuScreen == menu::ScreenEnterName && game.playerScreen.nameEntryActive;
    if (typing) return false;
    const std::optional<FocusItem> focused = focusedItem(game);
    switch (event.key) {
        case Key::Tab: cycleFocus(game, event.shift); return true;
        case Key::Return:
            if (!focused) return false;
            pressFocus(game);
            // Return also arrives as a typed 13, which must not take the name on a name screen
            // this press opened.
            game.app.swallowedCharacter = kEnter;
            return true;
        case Key::Left:
        case Key::Right:
            if (!focused || focused->kind != FocusKind::Slider) return false;
            steerFocus(game, event.key == Key::Left ? -1 : 1, 0);
            return true;
        default: return false;
    }
}

void padDisconnected(Game& game) {
    // In the background the level already stands still; pausing it again would restart its pause.
    if (game.app.suspended) return;
    if (game.screens.base != Screen::Play || activeScreen(game) != Screen::Play) return;
    if (!game.rules.level.levelRunning || levelClockHeld(game.screens)) return;
    pauseGame(game);
}

void watchPointer(Game& game) {
    NavigationState& nav = game.nav;
    const rules::Point pointer = game.platform.pointer();
    if (nav.pointerSeen && !(*nav.pointerSeen == pointer)) {
        nav.blockShown = false;
        nav.focus = -1;
    }
    nav.pointerSeen = pointer;
}

}  // namespace flow
