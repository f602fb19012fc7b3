#pragma once
#include "flow/game.hpp"

namespace flow {

// One frame of the play screen's animations, in drawing order, and what the frame shows: the bars
// ease and the flash plays; a board turn, a pending block turn or the drop animation steps; the end
// animation's texts appear (and the end bonus is paid); the rune slots, bonus flights, button
// glows and effects play one frame. The result is game.play.view, ready to be drawn.
const present::PlayView& stepPlayView(Game& game);

// Queues a bonus flight from `start` to `end` along the points of Bresenham's line, both ends
// included.
void addBonusFlight(PlayScreenState& play, present::Pos start, present::Pos end, int pictureRow);

// The points of the line from `a` to `b`, both ends included: the larger of |dx| and |dy|, plus one.
std::vector<present::Pos> linePoints(present::Pos a, present::Pos b);

// One tick of a hover glow, after it was drawn: a lit glow holds at full strength, a fading one
// runs out and goes dark.
void advanceGlow(rules::GlowPair& glow);

// The picture of a level group's intermission, drawn into the back buffer.
void drawIntermissionView(Game& game);

}  // namespace flow
