#include "flow/screen_frames.hpp"
#include "present/blitter.hpp"
#include "present/layout.hpp"

namespace flow {

void drawPauseScreen(Game& game) {
    const rules::GameState& rules = game.rules;
    present::Display& display = game.display;
    // Nothing moves while paused: the background alone, which hides the board, and the message.
    const int group = rules::groupEntry(rules.gameMode, rules.level.currentLevel);
    const auto background = static_cast<present::SurfacePicture>(static_cast<int>(present::SurfacePicture::Background1) + group);
    present::copyRect(game.pictures.surface(background), 0, 0, 0, 0, present::kScreenWidth, present::kScreenHeight,
                      display.backBuffer, present::ColourKey::Ignore);
    present::drawText(present::makeSpriteFont(game.pictures, game.characterMap), 0, present::layout::kPauseTextY,
                      present::kScreenWidth, game.texts.text(data::TextId::PauseMessage), display.backBuffer, present::FontWhite);
    present::presentFrame(display, game.platform);
}

}  // namespace flow
