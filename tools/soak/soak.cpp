#include "soak.hpp"

#include <unistd.h>

#include <csignal>
#include <fstream>
#include <ostream>
#include <sstream>

#include "flow/game.hpp"
#include "monkey.hpp"
#include "sim/session.hpp"

namespace soak {

namespace {

// A step that takes longer than this is a hang: a loop waiting on a clock that stands still.
constexpr unsigned kStepAlarmSeconds = 120;

volatile std::sig_atomic_t alarmTick = 0;

void onAlarm(int) {
    static const char kMessage[] = "lumerik-soak: a step ran for minutes without returning (a hang)\n";
    const ssize_t written = ::write(2, kMessage, sizeof kMessage - 1);
    (void)written;
    std::_Exit(3);
}

int64_t sizeOf(size_t n) { return static_cast<int64_t>(n); }

std::string screenKey(const flow::Game& game) {
    switch (flow::activeScreen(game)) {
        case flow::Screen::Logo: return "logo";
        case flow::Screen::Pause: return "paused";
        case flow::Screen::Title: return "title";
        case flow::Screen::Menu:
            if (game.screens.menuScreen == flow::ScreenDialogHost) return "dialog " + std::to_string(game.screens.dialogId);
            return "menu " + std::to_string(game.screens.menuScreen);
        case flow::Screen::Play: break;
    }
    return "play state " + std::to_string(static_cast<int>(game.rules.playState));
}

std::filesystem::path freshDataDir(uint32_t seed) {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("lumerik-soak-" + std::to_string(seed) + "-" + std::to_string(::getpid()));
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir, ec);
    return dir;
}

}  // namespace

const std::map<std::string, int64_t>& listBounds() {
    // Sizes a healthy game stays within, with room to spare. The sound log must stay empty: a soak
    // runs as a long game does, without it.
    static const std::map<std::string, int64_t> bounds = {
        {"soundLog", 0},
        {"bonusFlightRequests", 64},
        {"flights", 64},
        {"dialogsDue", 16},
        {"fireworks", 3000},
        {"effects.burst", 1000},
        {"effects.clear", 1000},
        {"effects.reveal", 1000},
        {"screenStack", 32},
        {"dialogStack", 16},
        {"players", 255},
        {"backupPlayers", 255},
        {"highScoreRows", 10},
        {"typedName", 12},
        {"demoBlocks", 64},
        {"view.blocks", 64},
        {"view.balls", 200},
        {"view.endTexts", 8},
        {"view.bonusSprites", 100},
        {"view.flights", 64},
        {"view.effects", 3000},
        {"view.captions", 8},
        {"logBytes", static_cast<int64_t>(data::DiagnosticLog::kDefaultLimit)},
    };
    return bounds;
}

std::map<std::string, int64_t> listSizes(const flow::Game& game) {
    std::map<std::string, int64_t> s;
    s["soundLog"] = sizeOf(game.sound.log().size());
    s["bonusFlightRequests"] = sizeOf(game.rules.requests.bonusFlights.size());
    s["flights"] = sizeOf(game.play.flights.size());
    s["dialogsDue"] = sizeOf(game.play.dialogsDue.size());
    s["fireworks"] = sizeOf(game.screens.fireworks.size());
    s["effects.burst"] = sizeOf(game.rules.effects.burst.size());
    s["effects.clear"] = sizeOf(game.rules.effects.clear.size());
    s["effects.reveal"] = sizeOf(game.rules.effects.reveal.size());
    s["screenStack"] = sizeOf(game.screens.screenStack.size());
    s["dialogStack"] = sizeOf(game.screens.dialogStack.size());
    s["players"] = sizeOf(game.profiles.players.size());
    s["backupPlayers"] = sizeOf(game.playerScreen.backupPlayers.size());
    int64_t rows = 0;
    for (const auto& table : game.highScores.tables) rows = std::max(rows, sizeOf(table.size()));
    s["highScoreRows"] = rows;
    s["typedName"] = sizeOf(game.playerScreen.typedName.size());
    int64_t demoBlocks = 0;
    for (const auto& player : game.helpDemos.players) demoBlocks = std::max(demoBlocks, sizeOf(player.blocks.size()));
    s["demoBlocks"] = demoBlocks;
    const present::PlayView& view = game.play.view;
    s["view.blocks"] = sizeOf(view.blocks.size());
    s["view.balls"] = sizeOf(view.balls.size());
    s["view.endTexts"] = sizeOf(view.endTexts.size());
    s["view.bonusSprites"] = sizeOf(view.bonusSprites.size());
    s["view.flights"] = sizeOf(view.flights.size());
    int64_t effects = 0;
    for (const auto& strip : view.effects) effects += sizeOf(strip.size());
    s["view.effects"] = effects;
    s["view.captions"] = sizeOf(view.captions.size());
    std::error_code ec;
    const auto logBytes = std::filesystem::file_size(game.log.file(), ec);
    s["logBytes"] = ec ? 0 : static_cast<int64_t>(logBytes);
    return s;
}

void readMemory(int64_t& vmRssKb, int64_t& vmHwmKb) {
    vmRssKb = vmHwmKb = -1;
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") status >> vmRssKb;
        if (word == "VmHWM:") status >> vmHwmKb;
    }
}

std::vector<std::string> listsOverBound(const Sample& sample) {
    std::vector<std::string> over;
    for (const auto& [name, size] : sample.lists) {
        const auto bound = listBounds().find(name);
        if (bound != listBounds().end() && size > bound->second)
            over.push_back(name + "=" + std::to_string(size) + ">" + std::to_string(bound->second));
    }
    return over;
}

std::string sampleLine(const Sample& sample) {
    std::ostringstream line;
    line << "tick " << sample.tick << " VmRSS " << sample.vmRssKb << " kB VmHWM " << sample.vmHwmKb << " kB";
    for (const auto& [name, size] : sample.lists) line << " " << name << "=" << size;
    return line.str();
}

SoakResult runSoak(const SoakOptions& options, std::ostream& out, std::ostream& err) {
    SoakResult result;
    const bool ownDataDir = options.dataDir.empty();
    sim::SimOptions sim;
    sim.gameDir = options.gameDir;
    sim.writeDir = ownDataDir ? freshDataDir(options.seed) : options.dataDir;
    sim.seed = options.seed;
    sim.soundLog = false;  // a long game keeps no log of its sounds

    std::signal(SIGALRM, onAlarm);
    std::ostringstream discard;
    std::unique_ptr<sim::SimSession> session = sim::SimSession::launch(sim, discard);
    if (!session) {
        err << "lumerik-soak: the game did not start\n";
        result.exitCode = 2;
        return result;
    }
    Monkey monkey(options.seed);

    auto takeSample = [&](Sample& sample) {
        sample.tick = result.ticks;
        readMemory(sample.vmRssKb, sample.vmHwmKb);
        sample.lists = listSizes(session->game());
        result.peakRssKb = std::max(result.peakRssKb, sample.vmHwmKb);
        for (const auto& [name, size] : sample.lists) result.largest[name] = std::max(result.largest[name], size);
        for (const std::string& over : listsOverBound(sample)) {
            result.failures.push_back("tick " + std::to_string(result.ticks) + ": " + over);
            err << "lumerik-soak: seed " << options.seed << " tick " << result.ticks << ": list past its bound: " << over << "\n";
        }
    };
    takeSample(result.first);
    if (options.sampleEvery > 0) out << sampleLine(result.first) << std::endl;

    std::vector<sim::SimCommand> step;
    const sim::SimCommand oneTick = tickCommand(1);
    while (result.ticks < options.ticks && result.failures.empty()) {
        step.clear();
        monkey.nextStep(session->game(), step);
        ++result.steps;
        ::alarm(kStepAlarmSeconds);
        bool quit = false;
        for (const sim::SimCommand& command : step) {
            std::string error;
            if (command.kind == sim::SimCommand::Kind::Tick) {
                // One tick at a time, so the run stops at its count and every tick is counted on its screen.
                for (long i = 0; i < command.count && !quit && result.ticks < options.ticks; ++i) {
                    ++result.screenTicks[screenKey(session->game())];
                    quit = !session->run(oneTick, error);
                    ++result.ticks;
                    if (options.sampleEvery > 0 && result.ticks % options.sampleEvery == 0) {
                        Sample sample;
                        takeSample(sample);
                        out << sampleLine(sample) << std::endl;
                    } else if (result.ticks % options.checkEvery == 0) {
                        Sample sample;
                        takeSample(sample);
                    }
                }
            } else {
                quit = !session->run(command, error);
            }
            if (!error.empty()) {
                err << "lumerik-soak: " << error << "\n";
                result.failures.push_back(error);
            }
            if (quit || result.ticks >= options.ticks) break;
        }
        if (quit) {
            // The quit button: the program ends, and the player starts it again on the same files.
            session.reset();
            session = sim::SimSession::launch(sim, discard);
            if (!session) {
                err << "lumerik-soak: the game did not start again\n";
                result.exitCode = 2;
                return result;
            }
            monkey.restarted();
            ++result.restarts;
        }
    }
    ::alarm(0);
    takeSample(result.last);
    if (options.sampleEvery > 0) out << sampleLine(result.last) << std::endl;
    session.reset();
    if (ownDataDir) {
        std::error_code ec;
        std::filesystem::remove_all(sim.writeDir, ec);
    }
    if (!result.failures.empty()) result.exitCode = 1;
    return result;
}

}  // namespace soak
