#include "present/demos.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/clock.hpp"

namespace present {
namespace {

constexpr uint32_t kFrameMs = 33;
constexpr layout::Point kHelpOrigin = {44, 32};

// The demonstrations on a running help screen: a frame every 33 ms of a clock that moves only
// when told to. Without pictures nothing is drawn, but every frame steps and advances as on screen.
struct HelpScreen {
    HelpDemos demos;
    rules::ManualClock clock{100000};
    Pictures pictures;
    Surface target = Surface::create(kScreenWidth, kScreenHeight);
    bool shown = false;

    void frame(uint32_t ms = kFrameMs) {
        clock.advance(ms);
        stepHelpDemos(demos, clock.now(), shown);
        drawHelpDemos(demos, kHelpOrigin, pictures, target);
        shown = true;
    }
};

// A player's blocks as rows of digits, '.' for an empty cell: one block is 2 by 2, four blocks
// (top-left, top-right, bottom-left, bottom-right) make a 4 by 4 board.
std::string boardOf(const DemoPlayer& player) {
    const int side = player.blocks.size() == 1 ? 2 : 4;
    std::string out;
    for (int row = 0; row < side; ++row) {
        if (row > 0) out += ' ';
        for (int column = 0; column < side; ++column) {
            const DemoBlock& block = player.blocks[static_cast<size_t>(row / 2 * 2 + column / 2)];
            const int32_t c = block.cells[static_cast<size_t>(column % 2 * 2 + row % 2)];
            out += c == 0 ? '.' : static_cast<char>('0' + c);
        }
    }
    return out;
}

bool settled(const DemoPlayer& player) {
    for (const DemoBlock& block : player.blocks)
        if (block.turning || block.dropOn) return false;
    return true;
}

// Runs one whole loop of player `p`'s script (until it starts over) and lists the boards it shows
// whenever no turn and no drop is running, each change once. The holes a figure leaves never show
// still: the balls above start to fall in the frame the figure goes.
std::vector<std::string> boardsOfOneLoop(HelpScreen& screen, int p) {
    const DemoPlayer& player = screen.demos.players[static_cast<size_t>(p)];
    std::vector<std::string> boards;
    for (int frame = 0; frame < 5000; ++frame) {
        screen.frame();
        if (settled(player) && (boards.empty() || boards.back() != boardOf(player))) boards.push_back(boardOf(player));
        if (player.pc == 0) return boards;
    }
    ADD_FAILURE() << "the script never started over";
    return boards;
}

// A screen whose first player runs `script` over one block, the others idle.
HelpScreen withScript(std::span<const int32_t> script) {
    HelpScreen screen;
    for (DemoPlayer& player : screen.demos.players) player = DemoPlayer{};
    screen.demos.players[0].script = script;
    screen.demos.players[0].blocks.resize(1);
    return screen;
}

// Each demonstration turns its blocks into a figure, the figure vanishes and the balls above it
// land where the rules of the game would put them; each board below was worked out by hand from
// the turns and the falls.
TEST(HelpDemos, EachLoopShowsTheBoardsOfItsMoves) {
    HelpScreen screen;
    const std::vector<std::string> one = {"13 24", "34 12", "13 24"};
    EXPECT_EQ(boardsOfOneLoop(screen, 0), one);

    HelpScreen second;
    const std::vector<std::string> two = {
        "2313 5442 2153 1344",  // at the start
        "5213 4342 2153 1344",  // first block clockwise
        "5232 4314 2153 1344",  // second block left, twice
        "5224 4331 2153 1344",
        "5224 4331 1353 2144",  // third block left
        "5224 4331 1334 2154",  // fourth block left: a square of threes
        "5114 4531 1224 2154",  // the balls above it have landed, new balls at the top
        "5141 4513 1224 2154",  // second block left
        "5141 4513 2124 1254",  // third block right: a diagonal of ones
        "2231 5143 4524 2254",
        "2131 2543 4524 2254",  // first block left, twice
        "1531 2243 4524 2254",
        "1531 2243 2424 2554",  // third block right, twice: a square of twos
        "1531 2243 2224 5454", "1431 2343 1524 5454",
    };
    EXPECT_EQ(boardsOfOneLoop(second, 1), two);

    HelpScreen third;
    const std::vector<std::string> three = {
        "1152 2341 1524 1431",  // at the start
        "1352 1241 1524 1431",  // first block left, twice
        "3252 1141 1524 1431",
        "3245 1112 1524 1431",  // second block right
        "3245 1112 1541 1423",  // fourth block left, twice
        "3245 1112 1513 1442",
        "3245 1112 1113 4542",  // third block right: a rectangle of six ones
        "6745 2652 3243 4542",
    };
    EXPECT_EQ(boardsOfOneLoop(third, 2), three);

    // The next loop starts from the first board again, and the players were never reset.
    EXPECT_EQ(boardsOfOneLoop(third, 2), three);
    EXPECT_EQ(boardsOfOneLoop(screen, 0), one);
}

// A turn yields on its step, counts five frames, and on the sixth frame after its step puts the
// cells in their new places; only the frame after that does the script go on. A clockwise turn is
// drawn through the frames backwards.
TEST(HelpDemos, TurnsTakeSixFramesAndRotateAtTheEnd) {
    for (const int32_t direction : {0, 1}) {
        const std::vector<int32_t> script = {StepCells, 0, 1, 2, 3, 4, StepTurn, 0, direction, StepMouse, 2, StepPause};
        HelpScreen screen = withScript(script);
        DemoPlayer& player = screen.demos.players[0];
        const DemoBlock& block = player.blocks[0];
        std::vector<int> frames;
        for (int frame = 0; frame < 6; ++frame) {
            stepDemo(player, screen.clock.now());
            EXPECT_TRUE(block.turning);
            EXPECT_EQ(block.cells, (std::array<int32_t, 4>{1, 2, 3, 4}));
            frames.push_back(demoBlockFrame(block));
        }
        EXPECT_EQ(frames, direction == 0 ? (std::vector<int>{0, 1, 2, 3, 4, 5}) : (std::vector<int>{5, 4, 3, 2, 1, 0}));

        stepDemo(player, screen.clock.now());
        EXPECT_FALSE(block.turning);
        EXPECT_EQ(demoBlockFrame(block), 0);
        EXPECT_EQ(player.mouse, 0) << "the script waits one more frame";
        EXPECT_EQ(block.cells, direction == 0 ? (std::array<int32_t, 4>{3, 1, 4, 2}) : (std::array<int32_t, 4>{2, 4, 1, 3}));
        stepDemo(player, screen.clock.now());
        EXPECT_EQ(player.mouse, 2);
        EXPECT_TRUE(player.pausing);
    }
}

// The pointer covers a tenth of the way each frame while it is more than 9 pixels off, then one
// pixel a frame; the script goes on the frame after it arrives.
TEST(HelpDemos, GlideSlowsDownNearItsTarget) {
    const std::vector<int32_t> script = {StepPlace, 0, 0, StepAim, 25, -25, StepGlide, StepMouse, 1, StepPause};
    HelpScreen screen = withScript(script);
    const DemoPlayer& player = screen.demos.players[0];
    std::vector<int> xs, ys;
    while (player.mouse == 0 && xs.size() < 100) {
        screen.frame();
        xs.push_back(player.x);
        ys.push_back(player.y);
    }
    std::vector<int> expectX = {0, 2, 4, 6};  // the glide step yields before the first move
    for (int x = 7; x <= 25; ++x) expectX.push_back(x);
    expectX.push_back(25);  // arrived: this frame goes on to the next step
    EXPECT_EQ(xs, expectX);
    for (size_t i = 0; i < ys.size(); ++i) EXPECT_EQ(ys[i], -xs[i]) << "the y axis toward -25, frame " << i;
}

// A pause holds for 1000 ms of the clock, whether that is one frame or a thousand, and across the
// clock's wrap.
TEST(HelpDemos, PauseLastsOneSecondOfClockTime) {
    const std::vector<int32_t> script = {StepPause, StepMouse, 1, StepPause, StepMouse, 2, StepRestart};
    for (const uint32_t start : {100000u, 0xFFFFFE00u}) {
        HelpScreen screen = withScript(script);
        screen.clock.set(start);
        const DemoPlayer& player = screen.demos.players[0];
        screen.frame(0);
        EXPECT_TRUE(player.pausing);
        for (int ms = 1; ms < 1000; ++ms) {
            screen.frame(1);
            ASSERT_EQ(player.mouse, 0) << ms << " ms after the pause began";
        }
        screen.frame(1);
        EXPECT_EQ(player.mouse, 1) << "released at 1000 ms";
        screen.frame(999);
        EXPECT_EQ(player.mouse, 1);
        screen.frame(1);
        EXPECT_EQ(player.mouse, 2);
        // Frames do not matter while the clock stands still.
        screen.frame(0);
        for (int i = 0; i < 200; ++i) screen.frame(0);
        EXPECT_TRUE(player.pausing);
    }
}

// A ball dropped from two cells up falls 7 pixels a frame and colours its cell as it lands; an
// await holds the script until the fall is far enough; a drop from 0 colours its cell on that
// frame's pass, with nothing falling. Bursts and glows play their strips once.
TEST(HelpDemos, DropsLandAndEffectsPlayOnce) {
    const std::vector<int32_t> script = {StepCells, 0,         0, 0, 0,        0,        StepDrop, 0, 1,   -56,
                                         3,         StepAwait, 0, 1, -28,      StepDrop, 0,        0, -28, 5,
                                         StepAwait, 0,         0, 0, StepDrop, 0,        2,        0, 6,   StepPause};
    HelpScreen screen = withScript(script);
    const DemoBlock& block = screen.demos.players[0].blocks[0];
    std::vector<int32_t> offsets;
    for (int frame = 0; frame < 9; ++frame) {
        screen.frame();
        offsets.push_back(block.dropOffset[1]);
    }
    EXPECT_EQ(offsets, (std::vector<int32_t>{-56, -49, -42, -35, -28, -21, -14, -7, 0}));
    screen.frame();
    EXPECT_EQ(block.dropOffset[0], 0);
    EXPECT_EQ(block.cells, (std::array<int32_t, 4>{5, 3, 6, 0}));
    EXPECT_FALSE(block.dropOn);
    EXPECT_EQ(block.dropColour, (std::array<int32_t, 4>{}));

    // The two falls land together as the ninth frame begins; the drop from 0 fills its cell as the
    // tenth begins.
    HelpScreen again = withScript(script);
    const DemoBlock& b = again.demos.players[0].blocks[0];
    for (int frame = 0; frame < 8; ++frame) again.frame();
    EXPECT_EQ(b.cells, (std::array<int32_t, 4>{0, 0, 0, 0}));
    again.frame();
    EXPECT_EQ(b.cells, (std::array<int32_t, 4>{5, 3, 0, 0}));
    again.frame();
    EXPECT_EQ(b.cells, (std::array<int32_t, 4>{5, 3, 6, 0}));

    // Strip frames shown per pass: a burst plays frames 0 to 10, a glow 0 to 5, then they stop.
    DemoBlock effects;
    effects.burstOn = effects.glowOn = true;
    effects.burst = {0, 0, 0, 1};
    effects.glow = {1, 0, 0, 0};
    std::vector<int> bursts, glows;
    for (int pass = 0; pass < 20; ++pass) {
        if (effects.burstOn) bursts.push_back(effects.burst[3] - 1);
        if (effects.glowOn) glows.push_back(effects.glow[0] - 1);
        advanceDemoEffects(effects);
    }
    EXPECT_EQ(bursts, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(glows, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

// A script that runs off its end, one cut short and one with a word that is no step, and block or
// cell numbers outside the player's blocks, leave the frame and the memory alone.
TEST(HelpDemos, BrokenScriptsDoNoHarm) {
    const std::vector<int32_t> noRestart = {StepMouse, 1, StepMouse, 2};
    const std::vector<int32_t> cutShort = {StepPlace, 3, 3, StepCells, 0, 1};
    const std::vector<int32_t> strange = {99, StepCells, 7, 1, 1,         1, 1, StepDrop, 0, 9, -7,        1, StepAwait, -1, 4,
                                          0,  StepTurn,  5, 1, StepBurst, 0, 1, 1,        1, 1, StepMouse, 9, StepGlide};
    for (const auto* script : {&noRestart, &cutShort, &strange}) {
        HelpScreen screen = withScript(*script);
        for (int frame = 0; frame < 40; ++frame) screen.frame();
        EXPECT_EQ(screen.demos.players[0].blocks[0].cells, (std::array<int32_t, 4>{}));
    }
    HelpScreen empty = withScript({});
    empty.frame();
    EXPECT_EQ(empty.demos.players[0].pc, 0);
}

// ---- Drawing ---------------------------------------------------------------------------------

uint32_t ballColour(int c) { return 0x00100000u * static_cast<uint32_t>(c) + 0x40; }
uint32_t quadroColour(int f) { return 0x00000800u * static_cast<uint32_t>(f + 1); }

// Pictures made for the test: each Quadro frame a framed square of its own colour, each ball a
// solid disc-free square of its own colour, each burst frame a solid colour, each glow frame grey.
Pictures testPictures(bool explodeAsSurface = true, bool riseAsImage = true) {
    Pictures p;
    Surface quadro = Surface::create(6 * 62, 62, kMagentaKey);
    quadro.fill(0xFF00FF);
    for (int f = 0; f < 6; ++f)
        for (int y = 0; y < 62; ++y) quadro.row(y)[62 * f] = quadroColour(f);  // the left edge only
    p.surfaces[static_cast<size_t>(SurfacePicture::Quadro)] = quadro;
    p.balls = Surface::create(140, 20, kMagentaKey);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 140; ++x) p.balls.row(y)[x] = ballColour(x / 20 + 1);
    AnimationStrip& explode = p.strips[static_cast<size_t>(Strip::Explode)];
    if (explodeAsSurface) {
        explode.surface = Surface::create(12 * 29, 26, kBlackKey);
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 12 * 29; ++x) explode.surface.row(y)[x] = 0x00FF0000u + static_cast<uint32_t>(x / 29);
    } else {
        explode.image = {std::vector<uint32_t>(12 * 29 * 26, 0x00FF0000u), 12 * 29, 26};
    }
    AnimationStrip& rise = p.strips[static_cast<size_t>(Strip::Rise)];
    if (riseAsImage)
        rise.image = {std::vector<uint32_t>(252 * 42, 0x00010101u), 252, 42};
    else
        rise.surface = Surface::create(252, 42, kBlackKey);
    return p;
}

// The top-left corner of the first pixel of colour `c` in reading order, or (-1, -1).
layout::Point find(const Surface& s, uint32_t c) {
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if ((s.at(x, y) & kColourMask) == c) return {x, y};
    return {-1, -1};
}

// Through every frame of a turn the balls move from their own places to those the rotation gives
// them, whichever the direction, and the backdrop follows the frame.
TEST(HelpDemoDrawing, TurnsStartAndEndAtTheCellsPlaces) {
    const Pictures pictures = testPictures();
    constexpr int bx = 100, by = 50;
    const auto home = [&](int cell) {
        return layout::Point{bx + layout::kTurnPositions[0][cell].x, by + layout::kTurnPositions[0][cell].y};
    };
    // Where each cell's ball is once the turn is over: counter-clockwise 0 -> 1 -> 3 -> 2 -> 0.
    const int ccwDestination[4] = {1, 3, 0, 2};
    const int cwDestination[4] = {2, 0, 3, 1};
    for (const bool clockwise : {false, true}) {
        DemoBlock block;
        block.cells = {1, 2, 3, 4};
        block.turning = true;
        block.clockwise = clockwise;
        for (int counter = 0; counter <= 5; ++counter) {
            block.turnCounter = counter;
            Surface target = Surface::create(300, 200);
            drawDemoBlock(block, bx, by, pictures, target);
            EXPECT_EQ(target.at(bx, by + 30), quadroColour(demoBlockFrame(block)));
            for (int cell = 0; cell < 4; ++cell) {
                const layout::Point at = find(target, ballColour(cell + 1));
                const int first = clockwise ? 5 : 0, last = 5 - first;
                const int frame = demoBlockFrame(block);
                const layout::Point expected = frame == first  ? home(cell)
                                               : frame == last ? home(clockwise ? cwDestination[cell] : ccwDestination[cell])
                                                               : at;
                EXPECT_LE(std::abs(at.x - expected.x) + std::abs(at.y - expected.y), 3)
                    << (clockwise ? "clockwise" : "counter-clockwise") << " counter " << counter << " cell " << cell;
            }
        }
    }
}

// Bursts come only from the explode strip kept as a surface, glows only from the rise strip kept
// in plain memory; a falling ball is drawn above its cell, and a drop from 0 shows no ball.
TEST(HelpDemoDrawing, EffectsUseTheirPicturesForm) {
    DemoBlock block;
    block.cells = {1, 0, 0, 0};
    block.burstOn = true;
    block.burst = {3, 0, 0, 0};
    block.glowOn = true;
    block.glow = {0, 2, 0, 0};
    block.dropOn = true;
    block.dropOffset = {0, 0, -28, 0};
    block.dropColour = {0, 0, 5, 7};
    constexpr int bx = 100, by = 100;
    const auto draw = [&](const Pictures& pictures) {
        Surface target = Surface::create(300, 300);
        target.fill(0x00202020);
        drawDemoBlock(block, bx, by, pictures, target);
        return target;
    };
    const Surface both = draw(testPictures());
    // Burst frame 2 over cell 0, 2 left of and 5 above its ball.
    EXPECT_EQ(find(both, 0x00FF0002u).x, bx + 7 - 2);
    EXPECT_EQ(find(both, 0x00FF0002u).y, by + 7 - 5);
    // The glow adds 1 to each channel over cell 1's 42 by 42 square, 10 up and left of its ball.
    EXPECT_EQ(both.at(bx + 7 - 10, by + 35 - 10), 0x00212121u);
    EXPECT_EQ(both.at(bx + 7 - 11, by + 35 - 10), 0x00202020u);
    // The ball falling into cell 2 hangs 28 pixels above it; the drop into cell 3 at 0 is not seen.
    EXPECT_EQ(find(both, ballColour(5)).x, bx + 35);
    EXPECT_EQ(find(both, ballColour(5)).y, by + 7 - 28);
    EXPECT_EQ(find(both, ballColour(7)).x, -1);

    const Surface neither = draw(testPictures(false, false));
    EXPECT_EQ(find(neither, 0x00FF0002u).x, -1);
    EXPECT_EQ(neither.at(bx + 7 - 10, by + 35 - 10), 0x00202020u);
    EXPECT_EQ(find(neither, ballColour(1)).x, bx + 7);  // the ball the burst covered
    EXPECT_EQ(find(neither, ballColour(1)).y, by + 7);

    // A block near the picture's edge and a strip shorter than its counters draw only what fits.
    block.burst = {13, 0, 0, 0};
    block.glow = {0, 9, 0, 0};
    Surface small = Surface::create(40, 40);
    drawDemoBlock(block, -30, 20, testPictures(), small);
    drawDemoBlock(block, 25, -50, testPictures(), small);
}

// The pointer and the mouse picture of each demonstration are drawn from the help screen's origin,
// the mouse 30 pixels right of the pointer.
TEST(HelpDemoDrawing, PointerAndMouseFollowTheScript) {
    HelpScreen screen;
    screen.pictures = testPictures();
    Surface pointer = Surface::create(26, 27, kMagentaKey);
    pointer.fill(0x00ABCDEF);
    screen.pictures.surfaces[static_cast<size_t>(SurfacePicture::HelpCursor)] = pointer;
    for (int m = 0; m < 3; ++m) {
        Surface mouse = Surface::create(18, 28, kMagentaKey);
        mouse.fill(0x00F0F000u + static_cast<uint32_t>(m));
        screen.pictures.surfaces[static_cast<size_t>(SurfacePicture::HelpMouse0) + static_cast<size_t>(m)] = mouse;
    }
    // Run the first demonstration up to its first click.
    const DemoPlayer& player = screen.demos.players[0];
    for (int frame = 0; frame < 200 && player.mouse != MouseLeft; ++frame) {
        screen.target.fill(0);
        screen.frame();
    }
    EXPECT_EQ(player.x, 300);
    EXPECT_EQ(player.y, 40);
    EXPECT_EQ(find(screen.target, 0x00ABCDEF).x, kHelpOrigin.x + 300);
    EXPECT_EQ(find(screen.target, 0x00ABCDEF).y, kHelpOrigin.y + 40);
    EXPECT_EQ(find(screen.target, 0x00F0F001).x, kHelpOrigin.x + 330);
    EXPECT_EQ(find(screen.target, 0x00F0F001).y, kHelpOrigin.y + 40);
    // The block of the first demonstration, backdrop frame 0, at its place from the origin.
    EXPECT_EQ(screen.target.at(kHelpOrigin.x + 283, kHelpOrigin.y + 25 + 30), quadroColour(0));
}

}  // namespace
}  // namespace present
