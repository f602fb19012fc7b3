#pragma once
#include "game/state.hpp"

namespace rules {

// A run begins or goes on: the next play frame chooses level `nextLevel` (after an intermission
// when a won level leads into a new group).
void beginLevelSequence(GameState& state);

// StateLevelStart: makes level `nextLevel` of the mode the current one. False when the level table
// has no such level: the game is complete. The board is made afterwards (generateBoard, or a saved
// board), then the opening runs.
bool setupLevel(GameState& state, Services& services, GameMode mode);

// The opening is over: the level clock starts and play begins. Asks for the run to be recorded.
void startPlay(GameState& state, Services& services);

// In play, every frame: asks for the tip on figures after the third figure of a game's first
// ActionPuzzle level, and, 500 ms after play began, for the tips of the bonus kinds that this level
// is the first of its mode to have. Only while the player wants tips.
void askForTips(GameState& state, uint32_t now);

enum class RuleStep { Continue, LevelLost };

// Once per frame of the play screen from StateLevelStart to StateShuffle (not in StateLevelOver and
// StateFallOut): runs the level's limit (the clock with its freezes, or the move budget), measures
// progress and ends the level as won or lost; nothing while no level is running. LevelLost: the level was lost on its limit in
// this frame, and the rest of the frame's rule steps are skipped.
RuleStep applyModeRules(GameState& state, Services& services);

// StateLevelOver, every frame: lets the board settle and score its last figures, then starts the
// end animation (StateFallOut).
void finishLevel(GameState& state, Services& services);

// Starts the end animation: the bottom row leaves first, each row above 15 ticks later, the balls
// of a row 1 to 14 ticks apart in a random order.
void startFallOut(GameState& state, Services& services);

// One tick of the end animation. True when every ball has left the screen.
bool advanceFallOut(GameState& state);

// The end animation's texts change, and a won level's end bonus is paid, once this many balls
// have left the screen.
inline constexpr int kEndBonusStartCount = 20;

// Whether the end bonus is being paid: the end animation of a won level, from the frame in which
// 20 balls have left the screen.
bool endBonusPaying(const GameState& state);

// StateFallOut of a won level, once per frame while endBonusPaying: pays the limit left over, 1/128
// of it a frame, at the group's TIMEbonus or MOVEbonus rate.
void payEndBonus(GameState& state);

// StateLevelAdvance: sets StateIntermission when a won level leads into a new level group (the
// flow shows the group's picture), StateLevelStart otherwise.
void chooseNextLevel(GameState& state);

// Closing the no-more-figures dialog: the level is lost and its points are taken off the total.
void loseStuckLevel(GameState& state);

}  // namespace rules
