// The shipped texts as the screens draw them, measured in the shipped sprite font: every caption
// inside its glass, every line inside its panel, and the help pages' lines clear of each other and
// of the pictures beside them. A text edit or a layout change that breaks one of these shows as
// text running over a frame or a picture.
#include <gtest/gtest.h>

#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "data/profiles.hpp"
#include "data/texts.hpp"
#include "present/demos.hpp"
#include "present/layout.hpp"
#include "present/menu_layout.hpp"
#include "present/sprite_font.hpp"
#include "support/test_support.hpp"

namespace present {
namespace {

using namespace menu;

using data::TextTableId;
constexpr TextTableId kCaptions = TextTableId::MenuCaptions, kLabels = TextTableId::MenuLabels, kMessages = TextTableId::Messages,
                      kPlayTexts = TextTableId::TitleCaptions;
constexpr int kFrameEdge = 16;  // the frame's edge pieces are 16 pixels thick
constexpr int kHighestSavedLevel = 127;

struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1 and y1 are past the last pixel
    bool overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "(" << b.x0 << ", " << b.y0 << ")-(" << b.x1 << ", " << b.y1 << ")";
}

class ShippedTexts : public testing::Test {
  protected:
    void SetUp() override {
        const data::GameFolder folder(testing_support::builtGameFolder());
        data::loadCharacterMap(folder, map);
        data::loadTexts(folder, texts);
        ASSERT_FALSE(map.empty());
    }

    std::string_view text(TextTableId table, int line) const { return texts.text(table, line); }
    // A drawn run can be one pixel wider than measured (a leading wide glyph moves the pen by 16).
    int width(std::string_view s) const { return s.empty() ? 0 : measureText(map, s) + 1; }
    int width(TextTableId table, int line) const { return width(text(table, line)); }

    // A line drawn left-aligned at (x, y).
    Box at(int x, int y, std::string_view s) const { return {x, y, x + width(s), y + kGlyphHeight}; }

    // The inside of a screen's panel, within its frame.
    static Box inside(const MenuLayout& l) {
        return {l.x + kFrameEdge, l.y + kFrameEdge, l.x + l.width() - kFrameEdge, l.y + l.height() - kFrameEdge};
    }
    static bool within(const Box& b, const Box& area) {
        return b.x0 >= area.x0 && b.x1 <= area.x1 && b.y0 >= area.y0 && b.y1 <= area.y1;
    }

    std::vector<uint8_t> map;
    data::TextTables texts;
};

TEST_F(ShippedTexts, ButtonCaptionsFitTheirGlass) {
    for (int line = 0; line < 4; ++line) EXPECT_LE(width(kPlayTexts, line), layout::kBigGlass.x) << text(kPlayTexts, line);
    for (int line = 4; line < 8; ++line) EXPECT_LE(width(kPlayTexts, line), layout::kSmallGlass.x) << text(kPlayTexts, line);
    for (int line = 8; line < 12; ++line) EXPECT_LE(width(kPlayTexts, line), layout::kSideCaptionField) << text(kPlayTexts, line);
    for (int line = 0; line < 20; ++line) EXPECT_LE(width(kCaptions, line), kButtonGlassW) << text(kCaptions, line);
}

// Centred lines are centred on their panel, so each fits when it is no wider than the panel's
// inside; left-aligned ones must end inside it. The names a player can type are the widest run of
// capitals the name screen takes.
TEST_F(ShippedTexts, LinesAndNamesStayInsideTheirPanels) {
    for (int screen = 0; screen < kMenuScreenCount; ++screen) {
        const MenuLayout& l = kMenuLayouts[static_cast<size_t>(screen)];
        const int room = l.width() - 2 * kFrameEdge;
        for (int i = 0; i < l.labelCount; ++i)
            EXPECT_LE(width(kLabels, l.labels[static_cast<size_t>(i)].line), room) << "screen " << screen;
    }
    const MenuLayout& later = kMenuLayouts[ScreenStartLater];
    EXPECT_LE(width(std::string(text(kLabels, 11)) + std::to_string(kHighestSavedLevel)), later.width() - 2 * kFrameEdge);

    const MenuLayout& host = kMenuLayouts[ScreenDialogHost];
    const int dialogRoom = host.width() - 2 * kFrameEdge;
    for (const DialogText& d : kDialogTexts)
        for (int line = d.firstLine; line <= d.lastLine; ++line)
            EXPECT_LE(width(kMessages, line), dialogRoom) << "dialog " << d.dialog << ": " << text(kMessages, line);
    for (int mode = 4; mode <= 6; ++mode) {
        const std::string completed = std::string(text(kCaptions, mode)) + std::string(text(kMessages, kGameCompleteSuffixLine));
        EXPECT_LE(width(completed), dialogRoom) << completed;
    }
    for (int line : kGameCompleteTail) EXPECT_LE(width(kMessages, line), dialogRoom) << text(kMessages, line);

    const MenuLayout& options = kMenuLayouts[ScreenOptions];
    EXPECT_LE(width(kMessages, kMusicCaptionLine), options.width() - 2 * kFrameEdge);
    EXPECT_LE(width(kMessages, kSoundCaptionLine), options.width() - 2 * kFrameEdge);
    for (size_t i = 0; i < kOptionCaptionLines.size(); ++i) {
        const Box caption =
            at(options.x + kOptionCaptionX[i], options.y + kOptionCaptionY[i], text(kMessages, kOptionCaptionLines[i]));
        EXPECT_TRUE(within(caption, inside(options))) << text(kMessages, kOptionCaptionLines[i]) << " at " << caption;
        // The second column's boxes stand clear of the first column's captions.
        EXPECT_LT(caption.x1, options.x + kOptionBoxes[OptionColourSymbols].x) << caption;
    }
    // The second column's captions go on two lines, split at their space, each inside the panel.
    for (const data::TextId id : {data::TextId::ColourSymbolsCaption, data::TextId::MoveHintsCaption}) {
        const std::string_view caption = texts.text(id);
        const size_t space = caption.rfind(' ');
        ASSERT_NE(space, std::string_view::npos) << caption;
        for (std::string_view part : {caption.substr(0, space), caption.substr(space + 1)}) {
            const Box line = at(options.x + kOptionCaptionX[OptionColourSymbols], options.y, part);
            EXPECT_LE(line.x1, options.x + options.width() - kFrameEdge) << part;
        }
    }

    for (int screen : {ScreenHelpHints, ScreenHelpMoreHints}) {
        const MenuLayout& l = kMenuLayouts[static_cast<size_t>(screen)];
        const int first = screen == ScreenHelpHints ? kHintsFirstLine : kMoreHintsFirstLine;
        const int count = screen == ScreenHelpHints ? kHintsLineCount : kMoreHintsLineCount;
        std::vector<int> lines;
        for (int k = 0; k < count; ++k) lines.push_back(first + k);
        if (screen == ScreenHelpHints) lines.insert(lines.end(), kHintsTail.begin(), kHintsTail.end());
        lines.push_back(kMoreHintsTail);
        for (int line : lines) EXPECT_LE(width(kMessages, line), l.width() - 2 * kFrameEdge) << text(kMessages, line);
    }
    for (const data::TextId id : {data::TextId::HintKeyLine, data::TextId::SymbolsLine})
        EXPECT_LE(width(texts.text(id)), kMenuLayouts[ScreenHelpMoreHints].width() - 2 * kFrameEdge) << texts.text(id);
    EXPECT_LE(width(kMessages, 104), kScreenWidth);  // the pause message

    // The widest name stays between the player list's two markers, and with the blinking cursor
    // inside the name field.
    const std::string widest(data::kMaxNameLength, 'W');
    const MenuLayout& list = kMenuLayouts[ScreenChoosePlayer];
    const int markerWidth = 14;
    const int leftMarkerEnd = list.x + 66 + markerWidth, rightMarker = list.x + 166 * list.columns - 40;
    const int nameX = list.x + 66 + (list.fieldWidth() - measureText(map, widest)) / 2;
    EXPECT_GE(nameX, leftMarkerEnd);
    EXPECT_LE(nameX + width(widest), rightMarker);
    const int nameFieldWidth = 322;
    EXPECT_LE(width(widest + "|"), nameFieldWidth - 2 * kFrameEdge);

    // A name refused because the list is full: the reason stands under the name screen's panel
    // and its button, inside the picture.
    const std::string_view refusalText = texts.text(data::TextId::PlayerListFull);
    ASSERT_FALSE(refusalText.empty());
    const MenuLayout& name = kMenuLayouts[ScreenEnterName];
    const int refusalWidth = width(refusalText);
    const Box refusal = at((kScreenWidth - refusalWidth) / 2, name.y + kNameRefusalY, refusalText);
    EXPECT_TRUE(within(refusal, {0, 0, kScreenWidth, kScreenHeight})) << refusal;
    EXPECT_FALSE(refusal.overlaps({name.x, name.y, name.x + name.width(), name.y + name.height()})) << refusal;
    for (int i = 0; i < name.buttonCount; ++i) {
        const Button& b = name.buttons[static_cast<size_t>(i)];
        EXPECT_FALSE(refusal.overlaps({name.x + b.bx, name.y + b.by, name.x + b.bx + 174, name.y + b.by + 52})) << refusal;
    }
}

TEST_F(ShippedTexts, HelpPagesKeepTheirLinesClearOfEachOtherAndOfThePictures) {
    // The rules help: two columns of lines beside three demonstrations, the two bars and the box.
    const MenuLayout& rules = kMenuLayouts[ScreenHelpRules];
    std::vector<Box> pictures = {
        {kHelpSmallBars.x, kHelpSmallBars.y, kHelpSmallBars.x + 54, kHelpSmallBars.y + 135},
        {rules.x + kHelpBox.x, rules.y + kHelpBox.y, rules.x + kHelpBox.x + 30, rules.y + kHelpBox.y + 30},
    };
    for (const DemoPlayer& demo : startingDemoPlayers())
        for (const DemoBlock& block : demo.blocks)
            pictures.push_back({rules.x + block.x, rules.y + block.y, rules.x + block.x + layout::kBlockSide,
                                rules.y + block.y + layout::kBlockSide});
    // Where each demonstration's pointer stops: the arrow and the mouse picture beside it. A line
    // must not run on into a pointer ahead of it (one that starts left of a line is the
    // demonstration's business, not the text's).
    std::vector<Box> pointers;
    for (std::span<const int32_t> script : {kDemoScript1, kDemoScript2, kDemoScript3}) {
        // Words after each step's kind, by kind (see DemoStep).
        constexpr int kArguments[] = {2, 2, 0, 0, 5, 2, 1, 5, 5, 4, 3, 0};
        for (size_t pc = 0; pc < script.size();) {
            const int32_t kind = script[pc];
            ASSERT_GE(kind, 0);
            ASSERT_LT(kind, static_cast<int32_t>(std::size(kArguments)));
            if ((kind == StepPlace || kind == StepAim) && pc + 2 < script.size()) {
                const int x = rules.x + script[pc + 1], y = rules.y + script[pc + 2];
                pointers.push_back({x, y, x + 48, y + 28});
            }
            pc += 1 + static_cast<size_t>(kArguments[kind]);
        }
    }
    ASSERT_FALSE(pointers.empty());
    const int rightColumn = kHelpText.back().at.x;
    for (const HelpLine& line : kHelpText) {
        const Box b = at(rules.x + line.at.x, rules.y + line.at.y, text(kMessages, line.line));
        SCOPED_TRACE(std::string(text(kMessages, line.line)));
        EXPECT_TRUE(within(b, inside(rules))) << b;
        if (line.at.x < rightColumn) {
            EXPECT_LT(b.x1, rules.x + rightColumn) << b;
        }
        for (const Box& picture : pictures) EXPECT_FALSE(b.overlaps(picture)) << b << " over " << picture;
        for (const Box& pointer : pointers) {
            if (pointer.x0 > b.x0) {
                EXPECT_FALSE(b.overlaps(pointer)) << b << " under the pointer at " << pointer;
            }
        }
    }
    const Box boxCaption = at(rules.x + kHelpBoxCaption.x, rules.y + kHelpBoxCaption.y, text(kMessages, 0));
    EXPECT_TRUE(within(boxCaption, inside(rules))) << boxCaption;

    // The modes: a glowing heading, then the rest of its line to the right of it.
    const MenuLayout& modes = kMenuLayouts[ScreenHelpModes];
    for (const HeadedLine& line : kModesHelp) {
        const std::string_view s = text(kMessages, line.line);
        SCOPED_TRACE(std::string(s));
        if (line.headingLength == 0) {
            EXPECT_TRUE(within(at(modes.x + line.at.x, modes.y + line.at.y, s), inside(modes)));
            continue;
        }
        ASSERT_GT(s.size(), static_cast<size_t>(line.headingLength));
        const std::string_view heading = s.substr(0, static_cast<size_t>(line.headingLength));
        const std::string_view rest = s.substr(static_cast<size_t>(line.headingLength));
        EXPECT_EQ(heading.back(), ':');  // the whole of the mode's name, and no more, glows
        EXPECT_NE(rest.front(), ' ');    // the rest's own x makes the gap
        EXPECT_LT(line.at.x + width(heading), line.restX);
        EXPECT_TRUE(within(at(modes.x + line.restX, modes.y + line.at.y, rest), inside(modes)));
    }

    // The bonuses: eleven lines from one x.
    const MenuLayout& bonuses = kMenuLayouts[ScreenHelpBonuses];
    for (size_t k = 0; k < kBonusHelpLineY.size(); ++k) {
        const std::string_view s = text(kMessages, 1 + static_cast<int>(k));
        EXPECT_TRUE(within(at(bonuses.x + kBonusHelpTextX, bonuses.y + kBonusHelpLineY[k], s), inside(bonuses))) << s;
    }
}

}  // namespace
}  // namespace present
