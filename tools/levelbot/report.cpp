#include "report.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "game/runes.hpp"
#include "planner.hpp"

namespace levelbot {

namespace {

constexpr double kFirstGroupWinRate = 0.9;
constexpr double kLastLevelLow = 0.2;
constexpr double kLastLevelHigh = 0.6;
constexpr int kPuzzleLevels = 25;
constexpr const char* kBonusProperties[6] = {"bonuses expire", "ScoreBoost", "Universal", "Color", "Explode", "Freeze"};

std::string percent(double rate) {
    char text[16];
    std::snprintf(text, sizeof text, "%.0f %%", 100.0 * rate);
    return text;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

std::string join(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += separator;
        out += parts[i];
    }
    return out;
}

// The reports of one mode, in level order.
std::vector<const LevelReport*> ofMode(const ReportInput& input, rules::GameMode mode) {
    std::vector<const LevelReport*> out;
    for (const LevelReport& r : input.levels)
        if (r.mode == mode) out.push_back(&r);
    std::sort(out.begin(), out.end(), [](const LevelReport* a, const LevelReport* b) { return a->level < b->level; });
    return out;
}

std::vector<rules::GameMode> modesIn(const ReportInput& input) {
    std::vector<rules::GameMode> modes;
    for (int m = 0; m < rules::kModeCount; ++m)
        if (!ofMode(input, static_cast<rules::GameMode>(m)).empty()) modes.push_back(static_cast<rules::GameMode>(m));
    return modes;
}

std::string rateRange(const std::vector<const LevelReport*>& levels) {
    if (levels.empty()) return "-";
    double low = 1, high = 0;
    for (const LevelReport* r : levels) {
        low = std::min(low, r->winRate());
        high = std::max(high, r->winRate());
    }
    return low == high ? percent(low) : percent(low) + " to " + percent(high);
}

bool trivial(const LevelReport& r) { return r.tries > 0 && r.wins == r.tries && r.medianLeftWon > r.definition.limit / 2.0; }

std::string levelList(rules::GameMode mode, const std::vector<int32_t>& numbers) {
    std::vector<std::string> parts;
    for (int32_t n : numbers) parts.push_back(std::to_string(n));
    return std::string(modeName(mode)) + " " + join(parts, ", ");
}

}  // namespace

const char* modeName(rules::GameMode mode) {
    switch (mode) {
        case rules::GameMode::Action: return "Action";
        case rules::GameMode::Strategy: return "Strategy";
        case rules::GameMode::Puzzle: return "Puzzle";
        case rules::GameMode::ActionPuzzle: return "ActionPuzzle";
    }
    return "?";
}

double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

LevelReport summarise(rules::GameMode mode, int32_t level, const rules::LevelDefinition& definition,
                      const std::vector<AttemptResult>& bot, const std::vector<AttemptResult>& random) {
    LevelReport r;
    r.mode = mode;
    r.level = level;
    r.definition = definition;
    std::vector<double> progress, leftWon;
    for (const AttemptResult& a : bot) {
        ++r.tries;
        r.wins += a.won;
        r.stuck += a.stuck;
        r.cutOff += a.cutOff;
        progress.push_back(a.progress);
        if (a.won) leftWon.push_back(a.left);
    }
    r.medianProgress = median(progress);
    r.medianLeftWon = median(leftWon);
    for (const AttemptResult& a : random) {
        ++r.randomTries;
        r.randomWins += a.won;
        r.randomBest = std::max(r.randomBest, a.progress);
    }
    return r;
}

std::vector<Check> checkTargets(const ReportInput& input) {
    std::vector<Check> checks;
    const std::vector<rules::GameMode> modes = modesIn(input);

    {
        Check c{"The bot wins the first group of each mode", "at least 90 % on each level", "", true};
        std::vector<std::string> found;
        for (rules::GameMode mode : modes) {
            std::vector<const LevelReport*> first;
            for (const LevelReport* r : ofMode(input, mode)) {
                if (rules::levelGroup(mode, r->level) != 0) continue;
                first.push_back(r);
                c.met = c.met && r->winRate() >= kFirstGroupWinRate;
            }
            found.push_back(std::string(modeName(mode)) + " " + rateRange(first));
        }
        c.found = join(found, "; ");
        checks.push_back(c);
    }
    {
        Check c{"The bot wins the last level of each mode", "20 to 60 %", "", true};
        std::vector<std::string> found;
        for (rules::GameMode mode : modes) {
            const LevelReport* last = ofMode(input, mode).back();
            c.met = c.met && last->winRate() >= kLastLevelLow && last->winRate() <= kLastLevelHigh;
            found.push_back(std::string(modeName(mode)) + " " + std::to_string(last->level) + ": " + percent(last->winRate()));
        }
        c.found = join(found, "; ");
        checks.push_back(c);
    }
    {
        Check c{"No level is unwinnable", "the bot wins every level sometimes", "", true};
        std::vector<std::string> found;
        for (rules::GameMode mode : modes) {
            const std::vector<const LevelReport*> levels = ofMode(input, mode);
            const LevelReport* lowest =
                *std::min_element(levels.begin(), levels.end(),
                                  [](const LevelReport* a, const LevelReport* b) { return a->winRate() < b->winRate(); });
            c.met = c.met && lowest->wins > 0;
            found.push_back(std::string(modeName(mode)) + " lowest " + percent(lowest->winRate()) + " (level " +
                            std::to_string(lowest->level) + ")");
        }
        c.found = join(found, "; ");
        checks.push_back(c);
    }
    {
        Check c{"No level after the first group is trivial", "never 100 % won with more than half the limit left (median)", "",
                true};
        std::vector<std::string> offenders;
        for (rules::GameMode mode : modes) {
            std::vector<int32_t> numbers;
            for (const LevelReport* r : ofMode(input, mode))
                if (rules::levelGroup(mode, r->level) > 0 && trivial(*r)) numbers.push_back(r->level);
            if (!numbers.empty()) offenders.push_back(levelList(mode, numbers));
        }
        c.met = offenders.empty();
        c.found = c.met ? "none" : join(offenders, "; ");
        checks.push_back(c);
    }
    {
        Check c{"The random clicker wins nothing after the first group", "0 wins", "", true};
        std::vector<std::string> offenders, firstGroup;
        for (rules::GameMode mode : modes) {
            std::vector<int32_t> numbers;
            int firstWins = 0, firstTries = 0;
            for (const LevelReport* r : ofMode(input, mode)) {
                if (rules::levelGroup(mode, r->level) == 0) {
                    firstWins += r->randomWins;
                    firstTries += r->randomTries;
                } else if (r->randomWins > 0) {
                    numbers.push_back(r->level);
                }
            }
            if (!numbers.empty()) offenders.push_back(levelList(mode, numbers));
            firstGroup.push_back(std::string(modeName(mode)) + " " + std::to_string(firstWins) + "/" +
                                 std::to_string(firstTries));
        }
        c.met = offenders.empty();
        c.found = (c.met ? std::string("none") : "won " + join(offenders, "; ")) + " (in the first group it won " +
                  join(firstGroup, ", ") + ")";
        checks.push_back(c);
    }
    {
        const std::vector<const LevelReport*> puzzle = ofMode(input, rules::GameMode::Puzzle);
        int won = 0;
        for (const LevelReport* r : puzzle) won += r->wins > 0;
        Check c{"Puzzle levels with a reachable target", "25, each won by the bot",
                std::to_string(puzzle.size()) + " levels, " + std::to_string(won) + " won",
                puzzle.size() == kPuzzleLevels && won == kPuzzleLevels};
        checks.push_back(c);
    }
    {
        Check c{"Colours grow over the groups", "never fewer than on an earlier level, more at the end", "", true};
        std::vector<std::string> found;
        for (rules::GameMode mode : modes) {
            std::map<int, std::set<int32_t>> byGroup;
            int32_t previous = 0;
            const std::vector<const LevelReport*> levels = ofMode(input, mode);
            for (const LevelReport* r : levels) {
                byGroup[rules::levelGroup(mode, r->level)].insert(r->definition.colors);
                c.met = c.met && r->definition.colors >= previous;
                previous = r->definition.colors;
            }
            c.met = c.met && levels.back()->definition.colors > levels.front()->definition.colors;
            std::vector<std::string> groups;
            for (const auto& [group, colours] : byGroup) {
                const int32_t low = *colours.begin(), high = *colours.rbegin();
                groups.push_back(low == high ? std::to_string(low) : std::to_string(low) + "-" + std::to_string(high));
            }
            found.push_back(std::string(modeName(mode)) + " " + join(groups, " / "));
        }
        c.found = join(found, "; ");
        checks.push_back(c);
    }
    if (input.set != nullptr) {
        rules::GameState state;
        state.levels = input.set->levels;
        rules::computeBonusFirstLevels(state);
        Check c{"Each bonus kind arrives on its own level", "first levels of the six tips all differ", "", true};
        std::vector<std::string> found;
        for (rules::GameMode mode : modes) {
            const auto& first = state.bonusFirstLevel[static_cast<size_t>(mode)];
            std::set<int32_t> seen;
            std::vector<std::string> parts;
            for (int p = 0; p < 6; ++p) {
                if (first[p] < 0) continue;
                c.met = c.met && seen.insert(first[p]).second;
                parts.push_back(std::string(kBonusProperties[p]) + " " + std::to_string(first[p]));
            }
            found.push_back(std::string(modeName(mode)) + ": " + (parts.empty() ? "none" : join(parts, ", ")));
        }
        c.found = join(found, "; ");
        checks.push_back(c);
    }
    return checks;
}

std::string markdownReport(const ReportInput& input, const std::vector<Check>& checks) {
    std::string out;
    out += "# Level balance report\n\n";
    out += "Written by `" + input.command + "` for `" + input.levelFile + "`.\n\n";
    out += "Each level was played " + std::to_string(input.botTries) + " times by the bot and " +
           std::to_string(input.randomTries) + " times by the random clicker (seed base " + std::to_string(input.firstSeed) +
           "), every try in a fresh game driven through the game's own frame tick on a headless platform with "
           "the virtual clock, so the animations, falls, chains, clock and move budget run as in the game.\n\n";
    char bot[640];
    std::snprintf(bot, sizeof bot,
                  "- **Bot**: on a settled board it plays every block turn (and on boards that are not refilled both "
                  "board turns) out on a copy of the rule state with the rules' own matching and falls, and for each "
                  "the best move after it; it takes the move with the best gain now plus %.2f times the best gain one "
                  "move later. After %d fruitless moves with nothing in reach it buys a shuffle if %.0f %% of the "
                  "limit would be left. It moves once a second in Action and ActionPuzzle and as soon as the board "
                  "has settled in Strategy and Puzzle.\n",
                  kFollowUpWeight, kFruitlessBeforeShuffle, 100 * kShuffleReserve);
    out += bot;
    out +=
        "- **Random clicker**: clicks a random block with a random mouse button whenever the board takes a "
        "click.\n";
    out +=
        "- *Progress* is the level score in Action and Strategy and the number of empty cells in Puzzle and "
        "ActionPuzzle; *left* is the time (seconds) or moves left when the bot won, as a median over its wins.\n\n";

    out += "## Targets\n\n| Target | Wanted | Found | Met |\n|---|---|---|---|\n";
    for (const Check& c : checks)
        out += "| " + c.name + " | " + c.wanted + " | " + c.found + " | " + (c.met ? "yes" : "**no**") + " |\n";
    out += "\n";

    for (rules::GameMode mode : modesIn(input)) {
        const bool refilled = rules::isRefilled(mode);
        const bool timed = rules::isTimed(mode);
        out += std::string("## ") + modeName(mode) + "\n\n";
        out += std::string("| Level | Colours | Target | ") + (timed ? "Time" : "Moves") + " | Bot wins | Median " +
               (refilled ? "score" : "cells emptied") + " | Median " + (timed ? "time" : "moves") +
               " left | Random wins | Random best | Note |\n";
        out += "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n";
        for (const LevelReport* r : ofMode(input, mode)) {
            std::vector<std::string> notes;
            if (r->wins == 0) notes.push_back("unwinnable");
            if (rules::levelGroup(mode, r->level) > 0 && trivial(*r)) notes.push_back("trivial");
            if (rules::levelGroup(mode, r->level) > 0 && r->randomWins > 0) notes.push_back("random wins");
            if (r->stuck > 0) notes.push_back(std::to_string(r->stuck) + " stuck");
            if (r->cutOff > 0) notes.push_back(std::to_string(r->cutOff) + " cut off");
            out += "| " + std::to_string(r->level) + " | " + std::to_string(r->definition.colors) + " | " +
                   std::to_string(r->definition.target) + " | " + std::to_string(r->definition.limit) + " | " +
                   percent(r->winRate()) + " | " + number(r->medianProgress) + " | " +
                   (r->medianLeftWon < 0 ? std::string("-") : number(r->medianLeftWon)) + " | " + std::to_string(r->randomWins) +
                   "/" + std::to_string(r->randomTries) + " | " + number(r->randomBest) + " | " + join(notes, ", ") + " |\n";
        }
        out += "\n";
    }
    return out;
}

}  // namespace levelbot
