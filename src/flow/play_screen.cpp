#include "flow/play_screen.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "flow/current_player.hpp"
#include "flow/play_view.hpp"
#include "flow/scene.hpp"
#include "game/falling.hpp"
#include "game/modes.hpp"
#include "game/shuffle.hpp"
#include "present/layout.hpp"

namespace flow {

namespace {

namespace layout = present::layout;

constexpr uint32_t kSweepDelayMs = 8000;
constexpr uint32_t kSweepMs = 2100;
constexpr uint32_t kSweepStepMs = 150;
// The frame's arrows light up one after another, one and a half times round.
constexpr int kSweepOrder[] = {3, 7, 1, 5, 0, 4, 2, 6, 3, 7, 1, 5, 0, 4};
constexpr int kFlightPointsPerTick = 7;
constexpr int kFlashLastStep = 7;
constexpr int kCriticalLastFrame = 4;
constexpr int kCriticalBarRows = 202;  // above this the bar is low enough to run critical
constexpr float kCriticalGap = 2.0f;   // ... once it has come to rest within this of the value
constexpr float kEaseDown = 0.033333335f;
constexpr uint32_t kHintIdleMs = 10000;

// What the frame showed moves on: the flash's next step, the critical bar's pulse, the buttons'
// glows, the bonus flights and the bonus pictures' animation.
void moveShownOn(Game& game) {
    PlayScreenState& play = game.play;
    if (play.flashOn) {
        if (play.flashStep >= kFlashLastStep)
            play.flashOn = false;
        else
            ++play.flashStep;
    }
    // The critical bar pulses 0, 1, 2, 3, 4, 3, 2, 1, 0... while it shows.
    if (play.timeBar == present::TimeBarShape::Critical) {
        play.criticalFrame += play.criticalStep;
        if (play.criticalFrame <= 0 || play.criticalFrame >= kCriticalLastFrame) play.criticalStep = -play.criticalStep;
        play.criticalFrame = std::clamp(play.criticalFrame, 0, kCriticalLastFrame);
    }
    for (present::glow::GlowPair& glow : play.buttonGlow) present::glow::advance(glow);
    // Every flight moves on, however short its line, so that each one lands.
    for (BonusFlight& flight : play.flights) {
        const int count = static_cast<int>(flight.points.size());
        flight.index += std::max((count / kFlightPointsPerTick) / (1 + game.decoration.mod(2)), 1);
    }
    std::erase_if(play.flights, [](const BonusFlight& f) { return f.index >= static_cast<int32_t>(f.points.size()); });
    for (int k = 0; k < rules::kBonusKindCount; ++k) {
        const int frames = game.gfx.bonuses[static_cast<size_t>(k)].frames;
        int32_t& phase = play.bonusPhase[static_cast<size_t>(k)];
        phase = frames > 0 ? (phase + 1) % frames : 0;
    }
}

// A level the rules have just set up: its group's background, a fresh flash and bars, and, on a
// game's first level, the sweep over the frame's arrows after the intermission.
void startLevel(Game& game) {
    rules::GameState& rules = game.rules;
    PlayScreenState& play = game.play;
    rules.requests.levelSetUp = false;
    if (rules.level.currentLevel == 1) play.sweepStartAt = rules.level.intermissionStartedAt + kSweepDelayMs;
    recomposeScene(game);
    play.backdrop.invalidate();
    play.stuckLost = false;
    play.shuffleSoundOn = true;
    play.flashOn = true;
    play.flashStep = 0;
    play.progressShown = -1;
    play.flights.clear();
}

// The bars: progress climbs a percent a frame and never goes back in a level; the time bar eases
// towards the time or moves left, fills up at the start of a level, and runs critical once it is
// low and at rest. While frozen it is a glass; once the end bonus is paid it follows it.
void easeBars(Game& game) {
    const rules::GameState& rules = game.rules;
    const rules::LevelState& level = rules.level;
    PlayScreenState& play = game.play;
    if (play.progressShown < level.progressPercent) ++play.progressShown;

    if (level.freezeOn && level.levelRunning) {
        play.timeBar = present::TimeBarShape::Frozen;
        return;
    }
    float& shown = play.timeShown;
    if (rules.playState == rules::StateFallOut) {
        if (shown != 0 && rules.fallOut.fallenCount >= rules::kEndBonusStartCount) shown = level.remaining;
    } else if (shown < level.remaining) {
        shown = std::min(shown + static_cast<float>(level.limit) / static_cast<float>(11 * rules::ballColours(rules)),
                         level.remaining);
    } else if (shown > level.remaining) {
        shown -= (shown - level.remaining) * kEaseDown;
    }
    const bool atRest = std::fabs(shown - level.remaining) <= kCriticalGap;
    const bool low = timeBarTop(rules, play) >= kCriticalBarRows;
    play.timeBar =
        low && atRest && rules.playState != rules::StateFallOut ? present::TimeBarShape::Critical : present::TimeBarShape::Bar;
}

// The pointer over the buttons: a button it enters lights up with a sound (the frame's arrows their
// own), one it leaves fades out. While the board turns the arrows are dark and nothing reacts.
void hover(Game& game) {
    PlayScreenState& play = game.play;
    if (game.rules.playState == rules::StateRotating) {
        for (int b = 0; b < layout::kArrowButtonCount; ++b) play.buttonGlow[static_cast<size_t>(b)] = {};
        return;
    }
    const present::Point mouse = present::cursorToClient(game.platform);
    for (int b = 0; b < layout::kPlayButtonCount; ++b) {
        const bool over = layout::kPlayButtons[static_cast<size_t>(b)].rect.containsInclusive(mouse);
        if (!present::glow::hover(play.buttonGlow[static_cast<size_t>(b)], over)) continue;
        if (b < layout::kArrowButtonCount)
            game.sound.playSound(rules::SoundMouseRotation);
        else if (b != layout::kShuffleButton || play.shuffleSoundOn)
            game.sound.playSound(rules::SoundMouseOver);
    }
}

// The move hint: while the board stands still in play, after kHintIdleMs without a move (when the
// player wants hints) or at once when H asks, the hint finder looks for a move once; the hint shows
// until the board moves again.
void updateHint(Game& game) {
    const rules::GameState& rules = game.rules;
    PlayScreenState& play = game.play;
    const uint32_t now = game.services.now();
    const bool still = rules.playState == rules::StatePlaying && rules.level.levelRunning &&
                       !rules.moves.pendingBlockTurn.active && !rules::needsFall(rules);
    if (!still) {
        play.hint.reset();
        play.hintLooked = false;
        play.hintAsked = false;
        play.stillSince = now;
        return;
    }
    if (play.hintLooked) return;
    const bool idle = moveHintsWanted(game) && rules::elapsedSince(now, play.stillSince) >= kHintIdleMs;
    if (!idle && !play.hintAsked) return;
    play.hint = rules::findHint(rules);
    play.hintLooked = true;
    play.hintAsked = false;
}

// The level-1 sweep lights the frame's arrows one after another. Before sweepStartAt the unsigned
// difference is huge, so nothing happens.
void sweep(Game& game) {
    if (game.rules.playState != rules::StatePlaying) return;
    const uint32_t since = rules::elapsedSince(game.services.now(), game.play.sweepStartAt);
    if (since < kSweepMs) game.play.buttonGlow[static_cast<size_t>(kSweepOrder[since / kSweepStepMs])] = {1, 0};
}

}  // namespace

void showPlayFrame(Game& game) {
    PlayScreenState& play = game.play;
    if (game.rules.requests.levelSetUp) startLevel(game);
    sweep(game);
    easeBars(game);
    updateHint(game);

    play.view = buildPlayView(game);
    const present::PlayArt art{game.pictures, game.gfx, present::makeSpriteFont(game.pictures, game.characterMap)};
    present::drawPlayView(play.view, art, game.display, &play.backdrop);

    moveShownOn(game);
    hover(game);
    if (!rules::canShuffle(game.rules, game.services)) {
        // The shuffle button stays dark and silent for the rest of the level.
        play.buttonGlow[layout::kShuffleButton] = {};
        play.shuffleSoundOn = false;
    }
}

void launchBonusFlights(Game& game) {
    std::vector<rules::BonusFlightRequest>& requests = game.rules.requests.bonusFlights;
    for (const rules::BonusFlightRequest& flight : requests) {
        const present::Point start = layout::kRuneSlots[static_cast<size_t>(std::clamp(flight.startSlot, 0, 17))];
        game.play.flights.push_back({linePoints(start, layout::ballAt(flight.column, flight.row)), 0, flight.pictureRow});
    }
    requests.clear();
}

std::vector<present::Point> linePoints(present::Point a, present::Point b) {
    std::vector<present::Point> points;
    const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    points.reserve(static_cast<size_t>(std::max(dx, -dy) + 1));
    int err = dx + dy;
    for (present::Point p = a;;) {
        points.push_back(p);
        if (p.x == b.x && p.y == b.y) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.y += sy;
        }
    }
    return points;
}

}  // namespace flow
