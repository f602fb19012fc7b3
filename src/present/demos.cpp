#include "present/demos.hpp"

#include <algorithm>
#include <cstdlib>

#include "game/clock.hpp"
#include "present/blitter.hpp"

namespace present {

namespace {

constexpr int32_t Ccw = 0, Cw = 1;

// The first block alone: two clicks turn it left and back right, forever.
constexpr int32_t kScript1[] = {
    StepCells,
    0,
    1,
    2,
    3,
    4,
    StepMouse,
    MouseNoButton,
    StepPlace,
    320,
    100,
    StepAim,
    300,
    40,
    StepGlide,
    StepMouse,
    MouseLeft,
    StepPause,
    StepMouse,
    MouseNoButton,
    StepTurn,
    0,
    Ccw,
    StepAim,
    320,
    40,
    StepGlide,
    StepMouse,
    MouseRight,
    StepPause,
    StepTurn,
    0,
    Cw,
    StepMouse,
    MouseNoButton,
    StepAim,
    320,
    100,
    StepGlide,
    StepRestart,
};

// Four blocks: turns that close a square of threes, balls falling after it, a diagonal of ones,
// then a square of twos.
constexpr int32_t kScript2[] = {
    StepCells,
    0,
    2,
    5,
    3,
    4,
    StepCells,
    1,
    1,
    4,
    3,
    2,
    StepCells,
    2,
    2,
    1,
    1,
    3,
    StepCells,
    3,
    5,
    4,
    3,
    4,
    StepMouse,
    MouseNoButton,
    StepPlace,
    240,
    280,
    StepAim,
    240,
    169,
    StepGlide,
    StepMouse,
    MouseRight,
    StepTurn,
    0,
    Cw,
    StepMouse,
    MouseNoButton,
    StepAim,
    300,
    169,
    StepGlide,
    StepMouse,
    MouseLeft,
    StepTurn,
    1,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepPause,
    StepMouse,
    MouseLeft,
    StepTurn,
    1,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepAim,
    240,
    220,
    StepGlide,
    StepMouse,
    MouseLeft,
    StepTurn,
    2,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepAim,
    300,
    220,
    StepGlide,
    StepMouse,
    MouseLeft,
    StepTurn,
    3,
    Ccw,
    StepMouse,
    MouseNoButton,
    // The square of threes in the middle vanishes.
    StepCells,
    0,
    5,
    4,
    0,
    0,
    StepCells,
    1,
    0,
    0,
    4,
    1,
    StepCells,
    2,
    1,
    2,
    0,
    1,
    StepCells,
    3,
    0,
    5,
    4,
    4,
    StepBurst,
    0,
    0,
    0,
    0,
    1,
    StepBurst,
    1,
    0,
    1,
    0,
    0,
    StepBurst,
    2,
    0,
    0,
    1,
    0,
    StepBurst,
    3,
    1,
    0,
    0,
    0,
    StepDrop,
    2,
    2,
    -56,
    2,
    StepDrop,
    3,
    0,
    -56,
    2,
    StepGlow,
    0,
    0,
    0,
    1,
    0,
    StepGlow,
    1,
    1,
    0,
    0,
    0,
    StepAwait,
    2,
    2,
    -28,
    StepAwait,
    3,
    0,
    -28,
    StepDrop,
    0,
    3,
    -28,
    5,
    StepDrop,
    1,
    1,
    -28,
    3,
    StepGlow,
    0,
    0,
    0,
    1,
    0,
    StepGlow,
    1,
    1,
    0,
    0,
    0,
    StepAwait,
    0,
    3,
    0,
    StepAwait,
    1,
    1,
    0,
    StepDrop,
    0,
    2,
    0,
    1,
    StepDrop,
    1,
    0,
    0,
    1,
    StepGlow,
    0,
    0,
    0,
    1,
    0,
    StepGlow,
    1,
    1,
    0,
    0,
    0,
    StepAim,
    310,
    180,
    StepGlide,
    StepMouse,
    MouseLeft,
    StepPause,
    StepTurn,
    1,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepAim,
    248,
    225,
    StepGlide,
    StepMouse,
    MouseRight,
    StepTurn,
    2,
    Cw,
    StepMouse,
    MouseNoButton,
    // A diagonal of four ones vanishes.
    StepCells,
    0,
    0,
    0,
    0,
    0,
    StepCells,
    1,
    0,
    0,
    0,
    3,
    StepCells,
    2,
    0,
    0,
    0,
    2,
    StepCells,
    3,
    2,
    5,
    4,
    4,
    StepBurst,
    1,
    0,
    1,
    1,
    0,
    StepBurst,
    2,
    0,
    1,
    1,
    0,
    StepDrop,
    2,
    1,
    -28,
    2,
    StepDrop,
    2,
    0,
    -28,
    4,
    StepDrop,
    2,
    2,
    -28,
    5,
    StepDrop,
    1,
    1,
    -28,
    4,
    StepDrop,
    0,
    1,
    -28,
    5,
    StepDrop,
    0,
    3,
    -28,
    1,
    StepAwait,
    0,
    1,
    0,
    StepAwait,
    0,
    3,
    0,
    StepAwait,
    1,
    1,
    0,
    StepAwait,
    2,
    0,
    0,
    StepAwait,
    2,
    1,
    0,
    StepAwait,
    2,
    2,
    0,
    StepDrop,
    1,
    0,
    0,
    3,
    StepDrop,
    1,
    2,
    0,
    1,
    StepDrop,
    0,
    0,
    0,
    2,
    StepDrop,
    0,
    2,
    0,
    2,
    StepGlow,
    0,
    1,
    0,
    1,
    0,
    StepGlow,
    1,
    1,
    0,
    1,
    0,
    StepAim,
    256,
    198,
    StepGlide,
    StepPause,
    StepMouse,
    MouseLeft,
    StepTurn,
    0,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepPause,
    StepMouse,
    MouseLeft,
    StepTurn,
    0,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepAim,
    264,
    220,
    StepGlide,
    StepMouse,
    MouseRight,
    StepTurn,
    2,
    Cw,
    StepMouse,
    MouseNoButton,
    StepPause,
    StepMouse,
    MouseRight,
    StepTurn,
    2,
    Cw,
    StepMouse,
    MouseNoButton,
    // A square of twos vanishes.
    StepCells,
    0,
    0,
    0,
    0,
    0,
    StepCells,
    2,
    0,
    5,
    0,
    4,
    StepBurst,
    0,
    0,
    1,
    0,
    1,
    StepBurst,
    2,
    1,
    0,
    1,
    0,
    StepDrop,
    2,
    0,
    -56,
    1,
    StepDrop,
    2,
    2,
    -56,
    5,
    StepAwait,
    2,
    0,
    -28,
    StepAwait,
    2,
    2,
    -28,
    StepDrop,
    0,
    1,
    -28,
    2,
    StepDrop,
    0,
    3,
    -28,
    3,
    StepGlow,
    0,
    1,
    0,
    1,
    0,
    StepAwait,
    0,
    1,
    0,
    StepAwait,
    0,
    3,
    0,
    StepDrop,
    0,
    0,
    0,
    1,
    StepDrop,
    0,
    2,
    0,
    4,
    StepGlow,
    0,
    1,
    0,
    1,
    0,
    StepAwait,
    0,
    0,
    0,
    StepAwait,
    0,
    2,
    0,
    StepAim,
    240,
    280,
    StepGlide,
    StepRestart,
};

// Four blocks: two turns each on the first and last, one each on the others, then a rectangle of
// six ones vanishes.
constexpr int32_t kScript3[] = {
    StepCells,
    0,
    1,
    2,
    1,
    3,
    StepCells,
    1,
    5,
    4,
    2,
    1,
    StepCells,
    2,
    1,
    1,
    5,
    4,
    StepCells,
    3,
    2,
    3,
    4,
    1,
    StepMouse,
    MouseNoButton,
    StepPlace,
    582,
    333,
    StepAim,
    582,
    222,
    StepGlide,
    StepMouse,
    MouseLeft,
    StepTurn,
    0,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepPause,
    StepMouse,
    MouseLeft,
    StepTurn,
    0,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepAim,
    642,
    222,
    StepGlide,
    StepMouse,
    MouseRight,
    StepTurn,
    1,
    Cw,
    StepMouse,
    MouseNoButton,
    StepAim,
    642,
    273,
    StepGlide,
    StepMouse,
    MouseLeft,
    StepTurn,
    3,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepPause,
    StepMouse,
    MouseLeft,
    StepTurn,
    3,
    Ccw,
    StepMouse,
    MouseNoButton,
    StepAim,
    582,
    273,
    StepGlide,
    StepMouse,
    MouseRight,
    StepTurn,
    2,
    Cw,
    StepMouse,
    MouseNoButton,
    StepCells,
    0,
    0,
    0,
    0,
    0,
    StepCells,
    1,
    0,
    0,
    5,
    2,
    StepCells,
    2,
    0,
    4,
    0,
    5,
    StepCells,
    3,
    0,
    4,
    3,
    2,
    StepBurst,
    0,
    0,
    1,
    0,
    1,
    StepBurst,
    1,
    0,
    1,
    0,
    0,
    StepBurst,
    2,
    1,
    0,
    1,
    0,
    StepBurst,
    3,
    1,
    0,
    0,
    0,
    StepDrop,
    3,
    0,
    -56,
    4,
    StepDrop,
    2,
    0,
    -56,
    3,
    StepDrop,
    2,
    2,
    -56,
    2,
    StepAwait,
    3,
    0,
    -28,
    StepAwait,
    2,
    0,
    -28,
    StepAwait,
    2,
    2,
    -28,
    StepDrop,
    0,
    1,
    -28,
    2,
    StepDrop,
    0,
    3,
    -28,
    6,
    StepDrop,
    1,
    1,
    -28,
    5,
    StepGlow,
    0,
    1,
    0,
    1,
    0,
    StepGlow,
    1,
    1,
    0,
    0,
    0,
    StepAwait,
    0,
    1,
    0,
    StepAwait,
    0,
    3,
    0,
    StepAwait,
    1,
    1,
    0,
    StepDrop,
    0,
    0,
    0,
    6,
    StepDrop,
    0,
    2,
    0,
    7,
    StepDrop,
    1,
    0,
    0,
    4,
    StepGlow,
    0,
    1,
    0,
    1,
    0,
    StepGlow,
    1,
    1,
    0,
    0,
    0,
    StepAim,
    582,
    333,
    StepGlide,
    StepRestart,
};

// Words each step takes after its kind; -1 for a kind that is no step.
constexpr int argumentCount(int32_t kind) {
    switch (kind) {
        case StepPlace:
        case StepAim: return 2;
        case StepGlide:
        case StepPause:
        case StepRestart: return 0;
        case StepCells:
        case StepBurst:
        case StepGlow: return 5;
        case StepTurn: return 2;
        case StepMouse: return 1;
        case StepDrop: return 4;
        case StepAwait: return 3;
        default: return -1;
    }
}

// Every script is whole: each step has all its words, and it ends by starting over, so the
// interpreter never reads past its table.
constexpr bool wellFormed(std::span<const int32_t> script) {
    size_t pc = 0;
    int32_t last = -1;
    while (pc < script.size()) {
        last = script[pc];
        const int count = argumentCount(last);
        if (count < 0) return false;
        pc += 1 + static_cast<size_t>(count);
    }
    return pc == script.size() && last == StepRestart;
}
static_assert(wellFormed(kScript1) && wellFormed(kScript2) && wellFormed(kScript3));

constexpr int kTurnFrames = 5;     // a turn counts 1..5, then finishes on the next frame
constexpr int kGlideSlowZone = 9;  // the last pixels of a glide go one per frame
constexpr int kGlideDivisor = 10;
constexpr int32_t kDropStep = 7;
constexpr int32_t kBurstLast = 10;  // a burst counter above this ends the burst
constexpr int32_t kGlowLast = 5;

// Pictures of the blocks and the pointer.
constexpr int kBallSide = 20;
constexpr int kBallColours = 7;
constexpr int kBurstWidth = 29, kBurstHeight = 26;
constexpr int kBurstDx = -2, kBurstDy = -5;
constexpr int kGlowSide = 42;
constexpr int kGlowOffset = -10;
constexpr int kPointerWidth = 26, kPointerHeight = 27;
constexpr int kMouseWidth = 18, kMouseHeight = 28;
constexpr int kMouseDx = 30;

DemoBlock blockAt(int32_t x, int32_t y) {
    DemoBlock block;
    block.x = x;
    block.y = y;
    return block;
}

DemoBlock* blockOf(DemoPlayer& player, int32_t b) {
    if (b < 0 || static_cast<size_t>(b) >= player.blocks.size()) return nullptr;
    return &player.blocks[static_cast<size_t>(b)];
}

bool isCell(int32_t k) { return k >= 0 && k < 4; }

// The first block with a turn running: counts it on, or on the frame after the fifth finishes it.
// False when no block is turning.
bool advanceTurn(DemoPlayer& player) {
    for (DemoBlock& block : player.blocks) {
        if (!block.turning) continue;
        if (block.turnCounter < kTurnFrames) {
            ++block.turnCounter;
            return true;
        }
        block.turning = false;
        block.turnCounter = 0;
        const auto c = block.cells;
        block.cells =
            block.clockwise ? std::array<int32_t, 4>{c[1], c[3], c[0], c[2]} : std::array<int32_t, 4>{c[2], c[0], c[3], c[1]};
        block.clockwise = false;
        return true;
    }
    return false;
}

int32_t glideStep(int32_t position, int32_t target) {
    const int32_t d = target - position;
    if (std::abs(d) > kGlideSlowZone) return position + d / kGlideDivisor;
    if (d != 0) return position + (d > 0 ? 1 : -1);
    return position;
}

// Applies the step at pc and moves pc past it. True when the script goes on in the same frame.
bool runStep(DemoPlayer& player, uint32_t now) {
    const std::span<const int32_t> script = player.script;
    const size_t pc = static_cast<size_t>(player.pc);
    if (pc >= script.size()) {
        player.pc = 0;
        return false;
    }
    const int32_t kind = script[pc];
    const int count = argumentCount(kind);
    if (count < 0 || pc + 1 + static_cast<size_t>(count) > script.size()) {
        // Not a step, or one cut short: it does nothing and yields.
        player.pc = static_cast<int32_t>(std::min(script.size(), pc + 1));
        return false;
    }
    const int32_t* a = script.data() + pc + 1;
    player.pc = static_cast<int32_t>(pc + 1 + static_cast<size_t>(count));
    DemoBlock* block = count > 0 ? blockOf(player, a[0]) : nullptr;

    switch (kind) {
        case StepPlace:
            player.x = a[0];
            player.y = a[1];
            return true;
        case StepAim:
            player.targetX = a[0];
            player.targetY = a[1];
            return true;
        case StepGlide: player.gliding = true; return false;
        case StepPause:
            player.pausing = true;
            player.pauseStart = now;
            return false;
        case StepCells:
            if (block) block->cells = {a[1], a[2], a[3], a[4]};
            return true;
        case StepTurn:
            if (block) {
                block->turning = true;
                block->clockwise = a[1] != 0;
                block->turnCounter = 0;
            }
            return false;
        case StepMouse: player.mouse = a[0]; return true;
        case StepBurst:
            if (block) {
                block->burstOn = true;
                block->burst = {a[1], a[2], a[3], a[4]};
            }
            return true;
        case StepGlow:
            if (block) {
                block->glowOn = true;
                block->glow = {a[1], a[2], a[3], a[4]};
            }
            return true;
        case StepDrop:
            if (block && isCell(a[1])) {
                block->dropOn = true;
                block->dropOffset[static_cast<size_t>(a[1])] = a[2];
                block->dropColour[static_cast<size_t>(a[1])] = a[3];
            }
            return true;
        case StepAwait:
            if (block && isCell(a[1]) && block->dropOffset[static_cast<size_t>(a[1])] < a[2]) {
                player.pc = static_cast<int32_t>(pc);
                return false;
            }
            return true;
        case StepRestart: player.pc = 0; return false;
        default: return false;
    }
}

// Counts running effect frames on; a counter already past `last` ends the effect for all cells.
void advanceCounters(bool& on, std::array<int32_t, 4>& counters, int32_t last) {
    if (!on) return;
    for (int32_t& n : counters) {
        if (n == 0) continue;
        if (n > last) {
            on = false;
            return;
        }
        ++n;
    }
}

void drawBall(const Surface& balls, int32_t colour, int x, int y, Surface& target) {
    if (colour < 1 || colour > kBallColours) return;
    copyRect(balls, kBallSide * (colour - 1), 0, x, y, kBallSide, kBallSide, target, ColourKey::Use);
}

const Surface& mousePicture(const Pictures& pictures, int32_t mouse) {
    static const Surface none;
    if (mouse < MouseNoButton || mouse > MouseRight) return none;
    return pictures.surface(static_cast<SurfacePicture>(static_cast<int>(SurfacePicture::HelpMouse0) + mouse));
}

}  // namespace

const std::span<const int32_t> kDemoScript1 = kScript1;
const std::span<const int32_t> kDemoScript2 = kScript2;
const std::span<const int32_t> kDemoScript3 = kScript3;

std::array<DemoPlayer, 3> startingDemoPlayers() {
    std::array<DemoPlayer, 3> players{};
    players[0].script = kScript1;
    players[0].blocks = {blockAt(283, 25)};
    players[1].script = kScript2;
    players[1].blocks = {blockAt(228, 149), blockAt(284, 149), blockAt(228, 205), blockAt(284, 205)};
    players[2].script = kScript3;
    players[2].blocks = {blockAt(573, 202), blockAt(629, 202), blockAt(573, 257), blockAt(629, 257)};
    return players;
}

void stepDemo(DemoPlayer& player, uint32_t now) {
    // Every step that goes on moves pc forward, and running off the table's end yields, so this
    // ends within one pass over the script.
    for (;;) {
        if (player.pausing) {
            if (rules::elapsedSince(now, player.pauseStart) < kDemoPauseMs) return;
            player.pausing = false;
        }
        if (player.gliding) {
            if (player.x != player.targetX || player.y != player.targetY) {
                player.x = glideStep(player.x, player.targetX);
                player.y = glideStep(player.y, player.targetY);
                return;
            }
            player.gliding = false;
        }
        if (advanceTurn(player)) return;
        if (!runStep(player, now)) return;
    }
}

void advanceDemoEffects(DemoBlock& block) {
    advanceCounters(block.burstOn, block.burst, kBurstLast);
    advanceCounters(block.glowOn, block.glow, kGlowLast);
    if (!block.dropOn) return;
    for (size_t i = 0; i < 4; ++i) {
        if (block.dropColour[i] == 0) continue;
        int32_t& offset = block.dropOffset[i];
        // The ball lands on this pass: from one step above, or straight away from 0.
        if (offset == -kDropStep || offset == 0) block.cells[i] = block.dropColour[i];
        if (offset < 0) offset += kDropStep;
    }
    if (std::all_of(block.dropOffset.begin(), block.dropOffset.end(), [](int32_t o) { return o == 0; })) {
        block.dropOn = false;
        block.dropColour = {};
    }
}

int demoBlockFrame(const DemoBlock& block) {
    const int counter = std::clamp(block.turnCounter, 0, kTurnFrames);
    return block.clockwise ? kTurnFrames - counter : counter;
}

void drawDemoBlock(const DemoBlock& block, int x, int y, const Pictures& pictures, Surface& target) {
    const int f = demoBlockFrame(block);
    const auto& positions = layout::kTurnPositions[static_cast<size_t>(f)];
    copyRect(pictures.surface(SurfacePicture::Quadro), layout::kBlockSide * f, 0, x, y, layout::kBlockSide, layout::kBlockSide,
             target, ColourKey::Use);

    // A clockwise turn runs its frames backwards, so its cells are taken in the order that starts
    // the turn from their real places; each cell's effects go with its ball.
    const auto cellAt = [&](size_t i) { return block.clockwise ? static_cast<size_t>(layout::kClockwiseCellOrder[i]) : i; };
    const Surface& explode = pictures.strip(Strip::Explode).surface;
    for (size_t i = 0; i < 4; ++i) {
        const size_t c = cellAt(i);
        const int px = x + positions[i].x, py = y + positions[i].y;
        drawBall(pictures.ballsShown(), block.cells[c], px, py, target);
        const int32_t n = block.burst[c];
        if (block.burstOn && n > 0)
            copyRect(explode, kBurstWidth * (n - 1), 0, px + kBurstDx, py + kBurstDy, kBurstWidth, kBurstHeight, target,
                     ColourKey::Use);
        if (block.dropOn && block.dropOffset[c] != 0)
            drawBall(pictures.ballsShown(), block.dropColour[c], px, py + block.dropOffset[c], target);
    }

    const PixelImage& rise = pictures.strip(Strip::Rise).image;
    if (!block.glowOn) return;
    for (size_t i = 0; i < 4; ++i) {
        const int32_t n = block.glow[cellAt(i)];
        if (n <= 0) continue;
        blendBlit(kGlowSide * (n - 1), 0, x + positions[i].x + kGlowOffset, y + positions[i].y + kGlowOffset, kGlowSide,
                  kGlowSide, rise, target, 1.0f, 1.0f);
    }
}

void stepHelpDemos(HelpDemos& demos, uint32_t now, bool shownLastFrame) {
    for (DemoPlayer& player : demos.players) {
        if (shownLastFrame)
            for (DemoBlock& block : player.blocks) advanceDemoEffects(block);
        stepDemo(player, now);
    }
}

void drawHelpDemos(const HelpDemos& demos, layout::Point origin, const Pictures& pictures, Surface& target) {
    for (const DemoPlayer& player : demos.players) {
        for (const DemoBlock& block : player.blocks)
            drawDemoBlock(block, origin.x + block.x, origin.y + block.y, pictures, target);
        const int px = origin.x + player.x, py = origin.y + player.y;
        copyRect(pictures.surface(SurfacePicture::HelpCursor), 0, 0, px, py, kPointerWidth, kPointerHeight, target,
                 ColourKey::Use);
        copyRect(mousePicture(pictures, player.mouse), 0, 0, px + kMouseDx, py, kMouseWidth, kMouseHeight, target,
                 ColourKey::Use);
    }
}

}  // namespace present
