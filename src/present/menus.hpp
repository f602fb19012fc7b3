#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/gfx_settings.hpp"
#include "data/texts.hpp"
#include "game/random.hpp"
#include "present/menu_layout.hpp"
#include "present/pictures.hpp"
#include "present/platform.hpp"
#include "present/sprite_font.hpp"

namespace present {

// One row of the high-score screen.
struct HighScoreRow {
    std::string name;
    uint32_t score = 0;
};

// The game modes as the menus tell them apart (the numbers of the rules' GameMode).
enum MenuMode : int32_t { MenuModeAction = 0, MenuModeStrategy = 1, MenuModePuzzle = 2, MenuModeActionPuzzle = 3 };

// Everything the menus draw, filled by the game's flow before each pass. The menus never look at
// the game itself.
struct MenuView {
    const Pictures* pictures = nullptr;
    SpriteFont font;
    const data::TextTables* texts = nullptr;
    const data::GraphicsSettings* gfx = nullptr;

    // The screen: the title, the play screen (its frame drawn when no menu is open), or a menu.
    SurfacePicture background = SurfacePicture::MenuBackground;
    bool playScreenFrame = false;
    bool menuActive = false;
    int32_t screen = 0;
    int32_t dialogId = 0;
    const Surface* capture = nullptr;  // the dialog host's backdrop
    int32_t gameMode = MenuModeAction;

    // High scores of the current mode, best first.
    std::vector<HighScoreRow> highScores;
    // The player list and its selection.
    std::vector<std::string> playerNames;
    int32_t selection = 0;
    int32_t firstVisible = 0;
    // Name entry.
    std::string typedName;
    bool nameEntryActive = false;
    std::string nameRefusal;  // why the typed name could not be taken; empty when it could
    // The letter keys show with the focus on one of them (menu::kNameKeyCount keys), or stay away.
    int32_t nameKeyFocus = -1;
    // The second hints page shows the controls without a mouse instead of its hints.
    bool controlsPage = false;
    // Their captions: the last letter back, and take the name.
    std::string_view nameKeyBackspace = "DEL", nameKeyOk = "OK";
    // The current player's saved level in the current mode, and options.
    int32_t savedLevel = 0;
    bool showHelpBeforeGame = true;
    bool ownCursor = true;
    bool toShowTips = true;
    bool fullScreen = true;
    bool colourSymbols = false;
    bool moveHints = true;
    // The ball colour (0..6) the Explode tip shows.
    int32_t explodeTipColour = 0;

    Point pointer;

    // The rules help's three animated demonstrations, drawn in its live pass with the screen's
    // origin; nothing is drawn while it is empty.
    std::function<void(Surface& target, int originX, int originY)> drawHelpDemonstrations;
};

// What the menus keep from frame to frame, changed by the menu frame's step and by input: the list
// arrow held down, a slider held, and the counters of what blinks and turns.
struct MenuLiveState {
    bool listUpPressed = false, listDownPressed = false;
    bool musicSliderDrag = false, soundSliderDrag = false;
    int32_t nameCursorFrames = 0;  // the name field's cursor blinks every 16 frames
    int32_t bonusFrames = 0;       // the bonus help page's animation counter
    bool controlsPage = false;     // the second hints page turned once more: the controls
};

// The two volume sliders of the options screen: knob places and the volumes they give.
struct VolumeSliders {
    int32_t musicSliderX = 400, musicVolume = 50;
    int32_t soundSliderX = 400, soundVolume = 50;
};

// A high-score row's text: the name, dots, and the score, the dots filling 330 pixels as far as
// whole dots go (none when name and score are wider).
std::string highScoreRowText(std::span<const uint8_t> characterMap, const HighScoreRow& row);

// The static pass: the background, the play screen's frame and side captions when it shows, and,
// when a menu is open, its glass panel, labels and fixed texts. Random draws (from the decoration's
// generator) pick the colours of the decorative balls of the bonus help page and the tips.
void rebuildMenuScreen(const MenuView& view, Surface& scene, rules::Random& decoration);

// The live pass of the open menu screen, into the back buffer after the static picture: the frame,
// the buttons, and everything that moves or follows the pointer. It changes nothing but pixels.
void drawMenuLive(const MenuView& view, const MenuLiveState& live, const VolumeSliders& sliders, Surface& target);

// A slider held down follows the pointer: its knob to the pointer's column on its track, and its
// volume with it. For the options screen, once a frame.
void dragVolumeSliders(const MenuLiveState& live, Point pointer, VolumeSliders& sliders);

// The thin frame around a panel of `columns` by `rows` tiles.
void drawMenuFrame(const Pictures& pictures, int x, int y, int rows, int columns, Surface& target);

enum class ButtonSize { Small, Big };
enum class ButtonBorder { None, Drawn };

// One glass button with its caption: with a border, the glass sits 9 and 12 pixels inside it.
void drawButton(const Pictures& pictures, const SpriteFont& font, int x, int y, ButtonSize size, std::string_view caption,
                ButtonBorder border, int style, Surface& target);

// A tip's bonus picture turning above its text (dialogs 3 to 7), frame `counter` of its strip.
void drawTipAnimation(const MenuView& view, int32_t counter, Surface& target);

// Whether `p` lies strictly inside the glass of button `index` of `layout` (its edge pixels do not
// count).
bool overMenuButton(const menu::MenuLayout& layout, int index, Point p);

// The button of `screen` under `p` by the strict test (the glass without its edge), or -1. The
// second button of the dialogs 9, 11 and 12 is hidden and never hit.
int menuButtonAt(int32_t screen, int32_t dialogId, Point p);

// The action of the button under `p`, or -1.
int menuActionAt(int32_t screen, int32_t dialogId, Point p);

// Whether the second button of a screen is hidden while `dialogId` is showing.
bool secondButtonHidden(int32_t dialogId);

// The player list (screen 3) of `playerCount` players, at most eleven shown from `firstVisible`.
enum class ListArrow { None, Up, Down };

// The list's arrow under `p` (strictly inside its picture), or None.
ListArrow listArrowAt(Point p);

// A press at row position y selects the player of that row, when the row shows one.
void selectListRow(int32_t& selection, int32_t firstVisible, int playerCount, int y);

// An arrow moves the selection by one row, never past either end, scrolling the list by one when
// the selection leaves the rows shown.
void stepListSelection(int32_t& selection, int32_t& firstVisible, int playerCount, ListArrow arrow);

// The options screen's knob at picture x for the given panel origin, clamped to its track, and the
// volume (0..100) a knob at x gives.
int32_t clampKnob(int32_t x, int32_t originX);
int32_t knobVolume(int32_t knobX, int32_t originX);

}  // namespace present
