#include "flow/play_frame.hpp"

#include "flow/overlay.hpp"
#include "flow/play_view.hpp"
#include "game/falling.hpp"
#include "game/matches.hpp"
#include "game/modes.hpp"
#include "game/runes.hpp"
#include "game/shuffle.hpp"

namespace flow {

namespace {

constexpr uint32_t kIntermissionMs = 2100;
constexpr int kEndBonusStartCount = 20;

enum class Tick { Draw, End };

// The level sequence: the step of the current play state. Several states lead into the next one
// within the same tick. Tick::End: the tick ends here (the frame has been presented, or is left as
// it was).
Tick runStateStep(Game& game) {
    game::GameState& rules = game.rules;
    game::Services& services = game.services;
    const uint32_t now = services.now();
    switch (rules.playState) {
        case game::StateShuffle: game::advanceShuffle(rules); return Tick::Draw;
        case game::StateLevelOver:
            game::finishLevel(rules, services);
            if (rules.playState != game::StateFallOut) return Tick::Draw;
            [[fallthrough]];
        case game::StateFallOut:
            if (!game::advanceFallOut(rules)) return Tick::Draw;
            rules.playState = game::StateLevelStart;
            [[fallthrough]];
        case game::StateLevelAdvance:
            game::chooseNextLevel(rules);
            if (rules.playState == game::StateIntermission) {
                game.screens.intermissionStartedAt = now;
                rules.requests.startGameMusic = true;
            }
            return Tick::End;
        case game::StateIntermission:
            // A click moves the start later, so the unsigned difference jumps past the limit.
            if (game::elapsedSince(now, game.screens.intermissionStartedAt) < kIntermissionMs) {
                drawIntermissionView(game);
                present::presentFrame(game.display, game.platform);
                return Tick::End;
            }
            rules.playState = game::StateLevelStart;
            [[fallthrough]];
        case game::StateLevelStart: {
            services.sound.stop(game::SoundLevelJingle);
            const bool resumed = rules.level.resumeSaved;
            if (!game::setupLevel(rules, services, rules.gameMode)) {
                rules.level.currentLevel = 0;
                rules.requests.gameComplete = true;
                return Tick::End;
            }
            // A resumed level's saved board is already in the arrays.
            if (!resumed) game::generateBoard(rules, services, game::ballColours(rules));
            game::startReveal(rules, services);
            [[fallthrough]];
        }
        case game::StateBoardFill:
            if (!game::advanceReveal(rules, services)) return Tick::Draw;
            // A board saved in the middle of a fall comes back with holes: it settles before play.
            if (game::needsFall(rules)) {
                game::fallStep(rules, services);
                return Tick::Draw;
            }
            game::startPlay(rules, services);
            [[fallthrough]];
        case game::StatePlaying: {
            const bool cleared = game::resolveMatches(rules, services, game::Scoring::On);
            game::afterMatches(rules, services, cleared);
            if (game::fallStep(rules, services)) rules.playState = game::StateSettling;
            return Tick::Draw;
        }
        case game::StateSettling:
            if (!game::fallStep(rules, services)) rules.playState = game::StatePlaying;
            return Tick::Draw;
        default:
            // StateRotating: the drawing step turns the board.
            return Tick::Draw;
    }
}

}  // namespace

void runPlayFrame(Game& game) {
    game::GameState& rules = game.rules;
    game.app.tickStartedAt = game.platform.clock().now();
    if (runStateStep(game) == Tick::End) return;

    drawPlayView(game);
    if (rules.playState == game::StateFallOut && rules.level.levelWon &&
        rules.fallOut.fallenCount >= kEndBonusStartCount)
        game::payEndBonus(rules);

    if (rules.playState != game::StateLevelOver && rules.playState != game::StateFallOut) {
        // A level lost on its limit ends the tick without drawing.
        if (game::applyModeRules(rules, game.services) == game::RuleStep::LevelLost) return;
    }
    game::updateRuneMeter(rules, game.services);
    game::expireBonuses(rules, game.services);
    rules.moves.moveMade = false;

    drawDiagnosticOverlay(game);
    present::presentFrame(game.display, game.platform);
}

}  // namespace flow
