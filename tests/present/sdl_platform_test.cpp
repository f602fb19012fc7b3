// The real window's presentation on SDL's dummy video driver, whose window surface is plain memory
// the tests read back: scaling with bars, pointer mapping, and frames sent only where they changed.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "present/sdl_platform.hpp"

namespace {

using present::kScreenHeight;
using present::kScreenWidth;
using present::letterbox;
using present::Point;
using present::Viewport;
using present::windowToPicture;

constexpr uint32_t kColour = 0x00FFFFFF;

TEST(Letterbox, KeepsThePictureShapeBetweenBlackBars) {
    auto same = [](const Viewport& a, const Viewport& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; };
    EXPECT_TRUE(same(letterbox(800, 600), {0, 0, 800, 600}));
    EXPECT_TRUE(same(letterbox(1024, 768), {0, 0, 1024, 768}));
    EXPECT_TRUE(same(letterbox(1280, 1024), {0, 32, 1280, 960}));    // bars above and below
    EXPECT_TRUE(same(letterbox(1920, 1080), {240, 0, 1440, 1080}));  // bars left and right
    EXPECT_TRUE(same(letterbox(1366, 768), {171, 0, 1024, 768}));

    const Viewport wide = letterbox(1920, 1080);
    EXPECT_EQ(windowToPicture(wide, 240, 0).x, 0);
    EXPECT_EQ(windowToPicture(wide, 1679, 1079).x, 799);
    EXPECT_EQ(windowToPicture(wide, 1679, 1079).y, 599);
    EXPECT_EQ(windowToPicture(wide, 960, 540).x, 400);
    EXPECT_EQ(windowToPicture(wide, 960, 540).y, 300);
    // The bars map to the picture's edges; a point just left of the picture is not rounded onto it.
    EXPECT_EQ(windowToPicture(wide, 0, 540).x, 0);
    EXPECT_EQ(windowToPicture(wide, 239, 540).x, 0);
    EXPECT_EQ(windowToPicture(wide, 1919, 540).x, 799);
    EXPECT_EQ(windowToPicture(letterbox(1280, 1024), 640, 5).y, 0);
    EXPECT_EQ(windowToPicture(letterbox(1280, 1024), 640, 1020).y, 599);

    // A picture point put in the window comes back as itself, whatever the scale.
    for (const Viewport& v : {letterbox(800, 600), letterbox(1000, 700), letterbox(1600, 1200), wide}) {
        for (int x = 0; x < kScreenWidth; x += 7) {
            const Point at = present::pictureToWindow(v, {x, 599 - x * 3 / 4});
            const Point back = windowToPicture(v, at.x, at.y);
            ASSERT_EQ(back.x, x) << v.w;
            ASSERT_EQ(back.y, 599 - x * 3 / 4) << v.w;
        }
    }
    EXPECT_TRUE(present::sharpScale(letterbox(800, 600)));
    EXPECT_TRUE(present::sharpScale(letterbox(1700, 1200)));
    EXPECT_FALSE(present::sharpScale(letterbox(1000, 700)));
    EXPECT_FALSE(present::sharpScale(wide));
}

// A first window is the largest whole multiple of the picture the desktop has room for; a remembered
// one is kept on a display that is there now.
TEST(WindowPlacement, FitsTheDesktopAndStaysOnADisplay) {
    using present::firstPlacement;
    using present::keepOnDisplays;
    using P = data::WindowPlacement;
    EXPECT_EQ(firstPlacement({0, 0, 3840, 2160}), (P{1120, 480, 1600, 1200}));  // three times would be 1800 high
    EXPECT_EQ(firstPlacement({0, 0, 5120, 2880}), (P{1360, 540, 2400, 1800}));
    EXPECT_EQ(firstPlacement({0, 0, 1920, 1080}), (P{560, 240, 800, 600}));
    EXPECT_EQ(firstPlacement({100, 30, 2400, 1770}), (P{500, 315, 1600, 1200}));  // panels take a part
    EXPECT_EQ(firstPlacement({0, 0, 640, 480}).width, 800);

    const std::vector<present::Rect> displays{{0, 0, 1920, 1050}, {1920, 0, 3840, 2160}};
    EXPECT_EQ(keepOnDisplays({2500, 300, 1600, 1200}, displays), (P{2500, 300, 1600, 1200}));
    // Mostly on the second display: pulled fully onto it.
    EXPECT_EQ(keepOnDisplays({1800, -50, 1000, 700}, displays), (P{1920, 0, 1000, 700}));
    // On a display no longer there: onto the first, which it cannot outgrow.
    EXPECT_EQ(keepOnDisplays({9000, 100, 1000, 700}, displays), (P{920, 100, 1000, 700}));
    EXPECT_EQ(keepOnDisplays({-9000, 100, 5000, 3000}, displays), (P{0, 0, 1920, 1050}));
    EXPECT_EQ(keepOnDisplays({10, 10, 1, 1}, displays), (P{10, 10, present::kMinimumWindowWidth, present::kMinimumWindowHeight}));
}

struct SdlVideo : ::testing::Test {
    void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError(); }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS); }
};

// SDL draws off screen when there is no display at all: the game must not run unseen then. A
// driver named in SDL_VIDEODRIVER (the tests' dummy) is a choice and counts.
TEST(RealDisplay, OffScreenCountsOnlyWhenAskedFor) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    EXPECT_TRUE(present::realDisplay());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);

    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << "no video driver at all: " << SDL_GetError();
    const std::string driver = SDL_GetCurrentVideoDriver();
    if (driver != "offscreen" && driver != "dummy") {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        GTEST_SKIP() << "this machine has a display without X11: " << driver;
    }
    EXPECT_FALSE(present::realDisplay());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

struct WindowSurface : SdlVideo {
    std::unique_ptr<present::SdlPlatform> platform;
    present::Surface frame = present::Surface::create(kScreenWidth, kScreenHeight);

    void SetUp() override {
        SdlVideo::SetUp();
        platform = std::make_unique<present::SdlPlatform>("", "");
    }
    void TearDown() override {
        platform.reset();
        SdlVideo::TearDown();
    }

    SDL_Surface* shown() { return SDL_GetWindowSurface(platform->window()); }
    uint32_t shownAt(int x, int y) {
        SDL_Surface* s = shown();
        return static_cast<const uint32_t*>(s->pixels)[static_cast<size_t>(y) * s->pitch / 4 + x] & kColour;
    }
    void scribble(int x, int y, uint32_t colour) {
        SDL_Surface* s = shown();
        static_cast<uint32_t*>(s->pixels)[static_cast<size_t>(y) * s->pitch / 4 + x] = colour;
    }
    // Lets the platform see the window events queued so far (a quit message ends the wait); the
    // messages it made of them.
    std::vector<present::InputEvent::Type> pumpWindowEvents() {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        std::vector<present::InputEvent::Type> types;
        present::InputEvent event;
        while (platform->waitEvent(event) && event.type != present::InputEvent::Type::Close) types.push_back(event.type);
        return types;
    }
    void paint(uint32_t colour) {
        for (int y = 0; y < kScreenHeight; ++y) std::fill_n(frame.row(y), kScreenWidth, colour);
    }
    void paintGradient() {
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x)
                frame.row(y)[x] = static_cast<uint32_t>(x & 0xFF) << 16 | static_cast<uint32_t>(y & 0xFF) << 8 | ((x + y) & 0xFF);
    }
};

TEST_F(WindowSurface, SendsOnlyWhatChangedAndRepaintsAStaleWindow) {
    ASSERT_TRUE(platform->createWindow(true, std::nullopt));
    EXPECT_EQ(platform->presentPath(), present::PresentPath::WindowSurface);
    pumpWindowEvents();  // the window's own first messages
    paintGradient();
    // The fourth byte is not part of the picture: a pixel with alpha 0 is shown in its colour.
    frame.row(10)[10] = 0x00123456;
    platform->present(frame);
    EXPECT_EQ(shownAt(10, 10), 0x123456u);
    EXPECT_EQ(shownAt(799, 599), frame.at(799, 599) & kColour);
    EXPECT_EQ(platform->screen().pixels, frame.pixels);

    // An unchanged frame leaves the window alone.
    scribble(5, 5, 0xABCDEF);
    scribble(5, 400, 0xABCDEF);
    platform->present(frame);
    EXPECT_EQ(shownAt(5, 5), 0xABCDEFu);

    // A change to rows 300 and 302 sends rows 300 to 302 only.
    frame.row(300)[700] = 0x00FF0000;
    frame.row(302)[1] = 0x0000FF00;
    scribble(5, 301, 0xABCDEF);
    platform->present(frame);
    EXPECT_EQ(shownAt(700, 300), 0xFF0000u);
    EXPECT_EQ(shownAt(1, 302), 0x00FF00u);
    EXPECT_EQ(shownAt(5, 301), frame.at(5, 301) & kColour);
    EXPECT_EQ(shownAt(5, 5), 0xABCDEFu);
    EXPECT_EQ(shownAt(5, 400), 0xABCDEFu);

    // Uncovered, the window is drawn whole again even though the frame did not change.
    SDL_Event exposed{};
    exposed.type = SDL_WINDOWEVENT;
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    exposed.window.windowID = SDL_GetWindowID(platform->window());
    SDL_PushEvent(&exposed);
    pumpWindowEvents();
    platform->present(frame);
    EXPECT_EQ(shownAt(5, 5), frame.at(5, 5) & kColour);
    EXPECT_EQ(shownAt(5, 400), frame.at(5, 400) & kColour);
}

TEST_F(WindowSurface, ScalesTheFrameBetweenBlackBarsAndMapsThePointerTheSameWay) {
    ASSERT_TRUE(platform->createWindow(true, std::nullopt));
    pumpWindowEvents();
    paintGradient();
    platform->present(frame);
    // Resized wider than the picture's shape, the window shows the picture whole at once, without a
    // new frame, between bars left and right; the new size is reported for the settings.
    SDL_SetWindowSize(platform->window(), 1000, 600);
    const auto messages = pumpWindowEvents();
    EXPECT_NE(std::find(messages.begin(), messages.end(), present::InputEvent::Type::WindowPlaced), messages.end());
    EXPECT_EQ(platform->windowPlacement()->width, 1000);
    SDL_Surface* s = shown();
    ASSERT_EQ(s->w, 1000);
    const Viewport v = letterbox(1000, 600);
    ASSERT_EQ(v.x, 100);
    for (int y = 0; y < 600; y += 7) {
        EXPECT_EQ(shownAt(0, y), 0u);
        EXPECT_EQ(shownAt(99, y), 0u);
        EXPECT_EQ(shownAt(900, y), 0u);
        EXPECT_EQ(shownAt(999, y), 0u);
        for (int x = v.x; x < v.x + v.w; x += 13) {
            const Point p = windowToPicture(v, x, y);
            ASSERT_EQ(shownAt(x, y), frame.at(p.x, p.y) & kColour) << x << "," << y;
        }
    }
    platform->movePointer({300, 200});
    EXPECT_EQ(platform->pointer().x, 300);
    EXPECT_EQ(platform->pointer().y, 200);

    // Full screen on the dummy display (1024 by 768) fills it at 1.28 times the picture: smooth, so
    // one colour stays exactly itself and a changed row blends into the window rows beside it. Only
    // the window rows that take from a changed row are sent.
    platform->setWindowMode(false);
    pumpWindowEvents();
    paint(0x00404040);
    platform->present(frame);
    ASSERT_EQ(shown()->w, 1024);
    for (int y = 0; y < 768; y += 11)
        for (int x = 0; x < 1024; x += 13) ASSERT_EQ(shownAt(x, y), 0x404040u) << x << "," << y;
    std::fill_n(frame.row(300), kScreenWidth, 0x00F0F0F0);
    scribble(5, 370, 0xABCDEF);
    platform->present(frame);
    EXPECT_EQ(shownAt(5, 370), 0xABCDEFu);
    for (int x = 0; x < 1024; x += 5) {
        EXPECT_EQ(shownAt(x, 381), 0x404040u);
        EXPECT_GT(shownAt(x, 384) & 0xFF, 0x40u);
        EXPECT_EQ(shownAt(x, 390), 0x404040u);
    }
    platform->movePointer({799, 0});
    EXPECT_EQ(platform->pointer().x, 799);
    EXPECT_EQ(platform->pointer().y, 0);
    // Columns of black and white: in between at 1.28 times, each its own at twice the size.
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) frame.row(y)[x] = x % 2 ? 0x00FFFFFF : 0;
    platform->present(frame);
    int between = 0;
    for (int x = 0; x < 1024; ++x) between += shownAt(x, 100) != 0 && shownAt(x, 100) != kColour;
    EXPECT_GT(between, 100);

    // Back to the window, where it stood; then twice the picture's size.
    platform->setWindowMode(true);
    pumpWindowEvents();
    platform->present(frame);
    EXPECT_EQ(shown()->w, 1000);
    SDL_SetWindowSize(platform->window(), 1600, 1200);
    pumpWindowEvents();
    for (int y = 0; y < 1200; y += 9)
        for (int x = 0; x < 1600; ++x) ASSERT_EQ(shownAt(x, y), x / 2 % 2 ? kColour : 0u) << x << "," << y;
}

// With a renderer the picture stands in the same place between the same black bars.
TEST_F(WindowSurface, TheRendererLetterboxesThePictureTheSameWay) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    ASSERT_TRUE(platform->createWindow(true, std::nullopt));
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "");
    EXPECT_EQ(platform->presentPath(), present::PresentPath::Renderer);
    SDL_SetWindowSize(platform->window(), 1000, 700);
    pumpWindowEvents();
    paint(0x00336699);
    platform->present(frame);
    const Viewport v = letterbox(1000, 700);
    for (int y = 0; y < 700; y += 10) {
        EXPECT_EQ(shownAt(v.x - 1, y), 0u);
        EXPECT_EQ(shownAt(v.x, y), 0x336699u);
        EXPECT_EQ(shownAt(v.x + v.w - 1, y), 0x336699u);
        EXPECT_EQ(shownAt(v.x + v.w, y), 0u);
    }
}

TEST_F(WindowSurface, AStopSignalClosesTheGameLikeTheCloseBox) {
    // SIGINT ignored from the start (a background job of a shell) stays ignored.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, SIG_DFL);
    present::catchStopSignals();
    struct sigaction interrupt {};
    sigaction(SIGINT, nullptr, &interrupt);
    EXPECT_EQ(interrupt.sa_handler, SIG_IGN);

    ASSERT_TRUE(platform->createWindow(true, std::nullopt));
    std::raise(SIGTERM);
    present::InputEvent event;
    ASSERT_TRUE(platform->waitEvent(event));
    EXPECT_EQ(event.type, present::InputEvent::Type::Close);
    EXPECT_TRUE(present::stopSignalReceived());
    // Delivered once: the next message is whatever the window sends.
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_LEFT;
    SDL_PushEvent(&key);
    ASSERT_TRUE(platform->waitEvent(event));
    EXPECT_EQ(event.type, present::InputEvent::Type::KeyDown);
    EXPECT_EQ(event.key, present::Key::Left);
}

}  // namespace

// SDL's X11 code asks about windows the window manager may destroy at that very moment; the server's
// BadWindow must be noted, not end the game as Xlib's own handler does. Runs where the window tests
// name a display for it (tests/window/with_display.sh), and skips elsewhere.
TEST(XErrors, ARequestOnAVanishedWindowDoesNotEndTheGame) {
    const char* display = std::getenv("LUMERIK_X_TEST_DISPLAY");
    if (!display) GTEST_SKIP() << "no X display named for this test";
    setenv("DISPLAY", display, 1);
    unsetenv("SDL_VIDEODRIVER");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    present::keepXErrorsNonFatal();

    void* xlib = SDL_LoadObject("libX11.so.6");
    ASSERT_NE(xlib, nullptr);
    using Open = void* (*)(const char*);
    using Translate = int (*)(void*, unsigned long, unsigned long, int, int, int*, int*, unsigned long*);
    using Sync = int (*)(void*, int);
    using Close = int (*)(void*);
    using Root = unsigned long (*)(void*);
    auto open = reinterpret_cast<Open>(SDL_LoadFunction(xlib, "XOpenDisplay"));
    auto translate = reinterpret_cast<Translate>(SDL_LoadFunction(xlib, "XTranslateCoordinates"));
    auto sync = reinterpret_cast<Sync>(SDL_LoadFunction(xlib, "XSync"));
    auto close = reinterpret_cast<Close>(SDL_LoadFunction(xlib, "XCloseDisplay"));
    auto root = reinterpret_cast<Root>(SDL_LoadFunction(xlib, "XDefaultRootWindow"));
    ASSERT_TRUE(open && translate && sync && close && root);
    void* connection = open(display);
    ASSERT_NE(connection, nullptr);
    int x = 0, y = 0;
    unsigned long child = 0;
    translate(connection, 0x1FFFFFFF, root(connection), 0, 0, &x, &y, &child);  // no such window
    sync(connection, 0);  // the error arrives here; Xlib's own handler would exit with status 1
    close(connection);
    SDL_UnloadObject(xlib);
    SDL_Quit();
    SUCCEED();
}
