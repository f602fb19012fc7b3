#include "game/frame.hpp"

#include "game/effects.hpp"
#include "game/falling.hpp"
#include "game/matches.hpp"
#include "game/modes.hpp"
#include "game/moves.hpp"
#include "game/runes.hpp"
#include "game/shuffle.hpp"

namespace rules {

namespace {

constexpr uint32_t kIntermissionMs = 2100;
// A click moves the intermission's start later, so the unsigned difference jumps past its length.
constexpr uint32_t kIntermissionSkipMs = 3500;
constexpr uint32_t kThawStepMs = 50;
constexpr uint32_t kThawSteps = 9;

// What the frame showed moves one frame on: the drop being drawn falls 7 pixels, the thaw's glass
// melts, the rune meter's slots brighten or fade, and the effects play their next frame (a reveal
// that has played puts its ball on the board).
void moveShownAnimationsOn(GameState& state, uint32_t now) {
    const bool boardStill = state.playState != StateRotating && state.playState != StateFallOut;
    if (boardStill && state.fall.fallOffset < kDropPixels) advanceFallAnimation(state);
    LevelState& level = state.level;
    if (level.thawOn && elapsedSince(now, level.thawStart) / kThawStepMs >= kThawSteps) level.thawOn = false;
    advanceRuneSlots(state);
    advanceEffects(state);
}

// A turn takes its next frame, which this frame shows: a board turn while the board turns (its
// sixth turns the arrays and play goes on, in time for a block turn to step as well), and on a
// settled board a block turn (its fifth permutes the cells).
void turnOn(GameState& state) {
    if (state.playState == StateRotating) {
        advanceBoardTurn(state);
        if (state.playState == StateRotating) return;
    }
    if (state.playState != StateFallOut && state.fall.fallOffset >= kDropPixels) advanceBlockTurn(state);
}

// StateLevelStart: the next level is set up, or the game is complete when there is none.
bool startLevel(GameState& state, Services& services) {
    services.sound.stop(SoundLevelJingle);
    const bool resumed = state.level.resumeSaved;
    if (!setupLevel(state, services, state.gameMode)) {
        state.level.currentLevel = 0;
        state.requests.gameComplete = true;
        return false;
    }
    state.requests.levelSetUp = true;
    // A resumed level's saved board is already in the arrays.
    if (!resumed) generateBoard(state, services, ballColours(state));
    startReveal(state, services);
    return true;
}

// The step of the level's state. Several states lead into the next one within the same frame.
FrameShows stepLevel(GameState& state, Services& services) {
    const uint32_t now = services.now();
    LevelState& level = state.level;
    switch (state.playState) {
        case StateShuffle: advanceShuffle(state); return FrameShows::Board;
        case StateLevelOver:
            finishLevel(state, services);
            if (state.playState != StateFallOut) return FrameShows::Board;
            [[fallthrough]];
        case StateFallOut:
            if (!advanceFallOut(state)) {
                if (endBonusPaying(state)) payEndBonus(state);
                return FrameShows::Board;
            }
            [[fallthrough]];
        case StateLevelAdvance:
            chooseNextLevel(state);
            if (state.playState == StateIntermission) {
                level.intermissionStartedAt = now;
                state.requests.startGameMusic = true;
            }
            return FrameShows::Nothing;
        case StateIntermission:
            if (elapsedSince(now, level.intermissionStartedAt) < kIntermissionMs) return FrameShows::Intermission;
            state.playState = StateLevelStart;
            [[fallthrough]];
        case StateLevelStart:
            if (!startLevel(state, services)) return FrameShows::Nothing;
            [[fallthrough]];
        case StateBoardFill:
            if (!advanceReveal(state, services)) return FrameShows::Board;
            // A board saved in the middle of a fall comes back with holes: it settles before play.
            if (needsFall(state)) {
                fallStep(state, services);
                return FrameShows::Board;
            }
            startPlay(state, services);
            [[fallthrough]];
        case StatePlaying: {
            const bool cleared = resolveMatches(state, services, Scoring::On);
            afterMatches(state, services, cleared);
            askForTips(state, now);
            if (fallStep(state, services)) state.playState = StateSettling;
            return FrameShows::Board;
        }
        case StateSettling:
            if (!fallStep(state, services)) state.playState = StatePlaying;
            return FrameShows::Board;
        case StateRotating: return FrameShows::Board;
    }
    return FrameShows::Board;
}

}  // namespace

FrameShows advanceFrame(GameState& state, Services& services, const ShowFrame& show) {
    const FrameShows shows = stepLevel(state, services);
    if (shows != FrameShows::Board) return shows;
    turnOn(state);
    if (show) show(state);
    moveShownAnimationsOn(state, services.now());

    if (state.playState != StateLevelOver && state.playState != StateFallOut &&
        applyModeRules(state, services) == RuleStep::LevelLost)
        return FrameShows::Nothing;

    updateRuneMeter(state, services);
    expireBonuses(state, services);
    state.moves.moveMade = false;
    return FrameShows::Board;
}

void settleBoard(GameState& state, Services& services, int maxFrames) {
    for (int frame = 0; frame < maxFrames; ++frame) {
        advanceFrame(state, services);
        if (state.playState == StatePlaying && !state.chain.chainRunning && !needsFall(state)) return;
    }
}

void skipIntermission(GameState& state) {
    if (state.playState == StateIntermission) state.level.intermissionStartedAt += kIntermissionSkipMs;
}

}  // namespace rules
