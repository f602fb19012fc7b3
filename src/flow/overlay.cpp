#include "flow/overlay.hpp"

#include <cstdio>

namespace flow {

namespace {

template <typename... Args>
std::string format(const char* pattern, Args... args) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

}  // namespace

std::vector<OverlayLine> diagnosticOverlayLines(const Game& game) {
    std::vector<OverlayLine> lines;
    const rules::GameState& rules = game.rules;
    const rules::LevelState& level = rules.level;
    if (game.app.showMainStatus) {
        lines.push_back({0, 0, format("LEVEL: %d", level.currentLevel)});
        lines.push_back({0, 20, format("Score: %d", level.totalScore + level.levelScore)});
        lines.push_back({0, 40, format("g_R g_RTop: %d %d", level.progressPercent, level.target)});
        lines.push_back({0, 60, format("g_L g_LTop: %f %d", static_cast<double>(level.remaining), level.limit)});
    }
    if (game.app.showFps) {
        const int y0 = game.app.showMainStatus ? 80 : 0;
        const uint32_t loopTime = game.platform.clock().now() - game.app.tickStartedAt;
        const auto& ratio = level.definition.bonusRatio;
        lines.push_back({0, y0, format("FPS: %d", static_cast<int>(game.app.displayedFps))});
        lines.push_back({0, y0 + 20, format("loop time: %d", static_cast<int>(loopTime))});
        lines.push_back({0, y0 + 40,
                         format("runes: %d/%d  _%d_%d_%d_%d_%d", rules.runePoints, rules::kRuneSlots, ratio[0], ratio[1],
                                ratio[2], ratio[3], ratio[4])});
        lines.push_back({0, y0 + 60, format("toShowTips = %d", rules.player.toShowTips ? 1 : 0)});
        // The rune slot lines keep their place whatever the switches above print.
        for (int slot = 0; slot < rules::kRuneSlots; ++slot) {
            const rules::RuneSlot& rune = rules.runeSlots[slot];
            lines.push_back({0, 160 + 20 * slot, format("st = %d  ac = %d", rune.state, rune.counter)});
        }
    }
    return lines;
}

void drawDiagnosticOverlay(Game& game) {
    constexpr uint32_t kYellow = 0xFFFF00;
    for (const OverlayLine& line : diagnosticOverlayLines(game))
        game.overlayFont.draw(game.display.backBuffer, line.x, line.y, line.text, kYellow);
}

}  // namespace flow
