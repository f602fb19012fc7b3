// levelbot: plays the levels of a level file through the game's own rules and writes how hard they
// are. See usage() for the commands.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "batch.hpp"
#include "plot.hpp"
#include "report.hpp"

namespace {

namespace fs = std::filesystem;
using levelbot::AttemptSetup;
using levelbot::PlayerKind;

int usage() {
    std::cerr << "usage:\n"
                 "  levelbot --report DIR      play every level of DIR/levels.txt and write DIR/levels-report.md\n"
                 "                             and DIR/levels-report.png\n"
                 "  levelbot --calibrate OUT DIR  play every level to its limit with the target out of reach and\n"
                 "                             write each try's progress milestones to OUT, one try a line\n"
                 "  levelbot --play MODE LEVEL DIR  play one level and print each try\n"
                 "options:\n"
                 "  --tries N          tries of the bot per level (30)\n"
                 "  --random-tries N   tries of the random clicker per level (20)\n"
                 "  --seed N           first seed (1)\n"
                 "  --jobs N           worker processes (1)\n"
                 "  --modes LIST       comma-separated: action,strategy,puzzle,actionpuzzle (all)\n"
                 "  --levels A-B       only levels A to B of each mode\n"
                 "  --game DIR         the game folder the start-up reads (DIR/..)\n"
                 "  --random           --play: the random clicker instead of the bot\n"
                 "  --hints            --play: a player who plays the game's move hint every time\n";
    return 2;
}

struct Options {
    std::string command;
    fs::path levelDir;
    fs::path output;
    fs::path gameRoot;
    int tries = 30;
    int randomTries = 20;
    uint32_t seed = 1;
    int jobs = 1;
    std::vector<bool> modes = std::vector<bool>(rules::kModeCount, true);
    int firstLevel = 1, lastLevel = 1000;
    int playMode = 0, playLevel = 1;
    bool random = false;
    bool hints = false;
    std::string commandLine;
};

bool parseModes(const std::string& list, std::vector<bool>& modes) {
    static const char* names[] = {"action", "strategy", "puzzle", "actionpuzzle"};
    modes.assign(rules::kModeCount, false);
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, end - start);
        bool known = false;
        for (int m = 0; m < rules::kModeCount; ++m)
            if (name == names[m]) modes[static_cast<size_t>(m)] = known = true;
        if (!known) return false;
        start = end + 1;
    }
    return true;
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 0; i < argc; ++i) {
        if (i > 0) o.commandLine += ' ';
        o.commandLine += argv[i];
    }
    auto next = [&](int& i) -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            const char* value = nullptr;
            if (arg == "--report" && (value = next(i))) {
                o.command = "report";
                o.levelDir = value;
            } else if (arg == "--calibrate" && i + 2 < argc) {
                o.command = "calibrate";
                o.output = argv[++i];
                o.levelDir = argv[++i];
            } else if (arg == "--play" && i + 3 < argc) {
                o.command = "play";
                o.playMode = std::stoi(argv[++i]);
                o.playLevel = std::stoi(argv[++i]);
                o.levelDir = argv[++i];
            } else if (arg == "--tries" && (value = next(i))) {
                o.tries = std::stoi(value);
            } else if (arg == "--random-tries" && (value = next(i))) {
                o.randomTries = std::stoi(value);
            } else if (arg == "--seed" && (value = next(i))) {
                o.seed = static_cast<uint32_t>(std::stoul(value));
            } else if (arg == "--jobs" && (value = next(i))) {
                o.jobs = std::stoi(value);
            } else if (arg == "--modes" && (value = next(i))) {
                if (!parseModes(value, o.modes)) return false;
            } else if (arg == "--levels" && (value = next(i))) {
                const std::string range = value;
                const size_t dash = range.find('-');
                o.firstLevel = std::stoi(range.substr(0, dash));
                o.lastLevel = dash == std::string::npos ? o.firstLevel : std::stoi(range.substr(dash + 1));
            } else if (arg == "--game" && (value = next(i))) {
                o.gameRoot = value;
            } else if (arg == "--random") {
                o.random = true;
            } else if (arg == "--hints") {
                o.hints = true;
            } else {
                return false;
            }
        }
    } catch (...) {
        return false;
    }
    if (o.command.empty() || o.tries < 0 || o.randomTries < 0 || o.jobs < 1) return false;
    if (o.playMode < 0 || o.playMode >= rules::kModeCount) return false;
    if (o.gameRoot.empty()) o.gameRoot = (fs::absolute(o.levelDir) / "..").lexically_normal();
    return true;
}

// A seed of its own for every try, so two levels with the same colours never start from one board.
uint32_t trySeed(uint32_t first, rules::GameMode mode, int32_t level, int attempt, PlayerKind player) {
    uint32_t h = first * 0x9e3779b1u;
    for (uint32_t part : {static_cast<uint32_t>(mode), static_cast<uint32_t>(level), static_cast<uint32_t>(attempt),
                          static_cast<uint32_t>(player)}) {
        h ^= part + 0x7f4a7c15u + (h << 6) + (h >> 2);
        h *= 0x85ebca6bu;
    }
    return h ^ (h >> 13);
}

struct Planned {
    rules::GameMode mode;
    int32_t level;
    rules::LevelDefinition definition;
    size_t firstBot, firstRandom;  // where the level's tries start in the setup list
};

// Every level selected by the options, with its tries laid out one after another.
std::vector<Planned> plan(const Options& o, const levelbot::LevelSet& set, bool openTarget, std::vector<AttemptSetup>& setups) {
    std::vector<Planned> levels;
    for (int m = 0; m < rules::kModeCount; ++m) {
        if (!o.modes[static_cast<size_t>(m)]) continue;
        const auto mode = static_cast<rules::GameMode>(m);
        for (const rules::LevelEntry& entry : set.levels.lists[static_cast<size_t>(m)]) {
            if (entry.number < o.firstLevel || entry.number > o.lastLevel) continue;
            if (set.levels.findLevel(mode, entry.number) != &entry.definition) continue;  // a repeated header
            Planned p{mode, entry.number, entry.definition, setups.size(), 0};
            for (int t = 0; t < o.tries; ++t)
                setups.push_back({mode, entry.number, trySeed(o.seed, mode, entry.number, t, PlayerKind::Bot), PlayerKind::Bot,
                                  levelbot::kHumanPaceMs, openTarget});
            p.firstRandom = setups.size();
            // The random clicker clicks whenever the board takes a click.
            for (int t = 0; t < o.randomTries; ++t)
                setups.push_back({mode, entry.number, trySeed(o.seed, mode, entry.number, t, PlayerKind::Random),
                                  PlayerKind::Random, 0, openTarget});
            levels.push_back(p);
        }
    }
    return levels;
}

void showProgress(size_t done, size_t total) {
    if (::isatty(2)) std::fprintf(stderr, "\rlevelbot: %zu of %zu tries", done, total);
    if (done == total && ::isatty(2)) std::fprintf(stderr, "\n");
}

class WriteFolder {
  public:
    WriteFolder() {
        std::string pattern = (fs::temp_directory_path() / "levelbot-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~WriteFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

int report(const Options& o, const levelbot::LevelSet& set, const levelbot::GameFolders& folders) {
    std::vector<AttemptSetup> setups;
    const std::vector<Planned> levels = plan(o, set, false, setups);
    if (levels.empty()) {
        std::cerr << "levelbot: no level to play\n";
        return 1;
    }
    const std::vector<levelbot::AttemptResult> results = levelbot::runAttempts(set, folders, setups, o.jobs, showProgress);

    levelbot::ReportInput input;
    input.set = &set;
    input.command = o.commandLine;
    input.levelFile = (o.levelDir / "levels.txt").string();
    input.botTries = o.tries;
    input.randomTries = o.randomTries;
    input.firstSeed = o.seed;
    for (const Planned& p : levels) {
        const auto slice = [&](size_t from, int count) {
            return std::vector<levelbot::AttemptResult>(results.begin() + static_cast<long>(from),
                                                        results.begin() + static_cast<long>(from) + count);
        };
        input.levels.push_back(
            levelbot::summarise(p.mode, p.level, p.definition, slice(p.firstBot, o.tries), slice(p.firstRandom, o.randomTries)));
    }
    const std::vector<levelbot::Check> checks = levelbot::checkTargets(input);
    const fs::path markdown = o.levelDir / "levels-report.md";
    const fs::path picture = o.levelDir / "levels-report.png";
    std::ofstream out(markdown, std::ios::binary);
    out << levelbot::markdownReport(input, checks);
    if (!out) {
        std::cerr << "levelbot: cannot write " << markdown << "\n";
        return 1;
    }
    if (!levelbot::writeDifficultyPlot(input.levels, picture)) {
        std::cerr << "levelbot: cannot write " << picture << "\n";
        return 1;
    }
    for (const levelbot::Check& c : checks) std::cout << (c.met ? "met     " : "NOT MET ") << c.name << ": " << c.found << "\n";
    std::cout << "wrote " << markdown.string() << " and " << picture.string() << "\n";
    return 0;
}

int calibrate(const Options& o, const levelbot::LevelSet& set, const levelbot::GameFolders& folders) {
    std::vector<AttemptSetup> setups;
    const std::vector<Planned> levels = plan(o, set, true, setups);
    const std::vector<levelbot::AttemptResult> results = levelbot::runAttempts(set, folders, setups, o.jobs, showProgress);
    std::ofstream out(o.output, std::ios::binary);
    // One try a line: mode, level, player (0 bot, 1 random), then the result as the workers pass it.
    for (size_t i = 0; i < setups.size(); ++i)
        out << static_cast<int>(setups[i].mode) << " " << setups[i].level << " " << static_cast<int>(setups[i].player) << " "
            << levelbot::encodeResult(i, results[i]);
    return out ? 0 : 1;
}

int play(const Options& o, const levelbot::LevelSet& set, const levelbot::GameFolders& folders) {
    const auto mode = static_cast<rules::GameMode>(o.playMode);
    const PlayerKind player = o.random ? PlayerKind::Random : o.hints ? PlayerKind::Hints : PlayerKind::Bot;
    for (int t = 0; t < std::max(o.tries, 1); ++t) {
        const AttemptSetup setup{mode,
                                 o.playLevel,
                                 trySeed(o.seed, mode, o.playLevel, t, player),
                                 player,
                                 player == PlayerKind::Random ? 0u : levelbot::kHumanPaceMs,
                                 false};
        const levelbot::AttemptResult r = levelbot::playAttempt(set, folders, setup);
        std::printf("try %d: %s, progress %.0f, left %.0f of %d, %d moves, %d shuffles, %.1f s%s\n", t + 1,
                    r.won ? "won" : "lost", r.progress, r.left, r.limit, r.moves, r.shuffles, r.gameMs / 1000.0,
                    r.stuck    ? " (stuck)"
                    : r.cutOff ? " (cut off)"
                               : "");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) return usage();
    levelbot::LevelSet set;
    if (!levelbot::readLevelSet(o.levelDir / "levels.txt", set)) {
        std::cerr << "levelbot: cannot read " << (o.levelDir / "levels.txt") << "\n";
        return 1;
    }
    WriteFolder writes;
    if (writes.path().empty()) {
        std::cerr << "levelbot: cannot make a temporary folder\n";
        return 1;
    }
    const levelbot::GameFolders folders{o.gameRoot, writes.path()};
    if (o.command == "report") return report(o, set, folders);
    if (o.command == "calibrate") return calibrate(o, set, folders);
    return play(o, set, folders);
}
