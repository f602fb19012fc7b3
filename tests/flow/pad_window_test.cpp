// The real window under Xvfb and openbox, played with a game controller alone: SDL's virtual
// joystick stands in for the device, so its buttons travel SDL's whole way (the joystick, the
// built-in game controller mapping, the platform's translation) into the game's own message loop.
// Run through tests/window/with_display.sh, which names the display; skipped without one.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "flow/frame_tick.hpp"
#include "flow/launch.hpp"
#include "flow/startup.hpp"
#include "flow/window_proc.hpp"
#include "present/sdl_platform.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using present::InputEvent;

// The colour name ImageMagick gives the X screen's pixel (x, y).
std::string screenPixel(int x, int y) {
    const std::string command =
        "import -window root -crop 1x1+" + std::to_string(x) + "+" + std::to_string(y) + " txt:- 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string text;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) text = buffer;  // the last line holds the pixel
    pclose(pipe);
    const size_t last = text.find_last_of(' ');
    return last == std::string::npos ? std::string() : text.substr(last + 1, text.find_last_not_of("\r\n") - last);
}

class PadSession {
  public:
    PadSession(present::SdlPlatform& platform, flow::Game& game, SDL_Joystick* pad)
        : platform_(platform), game_(game), pad_(pad) {}

    // The game's own loop, as flow/main.cpp runs it, for `ms` milliseconds or until it quits.
    void run(uint32_t ms) {
        const uint32_t until = SDL_GetTicks() + ms;
        InputEvent event;
        while (!game_.app.quitRequested && static_cast<int32_t>(until - SDL_GetTicks()) > 0 && platform_.waitEvent(event)) {
            if (event.type == InputEvent::Type::Tick) {
                flow::frameTick(game_);
                continue;
            }
            if (event.type == InputEvent::Type::ButtonDown || event.type == InputEvent::Type::ButtonUp) ++mouseEvents;
            if (event.type == InputEvent::Type::PadDown) ++padPresses;
            flow::handleEvent(game_, event);
        }
    }

    // Runs until `done` holds, for at most `ms` milliseconds.
    template <typename Done>
    bool runUntil(uint32_t ms, Done done) {
        for (uint32_t waited = 0; waited < ms && !done(); waited += 50) run(50);
        return done();
    }

    // A press of a controller button: down until the game has seen it (a frame drawn slowly under
    // load must not swallow it), well within the d-pad's repeat delay, then up.
    void tap(SDL_GameControllerButton button) {
        const int seen = padPresses;
        SDL_JoystickSetVirtualButton(pad_, button, 1);
        runUntil(1000, [&] { return padPresses > seen; });
        SDL_JoystickSetVirtualButton(pad_, button, 0);
        run(120);
    }
    void setPad(SDL_Joystick* pad) { pad_ = pad; }
    void tap(SDL_GameControllerButton button, int times) {
        for (int i = 0; i < times; ++i) tap(button);
    }

    int mouseEvents = 0;
    int padPresses = 0;

  private:
    present::SdlPlatform& platform_;
    flow::Game& game_;
    SDL_Joystick* pad_;
};

TEST(PadWindow, AFirstStartNamedPlayedPausedAndQuitWithTheControllerAlone) {
    const char* display = std::getenv("LUMERIK_X_TEST_DISPLAY");
    if (!display) GTEST_SKIP() << "no X display named for this test";
    setenv("DISPLAY", display, 1);
    unsetenv("SDL_VIDEODRIVER");

    testing_support::TempFolder folder;
    const fs::path root = folder.path() / "g";
    fs::copy(testing_support::builtGameFolder(), root, fs::copy_options::recursive);
    fs::remove_all(root / "profile");
    fs::remove(root / "crashDump.txt");

    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Lumerik test pad";
    int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index)) << "SDL maps a virtual game controller itself";
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    ASSERT_NE(pad, nullptr) << SDL_GetError();

    {
        present::SdlPlatform platform(root / "gfx/cursor.png", root / "gfx/icon.png");
        std::unique_ptr<flow::Game> launched = flow::launchGame(platform, data::GameFolder(root, root), SDL_GetTicks(), nullptr);
        ASSERT_NE(launched, nullptr);
        flow::Game& game = *launched;
        PadSession session(platform, game, pad);
        platform.startTimer();
        const auto menuShows = [&game](int32_t screen) {
            return flow::activeScreen(game) == flow::Screen::Menu && game.screens.menuScreen == screen;
        };

        // The first start: the name screen once the logos have gone, typed on its letter keys.
        ASSERT_TRUE(session.runUntil(9000, [&] { return menuShows(flow::ScreenEnterName); })) << "no name screen";
        EXPECT_EQ(session.padPresses, 0) << "the virtual pad's arrival is no press";
        // The full screen of 1280 by 800 shows the 4:3 picture 1066 wide, black bars beside it.
        EXPECT_EQ(screenPixel(60, 400), "black") << "the bar left of the picture";
        EXPECT_EQ(screenPixel(1220, 400), "black") << "the bar right of the picture";
        EXPECT_EQ(screenPixel(103, 300), "black") << "the bar ends 107 pixels in";
        EXPECT_NE(screenPixel(110, 300), "black") << "where the picture begins";
        EXPECT_NE(screenPixel(300, 60), "black") << "the picture's night sky";
        EXPECT_NE(screenPixel(300, 60), "") << "ImageMagick's import reads the screen";

        session.tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // shows the focus on A
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 2);
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);  // P
        session.tap(SDL_CONTROLLER_BUTTON_A);
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_UP, 2);
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);  // A
        session.tap(SDL_CONTROLLER_BUTTON_A);
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 3);  // D
        session.tap(SDL_CONTROLLER_BUTTON_A);
        EXPECT_EQ(game.playerScreen.typedName, "PAD");
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 3);
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 3);  // the OK key
        session.tap(SDL_CONTROLLER_BUTTON_A);
        ASSERT_TRUE(session.runUntil(1000, [&] { return flow::activeScreen(game) == flow::Screen::Title; }));
        EXPECT_NE(testing_support::readFile(root / "profile/profile").find("PAD"), std::string::npos) << "the player is saved";

        // Action from the title, behind the rules help, which B closes; A cuts the intermission short.
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN, 2);
        session.tap(SDL_CONTROLLER_BUTTON_A);
        ASSERT_TRUE(session.runUntil(1000, [&] { return menuShows(flow::ScreenHelpRules); }));
        session.tap(SDL_CONTROLLER_BUTTON_B);
        session.tap(SDL_CONTROLLER_BUTTON_A);
        ASSERT_TRUE(session.runUntil(6000, [&] { return game.rules.playState == rules::StatePlaying; })) << "play did not begin";

        // Three block turns and a board turn, each once the board stands still again: every one of
        // them moves balls.
        const auto turn = [&](SDL_GameControllerButton button) {
            ASSERT_TRUE(session.runUntil(4000, [&] { return game.rules.playState == rules::StatePlaying; }));
            const rules::Board before = game.rules.board;
            session.tap(button);
            session.run(300);
            EXPECT_NE(game.rules.board.cells, before.cells) << "button " << button;
        };
        turn(SDL_CONTROLLER_BUTTON_A);
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        turn(SDL_CONTROLLER_BUTTON_B);
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
        turn(SDL_CONTROLLER_BUTTON_A);
        EXPECT_TRUE(game.nav.blockShown);
        EXPECT_EQ(game.nav.block, (rules::Point{1, 1}));
        turn(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
        ASSERT_TRUE(session.runUntil(4000, [&] { return game.rules.playState == rules::StatePlaying; }));

        // Start pauses and resumes.
        session.tap(SDL_CONTROLLER_BUTTON_START);
        EXPECT_EQ(game.screens.base, flow::Screen::Pause);
        session.tap(SDL_CONTROLLER_BUTTON_START);
        EXPECT_EQ(game.screens.base, flow::Screen::Play);

        // Unplugged mid-level, the game pauses; plugged in again, it waits for Start.
        SDL_JoystickClose(pad);
        SDL_JoystickDetachVirtual(index);
        session.run(300);
        EXPECT_EQ(game.screens.base, flow::Screen::Pause);
        index = SDL_JoystickAttachVirtualEx(&desc);
        pad = SDL_JoystickOpen(index);
        ASSERT_NE(pad, nullptr) << SDL_GetError();
        session.setPad(pad);
        session.run(300);
        EXPECT_EQ(game.screens.base, flow::Screen::Pause);
        session.tap(SDL_CONTROLLER_BUTTON_START);
        EXPECT_EQ(game.screens.base, flow::Screen::Play);

        // The left stick held right moves the cursor at once, and on as a held key repeats.
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 30000);
        session.run(150);
        EXPECT_EQ(game.nav.block.x, 2);
        session.run(500);
        EXPECT_EQ(game.nav.block.x, 4) << "repeated to the right edge";
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 0);
        session.run(100);

        // Back leaves for the title.
        session.runUntil(3000, [&] { return game.rules.playState == rules::StatePlaying; });
        session.tap(SDL_CONTROLLER_BUTTON_BACK);
        ASSERT_EQ(flow::activeScreen(game), flow::Screen::Title);

        // Back again asks whether to quit; the focus on Yes and A end the game.
        session.tap(SDL_CONTROLLER_BUTTON_BACK);
        ASSERT_TRUE(menuShows(flow::ScreenQuit));
        session.tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        session.tap(SDL_CONTROLLER_BUTTON_A);
        EXPECT_TRUE(game.app.quitRequested);
        EXPECT_EQ(game.app.exitCode, 0);
        EXPECT_EQ(session.mouseEvents, 0) << "no mouse event was sent";
        EXPECT_GT(session.padPresses, 30);
        platform.stopTimer();
        flow::shutdownGame(game);
    }
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    SDL_Quit();
}

}  // namespace
