// The level file and texts the game ships with: playable values, and texts that fit their slots
// and the sprite font.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "data/levels.hpp"
#include "data/texts.hpp"
#include "game/runes.hpp"
#include "support/test_support.hpp"

namespace {

TEST(ShippedFiles, EveryLevelIsPlayable) {
    const data::GameFolder folder(testing_support::builtGameFolder());
    rules::LevelTable levels;
    rules::LevelSettings settings;
    data::loadLevelFile(folder, levels, settings);

    const size_t expectedCounts[rules::kModeCount] = {25, 25, 25, 50};
    for (int m = 0; m < rules::kModeCount; ++m) {
        const auto mode = static_cast<rules::GameMode>(m);
        const std::vector<rules::LevelEntry>& list = levels.lists[static_cast<size_t>(m)];
        ASSERT_EQ(list.size(), expectedCounts[m]) << "mode " << m;
        for (size_t i = 0; i < list.size(); ++i) {
            const rules::LevelDefinition& d = list[i].definition;
            SCOPED_TRACE("mode " + std::to_string(m) + " level " + std::to_string(list[i].number));
            // Numbered 1, 2, 3 ... so a run ends only after the last level, and every group exists.
            EXPECT_EQ(list[i].number, static_cast<int32_t>(i + 1));
            EXPECT_LT(rules::levelGroup(mode, list[i].number), 5);
            EXPECT_GE(d.colors, 2);
            EXPECT_LE(d.colors, 7);
            EXPECT_GE(d.target, 1);
            EXPECT_GE(d.limit, 1);
            if (!rules::isRefilled(mode)) {
                EXPECT_LT(d.target, rules::kCellCount);  // empty cells to reach
            }
            EXPECT_GT(d.square4, 0);
            EXPECT_GT(d.square6, d.square4);
            for (int32_t weight : d.bonusRatio) EXPECT_GE(weight, 0);
            // A shuffle must cost something: the price is the limit divided by the group's SWAP.
            const int32_t swap = settings.swap[static_cast<size_t>(rules::levelGroup(mode, list[i].number))];
            EXPECT_GT(swap, 0);
            EXPECT_GE(d.limit / std::max(swap, 1), 1);
        }
    }
    EXPECT_EQ(settings.startingLevel, 1);
    EXPECT_GT(settings.freezeDurationMs, 0);
    EXPECT_GE(settings.explodeType, 0);
    EXPECT_LE(settings.explodeType, 3);
    EXPECT_GT(settings.maxMusicVolume, 0.0);
    EXPECT_LE(settings.maxMusicVolume, 1.0);
    for (double factor : settings.combo) EXPECT_GT(factor, 0.0);
    EXPECT_TRUE(std::is_sorted(settings.combo.begin(), settings.combo.end()));
}

// The set grows harder one step at a time: colours never drop back, and each bonus kind (and the
// expiry of bonuses) first appears on a level of its own, so each tip has its level.
TEST(ShippedFiles, LevelsBringOneNewThingAtATime) {
    const data::GameFolder folder(testing_support::builtGameFolder());
    rules::GameState state;
    data::loadLevelFile(folder, state.levels, state.settings);
    rules::computeBonusFirstLevels(state);
    for (int m = 0; m < rules::kModeCount; ++m) {
        SCOPED_TRACE("mode " + std::to_string(m));
        const std::vector<rules::LevelEntry>& list = state.levels.lists[static_cast<size_t>(m)];
        ASSERT_FALSE(list.empty());
        for (size_t i = 1; i < list.size(); ++i)
            EXPECT_GE(list[i].definition.colors, list[i - 1].definition.colors) << "level " << list[i].number;
        EXPECT_GT(list.back().definition.colors, list.front().definition.colors);

        std::vector<int32_t> firsts;
        for (int32_t level : state.bonusFirstLevel[static_cast<size_t>(m)])
            if (level >= 0) firsts.push_back(level);
        std::sort(firsts.begin(), firsts.end());
        EXPECT_EQ(std::adjacent_find(firsts.begin(), firsts.end()), firsts.end());
    }
}

TEST(ShippedFiles, TextsFitTheirSlotsAndTheFont) {
    const data::GameFolder folder(testing_support::builtGameFolder());
    std::vector<uint8_t> map;
    data::loadCharacterMap(folder, map);
    ASSERT_FALSE(map.empty());

    for (const data::TextTableShape& shape : data::kTextTableShapes) {
        SCOPED_TRACE(std::string(shape.file));
        std::istringstream file(testing_support::readFile(folder.resolve(shape.file)));
        int lines = 0;
        for (std::string line; std::getline(file, line); ++lines) {
            EXPECT_LE(line.size(), static_cast<size_t>(shape.width - 1)) << line;
            for (char c : line)
                EXPECT_TRUE(c == ' ' || std::find(map.begin(), map.end(), static_cast<uint8_t>(c)) != map.end())
                    << "'" << c << "' in " << line;
        }
        EXPECT_GT(lines, 0);
        EXPECT_LE(lines, shape.slots);
    }

    data::TextTables texts;
    data::loadTexts(folder, texts);
    using data::TextId;
    for (int group = 0; group < 5; ++group)
        EXPECT_FALSE(texts.text(TextId::GroupTitle1, group).empty()) << "group title " << group;
    for (int caption = 0; caption < 12; ++caption)
        EXPECT_FALSE(texts.text(data::TextTableId::TitleCaptions, caption).empty()) << caption;
    for (int caption = 0; caption < 20; ++caption)
        EXPECT_FALSE(texts.text(data::TextTableId::MenuCaptions, caption).empty()) << caption;
    // Every named single text is there.
    for (TextId id :
         {TextId::PauseMessage, TextId::LastLevelNote, TextId::LevelWon, TextId::LostSubtitle, TextId::TimeBonusCaption,
          TextId::MovesBonusCaption, TextId::TimeUp, TextId::MovesUp, TextId::FirstSideCaption, TextId::PlayerListFull})
        EXPECT_FALSE(texts.text(id).empty()) << static_cast<int>(id.table) << " " << id.slot;
}

}  // namespace
