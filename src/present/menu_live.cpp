// The menus' live pass, their hit tests and the player list's selection.
#include <algorithm>
#include <string>

#include "game/bonus_kinds.hpp"
#include "present/blitter.hpp"
#include "present/layout.hpp"
#include "present/menus.hpp"

namespace present {

namespace {

using namespace menu;

constexpr data::TextTableId kCaptions = data::TextTableId::MenuCaptions;
constexpr data::TextTableId kLabels = data::TextTableId::MenuLabels;
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

// The letter keys: the focused one glows inside a light frame.
void drawNameKeys(const MenuView& view, Surface& target) {
    for (int key = 0; key < kNameKeyCount; ++key) {
        const Rect area = nameKeyArea(key);
        const std::string letter(1, static_cast<char>('A' + key));
        const std::string_view caption = key == kNameKeyBackspace ? view.nameKeyBackspace
                                         : key == kNameKeyOk      ? view.nameKeyOk
                                                                  : std::string_view(letter);
        const bool focused = key == view.nameKeyFocus;
        drawText(view.font, area.x, area.y + kNameKeyTextY, area.w, caption, target, focused ? FontGlow : FontNormal);
        if (focused) drawOutline(area.x, area.y, area.w, area.h, 2, kFocusFrameColour, target);
    }
}

Rect listArrowRect(const MenuLayout& l, Offset arrow) {
    return {l.x + arrow.x, l.y + arrow.y, kListArrowSize.x, kListArrowSize.y};
}

void drawPlayerList(const MenuView& view, const MenuLayout& l, const MenuLiveState& live, Surface& target) {
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

    // An arrow held down shows pressed; otherwise it glows under the pointer.
    const Rect upArrow = listArrowRect(l, kListUpArrow), downArrow = listArrowRect(l, kListDownArrow);
    const SurfacePicture up = live.listUpPressed                       ? SurfacePicture::PrevNamePressed
                              : upArrow.containsStrictly(view.pointer) ? SurfacePicture::PrevNameGlow
                                                                       : SurfacePicture::PrevName;
    put(pictures, up, upArrow.x, upArrow.y, target);
    const SurfacePicture down = live.listDownPressed                       ? SurfacePicture::NextNamePressed
                                : downArrow.containsStrictly(view.pointer) ? SurfacePicture::NextNameGlow
                                                                           : SurfacePicture::NextName;
    put(pictures, down, downArrow.x, downArrow.y, target);
}

void drawBonusAnimation(const MenuView& view, int record, int32_t counter, int hotX, int hotY, float fd, Surface& target) {
    if (!view.gfx || record < 0 || record >= data::kBonusPictureCount) return;
    const data::BonusLayout& b = view.gfx->bonuses[static_cast<size_t>(record)];
    if (b.frames <= 0 || b.frame_width <= 0) return;  // a strip without frames shows nothing
    const PixelImage& image = view.pictures->image(static_cast<StartupImage>(static_cast<int>(StartupImage::Bonus1) + record));
    const int frame = static_cast<int>(static_cast<uint32_t>(counter) % static_cast<uint32_t>(b.frames));
    blendBlit(frame * b.frame_width, 0, hotX - b.center_x, hotY - b.center_y, b.frame_width, b.height, image, target, 1.0f, fd);
}

void drawOptions(const MenuView& view, const MenuLayout& l, const VolumeSliders& sliders, Surface& target) {
    const Pictures& pictures = *view.pictures;
    const bool ticked[kOptionBoxCount] = {view.ownCursor, view.toShowTips, view.fullScreen, view.colourSymbols, view.moveHints};
    for (size_t i = 0; i < kOptionTicks.size(); ++i)
        if (ticked[i]) put(pictures, SurfacePicture::CheckBoxCheck, l.x + kOptionTicks[i].x, l.y + kOptionTicks[i].y, target);

    put(pictures, SurfacePicture::Slider, sliders.musicSliderX - kKnobSize.x / 2, l.y + kKnobY[0], target);
    put(pictures, SurfacePicture::Slider, sliders.soundSliderX - kKnobSize.x / 2, l.y + kKnobY[1], target);
}

}  // namespace

bool secondButtonHidden(int32_t dialogId) {
    return dialogId == DialogGameComplete || dialogId == DialogNoMoves || dialogId == DialogModeSwitched;
}

void drawMenuLive(const MenuView& view, const MenuLiveState& live, const VolumeSliders& sliders, Surface& target) {
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
                std::string name = view.typedName;
                if (live.nameCursorFrames & kCursorBlinkBit) name += '|';
                drawText(view.font, kNameTextX, l.y + kNameTextY, 166 * l.columns + 33, name, target, FontNormal);
                if (!view.nameRefusal.empty())
                    drawText(view.font, 0, l.y + kNameRefusalY, kScreenWidth, view.nameRefusal, target, FontNormal);
                if (view.nameKeyFocus >= 0) drawNameKeys(view, target);
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
            break;
        case ScreenOptions: drawOptions(view, l, sliders, target); break;
        default: break;
    }
}

void drawTipAnimation(const MenuView& view, int32_t counter, Surface& target) {
    if (!view.pictures || view.screen != ScreenDialogHost) return;
    for (const rules::BonusKindInfo& kind : rules::kBonusKinds) {
        if (kind.tipDialog != view.dialogId) continue;
        // The universal ball is drawn opaque, the others add their light.
        const float fd = kind.kind == rules::BonusUniversal ? 0.0f : 1.0f;
        drawBonusAnimation(view, kind.pictureRecord, counter, kTipAnimation.x, kTipAnimation.y, fd, target);
        return;
    }
}

bool overMenuButton(const MenuLayout& l, int index, Point p) {
    if (index < 0 || index >= l.buttonCount) return false;
    const Button& b = l.buttons[static_cast<size_t>(index)];
    const Rect glass = {l.x + b.bx + kButtonGlassX, l.y + b.by + kButtonGlassY, kButtonGlassW, kButtonGlassH};
    return glass.containsStrictly(p);
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

ListArrow listArrowAt(Point p) {
    const MenuLayout& l = kMenuLayouts[ScreenChoosePlayer];
    if (listArrowRect(l, kListUpArrow).containsStrictly(p)) return ListArrow::Up;
    if (listArrowRect(l, kListDownArrow).containsStrictly(p)) return ListArrow::Down;
    return ListArrow::None;
}

void selectListRow(int32_t& selection, int32_t firstVisible, int playerCount, int y) {
    const int shown = std::min(playerCount, kListRows);
    if (y <= kListPressTop || y >= kListPressTop + kListRowPitch * shown) return;
    // A list scrolled before players were deleted may show fewer rows than eleven past its first
    // entry: a row without a player selects nothing.
    const int row = (y - kListPressTop) / kListRowPitch + firstVisible;
    if (row < playerCount) selection = row;
}

void stepListSelection(int32_t& selection, int32_t& firstVisible, int playerCount, ListArrow arrow) {
    if (arrow == ListArrow::Down && selection < playerCount - 1) {
        ++selection;
        if (selection > firstVisible + kListRows - 1) ++firstVisible;
    }
    if (arrow == ListArrow::Up && selection != 0) {
        if (selection == firstVisible) --firstVisible;
        --selection;
    }
}

void dragVolumeSliders(const MenuLiveState& live, Point pointer, VolumeSliders& sliders) {
    const int originX = kMenuLayouts[ScreenOptions].x;
    const auto drag = [&](bool held, int32_t& knobX, int32_t& volume) {
        if (!held) return;
        knobX = clampKnob(pointer.x, originX);
        volume = knobVolume(knobX, originX);
    };
    drag(live.musicSliderDrag, sliders.musicSliderX, sliders.musicVolume);
    drag(live.soundSliderDrag, sliders.soundSliderX, sliders.soundVolume);
}

int32_t clampKnob(int32_t x, int32_t originX) { return std::clamp(x, originX + kKnobMin, originX + kKnobMax); }

int32_t knobVolume(int32_t knobX, int32_t originX) { return (knobX - originX - kKnobMin) * 100 / kKnobTravel; }

}  // namespace present
