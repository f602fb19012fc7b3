#include "flow/window_proc.hpp"

#include "flow/audio.hpp"
#include "flow/display_steps.hpp"
#include "game/falling.hpp"
#include "game/moves.hpp"
#include "game/pause.hpp"

namespace flow {

namespace {

using present::InputEvent;

bool isPlayScreen(const Game& game) {
    return !game.screens.menuActive && game.rules.playState != game::StateTitle &&
           game.rules.playState != game::StateLogo;
}

void handleKey(Game& game, const InputEvent& event) {
    game::GameState& rules = game.rules;
    if (rules.playState == game::StatePaused) {
        game::resumeLevel(rules, game.services);
        return;
    }
    if (rules.playState != game::StatePlaying) return;
    if (event.key == present::Key::Left) game::turnBoard(rules, game.services, game::Direction::CounterClockwise);
    if (event.key == present::Key::Right) game::turnBoard(rules, game.services, game::Direction::Clockwise);
}

void handlePress(Game& game, const InputEvent& event) {
    game::GameState& rules = game.rules;
    if (rules.playState == game::StatePaused) {
        game::resumeLevel(rules, game.services);
        return;
    }
    if (!isPlayScreen(game) || game::needsFall(rules)) return;
    const present::Point at = game.platform.pointer();
    const game::Direction direction =
        event.button == present::MouseButton::Left ? game::Direction::CounterClockwise : game::Direction::Clockwise;
    game::turnBlock(rules, game.services, at.x, at.y, direction);
}

// The second press of a double click turns the block under the pointer inside the inner area, and
// is offered to the frame's arrows outside it. It neither resumes a pause nor turns a settling board.
void handleDoubleClick(Game& game, const InputEvent& event) {
    game::GameState& rules = game.rules;
    if (!isPlayScreen(game) || game::needsFall(rules)) return;
    const present::Point at = game.platform.pointer();
    const game::Direction direction =
        event.button == present::MouseButton::Left ? game::Direction::CounterClockwise : game::Direction::Clockwise;
    if (at.x >= 322 && at.x < 636 && at.y >= 194 && at.y < 508)
        game::turnBlock(rules, game.services, at.x, at.y, direction);
    else
        game::turnBoardAt(rules, game.services, at.x, at.y);
}

}  // namespace

void deactivate(Game& game) {
    game.app.suspended = true;
    if (game.rules.playState == game::StatePlaying) game::pauseLevel(game.rules, game.services);
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
    if (game.rules.playState == game::StatePlaying) game::resumeLevel(game.rules, game.services);
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
            game.app.windowed = !game.app.windowed;
            switchGameWindowMode(game);
            break;
        case Type::Tick:
        case Type::ButtonUp:
        case Type::Character: break;
    }
}

}  // namespace flow
