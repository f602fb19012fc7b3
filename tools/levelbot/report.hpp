#pragma once
#include <array>
#include <string>
#include <vector>

#include "attempt.hpp"

namespace levelbot {

// What the tries of one level came to.
struct LevelReport {
    rules::GameMode mode = rules::GameMode::Action;
    int32_t level = 0;
    rules::LevelDefinition definition;
    int tries = 0;
    int wins = 0;
    int stuck = 0;
    int cutOff = 0;
    double medianProgress = 0;  // score, or cells emptied, over every try of the bot
    double medianLeftWon = -1;  // seconds or moves left over the won tries; -1 when none was won
    int randomTries = 0;
    int randomWins = 0;
    double randomBest = 0;  // the best progress the random clicker reached

    double winRate() const { return tries > 0 ? static_cast<double>(wins) / tries : 0.0; }
};

// Sums up the tries of one level: `bot` and `random` are that level's results of each player.
LevelReport summarise(rules::GameMode mode, int32_t level, const rules::LevelDefinition& definition,
                      const std::vector<AttemptResult>& bot, const std::vector<AttemptResult>& random);

double median(std::vector<double> values);

// The balance targets a level set is held to, checked on a finished report.
struct Check {
    std::string name;
    std::string wanted;
    std::string found;
    bool met = false;
};

struct ReportInput {
    const LevelSet* set = nullptr;
    std::vector<LevelReport> levels;  // in mode order, then level order
    std::string command;              // how the report was made, for its first lines
    std::string levelFile;
    int botTries = 0;
    int randomTries = 0;
    uint32_t firstSeed = 1;
};

std::vector<Check> checkTargets(const ReportInput& input);

// The Markdown report: how it was made, the targets and whether they are met, one table per mode.
std::string markdownReport(const ReportInput& input, const std::vector<Check>& checks);

const char* modeName(rules::GameMode mode);

}  // namespace levelbot
