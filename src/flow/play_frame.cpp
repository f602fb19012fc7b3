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
    rules::GameState& rules = game.rules;
    rules::Services& services = game.services;
    const uint32_t now = services.now();
    switch (rules.playState) {
        case rules::StateShuffle: rules::advanceShuffle(rules); return Tick::Draw;
        case rules::StateLevelOver:
            rules::finishLevel(rules, services);
            if (rules.playState != rules::StateFallOut) return Tick::Draw;
            [[fallthrough]];
        case rules::StateFallOut:
            if (!rules::advanceFallOut(rules)) return Tick::Draw;
            rules.playState = rules::StateLevelStart;
            [[fallthrough]];
        case rules::StateLevelAdvance:
            rules::chooseNextLevel(rules);
            if (rules.playState == rules::StateIntermission) {
                game.screens.intermissionStartedAt = now;
                rules.requests.startGameMusic = true;
            }
            return Tick::End;
        case rules::StateIntermission:
            // A click moves the start later, so the unsigned difference jumps past the limit.
            if (rules::elapsedSince(now, game.screens.intermissionStartedAt) < kIntermissionMs) {
                drawIntermissionView(game);
                present::presentFrame(game.display, game.platform);
                return Tick::End;
            }
            rules.playState = rules::StateLevelStart;
            [[fallthrough]];
        case rules::StateLevelStart: {
            services.sound.stop(rules::SoundLevelJingle);
            const bool resumed = rules.level.resumeSaved;
            if (!rules::setupLevel(rules, services, rules.gameMode)) {
                rules.level.currentLevel = 0;
                rules.requests.gameComplete = true;
                return Tick::End;
            }
            // A resumed level's saved board is already in the arrays.
            if (!resumed) rules::generateBoard(rules, services, rules::ballColours(rules));
            rules::startReveal(rules, services);
            [[fallthrough]];
        }
        case rules::StateBoardFill:
            if (!rules::advanceReveal(rules, services)) return Tick::Draw;
            // A board saved in the middle of a fall comes back with holes: it settles before play.
            if (rules::needsFall(rules)) {
                rules::fallStep(rules, services);
                return Tick::Draw;
            }
            rules::startPlay(rules, services);
            [[fallthrough]];
        case rules::StatePlaying: {
            const bool cleared = rules::resolveMatches(rules, services, rules::Scoring::On);
            rules::afterMatches(rules, services, cleared);
            if (rules::fallStep(rules, services)) rules.playState = rules::StateSettling;
            return Tick::Draw;
        }
        case rules::StateSettling:
            if (!rules::fallStep(rules, services)) rules.playState = rules::StatePlaying;
            return Tick::Draw;
        default:
            // StateRotating: the drawing step turns the board.
            return Tick::Draw;
    }
}

}  // namespace

void runPlayFrame(Game& game) {
    rules::GameState& rules = game.rules;
    game.app.tickStartedAt = game.platform.clock().now();
    if (runStateStep(game) == Tick::End) return;

    drawPlayView(game);
    if (rules.playState == rules::StateFallOut && rules.level.levelWon &&
        rules.fallOut.fallenCount >= kEndBonusStartCount)
        rules::payEndBonus(rules);

    if (rules.playState != rules::StateLevelOver && rules.playState != rules::StateFallOut) {
        // A level lost on its limit ends the tick without drawing.
        if (rules::applyModeRules(rules, game.services) == rules::RuleStep::LevelLost) return;
    }
    rules::updateRuneMeter(rules, game.services);
    rules::expireBonuses(rules, game.services);
    rules.moves.moveMade = false;

    drawDiagnosticOverlay(game);
    present::presentFrame(game.display, game.platform);
}

}  // namespace flow
