// The menus' live pass, their hit tests and the player list's selection.
#include <algorithm>
#include <string>

#include "present/blitter.hpp"
#include "present/layout.hpp"
#include "present/menus.hpp"

namespace present {

namespace {

using namespace menu;

constexpr int kCaptions = 1;
constexpr int kLabels = 2;
constexpr int kSavedLevelLabel = 11;
constexpr int32_t kCursorBlinkBit = 16;

void put(const Pictures& pictures, SurfacePicture picture, int x, int y, Surface& target) {
    const Surface& s = pictures.surface(picture);
    copyRect(s, 0, 0, x, y, s.width, s.height, target, ColourKey::Use);
}

// On the high-score screen the button of the mode whose table shows glows.
int captionStyle(const MenuView& view, int button) {
    if (view.screen != ScreenHighScores) return FontNormal;
    const int lit = view.gameMode == MenuModeAction         ? 2
                    : view.gameMode == MenuModeActionPuzzle ? 3
                    : view.gameMode == MenuModeStrategy     ? 4
                                                            : -1;
    return button == lit ? FontGlow : FontNormal;
}

void drawButtons(const MenuView& view, const MenuLayout& l, Surface& target) {
    const Pictures& pictures = *view.pictures;
    for (int i = 0; i < l.buttonCount; ++i) {
        if (i == 1 && secondButtonHidden(view.dialogId)) continue;
        const Button& b = l.buttons[static_cast<size_t>(i)];
        put(pictures, SurfacePicture::ButSmallGlass, l.x + b.bx + kButtonGlassX, l.y + b.by + kButtonGlassY, target);
        put(pictures, SurfacePicture::ButSmallBorder, l.x + b.bx, l.y + b.by, target);
        const std::string_view caption = view.texts ? view.texts->text(kCaptions, b.caption) : std::string_view{};
        drawText(view.font, l.x + b.bx + kButtonGlassX, l.y + b.by + kButtonCaptionY, kButtonGlassW, caption, target,
                 captionStyle(view, i));
    }
}

// Strictly inside a w by h box at (x, y), as the list's arrows test the pointer.
bool strictlyInside(Point p, int x, int y, int w, int h) { return p.x > x && p.x < x + w && p.y > y && p.y < y + h; }

void drawPlayerList(const MenuView& view, const MenuLayout& l, MenuLiveState& live, Surface& target) {
    const Pictures& pictures = *view.pictures;
    const int count = static_cast<int>(view.playerNames.size());
    for (int k = 0; k < kListRows; ++k) {
        const int entry = view.firstVisible + k;
        if (entry < 0 || entry >= count) continue;
        drawText(view.font, l.x + 66, l.y + kListRowY + kListRowPitch * k, l.fieldWidth(),
                 view.playerNames[static_cast<size_t>(entry)], target, entry == view.selection ? FontGlow : FontNormal);
    }
    if (count > 0) {
        const int markerY = l.y + kListRowY + kListRowPitch * (view.selection - view.firstVisible);
        put(pictures, SurfacePicture::CurPlayerCursor, l.x + 66, markerY, target);
        put(pictures, SurfacePicture::CurPlayerCursor, l.x + 166 * l.columns - 40, markerY, target);
    }

    const int ax = l.x + kListUpArrow.x, upY = l.y + kListUpArrow.y, downY = l.y + kListDownArrow.y;
    SurfacePicture up = SurfacePicture::PrevNamePressed;
    if (!live.listUpPressed) {
        live.listUpHover = strictlyInside(view.pointer, ax, upY, kListArrowSize.x, kListArrowSize.y);
        up = live.listUpHover ? SurfacePicture::PrevNameGlow : SurfacePicture::PrevName;
    }
    put(pictures, up, ax, upY, target);
    SurfacePicture down = SurfacePicture::NextNamePressed;
    if (!live.listDownPressed) {
        live.listDownHover = strictlyInside(view.pointer, ax, downY, kListArrowSize.x, kListArrowSize.y);
        down = live.listDownHover ? SurfacePicture::NextNameGlow : SurfacePicture::NextName;
    }
    put(pictures, down, ax, downY, target);
}

void drawBonusAnimation(const MenuView& view, int record, int32_t counter, int hotX, int hotY, float fd, Surface& target) {
    if (!view.gfx || record < 0 || record >= data::kBonusPictureCount) return;
    const data::BonusLayout& b = view.gfx->bonuses[static_cast<size_t>(record)];
    if (b.frames <= 0 || b.frame_width <= 0) return;  // a strip without frames shows nothing
    const PixelImage& image = view.pictures->image(static_cast<StartupImage>(static_cast<int>(StartupImage::Bonus1) + record));
    const int frame = static_cast<int>(static_cast<uint32_t>(counter) % static_cast<uint32_t>(b.frames));
    blendBlit(frame * b.frame_width, 0, hotX - b.center_x, hotY - b.center_y, b.frame_width, b.height, image, target, 1.0f, fd);
}

void drawOptions(const MenuView& view, const MenuLayout& l, MenuLiveState& live, VolumeSliders& sliders, Surface& target) {
    const Pictures& pictures = *view.pictures;
    const bool ticked[3] = {view.ownCursor, view.toShowTips, view.fullScreen};
    for (size_t i = 0; i < kOptionTicks.size(); ++i)
        if (ticked[i]) put(pictures, SurfacePicture::CheckBoxCheck, l.x + kOptionTicks[i].x, l.y + kOptionTicks[i].y, target);

    const auto slider = [&](bool drag, int32_t& knobX, int32_t& volume, int32_t knobY) {
        if (drag) {
            knobX = clampKnob(view.pointer.x, l.x);
            volume = knobVolume(knobX, l.x);
        }
        put(pictures, SurfacePicture::Slider, knobX - kKnobSize.x / 2, l.y + knobY, target);
    };
    slider(live.musicSliderDrag, sliders.musicSliderX, sliders.musicVolume, kKnobY[0]);
    slider(live.soundSliderDrag, sliders.soundSliderX, sliders.soundVolume, kKnobY[1]);
}

}  // namespace

bool secondButtonHidden(int32_t dialogId) {
    return dialogId == DialogGameComplete || dialogId == DialogNoMoves || dialogId == DialogModeSwitched;
}

void drawMenuLive(const MenuView& view, MenuLiveState& live, VolumeSliders& sliders, Surface& target) {
    if (!view.pictures || view.screen < 0 || view.screen >= kMenuScreenCount) return;
    const MenuLayout& l = kMenuLayouts[static_cast<size_t>(view.screen)];
    const Pictures& pictures = *view.pictures;
    drawMenuFrame(pictures, l.x, l.y, l.rows, l.columns, target);
    drawButtons(view, l, target);

    const auto label = [&](int line) { return view.texts ? view.texts->text(kLabels, line) : std::string_view{}; };
    const int count = static_cast<int>(view.playerNames.size());
    switch (view.screen) {
        case ScreenDeletePlayer:
            if (view.selection >= 0 && view.selection < count)
                drawText(view.font, l.x + 66, l.y + kSelectedNameY, l.fieldWidth(),
                         view.playerNames[static_cast<size_t>(view.selection)], target, FontNormal);
            break;
        case ScreenStartLater:
            drawText(view.font, l.x + 66, l.y + kSavedLevelY, l.fieldWidth(),
                     std::string(label(kSavedLevelLabel)) + std::to_string(view.savedLevel), target, FontNormal);
            break;
        case ScreenChoosePlayer: drawPlayerList(view, l, live, target); break;
        case ScreenEnterName:
            if (view.nameEntryActive) {
                ++live.nameCursorFrames;
                std::string name = view.typedName;
                if (live.nameCursorFrames & kCursorBlinkBit) name += '|';
                drawText(view.font, kNameTextX, l.y + kNameTextY, 166 * l.columns + 33, name, target, FontNormal);
                if (!view.nameRefusal.empty())
                    drawText(view.font, 0, l.y + kNameRefusalY, kScreenWidth, view.nameRefusal, target, FontNormal);
            }
            break;
        case ScreenHelpRules:
            if (!view.showHelpBeforeGame)
                put(pictures, SurfacePicture::CheckBoxCheck, l.x + kHelpBoxTick.x, l.y + kHelpBoxTick.y, target);
            if (view.drawHelpDemonstrations) view.drawHelpDemonstrations(target, l.x, l.y);
            break;
        case ScreenHelpBonuses:
            for (size_t row = 0; row < kBonusHelpRowY.size(); ++row) {
                const float fd = static_cast<int>(row) == kBonusHelpOpaqueRow ? 0.0f : 1.0f;
                drawBonusAnimation(view, kBonusHelpAnimation[row], live.bonusFrames, l.x + kBonusHelpAnimationX,
                                   l.y + kBonusHelpRowY[row] + kBonusHelpAnimationDy, fd, target);
            }
            ++live.bonusFrames;
            break;
        case ScreenOptions: drawOptions(view, l, live, sliders, target); break;
        default: break;
    }
}

void drawTipAnimation(const MenuView& view, int32_t counter, Surface& target) {
    if (!view.pictures || view.screen != ScreenDialogHost) return;
    // Records in the order of the bonus kinds: Explode, Color, Freeze, Universal, ScoreBoost.
    int record = -1;
    switch (view.dialogId) {
        case DialogFreezeTip: record = 2; break;
        case DialogScoreBoostTip: record = 4; break;
        case DialogUniversalTip: record = 3; break;
        case DialogColorTip: record = 1; break;
        case DialogExplodeTip: record = 0; break;
        default: return;
    }
    // The universal ball is drawn opaque, the others add their light.
    drawBonusAnimation(view, record, counter, kTipAnimation.x, kTipAnimation.y, record == 3 ? 0.0f : 1.0f, target);
}

bool overMenuButton(const MenuLayout& l, int index, Point p) {
    if (index < 0 || index >= l.buttonCount) return false;
    const Button& b = l.buttons[static_cast<size_t>(index)];
    const int x = l.x + b.bx + kButtonGlassX, y = l.y + b.by + kButtonGlassY;
    return p.x > x && p.x < x + kButtonGlassW && p.y > y && p.y < y + kButtonGlassH;
}

int menuButtonAt(int32_t screen, int32_t dialogId, Point p) {
    if (screen < 0 || screen >= kMenuScreenCount) return -1;
    const MenuLayout& l = kMenuLayouts[static_cast<size_t>(screen)];
    for (int i = 0; i < l.buttonCount; ++i) {
        if (i == 1 && secondButtonHidden(dialogId)) continue;
        if (overMenuButton(l, i, p)) return i;
    }
    return -1;
}

int menuActionAt(int32_t screen, int32_t dialogId, Point p) {
    const int button = menuButtonAt(screen, dialogId, p);
    return button < 0 ? -1 : kMenuLayouts[static_cast<size_t>(screen)].buttons[static_cast<size_t>(button)].action;
}

void selectInList(int32_t& selection, int32_t& firstVisible, int playerCount, MenuLiveState& live, int y) {
    const int shown = std::min(playerCount, kListRows);
    if (y > kListPressTop && y < kListPressTop + kListRowPitch * shown) {
        // A list scrolled before players were deleted may show fewer rows than eleven past its
        // first entry: a row without a player selects nothing.
        const int row = (y - kListPressTop) / kListRowPitch + firstVisible;
        if (row < playerCount) selection = row;
    }
    if (live.listDownHover) {
        live.listDownPressed = true;
        if (selection < playerCount - 1) {
            ++selection;
            if (selection > firstVisible + kListRows - 1) ++firstVisible;
        }
    }
    if (live.listUpHover) {
        live.listUpPressed = true;
        if (selection != 0) {
            if (selection == firstVisible) --firstVisible;
            --selection;
        }
    }
}

int32_t clampKnob(int32_t x, int32_t originX) { return std::clamp(x, originX + kKnobMin, originX + kKnobMax); }

int32_t knobVolume(int32_t knobX, int32_t originX) { return (knobX - originX - kKnobMin) * 100 / kKnobTravel; }

}  // namespace present
