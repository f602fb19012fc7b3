#include "data/texts.hpp"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.hpp"

namespace {

std::vector<std::string> slotsOf(const data::TextTable& table) {
    std::vector<std::string> out;
    for (int i = 0; i < table.slots(); ++i) out.emplace_back(table.text(i));
    return out;
}

TEST(TextTables, LineEndsAndEmptyLines) {
    // Windows line ends read like Unix ones; a lone carriage return inside a line stays.
    data::TextTable unix(data::kTextTableShapes[2]), windows(data::kTextTableShapes[2]);
    data::readTextTable("first\nsec\rond\n\nlast\n", unix);
    data::readTextTable("first\r\nsec\rond\r\n\r\nlast", windows);
    EXPECT_EQ(slotsOf(unix), slotsOf(windows));
    EXPECT_EQ(unix.text(1), "sec\rond");
    EXPECT_EQ(unix.text(2), "");
    EXPECT_EQ(unix.text(3), "last");
    EXPECT_EQ(unix.text(-1), "");
    EXPECT_EQ(unix.text(15), "");

    // A second read leaves nothing of the first behind.
    data::readTextTable("only", unix);
    EXPECT_EQ(unix.text(1), "");
}

TEST(TextTables, ALineOfEightyCharactersEndsTheFile) {
    const data::TextTableShape wide{"", 4, 100};
    data::TextTable table(wide);
    const std::string longest(79, 'a');
    data::readTextTable(longest + "\r\n" + std::string(85, 'b') + "\nnever read\n", table);
    EXPECT_EQ(table.text(0), longest);  // 79 characters and a CR LF are still a line
    EXPECT_EQ(table.text(1), std::string(79, 'b'));
    EXPECT_EQ(table.text(2), "");

    // A zero byte ends a slot's text.
    data::readTextTable(std::string("ab\0cd\n", 6), table);
    EXPECT_EQ(table.text(0), "ab");
}

TEST(TextTables, CharacterMapReadsDecimalLines) {
    EXPECT_EQ(data::parseCharacterMap("65\n  66\r\n-1\nx\n+67abc\n300\n\n99999999999"),
              (std::vector<uint8_t>{65, 66, 255, 0, 67, 44, 0, 255}));
    EXPECT_TRUE(data::parseCharacterMap("").empty());

    testing_support::TempFolder folder;
    const data::GameFolder game(folder.path());
    std::vector<uint8_t> map{1, 2, 3};
    data::loadCharacterMap(game, map);
    EXPECT_TRUE(map.empty());  // a missing map is emptied, not kept
    data::TextTables texts;
    data::loadTexts(game, texts);
    EXPECT_EQ(texts.tables[3].slots(), 127);
    EXPECT_EQ(texts.text(data::TextTableId::Messages, 126), "");
    EXPECT_EQ(texts.text(static_cast<data::TextTableId>(data::kTextTableCount), 0), "") << "no such table";
}

}  // namespace
