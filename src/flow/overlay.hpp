#pragma once
#include <string>
#include <vector>

#include "flow/game.hpp"

namespace flow {

struct OverlayLine {
    int x, y;
    std::string text;
};

// The diagnostic lines of the play screen for the current state, with their positions; empty when
// both switches ("MainStatus" and "FPS") are off.
std::vector<OverlayLine> diagnosticOverlayLines(const Game& game);

// Draws those lines in yellow into the back buffer.
void drawDiagnosticOverlay(Game& game);

}  // namespace flow
