#include "flow/play_frame.hpp"

#include "flow/overlay.hpp"
#include "flow/play_view.hpp"
#include "game/moves.hpp"

namespace flow {

void runPlayFrame(Game& game) {
    game.app.tickStartedAt = game.platform.clock().now();
    drawPlayView(game);
    drawDiagnosticOverlay(game);
    present::presentFrame(game.display, game.platform);
}

}  // namespace flow
