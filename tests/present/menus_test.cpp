#include <gtest/gtest.h>

#include <string>

#include "present/menus.hpp"

namespace {

using namespace present;
namespace menu = present::menu;

constexpr uint32_t kGlass = 0x00204080;
constexpr uint32_t kBorder = 0x00C08020;
constexpr uint32_t kFrame = 0x00A0A0A0;

Surface solidSurface(int w, int h, uint32_t colour) {
    Surface s = Surface::create(w, h, kMagentaKey);
    s.fill(colour);
    return s;
}

// Pictures of flat colours in the game's sizes: every piece shows exactly where it lands.
struct FlatPictures {
    Pictures pictures;
    data::GraphicsSettings gfx;
    data::TextTables texts;
    std::vector<uint8_t> map = {'A', 'B', 'C', '|'};

    FlatPictures() {
        PixelImage& glass = pictures.startupImages[static_cast<size_t>(StartupImage::LayerAll)];
        glass.width = glass.height = 248;
        glass.pixels.assign(248 * 248, kGlass);
        gfx.menuTransparency = 1.0f;  // the panel replaces what is under it
        pictures.surfaces[static_cast<size_t>(SurfacePicture::MenuBackground)] = solidSurface(800, 600, 0);
        pictures.surfaces[static_cast<size_t>(SurfacePicture::ButSmallGlass)] = solidSurface(156, 28, 0x003060A0);
        pictures.surfaces[static_cast<size_t>(SurfacePicture::ButSmallBorder)] = solidSurface(174, 52, kBorder);
        // The frame picture: every piece grey, the rest of it the key colour.
        Surface frame = solidSurface(164, 164, kFrame);
        pictures.surfaces[static_cast<size_t>(SurfacePicture::RamkaAll)] = frame;
        pictures.surfaces[static_cast<size_t>(SurfacePicture::FontSprites)] = solidSurface(15 * 4, 26, 0x00FFFFFF);
        pictures.surfaces[static_cast<size_t>(SurfacePicture::Slider)] = solidSurface(36, 28, 0x0000FF00);
    }

    MenuView view(int screen, int dialog = 0) const {
        MenuView v;
        v.pictures = &pictures;
        v.font = makeSpriteFont(pictures, map);
        v.texts = &texts;
        v.gfx = &gfx;
        v.menuActive = true;
        v.screen = screen;
        v.dialogId = dialog;
        return v;
    }
};

uint32_t colour(const Surface& s, int x, int y) { return s.at(x, y) & kColourMask; }

TEST(Menus, TheQuitConfirmationIsA364By132PanelWithItsButtonsBelowIt) {
    FlatPictures flat;
    Surface scene = Surface::create(800, 600);
    rules::Random random;
    rebuildMenuScreen(flat.view(menu::ScreenQuit), scene, random);
    EXPECT_EQ(colour(scene, 218, 207), kGlass);
    EXPECT_EQ(colour(scene, 581, 338), kGlass);
    EXPECT_EQ(colour(scene, 217, 207), 0u);
    EXPECT_EQ(colour(scene, 582, 338), 0u);
    EXPECT_EQ(colour(scene, 581, 339), 0u);

    Surface back = scene;
    VolumeSliders sliders;
    MenuLiveState live;
    drawMenuLive(flat.view(menu::ScreenQuit), live, sliders, back);
    // Borders at (218, 351) and (408, 351), 174 by 52, their glass 9 and 12 pixels in.
    for (int x : {218, 408}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(colour(back, x, 351), kBorder);
        EXPECT_EQ(colour(back, x + 173, 402), kBorder);
        EXPECT_EQ(colour(back, x + 174, 402), 0u);
        EXPECT_EQ(colour(back, x, 350), 0u);
    }
    EXPECT_EQ(colour(back, 217, 351), 0u);
    // The frame's corners sit on the panel's corners, its edges along the panel's sides.
    EXPECT_EQ(colour(back, 218, 207), kFrame);
    EXPECT_EQ(colour(back, 581, 338), kFrame);
    EXPECT_EQ(colour(back, 400, 207), kFrame) << "top edge";
    EXPECT_EQ(colour(back, 400, 222), kFrame);
    EXPECT_EQ(colour(back, 400, 223), kGlass) << "the top edge is 16 pixels high";
}

TEST(Menus, ATallPanelsFrameRunsDownBothSides) {
    FlatPictures flat;
    Surface back = Surface::create(800, 600);
    drawMenuFrame(flat.pictures, 44, 32, 3, 5, back);
    // 5 columns, 3 rows: 712 by 480; the side edges are 16 wide, from y + 66 to y + 413.
    for (int y : {32 + 66, 32 + 413}) {
        EXPECT_EQ(colour(back, 44, y), kFrame);
        EXPECT_EQ(colour(back, 44 + 15, y), kFrame);
        EXPECT_EQ(colour(back, 44 + 16, y), 0u);
        EXPECT_EQ(colour(back, 44 + 711, y), kFrame);
        EXPECT_EQ(colour(back, 44 + 696, y), kFrame);
        EXPECT_EQ(colour(back, 44 + 695, y), 0u);
    }
    EXPECT_EQ(colour(back, 44 + 711, 32 + 479), kFrame) << "bottom-right corner";
    EXPECT_EQ(colour(back, 44 + 712, 32 + 479), 0u);
    EXPECT_EQ(colour(back, 300, 32 + 479), kFrame) << "bottom edge";
    EXPECT_EQ(colour(back, 300, 32 + 463), 0u);
}

TEST(Menus, ButtonsAreHitOnlyInsideTheirGlassAndTheHiddenSecondButtonNever) {
    // Screen 0's first button: its glass spans (227, 363) to (382, 390); the press must lie past
    // its left and top edges and before x 383 and y 391.
    EXPECT_EQ(menuActionAt(menu::ScreenQuit, 0, {228, 364}), menu::ActionQuit);
    EXPECT_EQ(menuActionAt(menu::ScreenQuit, 0, {227, 364}), -1);
    EXPECT_EQ(menuActionAt(menu::ScreenQuit, 0, {228, 363}), -1);
    EXPECT_EQ(menuActionAt(menu::ScreenQuit, 0, {382, 390}), menu::ActionQuit);
    EXPECT_EQ(menuActionAt(menu::ScreenQuit, 0, {383, 380}), -1);
    EXPECT_EQ(menuActionAt(menu::ScreenQuit, 0, {300, 391}), -1);
    EXPECT_EQ(menuActionAt(menu::ScreenQuit, 0, {500, 370}), menu::ActionBack);
    EXPECT_EQ(menuActionAt(15, 0, {500, 370}), -1) << "the marker is no screen";

    // The dialog host: OK at (306, 250), Hide Tips at (0, 250), hidden for 9, 11 and 12.
    const Point hideTips = {160 + 80, 149 + 250 + 26};
    EXPECT_EQ(menuActionAt(menu::ScreenDialogHost, menu::DialogFreezeTip, hideTips), menu::ActionHideTips);
    for (int dialog : {menu::DialogGameComplete, menu::DialogNoMoves, menu::DialogModeSwitched}) {
        SCOPED_TRACE(dialog);
        EXPECT_EQ(menuActionAt(menu::ScreenDialogHost, dialog, hideTips), -1);
        EXPECT_EQ(menuActionAt(menu::ScreenDialogHost, dialog, {160 + 306 + 80, 149 + 250 + 26}), menu::ActionBack);

        FlatPictures flat;
        Surface back = Surface::create(800, 600);
        MenuLiveState live;
        VolumeSliders sliders;
        drawMenuLive(flat.view(menu::ScreenDialogHost, dialog), live, sliders, back);
        EXPECT_EQ(colour(back, hideTips.x, hideTips.y), 0u) << "not drawn either";
        EXPECT_EQ(colour(back, 160 + 306 + 80, 149 + 250 + 26), kBorder);
    }
}

TEST(Menus, ThePlayerListScrollsByOneAndNeverSelectsPastItsEnd) {
    int32_t selection = 0, first = 0;
    // A press on the third row of fifteen players.
    selectListRow(selection, first, 15, 140 + 29 * 2 + 5);
    EXPECT_EQ(selection, 2);
    selectListRow(selection, first, 15, 140);
    EXPECT_EQ(selection, 2) << "y 140 is above the first row";

    // The arrows are hit strictly inside their pictures.
    const menu::MenuLayout& list = menu::kMenuLayouts[menu::ScreenChoosePlayer];
    const Point up = {list.x + menu::kListUpArrow.x, list.y + menu::kListUpArrow.y};
    EXPECT_EQ(listArrowAt({up.x + 1, up.y + 1}), ListArrow::Up);
    EXPECT_EQ(listArrowAt(up), ListArrow::None);
    EXPECT_EQ(listArrowAt({list.x + menu::kListDownArrow.x + 1, list.y + menu::kListDownArrow.y + 1}), ListArrow::Down);

    // The down arrow on the last shown row scrolls the list by one.
    selection = 10;
    stepListSelection(selection, first, 15, ListArrow::Down);
    EXPECT_EQ(selection, 11);
    EXPECT_EQ(first, 1);
    selection = 14;
    stepListSelection(selection, first, 15, ListArrow::Down);
    EXPECT_EQ(selection, 14) << "the last player stays selected";

    // The up arrow on the first shown row scrolls back.
    selection = 1;
    stepListSelection(selection, first, 15, ListArrow::Up);
    EXPECT_EQ(selection, 0);
    EXPECT_EQ(first, 0);
    stepListSelection(selection, first, 15, ListArrow::Up);
    EXPECT_EQ(selection, 0);
    EXPECT_EQ(first, 0);

    // A list scrolled before players were deleted: rows past the last player select nothing.
    selection = 3;
    first = 2;
    selectListRow(selection, first, 5, 140 + 29 * 4 + 5);
    EXPECT_EQ(selection, 3);
    selectListRow(selection, first, 5, 140 + 29 * 2 + 5);
    EXPECT_EQ(selection, 4);
}

TEST(Menus, TheSliderKnobStaysOnItsTrackAndGivesZeroToAHundred) {
    const int ox = menu::kMenuLayouts[menu::ScreenOptions].x;
    EXPECT_EQ(clampKnob(0, ox), ox + 57);
    EXPECT_EQ(clampKnob(799, ox), ox + 423);
    EXPECT_EQ(knobVolume(ox + 57, ox), 0);
    EXPECT_EQ(knobVolume(ox + 423, ox), 100);
    EXPECT_EQ(knobVolume(ox + 57 + 183, ox), 50);

    // A drag past the right end puts the knob at the end, drawn 18 pixels left of its x.
    FlatPictures flat;
    MenuView view = flat.view(menu::ScreenOptions);
    view.pointer = {799, 300};
    MenuLiveState live;
    live.soundSliderDrag = true;
    VolumeSliders sliders;
    Surface back = Surface::create(800, 600);
    dragVolumeSliders(live, view.pointer, sliders);
    drawMenuLive(view, live, sliders, back);
    EXPECT_EQ(sliders.soundSliderX, ox + 423);
    EXPECT_EQ(sliders.soundVolume, 100);
    EXPECT_EQ(sliders.musicSliderX, 400) << "the other knob stays";
    EXPECT_EQ(sliders.musicVolume, 50);
    EXPECT_EQ(colour(back, ox + 423 - 18, 32 + 265), 0x0000FF00u);
    EXPECT_EQ(colour(back, ox + 423 + 17, 32 + 265 + 27), 0x0000FF00u);
    EXPECT_EQ(colour(back, ox + 423 + 18, 32 + 265), 0u);
}

TEST(Menus, AHighScoreRowFillsItsWidthWithDotsUnlessTheNameIsTooLong) {
    const std::vector<uint8_t> map = {'A', 'B', '1', '0'};
    // "AB" measures 31 and "100" 47: (330 - 31 - 47) / 15 = 16 dots.
    EXPECT_EQ(highScoreRowText(map, {"AB", 100}), "AB" + std::string(16, '.') + "100");
    EXPECT_EQ(highScoreRowText(map, {std::string(20, 'A'), 5}), std::string(20, 'A') + "5") << "wider than 330: no dots";

    // A table edited to hold more than ten entries shows its ten best inside the panel.
    FlatPictures flat;
    MenuView view = flat.view(menu::ScreenHighScores);
    view.highScores.assign(12, HighScoreRow{"", 0});
    flat.map = {'0'};
    view.font = makeSpriteFont(flat.pictures, flat.map);
    Surface scene = Surface::create(800, 600);
    rules::Random random;
    rebuildMenuScreen(view, scene, random);
    const auto rowLit = [&](int row) {
        const int y = 32 + 108 + 30 * row + 10;
        for (int x = 72; x < 72 + 480; ++x)
            if (colour(scene, x, y) == 0x00FFFFFF) return true;
        return false;
    };
    EXPECT_TRUE(rowLit(0));
    EXPECT_TRUE(rowLit(9));
    EXPECT_FALSE(rowLit(10));
    EXPECT_FALSE(rowLit(11));
}

TEST(Menus, TheNameCursorBlinksEverySixteenFrames) {
    FlatPictures flat;
    MenuView view = flat.view(menu::ScreenEnterName);
    view.nameEntryActive = true;
    view.typedName = "AB";
    MenuLiveState live;
    VolumeSliders sliders;
    const auto drawn = [&] {
        Surface back = Surface::create(800, 600);
        drawMenuLive(view, live, sliders, back);
        int lit = 0;
        for (int y = 207 + 71; y < 207 + 71 + 26; ++y)
            for (int x = 222; x < 222 + 365; ++x) lit += colour(back, x, y) == 0x00FFFFFF ? 1 : 0;
        return lit;
    };
    live.nameCursorFrames = 1;
    const int withoutCursor = drawn();
    EXPECT_EQ(withoutCursor, 2 * 15 * 26);
    live.nameCursorFrames = 16;
    EXPECT_EQ(drawn(), 3 * 15 * 26) << "frame 16 shows the cursor";
    live.nameCursorFrames = 32;
    EXPECT_EQ(drawn(), withoutCursor) << "frame 32 does not";
    view.nameEntryActive = false;
    EXPECT_EQ(drawn(), 0) << "no name without name entry";
}

}  // namespace
