#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "flow/crash_note.hpp"
#include "flow/input_seam.hpp"
#include "flow/instance_lock.hpp"
#include "flow/launch.hpp"
#include "flow/persistence.hpp"
#include "flow/replay_watch.hpp"
#include "flow/startup.hpp"
#include "present/sdl_platform.hpp"

namespace {

data::GameFolder findGameFolder() {
    std::filesystem::path root;
    if (char* base = SDL_GetBasePath()) {
        root = base;
        SDL_free(base);
    }
    std::filesystem::path writeRoot = root;
    // An installed copy (read-only, or marked as installed) keeps the player's files in the user's
    // data folder.
    if (!data::keepsPlayerFiles(root)) {
        if (char* pref = SDL_GetPrefPath("Lumerik", "Lumerik")) {
            writeRoot = pref;
            SDL_free(pref);
        }
    }
    return data::GameFolder(root, writeRoot);
}

// Starts SDL on a display the player can see. Without one SDL falls back to drawing off screen,
// where the game would run unseen; only a driver asked for by name (SDL_VIDEODRIVER) may be one that
// shows nothing. Xvfb now and then resets a fresh connection before answering it (about one start in
// three hundred), and SDL takes that for no display; a named display is asked again a few times, and
// the next try has always got through.
bool openDisplay() {
    const bool displayNamed = SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY");
    const int tries = displayNamed ? 4 : 1;
    constexpr uint32_t pauseMs = 250;
    for (int attempt = 1; attempt <= tries; ++attempt) {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            std::fprintf(stderr, "lumerik: cannot open the display: %s\n", SDL_GetError());
            return false;
        }
        if (present::realDisplay()) {
            if (attempt > 1) std::fprintf(stderr, "lumerik: the display answered on try %d\n", attempt);
            return true;
        }
        SDL_Quit();
        if (present::stopSignalReceived()) return false;
        if (attempt < tries) SDL_Delay(pauseMs);
    }
    std::fprintf(stderr, "lumerik: cannot open the display (no X11 or Wayland display found)\n");
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // `lumerik --replay FILE` plays a recorded level in the window and ends with it.
    const char* replayFile = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--replay") == 0) replayFile = argv[i + 1];
    present::catchStopSignals();
    flow::InstanceLock lock;
    if (!lock.acquire()) return 0;

    if (!openDisplay()) {
        // Stopped while it was still looking for the display: nothing is loaded, nothing to save.
        return present::stopSignalReceived() ? 0 : 1;
    }
    present::keepXErrorsNonFatal();
    // Without audio the game runs silent.
    const bool audio = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    // Game controllers, with SDL's own mappings and any the player adds in SDL_GAMECONTROLLERCONFIG;
    // without the subsystem the game is played with the mouse and the keyboard alone. Controllers
    // already plugged in arrive as added devices with the first messages.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "lumerik: no game controllers: %s\n", SDL_GetError());
    data::GameFolder folder = findGameFolder();
    if (folder.root().empty()) {
        std::fprintf(stderr, "lumerik: cannot find the game folder\n");
        SDL_Quit();
        return 1;
    }

    int exitCode = 0;
    {
        present::SdlPlatform platform(folder.resolve("gfx/cursor.png"), folder.resolve("gfx/icon.png"));
        flow::InputSeam seam(platform);
        std::unique_ptr<flow::Game> launched =
            flow::launchGame(seam, folder, SDL_GetTicks(), [&platform, audio](flow::Game& game) {
                if (audio) game.sound.openAudio();
                platform.setBeepHandler([&game] { game.sound.beep(); });
            });
        if (!launched) {
            std::fprintf(stderr, "lumerik: cannot create the window: %s\n", SDL_GetError());
            SDL_Quit();
            return 1;
        }
        flow::Game& game = *launched;
        flow::installCrashNote(game.log.file());

        std::unique_ptr<flow::ReplayWatch> watch;
        auto startWatching = [&](const std::filesystem::path& file) {
            std::string why;
            watch = flow::ReplayWatch::start(game, seam, file, why);
            if (!watch) std::fprintf(stderr, "lumerik: %s: %s\n", file.string().c_str(), why.c_str());
            return watch != nullptr;
        };
        if (replayFile && !startWatching(replayFile)) {
            game.app.quitRequested = true;
            game.app.exitCode = 1;
        }

        platform.startTimer();
        present::InputEvent event;
        while (!game.app.quitRequested && platform.waitEvent(event)) {
            if (watch) {
                if (watch->message(event)) continue;
                watch.reset();
                const bool closing =
                    event.type == present::InputEvent::Type::Close || event.type == present::InputEvent::Type::Quit;
                if (replayFile && !closing) game.app.quitRequested = true;
                if (!closing) continue;
            }
            flow::deliver(game, seam, event);
            if (game.replays.watchRequest) {
                const std::filesystem::path file = *game.replays.watchRequest;
                game.replays.watchRequest.reset();
                startWatching(file);
            }
        }
        platform.stopTimer();
        // Stopped from outside (the session ends, Ctrl+C): the player files are written first.
        if (present::stopSignalReceived()) flow::saveAll(game);
        flow::saveWindowPlacementAtClose(game);
        // Leave full screen before the window closes.
        if (!game.profiles.windowed) {
            game.profiles.windowed = true;
            platform.setWindowMode(true);
        }
        flow::shutdownGame(game);
        // The audio threads end before the window does: SDL wakes a waiting pump with a message to
        // the window, sent from whichever thread posts an event (the device watcher among them).
        game.sound.closeAudio();
        if (audio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        exitCode = game.app.exitCode;
    }
    IMG_Quit();
    SDL_Quit();
    return exitCode;
}
