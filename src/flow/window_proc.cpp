#include "flow/window_proc.hpp"

#include "flow/audio.hpp"
#include "flow/display_steps.hpp"
#include "game/falling.hpp"
#include "game/moves.hpp"
#include "game/pause.hpp"
#include "game/shuffle.hpp"
#include "present/layout.hpp"

namespace flow {

namespace {

using present::InputEvent;

bool isPlayScreen(const Game& game) { return activeScreen(game) == ActiveScreen::Play; }

void handleKey(Game& game, const InputEvent& event) {
    rules::GameState& rules = game.rules;
    if (rules.playState == rules::StatePaused) {
        rules::resumeLevel(rules, game.services);
        return;
    }
    if (rules.playState != rules::StatePlaying) return;
    if (event.key == present::Key::Left) rules::turnBoard(rules, game.services, rules::Direction::CounterClockwise);
    if (event.key == present::Key::Right) rules::turnBoard(rules, game.services, rules::Direction::Clockwise);
}

constexpr uint32_t kIntermissionSkipMs = 3500;

void handlePress(Game& game, const InputEvent& event) {
    rules::GameState& rules = game.rules;
    // A click cuts the intermission short: its start moves later, so the elapsed time, an unsigned
    // difference, is past the limit on the next tick.
    if (rules.playState == rules::StateIntermission) game.screens.intermissionStartedAt += kIntermissionSkipMs;
    if (rules.playState == rules::StatePaused) {
        rules::resumeLevel(rules, game.services);
        return;
    }
    if (!isPlayScreen(game) || rules::needsFall(rules)) return;
    const present::Point at = game.platform.pointer();
    const rules::Direction direction =
        event.button == present::MouseButton::Left ? rules::Direction::CounterClockwise : rules::Direction::Clockwise;
    rules::turnBlock(rules, game.services, at.x, at.y, direction);
}

// The second press of a double click turns the block under the pointer inside the inner area, and
// is offered to the frame's arrows outside it. It neither resumes a pause nor turns a settling board.
void handleDoubleClick(Game& game, const InputEvent& event) {
    rules::GameState& rules = game.rules;
    if (!isPlayScreen(game) || rules::needsFall(rules)) return;
    const present::Point at = game.platform.pointer();
    const rules::Direction direction =
        event.button == present::MouseButton::Left ? rules::Direction::CounterClockwise : rules::Direction::Clockwise;
    const rules::Rect& area = present::layout::kDoubleClickArea;
    if (at.x >= area.x && at.x < area.x + area.w && at.y >= area.y && at.y < area.y + area.h)
        rules::turnBlock(rules, game.services, at.x, at.y, direction);
    else
        rules::turnBoardAt(rules, game.services, at.x, at.y);
}

void handleCharacter(Game& game, const InputEvent& event) {
    if (!isPlayScreen(game) || game.rules.playState != rules::StatePlaying) return;
    if (event.character == 's' || event.character == 'S') rules::shuffle(game.rules, game.services);
}

}  // namespace

void deactivate(Game& game) {
    game.app.suspended = true;
    if (game.rules.playState == rules::StatePlaying) rules::pauseLevel(game.rules, game.services);
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
    if (game.rules.playState == rules::StatePlaying) rules::resumeLevel(game.rules, game.services);
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
        case Type::AltEnter:
            game.profiles.windowed = !game.profiles.windowed;
            switchGameWindowMode(game);
            break;
        case Type::Character: handleCharacter(game, event); break;
        case Type::Tick:
        case Type::ButtonUp: break;
    }
}

}  // namespace flow
