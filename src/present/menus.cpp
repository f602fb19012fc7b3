#include "present/menus.hpp"

#include <algorithm>
#include <string>

#include "present/blitter.hpp"
#include "present/layout.hpp"

namespace present {

namespace {

using namespace menu;

using data::TextTableId;
constexpr TextTableId kCaptions = TextTableId::MenuCaptions;
constexpr TextTableId kLabels = TextTableId::MenuLabels;
constexpr TextTableId kMessages = TextTableId::Messages;
constexpr float kDialogOpacityBoost = 0.2f;

struct Painter {
    const MenuView& view;
    Surface& target;

    const Pictures& pictures() const { return *view.pictures; }
    std::string_view text(TextTableId table, int line) const {
        return view.texts ? view.texts->text(table, line) : std::string_view{};
    }
    std::string_view text(data::TextId id, int offset = 0) const {
        return view.texts ? view.texts->text(id, offset) : std::string_view{};
    }
    void put(SurfacePicture picture, int x, int y) const {
        const Surface& s = pictures().surface(picture);
        copyRect(s, 0, 0, x, y, s.width, s.height, target, ColourKey::Use);
    }
    void write(int x, int y, int field, std::string_view s, int style = FontNormal) const {
        drawText(view.font, x, y, field, s, target, style);
    }
    // A line centred on the whole picture's width.
    void centred(int y, std::string_view s) const { write(0, y, kScreenWidth, s); }
    void ball(int colour, int x, int y) const {
        const Surface& balls = pictures().ballsShown();
        copyRect(balls, layout::kBallSide * colour, 0, x, y, layout::kBallSide, layout::kBallSide, target, ColourKey::Use);
    }
};

void drawPlayScreenFrame(const Painter& p) {
    using layout::FramePicture;
    for (const layout::FramePiece& piece : layout::kFramePieces) {
        SurfacePicture picture = SurfacePicture::MainKerunLeftRight;
        switch (piece.picture) {
            case FramePicture::LeftRight: picture = SurfacePicture::MainKerunLeftRight; break;
            case FramePicture::TopBottom: picture = SurfacePicture::MainKerunTopBottom; break;
            case FramePicture::LeftRightBut: picture = SurfacePicture::MainKerunLeftRightBut; break;
            case FramePicture::Buttons: picture = SurfacePicture::KerunButtons; break;
        }
        copyRect(p.pictures().surface(picture), piece.source.x, piece.source.y, piece.at.x, piece.at.y, piece.source.w,
                 piece.source.h, p.target, ColourKey::Use);
    }
    for (size_t i = 0; i < layout::kSideCaptions.size(); ++i)
        p.write(layout::kSideCaptions[i].x, layout::kSideCaptions[i].y, layout::kSideCaptionField,
                p.text(data::TextId::FirstSideCaption, static_cast<int>(i)));
}

void highScoreExtras(const Painter& p, const MenuLayout& l) {
    for (size_t i = 0; i < std::min(p.view.highScores.size(), static_cast<size_t>(kScoreRows)); ++i)
        p.write(l.x + kScoreRowX, l.y + kScoreRowY + kScoreRowPitch * static_cast<int>(i), l.fieldWidth(),
                highScoreRowText(p.view.font.characterMap, p.view.highScores[i]));
}

void rulesHelpExtras(const Painter& p, const MenuLayout& l) {
    p.put(SurfacePicture::CheckBoxBase, l.x + kHelpBox.x, l.y + kHelpBox.y);
    p.put(SurfacePicture::SmallBars, kHelpSmallBars.x, kHelpSmallBars.y);
    p.write(l.x + kHelpBoxCaption.x, l.y + kHelpBoxCaption.y, 0, p.text(kMessages, 0));
    for (const Offset& rule : kHelpRules) p.put(SurfacePicture::HelpLineHoriz, l.x + rule.x, l.y + rule.y);
    for (const HelpLine& line : kHelpText) p.write(l.x + line.at.x, l.y + line.at.y, 0, p.text(kMessages, line.line));
}

void modesHelpExtras(const Painter& p, const MenuLayout& l) {
    for (const HeadedLine& line : kModesHelp) {
        const std::string_view s = p.text(kMessages, line.line);
        if (line.headingLength == 0) {
            p.write(l.x + line.at.x, l.y + line.at.y, 0, s);
            continue;
        }
        const size_t cut = std::min(s.size(), static_cast<size_t>(line.headingLength));
        p.write(l.x + line.at.x, l.y + line.at.y, 0, s.substr(0, cut), FontGlow);
        if (s.size() > cut) p.write(l.x + line.restX, l.y + line.at.y, 0, s.substr(cut));
    }
    p.put(SurfacePicture::HelpButton, l.x + kModesHelpButton.x, l.y + kModesHelpButton.y);
}

void bonusHelpExtras(const Painter& p, const MenuLayout& l, rules::Random& decoration) {
    for (size_t k = 0; k < kBonusHelpLineY.size(); ++k)
        p.write(l.x + kBonusHelpTextX, l.y + kBonusHelpLineY[k], 0, p.text(kMessages, 1 + static_cast<int>(k)));
    for (size_t row = 0; row < kBonusHelpRowY.size(); ++row) {
        if (static_cast<int>(row) == kBonusHelpOpaqueRow) continue;  // the universal ball is its own picture
        p.ball(decoration.mod(7), l.x + kBonusHelpBallX, l.y + kBonusHelpRowY[row]);
    }
}

// A check box's caption from (x, y), on two lines (split at a space) when one is wider than the
// panel leaves room for.
void writeCaption(const Painter& p, const MenuLayout& l, int x, int y, std::string_view caption) {
    const int room = l.x + l.width() - kPanelFrameEdge - x;
    const std::span<const uint8_t> map = p.view.font.characterMap;
    if (measureText(map, caption) <= room) {
        p.write(x, y, 0, caption);
        return;
    }
    size_t split = caption.rfind(' ');
    while (split != std::string_view::npos && split > 0 && measureText(map, caption.substr(0, split)) > room)
        split = caption.rfind(' ', split - 1);
    if (split == std::string_view::npos || split == 0) {
        p.write(x, y, 0, caption);
        return;
    }
    p.write(x, y - kOptionCaptionLinePitch / 2, 0, caption.substr(0, split));
    p.write(x, y + kOptionCaptionLinePitch / 2, 0, caption.substr(split + 1));
}

void optionsExtras(const Painter& p, const MenuLayout& l) {
    for (const Offset& track : kSliderTracks) p.put(SurfacePicture::MenuSlider, l.x + track.x, l.y + track.y);
    for (const Offset& box : kOptionBoxes) p.put(SurfacePicture::CheckBoxBase, l.x + box.x, l.y + box.y);
    p.write(l.x, l.y + kMusicCaptionY, l.width(), p.text(kMessages, kMusicCaptionLine));
    p.write(l.x, l.y + kSoundCaptionY, l.width(), p.text(kMessages, kSoundCaptionLine));
    for (int i = 0; i < kOptionBoxCount; ++i) {
        const auto box = static_cast<size_t>(i);
        const std::string_view caption =
            i < static_cast<int>(kOptionCaptionLines.size())
                ? p.text(kMessages, kOptionCaptionLines[box])
                : p.text(i == OptionColourSymbols ? data::TextId::ColourSymbolsCaption : data::TextId::MoveHintsCaption);
        writeCaption(p, l, l.x + kOptionCaptionX[box], l.y + kOptionCaptionY[box], caption);
    }
}

void hintsExtras(const Painter& p, const MenuLayout& l) {
    const int fieldX = l.x - 33, field = 182 * l.columns;
    for (int k = 0; k < kHintsLineCount; ++k)
        p.write(fieldX, l.y + kHintsTopY + 26 * (k + k / 2), field, p.text(kMessages, kHintsFirstLine + k));
    for (size_t i = 0; i < kHintsTail.size(); ++i) p.write(fieldX, l.y + kHintsTailY[i], field, p.text(kMessages, kHintsTail[i]));
}

// The controls without a mouse: a controller's first, then the keys', in place of the second hints
// page's text when its page is turned once more.
void controlsExtras(const Painter& p, const MenuLayout& l) {
    const int fieldX = l.x - 33, field = 182 * l.columns;
    for (int k = 0; k < kControlsLineCount; ++k) {
        const int y = l.y + kHintsTopY + 26 * k + (k >= kControlsKeysLine ? kControlsGap : 0);
        p.write(fieldX, y, field, p.text(TextTableId::LaterTexts, kControlsFirstSlot + k));
    }
    p.write(fieldX, l.y + kHintsTailYLast, field, p.text(kMessages, kMoreHintsTail));
}

void moreHintsExtras(const Painter& p, const MenuLayout& l) {
    if (p.view.controlsPage) {
        controlsExtras(p, l);
        return;
    }
    const int fieldX = l.x - 33, field = 182 * l.columns;
    for (int k = 0; k < kMoreHintsLineCount; ++k)
        p.write(fieldX, l.y + kHintsTopY + 26 * (k + k / 4), field, p.text(kMessages, kMoreHintsFirstLine + k));
    p.write(fieldX, l.y + kMoreHintsLaterY[0], field, p.text(data::TextId::HintKeyLine));
    p.write(fieldX, l.y + kMoreHintsLaterY[1], field, p.text(data::TextId::SymbolsLine));
    p.write(fieldX, l.y + kHintsTailYLast, field, p.text(kMessages, kMoreHintsTail));
}

// The text01 line that names a mode on the high-score screen, or -1 for a mode without a table.
int modeCaption(int32_t mode) {
    switch (mode) {
        case MenuModeAction: return 4;
        case MenuModeActionPuzzle: return 5;
        case MenuModeStrategy: return 6;
        default: return -1;
    }
}

void dialogExtras(const Painter& p, const MenuLayout& l, rules::Random& decoration) {
    const int32_t dialog = p.view.dialogId;
    const auto found =
        std::find_if(kDialogTexts.begin(), kDialogTexts.end(), [dialog](const DialogText& d) { return d.dialog == dialog; });
    if (found == kDialogTexts.end()) return;
    for (int line = found->firstLine; line <= found->lastLine; ++line) {
        int y = l.y + found->baseY + found->step * (line - found->firstLine);
        if (dialog == DialogGameComplete && line == found->firstLine) y = l.y + kGameCompleteFirstY;
        p.centred(y, p.text(kMessages, line));
    }
    if (found->ball) {
        const int colour = dialog == DialogExplodeTip ? std::clamp(p.view.explodeTipColour, 0, 6) : decoration.mod(7);
        p.ball(colour, l.x + kDialogBall.x, l.y + kDialogBall.y);
    }
    if (dialog == DialogFiguresTip) p.put(SurfacePicture::HelpButton, l.x + kDialogHelpButton.x, l.y + kDialogHelpButton.y);
    if (dialog == DialogGameComplete) {
        const int caption = modeCaption(p.view.gameMode);
        std::string mode = caption >= 0 ? std::string(p.text(kCaptions, caption)) : std::string();
        mode += p.text(kMessages, kGameCompleteSuffixLine);
        p.centred(l.y + kGameCompleteModeY, mode);
        for (size_t i = 0; i < kGameCompleteTail.size(); ++i)
            p.centred(l.y + kGameCompleteTailY[i], p.text(kMessages, kGameCompleteTail[i]));
    }
}

}  // namespace

std::string highScoreRowText(std::span<const uint8_t> characterMap, const HighScoreRow& row) {
    const std::string score = std::to_string(row.score);
    const int room = kScoreRowWidth - measureText(characterMap, row.name) - measureText(characterMap, score);
    const int dots = std::max(room / kDotWidth, 0);
    return row.name + std::string(static_cast<size_t>(dots), '.') + score;
}

void rebuildMenuScreen(const MenuView& view, Surface& scene, rules::Random& decoration) {
    if (!view.pictures) return;
    const Painter p{view, scene};
    const Surface& background = view.pictures->surface(view.background);
    copyRect(background, 0, 0, 0, 0, kScreenWidth, kScreenHeight, scene, ColourKey::Ignore);
    if (view.playScreenFrame && !view.menuActive) drawPlayScreenFrame(p);
    if (!view.menuActive || view.screen < 0 || view.screen >= kMenuScreenCount) return;

    const MenuLayout& l = kMenuLayouts[static_cast<size_t>(view.screen)];
    const float transparency = view.gfx ? view.gfx->menuTransparency : 0.0f;
    const PixelImage& glass = view.pictures->image(StartupImage::LayerAll);
    if (view.screen == ScreenDialogHost) {
        if (view.capture) copyRect(*view.capture, 0, 0, 0, 0, kScreenWidth, kScreenHeight, scene, ColourKey::Ignore);
        drawGlassPanel(l.x, l.y, l.rows, l.columns, transparency + kDialogOpacityBoost, scene, glass);
    } else {
        drawGlassPanel(l.x, l.y, l.rows, l.columns, transparency, scene, glass);
    }
    for (int i = 0; i < l.labelCount; ++i) {
        const Label& label = l.labels[static_cast<size_t>(i)];
        p.write(l.x + 66, l.y + label.y, l.fieldWidth(), p.text(kLabels, label.line));
    }
    switch (view.screen) {
        case ScreenHighScores: highScoreExtras(p, l); break;
        case ScreenChoosePlayer:
            for (const Offset& rule : kListRules) p.put(SurfacePicture::HelpLineHoriz, l.x + rule.x, l.y + rule.y);
            break;
        case ScreenEnterName: p.put(SurfacePicture::EnterNameBorder, l.x + kNameField.x, l.y + kNameField.y); break;
        case ScreenHelpRules: rulesHelpExtras(p, l); break;
        case ScreenHelpModes: modesHelpExtras(p, l); break;
        case ScreenHelpBonuses: bonusHelpExtras(p, l, decoration); break;
        case ScreenOptions: optionsExtras(p, l); break;
        case ScreenHelpHints: hintsExtras(p, l); break;
        case ScreenDialogHost: dialogExtras(p, l, decoration); break;
        case ScreenHelpMoreHints: moreHintsExtras(p, l); break;
        default: break;
    }
}

void drawMenuFrame(const Pictures& pictures, int x, int y, int rows, int columns, Surface& target) {
    const Surface& r = pictures.surface(SurfacePicture::RamkaAll);
    rows = std::clamp(rows, 0, 64);
    columns = std::clamp(columns, 0, 64);
    const auto piece = [&](int sx, int sy, int w, int h, int dx, int dy) {
        copyRect(r, sx, sy, dx, dy, w, h, target, ColourKey::Use);
    };
    piece(0, 0, 66, 66, x, y);
    for (int i = 0; i < columns; ++i) piece(0, 132, 116, 16, x + 66 + 116 * i, y);
    piece(66, 0, 66, 66, x + 66 + 116 * columns, y);
    for (int j = 0; j < rows; ++j) {
        piece(132, 0, 16, 116, x, y + 66 + 116 * j);
        piece(148, 0, 16, 116, x + 116 * columns + 116, y + 66 + 116 * j);
    }
    piece(0, 66, 66, 66, x, y + 66 + 116 * rows);
    for (int i = 0; i < columns; ++i) piece(0, 148, 116, 16, x + 66 + 116 * i, y + 116 + 116 * rows);
    piece(66, 66, 66, 66, x + 66 + 116 * columns, y + 66 + 116 * rows);
}

void drawButton(const Pictures& pictures, const SpriteFont& font, int x, int y, ButtonSize size, std::string_view caption,
                ButtonBorder border, int style, Surface& target) {
    const bool big = size == ButtonSize::Big;
    const Surface& glass = pictures.surface(big ? SurfacePicture::ButBigGlass : SurfacePicture::ButSmallGlass);
    const Surface& frame = pictures.surface(big ? SurfacePicture::ButBigBorder : SurfacePicture::ButSmallBorder);
    const int field = big ? layout::kBigGlass.x : layout::kSmallGlass.x;
    if (border == ButtonBorder::Drawn) {
        copyRect(glass, 0, 0, x + kButtonGlassX, y + kButtonGlassY, glass.width, glass.height, target, ColourKey::Use);
        copyRect(frame, 0, 0, x, y, frame.width, frame.height, target, ColourKey::Use);
        drawText(font, x + kButtonGlassX, y + kButtonCaptionY, field, caption, target, style);
    } else {
        copyRect(glass, 0, 0, x, y, glass.width, glass.height, target, ColourKey::Use);
        drawText(font, x, big ? y + 2 : y, field, caption, target, style);
    }
}

}  // namespace present
