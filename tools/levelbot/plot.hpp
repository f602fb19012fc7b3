#pragma once
#include <filesystem>
#include <vector>

#include "report.hpp"

namespace levelbot {

inline constexpr int kPlotWidth = 1000;
inline constexpr int kPlotHeight = 720;

// Draws the difficulty curve of each mode (the bot's and the random clicker's share of won tries,
// level by level) into a PNG: one panel per mode, the level groups marked, the bands the first
// group and the last level should fall into shaded. False when the file cannot be written.
bool writeDifficultyPlot(const std::vector<LevelReport>& levels, const std::filesystem::path& file);

}  // namespace levelbot
