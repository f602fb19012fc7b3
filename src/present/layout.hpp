#pragma once
#include <array>

#include "game/board_geometry.hpp"

// Where everything sits on the 800 by 600 picture: the one table of screen positions that the
// game's drawing, its input and the picture generator share. Plain constants, no SDL, so the
// picture generator includes it as it is.
namespace present::layout {

using rules::Point;
using rules::Rect;

inline constexpr int kScreenW = 800;
inline constexpr int kScreenH = 600;

// ---- Board ----------------------------------------------------------------------------------

// Block (k, i) at (257 + 56k, 157 + 56i), 62 by 62; its socket 2 pixels further out, 66 by 66.
inline constexpr int kBlockSide = 62;
inline constexpr int kSocketSide = 66;
inline constexpr int kBallSide = 20;
constexpr Point blockAt(int k, int i) {
    return {rules::kBoardLeft + rules::kBlockPitch * k, rules::kBoardTop + rules::kBlockPitch * i};
}
constexpr Point socketAt(int k, int i) { return {blockAt(k, i).x - 2, blockAt(k, i).y - 2}; }
// A single ball of cell (column c, row r): falling balls and the end animation.
constexpr Point ballAt(int c, int r) { return {264 + rules::kCellPitch * c, 164 + rules::kCellPitch * r}; }
// The centre of a ball, where a bonus sprite's hot spot goes.
constexpr Point ballCentreAt(int c, int r) { return {274 + rules::kCellPitch * c, 174 + rules::kCellPitch * r}; }
// Where an effect strip's hot spot goes over a cell.
constexpr Point effectAt(int c, int r) { return {278 + rules::kCellPitch * c, 178 + rules::kCellPitch * r}; }

// The board turns about the picture's centre; turned blocks and sockets are placed about these.
inline constexpr Point kTurnCentre = {400, 300};
inline constexpr Point kTurnedBlockOrigin = {369, 269};
inline constexpr Point kTurnedSocketOrigin = {367, 267};

// The centre piece under the board, frames of 448 by 448 side by side.
inline constexpr Rect kCentrePiece = {176, 76, 448, 448};

// Where the four balls of a block sit inside its 62 by 62 picture at rotation step 0..5 (0
// upright, 1..5 the steps of a quarter turn). Cells of a block: 0 top-left, 1 bottom-left,
// 2 top-right, 3 bottom-right. The help demonstrations use the same table.
inline constexpr std::array<std::array<Point, 4>, 6> kTurnPositions = {{
    {{{7, 7}, {7, 35}, {35, 7}, {35, 35}}},
    {{{6, 8}, {8, 36}, {34, 6}, {36, 34}}},
    {{{4, 11}, {11, 38}, {31, 4}, {38, 31}}},
    {{{1, 21}, {21, 41}, {21, 1}, {41, 21}}},
    {{{4, 31}, {31, 38}, {11, 4}, {38, 11}}},
    {{{6, 34}, {34, 36}, {8, 6}, {36, 8}}},
}};
// A clockwise turn runs its steps backwards, so its balls are taken in this cell order: then the
// turn starts from the cells' real places.
inline constexpr std::array<int, 4> kClockwiseCellOrder = {1, 3, 0, 2};

// ---- Play screen ----------------------------------------------------------------------------

// The two bars (time on the left, progress on the right) and the freeze glass over the time bar.
inline constexpr Rect kTimeBar = {158, 165, 51, 270};
inline constexpr Rect kProgressBar = {591, 165, 51, 270};
inline constexpr Rect kFreezeGlass = {158, 159, 57, 306};

// The frame around the board: source rectangle of the picture and where it lands.
enum class FramePicture { LeftRight, TopBottom, LeftRightBut, Buttons };
struct FramePiece {
    FramePicture picture;
    Rect source;
    Point at;
};
inline constexpr std::array<FramePiece, 10> kFramePieces = {{
    {FramePicture::LeftRight, {0, 0, 108, 358}, {127, 121}},
    {FramePicture::LeftRight, {108, 0, 108, 358}, {565, 121}},
    {FramePicture::TopBottom, {0, 0, 330, 134}, {235, 10}},
    {FramePicture::TopBottom, {0, 134, 330, 134}, {235, 456}},
    {FramePicture::LeftRightBut, {0, 0, 104, 158}, {23, 221}},
    {FramePicture::LeftRightBut, {104, 0, 104, 158}, {673, 221}},
    {FramePicture::Buttons, {0, 0, 118, 48}, {36, 246}},
    {FramePicture::Buttons, {118, 0, 118, 48}, {646, 249}},
    {FramePicture::Buttons, {0, 48, 118, 48}, {36, 303}},
    {FramePicture::Buttons, {118, 48, 118, 48}, {646, 303}},
}};

// The play screen's twelve buttons: 0..7 the frame's arrows, 8 back to the title, 9 shuffle,
// 10 options, 11 pause. `glowSource` is the corner of the glow cell in its picture; buttons 8..11
// draw their 160 by 93 glow cell at `glowAt`, the arrows over their own rectangle.
struct PlayButton {
    Rect rect;
    Point glowSource;
    Point glowAt;
};
inline constexpr std::array<PlayButton, 12> kPlayButtons = {{
    {rules::kArrowButtons[0].rect, {0, 0}, {361, 109}},
    {rules::kArrowButtons[1].rect, {0, 34}, {209, 302}},
    {rules::kArrowButtons[2].rect, {25, 0}, {563, 261}},
    {rules::kArrowButtons[3].rect, {34, 25}, {402, 463}},
    {rules::kArrowButtons[4].rect, {34, 0}, {402, 109}},
    {rules::kArrowButtons[5].rect, {0, 0}, {209, 261}},
    {rules::kArrowButtons[6].rect, {25, 34}, {563, 302}},
    {rules::kArrowButtons[7].rect, {0, 25}, {361, 463}},
    {{36, 249, 118, 48}, {0, 0}, {14, 226}},
    {{646, 249, 118, 48}, {160, 0}, {623, 226}},
    {{36, 303, 118, 48}, {0, 93}, {14, 279}},
    {{646, 303, 118, 48}, {160, 93}, {623, 279}},
}};
inline constexpr int kPlayButtonCount = 12, kArrowButtonCount = 8;  // the frame's arrows come first
inline constexpr int kBackButton = 8, kShuffleButton = 9, kOptionsButton = 10, kPauseButton = 11;
inline constexpr Point kSideGlowCell = {160, 93};

// The side buttons' captions (text00 lines 8 to 11), each centred in a field of 118.
inline constexpr std::array<Point, 4> kSideCaptions = {{{36, 260}, {36, 314}, {646, 260}, {646, 314}}};
inline constexpr int kSideCaptionField = 118;

// A double click inside this area turns the block under it; outside it is offered to the arrows.
inline constexpr Rect kDoubleClickArea = {322, 194, 314, 314};

// Top-left corners of the 18 rune meter slots' glow pictures.
inline constexpr std::array<Point, 18> kRuneSlots = {{
    {220, 452},
    {236, 469},
    {256, 482},
    {273, 491},
    {291, 501},
    {313, 511},
    {335, 516},
    {356, 520},
    {380, 521},
    {404, 522},
    {428, 519},
    {449, 514},
    {469, 507},
    {491, 499},
    {509, 489},
    {527, 479},
    {544, 463},
    {557, 452},
}};
// The four rune words flashed when a level starts.
inline constexpr std::array<Point, 4> kRuneWords = {{{222, 87}, {298, 58}, {372, 52}, {494, 78}}};

// Score digits (15 by 26) on a shallow arc over the board: one table for an even digit count, one
// for an odd one. The last digit goes to entry n / 2 + 2, each digit to its left one entry before.
inline constexpr int kDigitW = 15, kDigitH = 26;
inline constexpr std::array<Point, 6> kScoreDigitsEven = {{{353, 32}, {369, 29}, {385, 28}, {401, 28}, {417, 29}, {433, 32}}};
inline constexpr std::array<Point, 5> kScoreDigitsOdd = {{{361, 30}, {377, 28}, {393, 27}, {409, 28}, {425, 30}}};
// The level number under the board: one digit, or two.
inline constexpr Point kLevelOneDigit = {393, 551};
inline constexpr std::array<Point, 2> kLevelTwoDigits = {{{385, 551}, {401, 551}}};

// Texts of the play screen, all in a field of the picture's width.
inline constexpr int kLevelTextY = 288;  // "LEVEL n", and the intermission's group title
inline constexpr int kLastLevelNoteY = 312;
inline constexpr int kEndTextY = 268;      // won or lost
inline constexpr int kEndSubtitleY = 304;  // bonus line, or the lost level's subtitle
inline constexpr int kStuckTextY = 312;
inline constexpr int kPauseTextY = 550;

// Where a bonus flight that leaves the picture is drawn instead.
inline constexpr Point kFlightFallback = {400, 300};

// ---- Opening and title ----------------------------------------------------------------------

inline constexpr Rect kLogoBig = {322, 203, 160, 147};

// The title's eight buttons: 0..3 big (180 by 32 glass), 4..7 small (156 by 28).
inline constexpr std::array<Point, 8> kTitleButtons = {
    {{392, 104}, {274, 167}, {274, 230}, {274, 293}, {227, 354}, {227, 409}, {330, 464}, {330, 519}}};
inline constexpr int kTitleBigButtons = 4;
inline constexpr Point kBigGlass = {180, 32};
inline constexpr Point kSmallGlass = {156, 28};
inline constexpr Rect kGameLogo = {596, 284, 186, 212};
// The four pieces of the board ornament on the title.
inline constexpr std::array<Rect, 4> kTitleOrnaments = {
    {{265, 153, 199, 186}, {383, 90, 199, 63}, {321, 449, 174, 110}, {218, 339, 174, 110}}};
inline constexpr Point kWelcomeText = {0, 59};
inline constexpr int kWelcomeField = 770;

}  // namespace present::layout
