#include "flow/play_frame.hpp"

#include "flow/overlay.hpp"
#include "flow/persistence.hpp"
#include "flow/play_requests.hpp"
#include "flow/play_view.hpp"
#include "flow/scene.hpp"
#include "game/falling.hpp"
#include "game/matches.hpp"
#include "game/modes.hpp"
#include "game/runes.hpp"
#include "game/shuffle.hpp"
#include "present/layout.hpp"

namespace flow {

namespace {

constexpr uint32_t kIntermissionMs = 2100;
constexpr uint32_t kSweepDelayMs = 8000;

enum class Tick {
    Draw,     // the frame goes on to the drawing
    Shown,    // the frame has been drawn already (the intermission)
    Skipped,  // the tick ends without drawing: the previous frame stays on screen
};

// StateLevelStart: the next level, or the end of the game when there is none.
bool startLevel(Game& game) {
    rules::GameState& rules = game.rules;
    PlayScreenState& play = game.play;
    game.services.sound.stop(rules::SoundLevelJingle);
    // The sweep of level 1 follows the intermission that opens a game.
    if (rules.level.nextLevel == 1) play.sweepStartAt = game.screens.intermissionStartedAt + kSweepDelayMs;
    const bool resumed = rules.level.resumeSaved;
    if (!rules::setupLevel(rules, game.services, rules.gameMode)) {
        rules.level.currentLevel = 0;
        rules.requests.gameComplete = true;
        return false;
    }
    // The level's own group background, now that it is the current level.
    recomposeScene(game);
    play.backdrop.invalidate();
    play.stuckLost = false;
    play.shuffleSoundOn = true;
    play.flashOn = true;
    play.flashStep = 0;
    play.progressShown = -1;
    play.flights.clear();
    // A resumed level's saved board is already in the arrays.
    if (!resumed) rules::generateBoard(rules, game.services, rules::ballColours(rules));
    rules::startReveal(rules, game.services);
    return true;
}

// The level sequence: the step of the current play state. Several states lead into the next one
// within the same tick.
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
            return Tick::Skipped;
        case rules::StateIntermission:
            // A click moves the start later, so the unsigned difference jumps past the limit.
            if (rules::elapsedSince(now, game.screens.intermissionStartedAt) < kIntermissionMs) {
                drawIntermissionView(game);
                game.play.backdrop.forgetBackBuffer();
                return Tick::Shown;
            }
            rules.playState = rules::StateLevelStart;
            [[fallthrough]];
        case rules::StateLevelStart:
            if (!startLevel(game)) return Tick::Skipped;
            [[fallthrough]];
        case rules::StateBoardFill:
            if (!rules::advanceReveal(rules, services)) return Tick::Draw;
            // A board saved in the middle of a fall comes back with holes: it settles before play.
            if (rules::needsFall(rules)) {
                rules::fallStep(rules, services);
                return Tick::Draw;
            }
            rules::startPlay(rules, services);
            game.play.tipTimerAt = now;
            game.play.tipPending = true;
            [[fallthrough]];
        case rules::StatePlaying: {
            const bool cleared = rules::resolveMatches(rules, services, rules::Scoring::On);
            rules::afterMatches(rules, services, cleared);
            checkPlayTips(game);
            if (rules::fallStep(rules, services)) rules.playState = rules::StateSettling;
            return Tick::Draw;
        }
        case rules::StateSettling:
            if (!rules::fallStep(rules, services)) rules.playState = rules::StatePlaying;
            return Tick::Draw;
        default:
            // StateRotating: the board turn steps with the drawing.
            return Tick::Draw;
    }
}

// The pointer over the play screen's buttons: a button it enters lights up with a sound (the
// frame's arrows their own), one it leaves fades out. Nothing reacts while the board turns.
void hover(Game& game) {
    rules::GameState& rules = game.rules;
    if (rules.playState == rules::StateRotating) return;
    const present::Point mouse = present::cursorToClient(game.platform);
    for (int b = 0; b < 12; ++b) {
        const rules::Rect& r = present::layout::kPlayButtons[static_cast<size_t>(b)].rect;
        rules::GlowPair& glow = rules.playGlow[static_cast<size_t>(b)];
        const bool over = mouse.x >= r.x && mouse.x <= r.x + r.w && mouse.y >= r.y && mouse.y <= r.y + r.h;
        if (!over) {
            if (glow.state == 1) glow = {2, 1};
            continue;
        }
        if (glow == rules::GlowPair{1, 1}) continue;
        glow = {1, 0};
        if (b < 8)
            game.sound.playSound(rules::SoundMouseRotation);
        else if (b != present::layout::kShuffleButton || game.play.shuffleSoundOn)
            game.sound.playSound(rules::SoundMouseOver);
    }
}

void advanceBonusPhases(Game& game) {
    for (int k = 0; k < rules::kBonusKindCount; ++k) {
        const int frames = game.gfx.bonuses[static_cast<size_t>(k)].frames;
        int32_t& phase = game.play.bonusPhase[static_cast<size_t>(k)];
        phase = frames > 0 ? (phase + 1) % frames : 0;
    }
}

// Escape in play: the run is recorded and saved, the game music stops and the title music plays.
void leaveForTitle(Game& game) {
    rules::GameState& rules = game.rules;
    recordRun(game);
    saveAll(game);
    rules.playState = rules::StateTitle;
    for (rules::SoundId track :
         {rules::SoundMusicAction, rules::SoundMusicPuzzle, rules::SoundMusicSpace, rules::SoundMusicStrategy})
        game.sound.stopSound(track);
    game.sound.playSound(rules::SoundMenuMusic);
}

bool escapeToTitle(Game& game) {
    if (!game.platform.escapeDown() || game.rules.playState != rules::StatePlaying) return false;
    game.screens.titleEnteredAt = game.services.now();
    leaveForTitle(game);
    return true;
}

// Steps 1 to 17 of the frame. False when the tick ends without a frame to show.
bool playFrameSteps(Game& game) {
    rules::GameState& rules = game.rules;
    if (escapeToTitle(game)) return false;
    game.app.tickStartedAt = game.services.now();
    checkExplodeTip(game);

    switch (runStateStep(game)) {
        case Tick::Skipped: return false;
        case Tick::Shown: return true;
        case Tick::Draw: break;
    }

    const present::PlayArt art{game.pictures, game.gfx, present::makeSpriteFont(game.pictures, game.characterMap)};
    present::drawPlayView(stepPlayView(game), art, game.display, &game.play.backdrop);

    hover(game);
    if (!rules::canShuffle(rules, game.services)) {
        // The shuffle button stays dark and silent for the rest of the level.
        rules.playGlow[present::layout::kShuffleButton] = {0, 0};
        game.play.shuffleSoundOn = false;
    }
    if (rules.playState != rules::StateLevelOver && rules.playState != rules::StateFallOut) {
        // A level lost on its limit ends the tick without showing the frame.
        if (rules::applyModeRules(rules, game.services) == rules::RuleStep::LevelLost) return false;
    }
    rules::updateRuneMeter(rules, game.services);
    rules::expireBonuses(rules, game.services);
    rules.moves.moveMade = false;
    advanceBonusPhases(game);
    return true;
}

}  // namespace

bool composePlayFrame(Game& game) {
    // The screens shown in between (menus, dialogs, the title) compose their own pictures into
    // sceneSurface, and it is composed again for play: what was kept of it is no longer sure.
    PlayScreenState& play = game.play;
    if (game.app.tickNumber != play.lastPlayTick + 1) {
        play.backdrop.invalidate();
        // A run begins from the menus: nothing the last game asked for and did not see before it
        // was left (a tip about to open, a shuffle tip, flights) belongs to this one.
        if (game.rules.playState == rules::StateLevelAdvance) {
            rules::RuleRequests& requests = game.rules.requests;
            requests.explodeTipPending = false;
            requests.shuffleTip = false;
            requests.bonusFlights.clear();
            play.flights.clear();
        }
    }
    play.lastPlayTick = game.app.tickNumber;
    const bool show = playFrameSteps(game);
    serveRuleRequests(game);
    if (show && game.rules.playState != rules::StateIntermission && (game.app.showMainStatus || game.app.showFps)) {
        drawDiagnosticOverlay(game);
        play.backdrop.forgetBackBuffer();
    }
    return show;
}

void runPlayFrame(Game& game) {
    if (composePlayFrame(game)) present::presentFrame(game.display, game.platform);
}

}  // namespace flow
