#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "present/layout.hpp"
#include "present/pictures.hpp"
#include "present/surface.hpp"

// The rules help's three looping demonstrations: a pointer glides over 2 by 2 blocks of balls and
// clicks, the blocks turn, figures burst and new balls drop in. Each is a fixed script of 32-bit
// words run by a tiny interpreter, a few steps per frame of the help screen.
namespace present {

// One 2 by 2 block of balls. Cells go column by column: 0 top-left, 1 bottom-left, 2 top-right,
// 3 bottom-right; a colour is 0 (empty) or 1..7.
struct DemoBlock {
    std::array<int32_t, 4> cells{};
    int32_t turnCounter = 0;  // 0..5 while a turn runs
    int32_t x = 0, y = 0;     // top-left corner, from the help screen's origin
    bool turning = false;
    bool clockwise = false;
    bool glowOn = false;
    std::array<int32_t, 4> glow{};  // per cell: 0 off, else the glow's frame counter
    bool burstOn = false;
    std::array<int32_t, 4> burst{};  // per cell: 0 off, else the burst's frame counter
    bool dropOn = false;
    // Per cell: how far above its cell the falling ball is drawn (negative, a multiple of 7; 0 =
    // landed), and the falling ball's colour (0 = none).
    std::array<int32_t, 4> dropOffset{};
    std::array<int32_t, 4> dropColour{};
};

// The mouse pictures "gfx//Help//Mouse0.png" to "Mouse2.png".
enum DemoMouse : int32_t { MouseNoButton = 0, MouseLeft = 1, MouseRight = 2 };

// One script interpreter with the blocks it shows.
struct DemoPlayer {
    int32_t x = 0, y = 0;  // the pointer, from the help screen's origin
    int32_t targetX = 0, targetY = 0;
    bool pausing = false;
    bool gliding = false;
    uint32_t pauseStart = 0;
    int32_t mouse = MouseNoButton;
    std::span<const int32_t> script;
    int32_t pc = 0;  // the next word of the script
    std::vector<DemoBlock> blocks;
};

// A script is a run of steps, each a kind word followed by its arguments.
enum DemoStep : int32_t {
    StepPlace = 0,     // x, y: the pointer jumps there
    StepAim = 1,       // x, y: where the next glide goes
    StepGlide = 2,     // the script waits until the pointer is at its target
    StepPause = 3,     // one second of stillness
    StepCells = 4,     // b, c0..c3: block b's colours
    StepTurn = 5,      // b, d: block b turns a quarter, clockwise when d is not 0
    StepMouse = 6,     // n: which mouse picture shows
    StepBurst = 7,     // b, f0..f3: burst counters of block b
    StepGlow = 8,      // b, f0..f3: glow counters of block b
    StepDrop = 9,      // b, k, offset, colour: a ball falls into cell k of block b
    StepAwait = 10,    // b, k, v: wait until that cell's drop offset is at least v
    StepRestart = 11,  // back to the first word
};

// The three demonstrations' scripts.
extern const std::span<const int32_t> kDemoScript1;
extern const std::span<const int32_t> kDemoScript2;
extern const std::span<const int32_t> kDemoScript3;

// A pause holds its demonstration this long, however many frames that takes.
inline constexpr uint32_t kDemoPauseMs = 1000;

// The three demonstrations, as they stand when the game starts: blocks placed, scripts at their
// first word, everything else zero.
std::array<DemoPlayer, 3> startingDemoPlayers();

// The demonstrations live for the whole run and are never reset, so one continues where it stood
// when the help screen was last left. They have nothing to do with the player's own game.
struct HelpDemos {
    std::array<DemoPlayer, 3> players = startingDemoPlayers();
};

// Runs the player's script until a step yields (a glide, a pause, a turn, a restart, an await that
// must wait), or moves the pointer one glide step, or advances a running turn. `now` is the game
// clock in milliseconds.
void stepDemo(DemoPlayer& player, uint32_t now);

// One pass of a block's effects after it was drawn: burst and glow counters count up, falling
// balls come 7 pixels lower and colour their cell as they land.
void advanceDemoEffects(DemoBlock& block);

// The turn frame a block is drawn at: its counter, run backwards for a clockwise turn.
int demoBlockFrame(const DemoBlock& block);

// Draws one block with its top-left corner at (x, y) of `target`: backdrop, balls, bursts and
// falling balls, then the glows. Bursts come from the explode strip only when it is kept as a
// surface, glows from the rise strip only when it is kept as a PixelImage.
void drawDemoBlock(const DemoBlock& block, int x, int y, const Pictures& pictures, Surface& target);

// One frame of the demonstrations while the rules help shows: for each player, the effects of the
// blocks the last frame drew move on (when the frame before showed them), then its script steps.
void stepHelpDemos(HelpDemos& demos, uint32_t now, bool shownLastFrame);

// Draws the demonstrations on a help screen whose origin is `origin`: for each player in order its
// blocks, then the pointer and the mouse picture.
void drawHelpDemos(const HelpDemos& demos, layout::Point origin, const Pictures& pictures, Surface& target);

}  // namespace present
