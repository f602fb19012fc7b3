#include "monkey.hpp"

#include "flow/game.hpp"
#include "flow/screens.hpp"
#include "game/board_geometry.hpp"
#include "present/layout.hpp"
#include "present/menu_layout.hpp"

namespace soak {

using sim::SimCommand;
using Kind = SimCommand::Kind;
using present::Key;
using present::MouseButton;
namespace layout = present::layout;
namespace menu = present::menu;

SimCommand tickCommand(long count) {
    SimCommand c;
    c.kind = Kind::Tick;
    c.count = count;
    return c;
}

SimCommand moveCommand(int x, int y) {
    SimCommand c;
    c.kind = Kind::Move;
    c.x = x;
    c.y = y;
    return c;
}

SimCommand pressCommand(MouseButton button, int x, int y) {
    SimCommand c = moveCommand(x, y);
    c.kind = Kind::Press;
    c.button = button;
    c.hasPoint = true;
    return c;
}

SimCommand releaseCommand(int x, int y) {
    SimCommand c = pressCommand(MouseButton::Left, x, y);
    c.kind = Kind::Release;
    return c;
}

SimCommand clickCommand(MouseButton button, int x, int y) {
    SimCommand c = pressCommand(button, x, y);
    c.kind = Kind::Click;
    return c;
}

SimCommand doubleClickCommand(MouseButton button, int x, int y) {
    SimCommand c = pressCommand(button, x, y);
    c.kind = Kind::DoubleClick;
    return c;
}

SimCommand keyCommand(Key key, uint8_t letter) {
    SimCommand c;
    c.kind = Kind::Key;
    c.key = key;
    c.letter = letter;
    return c;
}

SimCommand textCommand(std::string text) {
    SimCommand c;
    c.kind = Kind::Text;
    c.text = std::move(text);
    return c;
}

SimCommand plainCommand(Kind kind) {
    SimCommand c;
    c.kind = kind;
    return c;
}

namespace {

MouseButton anyButton(rules::Random& random) { return random.mod(2) == 0 ? MouseButton::Left : MouseButton::Right; }

// A point inside a rectangle whose edges count (x .. x + w - 1).
present::Point pointIn(rules::Random& random, const rules::Rect& r) { return {r.x + random.mod(r.w), r.y + random.mod(r.h)}; }

// A point strictly inside a menu button's glass, where a press hits it.
present::Point pointOnMenuButton(rules::Random& random, const menu::MenuLayout& screen, int index) {
    const menu::Button& b = screen.buttons[static_cast<size_t>(index)];
    const int x0 = screen.x + b.bx + menu::kButtonGlassX + 1;
    const int y0 = screen.y + b.by + menu::kButtonGlassY + 1;
    return {x0 + random.mod(menu::kButtonGlassW - 1), y0 + random.mod(menu::kButtonGlassH - 1)};
}

present::Point pointInArea(rules::Random& random, const rules::Rect& a) {
    return {a.x + random.mod(a.w + 1), a.y + random.mod(a.h + 1)};
}

}  // namespace

void Monkey::restarted() {
    escapeHeld_ = false;
    surfacesLost_ = false;
    focusOut_ = false;
    sliderDragSteps_ = 0;
}

void Monkey::nextStep(const flow::Game& game, std::vector<SimCommand>& out) {
    finishHeld(out);
    if (sliderDragSteps_ > 0) {
        // The knob follows the pointer, wherever it goes, until the button comes up.
        out.push_back(moveCommand(between(-20, 819), between(0, 599)));
        if (--sliderDragSteps_ == 0) out.push_back(releaseCommand(between(0, 799), between(0, 599)));
        idle(out);
        return;
    }
    if (chance(40)) {
        anyScreen(out);
    } else {
        switch (flow::activeScreen(game)) {
            case flow::Screen::Logo: logoInput(out); break;
            case flow::Screen::Pause: pausedInput(out); break;
            case flow::Screen::Menu: menuInput(game, out); break;
            case flow::Screen::Title: titleInput(out); break;
            case flow::Screen::Play: playInput(game, out); break;
        }
    }
    idle(out);
}

// Whatever was left held or lost in an earlier step comes back, sooner or later.
void Monkey::finishHeld(std::vector<SimCommand>& out) {
    if (escapeHeld_ && chance(2)) {
        out.push_back(plainCommand(Kind::ReleaseEscape));
        escapeHeld_ = false;
    }
    if ((surfacesLost_ || focusOut_) && chance(6)) {
        out.push_back(plainCommand(Kind::FocusIn));
        surfacesLost_ = false;
        focusOut_ = false;
    }
}

void Monkey::anyScreen(std::vector<SimCommand>& out) {
    switch (random_.mod(10)) {
        case 0: out.push_back(plainCommand(Kind::AltEnter)); break;
        case 1:
            out.push_back(plainCommand(Kind::FocusOut));
            focusOut_ = true;
            break;
        case 2:
            out.push_back(plainCommand(Kind::Lose));
            surfacesLost_ = true;
            break;
        case 3:
            if (!escapeHeld_) {
                out.push_back(plainCommand(Kind::HoldEscape));
                escapeHeld_ = true;
            }
            out.push_back(keyCommand(Key::Escape));
            break;
        case 4: out.push_back(doubleClickCommand(anyButton(random_), between(0, 799), between(0, 599))); break;
        case 5: out.push_back(moveCommand(between(0, 799), between(0, 599))); break;
        case 8:
        case 9: {
            // A controller's button, or the controller unplugged or plugged in again.
            const int pick = random_.mod(14);
            SimCommand c = plainCommand(pick == 12 ? Kind::PadDisconnect : pick == 13 ? Kind::PadConnect : Kind::Pad);
            if (pick < 12) c.pad = static_cast<present::PadButton>(pick);
            out.push_back(c);
            break;
        }
        default: out.push_back(clickCommand(anyButton(random_), between(0, 799), between(0, 599))); break;
    }
}

void Monkey::logoInput(std::vector<SimCommand>& out) {
    if (chance(3)) out.push_back(clickCommand(anyButton(random_), between(0, 799), between(0, 599)));
}

void Monkey::pausedInput(std::vector<SimCommand>& out) {
    // Any key or click resumes; mostly the player waits a while first.
    if (chance(3)) return;
    if (chance(2))
        out.push_back(keyCommand(chance(2) ? Key::Right : Key::Letter, 'p'));
    else
        out.push_back(clickCommand(anyButton(random_), between(0, 799), between(0, 599)));
}

void Monkey::titleInput(std::vector<SimCommand>& out) {
    if (chance(5)) {
        out.push_back(moveCommand(between(0, 799), between(0, 599)));
        return;
    }
    // The quit button takes a player to the quit confirmation only; the three game buttons are
    // the ones a player comes for.
    static constexpr int kWeights[8] = {2, 5, 5, 5, 2, 2, 2, 1};
    int pick = random_.mod(24);
    int button = 0;
    while (pick >= kWeights[button]) pick -= kWeights[button++];
    const layout::Point at = layout::kTitleButtons[static_cast<size_t>(button)];
    const layout::Point glass = button < layout::kTitleBigButtons ? layout::kBigGlass : layout::kSmallGlass;
    out.push_back(clickCommand(MouseButton::Left, at.x + random_.mod(glass.x), at.y + random_.mod(glass.y)));
}

void Monkey::menuInput(const flow::Game& game, std::vector<SimCommand>& out) {
    const int32_t screen = game.screens.menuScreen;
    if (screen == menu::ScreenChoosePlayer && chance(2)) return playerList(out);
    if (screen == menu::ScreenEnterName && !chance(6)) return nameEntry(out);
    if (screen == menu::ScreenOptions && chance(2)) return options(out);
    if (screen == menu::ScreenHelpRules && chance(5)) {
        const present::Point p = pointInArea(random_, menu::kHelpBoxArea);
        out.push_back(clickCommand(MouseButton::Left, p.x, p.y));
        return;
    }
    if (chance(12)) {
        out.push_back(moveCommand(between(0, 799), between(0, 599)));
        return;
    }
    menuButton(game, out);
}

void Monkey::menuButton(const flow::Game& game, std::vector<SimCommand>& out) {
    const int32_t screen = game.screens.menuScreen;
    if (screen < 0 || screen >= menu::kMenuScreenCount) return;
    const menu::MenuLayout& layout = menu::kMenuLayouts[static_cast<size_t>(screen)];
    if (layout.buttonCount == 0) return;
    int index = random_.mod(layout.buttonCount);
    // Leaving the program is the quit screen's first button: a player who got there mostly goes back.
    if (screen == menu::ScreenQuit && index == 0 && !chance(8)) index = 1;
    const present::Point p = pointOnMenuButton(random_, layout, index);
    // Sometimes the pointer rests on the button first, so its glow comes up before the press.
    if (chance(3)) {
        out.push_back(moveCommand(p.x, p.y));
        out.push_back(tickCommand(between(1, 4)));
    }
    out.push_back(clickCommand(MouseButton::Left, p.x, p.y));
}

void Monkey::playerList(std::vector<SimCommand>& out) {
    const menu::MenuLayout& layout = menu::kMenuLayouts[menu::ScreenChoosePlayer];
    const int rowX = layout.x + 66 + random_.mod(layout.fieldWidth());
    const int rowY =
        menu::kListPressTop + 1 + menu::kListRowPitch * random_.mod(menu::kListRows) + random_.mod(menu::kListRowPitch);
    switch (random_.mod(6)) {
        case 0: out.push_back(keyCommand(Key::Up)); break;
        case 1: out.push_back(keyCommand(Key::Down)); break;
        case 2: out.push_back(clickCommand(MouseButton::Left, rowX, rowY)); break;
        case 3:
            out.push_back(clickCommand(MouseButton::Left, rowX, rowY));
            out.push_back(doubleClickCommand(MouseButton::Left, rowX, rowY));
            break;
        default: {
            // An arrow: the pointer rests on it for a frame, so the drawing sees the hover, then presses.
            const menu::Offset arrow = chance(2) ? menu::kListUpArrow : menu::kListDownArrow;
            const int x = layout.x + arrow.x + 1 + random_.mod(menu::kListArrowSize.x - 1);
            const int y = layout.y + arrow.y + 1 + random_.mod(menu::kListArrowSize.y - 1);
            out.push_back(moveCommand(x, y));
            out.push_back(tickCommand(1));
            out.push_back(pressCommand(MouseButton::Left, x, y));
            out.push_back(tickCommand(between(1, 3)));
            out.push_back(releaseCommand(x, y));
            break;
        }
    }
}

void Monkey::nameEntry(std::vector<SimCommand>& out) {
    switch (random_.mod(10)) {
        case 0: out.push_back(keyCommand(Key::Backspace)); break;
        case 1: out.push_back(keyCommand(Key::Return)); break;
        case 2: {
            // Whatever bytes a keyboard layout might send: the name takes every code but the two
            // control codes.
            std::string text;
            for (int n = between(1, 4); n > 0; --n) text.push_back(static_cast<char>(between(1, 255)));
            out.push_back(textCommand(text));
            break;
        }
        default: {
            static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -_.";
            std::string text;
            for (int n = between(1, 5); n > 0; --n) text.push_back(kLetters[random_.mod(sizeof kLetters - 1)]);
            out.push_back(textCommand(text));
            break;
        }
    }
}

void Monkey::options(std::vector<SimCommand>& out) {
    if (chance(2)) {
        const rules::Rect& slider = chance(2) ? menu::kMusicSliderArea : menu::kSoundSliderArea;
        const present::Point p = pointInArea(random_, slider);
        out.push_back(pressCommand(MouseButton::Left, p.x, p.y));
        sliderDragSteps_ = between(1, 8);
        return;
    }
    // The full-screen box switches the window mode: rarer than the other two.
    const int box = chance(4) ? 2 : random_.mod(2);
    const present::Point p = pointInArea(random_, menu::kOptionBoxAreas[static_cast<size_t>(box)]);
    out.push_back(clickCommand(MouseButton::Left, p.x, p.y));
}

void Monkey::playInput(const flow::Game& game, std::vector<SimCommand>& out) {
    const rules::Rect board = {rules::kBoardLeft, rules::kBoardTop, 5 * rules::kBlockPitch, 5 * rules::kBlockPitch};
    const int pick = random_.mod(100);
    if (pick < 45) {
        const present::Point p = pointIn(random_, board);
        out.push_back(clickCommand(anyButton(random_), p.x, p.y));
    } else if (pick < 52) {
        const present::Point p = pointIn(random_, board);
        out.push_back(clickCommand(MouseButton::Left, p.x, p.y));
        out.push_back(doubleClickCommand(anyButton(random_), p.x, p.y));
    } else if (pick < 60) {
        out.push_back(keyCommand(chance(2) ? Key::Left : Key::Right));
    } else if (pick < 68) {
        const rules::ArrowButton& arrow = rules::kArrowButtons[static_cast<size_t>(random_.mod(8))];
        const present::Point p = pointIn(random_, arrow.rect);
        if (chance(4))
            out.push_back(doubleClickCommand(anyButton(random_), p.x, p.y));
        else
            out.push_back(clickCommand(anyButton(random_), p.x, p.y));
    } else if (pick < 72) {
        out.push_back(keyCommand(Key::Letter, chance(2) ? 's' : 'S'));
    } else if (pick < 78) {
        // The side buttons: back to the title, shuffle, options, pause. Leaving the game is rarer.
        int button = layout::kShuffleButton + random_.mod(3);
        if (chance(4)) button = layout::kBackButton;
        const present::Point p = pointIn(random_, layout::kPlayButtons[static_cast<size_t>(button)].rect);
        out.push_back(clickCommand(MouseButton::Left, p.x, p.y));
    } else if (pick < 82) {
        out.push_back(keyCommand(chance(2) ? Key::Up : Key::Down));
    } else if (pick < 90) {
        // The pointer wanders over the frame, so the buttons glow and sound.
        out.push_back(moveCommand(between(0, 799), between(0, 599)));
    } else if (pick < 92 && game.rules.playState == rules::StatePlaying) {
        // Escape in play leaves for the title.
        out.push_back(plainCommand(Kind::HoldEscape));
        escapeHeld_ = true;
    }
    // Otherwise the player watches.
}

void Monkey::idle(std::vector<SimCommand>& out) {
    const int pick = random_.mod(100);
    long ticks;
    if (pick < 70)
        ticks = between(1, 3);
    else if (pick < 92)
        ticks = between(4, 30);
    else if (pick < 99)
        ticks = between(31, 200);
    else
        ticks = between(201, 1200);
    out.push_back(tickCommand(ticks));
}

}  // namespace soak
