#pragma once
#include <array>
#include <cstdint>

#include "game/board_geometry.hpp"

// The menu screens' layout: where each screen's glass panel sits, its fixed text lines and its
// buttons. Plain constants, no SDL, so the picture generator's mock-ups take the same numbers.
namespace present::menu {

// The menu screens, by the numbers the screen stack holds.
enum MenuScreen : int32_t {
    ScreenQuit = 0,  // quit confirmation
    ScreenHighScores = 1,
    ScreenResetScores = 2,  // confirmation to clear the shown table
    ScreenChoosePlayer = 3,
    ScreenEnterName = 4,
    ScreenDeletePlayer = 5,   // confirmation
    ScreenStartLevelOne = 6,  // new game or continue, saved level 1
    ScreenStartLater = 7,     // new game or continue, saved level 2 or more
    ScreenHelpRules = 8,
    ScreenHelpModes = 9,
    ScreenHelpBonuses = 10,
    ScreenOptions = 11,
    ScreenHelpHints = 12,
    ScreenDialogHost = 13,  // shows dialog `dialogId` over a captured picture
    ScreenHelpMoreHints = 14,
    ScreenCount = 15,
    // Never shown: sits directly above a 13 whose dialog paused the level clock, which closing
    // that dialog resumes.
    ClockMarker = 15,
};

// The dialogs the dialog host shows.
enum DialogId : int32_t {
    DialogNone = 0,
    DialogFiguresTip = 1,  // the third figure of ActionPuzzle level 1
    DialogExpiryTip = 2,   // bonuses that expire
    DialogFreezeTip = 3,
    DialogScoreBoostTip = 4,
    DialogUniversalTip = 5,
    DialogColorTip = 6,
    DialogExplodeTip = 7,
    DialogGameComplete = 9,  // with fireworks
    DialogShuffleTip = 10,
    DialogNoMoves = 11,       // ActionPuzzle: no colour can make a figure any more
    DialogModeSwitched = 12,  // the window mode asked for was refused
};

// The tips: dialogs the game opens by itself while a level is played.
constexpr bool isTip(int32_t dialog) {
    return (dialog >= DialogFiguresTip && dialog <= DialogExplodeTip) || dialog == DialogShuffleTip;
}

// A fixed text of a screen: a line of the labels table ("system\text02.txt") at y below the origin.
struct Label {
    int32_t line = 0;
    int32_t y = 0;
};

// A glass button: its caption (a line of "system\text01.txt"), its corner relative to the screen's
// origin and the action a press runs.
struct Button {
    int32_t caption = 0;
    int32_t bx = 0, by = 0;
    int32_t action = 0;
};

inline constexpr int kMaxLabels = 2;
inline constexpr int kMaxButtons = 5;

// One menu screen. The panel is 132 + 116 * columns wide and 132 + 116 * rows high; buttons may lie
// below it or to its right.
struct MenuLayout {
    int32_t x = 0, y = 0;
    int32_t columns = 0, rows = 0;
    int32_t labelCount = 0;
    std::array<Label, kMaxLabels> labels{};
    int32_t buttonCount = 0;
    std::array<Button, kMaxButtons> buttons{};

    constexpr int32_t width() const { return 132 + 116 * columns; }
    constexpr int32_t height() const { return 132 + 116 * rows; }
    // Labels and the list are centred in this field, which starts 66 pixels into the panel.
    constexpr int32_t fieldWidth() const { return 116 * columns; }
};

inline constexpr int kMenuScreenCount = ScreenCount;

// Menu button actions, by number.
enum Action : int32_t {
    ActionQuit = 0,
    ActionBack = 1,
    ActionAskResetScores = 2,
    ActionScoresAction = 3,
    ActionScoresActionPuzzle = 4,
    ActionScoresStrategy = 5,
    ActionResetScores = 6,
    ActionNewPlayer = 7,
    ActionRenamePlayer = 8,
    ActionAskDeletePlayer = 9,
    ActionSaveName = 10,
    ActionDeletePlayer = 11,
    ActionConfirmPlayer = 12,
    ActionCancelPlayers = 13,
    ActionNewGame = 14,
    ActionContinueGame = 15,
    ActionHelpPage9 = 16,
    ActionHelpPage10 = 17,
    ActionHelpPage12 = 18,
    ActionHideTips = 19,
    ActionHelpPage14 = 20,
    ActionHelpPage12Again = 21,
};
inline constexpr int kActionCount = 22;

// clang-format off
inline constexpr std::array<MenuLayout, kMenuScreenCount> kMenuLayouts = {{
    // 0 quit confirmation
    {218, 207, 2, 0, 2, {{{0, 40}, {1, 66}}}, 2, {{{0, 0, 144, 0}, {1, 190, 144, 1}}}},
    // 1 high scores
    {72, 32, 3, 3, 1, {{{2, 30}}}, 5, {{{2, 0, 482, 1}, {3, 306, 482, 2}, {4, 482, 323, 3}, {5, 482, 376, 4}, {6, 482, 429, 5}}}},
    // 2 reset-scores confirmation
    {218, 207, 2, 0, 2, {{{3, 40}, {4, 66}}}, 2, {{{0, 0, 144, 6}, {1, 190, 144, 1}}}},
    // 3 choose player
    {130, 32, 2, 3, 1, {{{5, 30}}}, 5, {{{2, 0, 482, 12}, {7, 192, 482, 13}, {8, 366, 323, 7}, {9, 366, 376, 8}, {10, 366, 429, 9}}}},
    // 4 name entry
    {218, 207, 2, 0, 1, {{{6, 27}}}, 1, {{{2, 190, 144, 10}}}},
    // 5 delete confirmation
    {218, 207, 2, 0, 2, {{{7, 27}, {8, 53}}}, 2, {{{0, 0, 144, 11}, {1, 190, 144, 1}}}},
    // 6 start choice, saved level 1
    {218, 207, 2, 0, 2, {{{9, 40}, {10, 66}}}, 2, {{{11, 0, 144, 15}, {12, 190, 144, 14}}}},
    // 7 start choice, a later saved level
    {218, 207, 2, 0, 2, {{{9, 53}, {10, 79}}}, 2, {{{11, 0, 144, 15}, {12, 190, 144, 14}}}},
    // 8 rules help
    {44, 32, 5, 3, 0, {}, 3, {{{13, 0, 482, 17}, {14, 190, 482, 16}, {15, 538, 482, 1}}}},
    // 9 help page: the modes
    {44, 32, 5, 3, 1, {{{12, 32}}}, 1, {{{16, 538, 482, 1}}}},
    // 10 help page: the bonuses
    {44, 32, 5, 3, 0, {}, 1, {{{16, 538, 482, 1}}}},
    // 11 options
    {160, 32, 3, 3, 1, {{{14, 30}}}, 2, {{{17, 0, 482, 18}, {16, 306, 482, 1}}}},
    // 12 help page: hints
    {160, 32, 3, 3, 1, {{{13, 30}}}, 2, {{{15, 306, 482, 1}, {19, 0, 482, 20}}}},
    // 13 dialog host
    {160, 149, 3, 1, 0, {}, 2, {{{15, 306, 250, 1}, {18, 0, 250, 19}}}},
    // 14 help page: more hints
    {160, 32, 3, 3, 1, {{{13, 30}}}, 2, {{{15, 306, 482, 1}, {19, 0, 482, 21}}}},
}};
// clang-format on

// Every menu button is small: a 156 by 28 glass inside a 174 by 52 border, 9 and 12 pixels in.
inline constexpr int kButtonGlassX = 9, kButtonGlassY = 12;
inline constexpr int kButtonGlassW = 156, kButtonGlassH = 28;
inline constexpr int kButtonCaptionY = 15;
// Its glow is 189 by 68, drawn 9 pixels up and left of the border.
inline constexpr int kButtonGlowOffset = 9;

// Fixed pieces of the screens are placed relative to the screen's origin.
using Offset = rules::Point;

// Player list (screen 3): eleven rows 29 apart, the arrows above and below them.
inline constexpr int kListRows = 11;
inline constexpr int kListRowY = 108;
inline constexpr int kListRowPitch = 29;
inline constexpr Offset kListUpArrow = {153, 69};
inline constexpr Offset kListDownArrow = {153, 441};
inline constexpr Offset kListArrowSize = {58, 16};
inline constexpr std::array<Offset, 2> kListRules = {{{25, 95}, {25, 425}}};
// The list's rows in picture coordinates, as the list selection reads a press: row k covers y from
// 141 + 29k to 140 + 29 (k + 1) (the first pixel of the first row does not count).
inline constexpr int kListPressTop = 140;

// Name entry (screen 4).
inline constexpr Offset kNameField = {21, 62};
inline constexpr int kNameTextX = 222;  // the typed name's field starts here in the picture
inline constexpr int kNameTextY = 71;
// Why a name was refused: a sentence wider than the panel, so it stands under the OK button,
// centred on the whole picture.
inline constexpr int kNameRefusalY = 212;

// The name screen's letter keys, for typing with a controller: A to Z, then a key that takes the
// last letter back and one that takes the name, seven to a row below the refusal line, in picture
// coordinates. They show while a controller or the keyboard's focus is on them.
inline constexpr int kNameKeyCount = 28;
inline constexpr int kNameKeyBackspace = 26, kNameKeyOk = 27;
inline constexpr int kNameKeyColumns = 7;
inline constexpr int kNameKeysX = 204, kNameKeysY = 450;
inline constexpr int kNameKeyW = 56, kNameKeyH = 34;
inline constexpr int kNameKeyTextY = 8;
constexpr rules::Rect nameKeyArea(int key) {
    return {kNameKeysX + kNameKeyW * (key % kNameKeyColumns), kNameKeysY + kNameKeyH * (key / kNameKeyColumns), kNameKeyW,
            kNameKeyH};
}

// Delete confirmation (screen 5) and the saved level (screen 7).
inline constexpr int kSelectedNameY = 79;
inline constexpr int kSavedLevelY = 27;

// High scores (screen 1): ten rows, and the width that name, dots and score fill.
inline constexpr int kScoreRows = 10;  // the panel holds ten; an edited file may have more
inline constexpr int kScoreRowX = 65;
inline constexpr int kScoreRowY = 108;
inline constexpr int kScoreRowPitch = 30;
inline constexpr int kScoreRowWidth = 330;
inline constexpr int kDotWidth = 15;

// Rules help (screen 8).
inline constexpr Offset kHelpBox = {392, 428};
inline constexpr Offset kHelpBoxTick = {390, 409};
inline constexpr Offset kHelpBoxCaption = {439, 433};
inline constexpr Offset kHelpSmallBars = {333, 354};  // in picture coordinates
inline constexpr std::array<Offset, 3> kHelpRules = {{{26, 137}, {26, 312}, {371, 189}}};
// The help text: text03 lines 22 to 48, each at its own place.
struct HelpLine {
    int32_t line = 0;
    Offset at;
};
// clang-format off
inline constexpr std::array<HelpLine, 27> kHelpText = {{
    {22, {26, 26}}, {23, {26, 54}}, {24, {26, 82}},
    {25, {26, 112}}, {26, {26, 149}}, {27, {26, 178}}, {28, {26, 206}}, {29, {26, 233}}, {30, {26, 261}},
    {31, {26, 324}}, {32, {26, 352}}, {33, {26, 380}}, {34, {26, 408}}, {35, {26, 436}},
    {36, {364, 26}}, {37, {364, 54}}, {38, {364, 82}},
    {39, {364, 113}}, {40, {364, 138}}, {41, {364, 164}},
    {42, {364, 201}}, {43, {364, 229}}, {44, {364, 257}}, {45, {364, 285}}, {46, {364, 313}}, {47, {364, 341}}, {48, {364, 369}},
}};
// clang-format on

// Help page 9: the modes. Lines 12, 14 and 17 start with a heading drawn glowing: the mode's name
// and a colon, with the rest of the line (no space after the colon) a little to its right. The
// Action Puzzle heading is twice as long as the others and pushes its rest further right.
struct HeadedLine {
    int32_t line = 0;
    int32_t headingLength = 0;  // 0: no heading
    Offset at;                  // the heading, or the whole line
    int32_t restX = 0;          // where the rest of a headed line starts
};
// clang-format off
inline constexpr std::array<HeadedLine, 10> kModesHelp = {{
    {12, 7, {28, 92}, 131}, {13, 0, {28, 124}, 0},
    {14, 14, {28, 170}, 216}, {15, 0, {28, 202}, 0}, {16, 0, {28, 234}, 0},
    {17, 9, {28, 274}, 161}, {18, 0, {28, 306}, 0}, {19, 0, {28, 338}, 0},
    {20, 0, {116, 378}, 0}, {21, 0, {116, 410}, 0},
}};
// clang-format on
inline constexpr Offset kModesHelpButton = {28, 395};

// Help page 10: the bonuses. Eleven lines, five rows with a ball and an animation each.
inline constexpr int kBonusHelpTextX = 83;
inline constexpr std::array<int32_t, 11> kBonusHelpLineY = {32, 58, 110, 142, 188, 220, 266, 318, 370, 402, 434};
inline constexpr std::array<int32_t, 5> kBonusHelpRowY = {113, 191, 269, 321, 373};
inline constexpr int kBonusHelpBallX = 39;
inline constexpr int kBonusHelpAnimationX = 49;
inline constexpr int kBonusHelpAnimationDy = 10;
// Row r shows the bonus animation kBonusHelpAnimation[r]; the row without a ball is row 3.
inline constexpr std::array<int32_t, 5> kBonusHelpAnimation = {0, 4, 2, 3, 1};
inline constexpr int kBonusHelpOpaqueRow = 3;

// The panel's frame pieces are this thick; what stands inside keeps clear of them.
inline constexpr int kPanelFrameEdge = 16;

// Options (screen 11).
inline constexpr std::array<Offset, 2> kSliderTracks = {{{27, 143}, {27, 259}}};
// Five check boxes: the game's cursor, tips and full screen in a column, then colour symbols and
// move hints beside the first and the last of them, their captions on two lines where one is too
// wide for the panel.
inline constexpr int kOptionBoxCount = 5;
enum OptionBox : int { OptionOwnCursor = 0, OptionTips, OptionFullScreen, OptionColourSymbols, OptionMoveHints };
inline constexpr std::array<Offset, kOptionBoxCount> kOptionBoxes = {
    {{144, 330}, {144, 370}, {144, 410}, {334, 330}, {334, 410}}};
inline constexpr std::array<Offset, kOptionBoxCount> kOptionTicks = {
    {{142, 311}, {142, 351}, {142, 391}, {332, 311}, {332, 391}}};
inline constexpr std::array<int32_t, 3> kOptionCaptionLines = {101, 56, 121};
inline constexpr std::array<int32_t, kOptionBoxCount> kOptionCaptionY = {336, 376, 416, 336, 416};
inline constexpr std::array<int32_t, kOptionBoxCount> kOptionCaptionX = {194, 194, 194, 372, 372};
inline constexpr int kOptionCaptionLinePitch = 22;
inline constexpr int kMusicCaptionLine = 99, kSoundCaptionLine = 100;
inline constexpr int kMusicCaptionY = 109, kSoundCaptionY = 224;
// The knob moves from 57 to 423 pixels into the panel; the volume is its place on that track.
inline constexpr int kKnobMin = 57, kKnobMax = 423, kKnobTravel = 366;
inline constexpr std::array<int32_t, 2> kKnobY = {149, 265};
inline constexpr Offset kKnobSize = {36, 28};

// Where a press takes hold of a control, in picture coordinates; a press on any edge counts
// (Rect::containsInclusive).
inline constexpr rules::Rect kMusicSliderArea = {200, 182, 400, 26};
inline constexpr rules::Rect kSoundSliderArea = {200, 298, 400, 26};
inline constexpr std::array<rules::Rect, kOptionBoxCount> kOptionBoxAreas = {
    {{305, 363, 28, 28}, {305, 403, 28, 28}, {305, 443, 28, 28}, {495, 363, 28, 28}, {495, 443, 28, 28}}};
inline constexpr rules::Rect kHelpBoxArea = {437, 461, 28, 28};

// Help pages 12 and 14: centred lines, with a gap after every second (12) or fourth (14) line.
inline constexpr int kHintsTopY = 108;
inline constexpr int kHintsFirstLine = 49, kHintsLineCount = 6;
inline constexpr std::array<int32_t, 3> kHintsTail = {102, 103, 55};
inline constexpr std::array<int32_t, 3> kHintsTailY = {342, 368, 420};
inline constexpr int kMoreHintsFirstLine = 106, kMoreHintsLineCount = 8;
// Below them on page 14: the hint key and the colour symbols.
inline constexpr std::array<int32_t, 2> kMoreHintsLaterY = {355, 381};
inline constexpr int kMoreHintsTail = 55;
inline constexpr int kHintsTailYLast = 420;
// Its page turned once more shows the controls without a mouse: "system\text05.txt" slots 12 to 22,
// the keys' lines after a gap.
inline constexpr int kControlsFirstSlot = 12, kControlsLineCount = 11;
inline constexpr int kControlsKeysLine = 6, kControlsGap = 12;

// The dialog host: each dialog's lines of "system\text03.txt".
struct DialogText {
    int32_t dialog = 0;
    int32_t firstLine = 0, lastLine = 0;
    int32_t baseY = 0, step = 0;
    bool ball = false;  // a ball above the text
};
// clang-format off
inline constexpr std::array<DialogText, 11> kDialogTexts = {{
    {1, 57, 59, 87, 32, false},
    {2, 60, 66, 39, 24, false},
    {3, 67, 72, 59, 24, true},
    {4, 73, 77, 63, 24, true},
    {5, 78, 84, 56, 24, false},
    {6, 85, 89, 70, 24, true},
    {7, 90, 92, 75, 24, true},
    {9, 93, 95, 58, 25, false},
    {10, 114, 117, 70, 24, false},
    {11, 118, 120, 70, 24, false},
    {12, 122, 126, 70, 24, false},
}};
// clang-format on
inline constexpr Offset kDialogBall = {230, 28};
inline constexpr Offset kDialogHelpButton = {199, 49};  // dialog 1
inline constexpr int kGameCompleteFirstY = 33;          // dialog 9's first line
inline constexpr int kGameCompleteModeY = 133;
inline constexpr std::array<int32_t, 2> kGameCompleteTail = {97, 98};
inline constexpr std::array<int32_t, 2> kGameCompleteTailY = {158, 183};
inline constexpr int kGameCompleteSuffixLine = 96;
// The tips' bonus animation turns with its hot spot here, in picture coordinates.
inline constexpr Offset kTipAnimation = {400, 187};

}  // namespace present::menu
