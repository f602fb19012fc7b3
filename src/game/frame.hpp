#pragma once
#include <functional>

#include "game/state.hpp"

namespace rules {

// What a frame of the play screen shows once the rules have moved it on.
enum class FrameShows {
    Board,         // the board and everything around it
    Intermission,  // the picture of the level group about to begin
    Nothing,       // no new picture: the level's sequence moved on, or the level was lost on its limit
};

// Draws the frame's picture from the state as it stands, which it only reads.
using ShowFrame = std::function<void(const GameState&)>;

// Everything the rules do in one frame of the play screen, in this order:
// 1. the level takes the step of its state: the choice of the next level and the intermission, the
//    set-up and the opening, play (figures, chains and falls), settling, the shuffle's sweep, and
//    the end of a level (the last figures, the balls falling out and the end bonus);
// 2. a board turn or a block turn takes its next frame (a block's fifth permutes its cells, the
//    board's sixth turns the arrays);
// 3. `show` draws the frame;
// 4. what it showed moves one frame on: the drop being drawn, the thaw after a freeze, the rune
//    meter's slots, the effects (a reveal that has played puts its ball on the board);
// 5. the level's limit runs (the clock with its freezes, or the moves), measures progress and ends
//    the level; a level lost on its limit ends the frame here, and its picture is not shown;
// 6. the rune meter lights its slots and pays out bonuses, bonuses past their lifetime vanish, and
//    the frame's move has been counted.
// The flow serves what the rules asked for in `state.requests` after the frame. Without `show`
// (the level bot, the hint finder) the frame is the same, undrawn.
FrameShows advanceFrame(GameState& state, Services& services, const ShowFrame& show = {});

// Runs frames, undrawn, until the board stands still in play: no figure left to clear, no chain
// running, nothing falling. For look-aheads on a copy of the state (the level bot, the hint finder);
// a copy whose level is not running has no limit to run out. Stops after `maxFrames` in any case.
void settleBoard(GameState& state, Services& services, int maxFrames = 2000);

// A click during the intermission cuts it short.
void skipIntermission(GameState& state);

}  // namespace rules
