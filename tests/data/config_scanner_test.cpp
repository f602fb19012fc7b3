#include "data/config_scanner.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace {

using data::ConfigKey;
using data::ConfigValue;
using enum data::ValueKind;

struct Hit {
    std::string word;
    ConfigValue value;
};

struct Recorder final : data::ConfigTarget {
    std::vector<Hit> hits;
    void apply(const ConfigKey& key, const ConfigValue& value) override { hits.push_back({std::string(key.word), value}); }
};

constexpr ConfigKey kKeys[] = {
    {"Mark", Marker, 0},       {"Ints", Integer, 1}, {"Int", Integer, 2}, {"Real", Real, 3},     {"Pair", IndexedPair, 4},
    {"IReal", IndexedReal, 5}, {"List", List, 6, 3}, {"Col", Colour, 7},  {"After", Integer, 8},
};

std::vector<Hit> scan(std::string_view text) {
    Recorder recorder;
    data::scanConfigText(text, kKeys, recorder);
    return recorder.hits;
}

TEST(ConfigScanner, TakesEachKindOfValueWhereverItIsWritten) {
    const auto hits = scan(
        "Mark\n"
        "Int = -42\n"           // a minus sign is passed over like any other character
        "Int:\n  \xff\xb7 7\n"  // the value on the next line, high bytes are not digits
        "Real 0.75\nReal .5\nReal 12e2\n"
        "Pair 6 x = 30\n"
        "IReal 2 1.5\n"
        "List 1, 2\n3\n"
        "Col 3 = 0xa0b0c0\nCol 4 = 0xFFa0a0\n");
    ASSERT_EQ(hits.size(), 11u);
    EXPECT_EQ(hits[0].word, "Mark");
    EXPECT_EQ(hits[1].value.integer, 42);
    EXPECT_EQ(hits[2].value.integer, 7);
    EXPECT_DOUBLE_EQ(hits[3].value.real, 0.75);
    EXPECT_DOUBLE_EQ(hits[4].value.real, 5.0);  // reading starts at the first digit
    EXPECT_DOUBLE_EQ(hits[5].value.real, 1200.0);
    EXPECT_EQ(hits[6].value.index, 6);
    EXPECT_EQ(hits[6].value.integer, 30);
    EXPECT_EQ(hits[7].value.index, 2);
    EXPECT_DOUBLE_EQ(hits[7].value.real, 1.5);
    EXPECT_EQ(hits[8].value.list[0], 1);
    EXPECT_EQ(hits[8].value.list[1], 2);
    EXPECT_EQ(hits[8].value.list[2], 3);
    EXPECT_EQ(hits[9].value.index, 3);
    EXPECT_EQ(hits[9].value.integer, 0xa0b0c0);
    EXPECT_EQ(hits[10].value.integer, 0);  // an upper-case digit ends the hexadecimal run
}

TEST(ConfigScanner, TableOrderDecidesPrefixesAndWhatMayFollowAValue) {
    // "Ints" is tried before "Int", so it wins where both match.
    auto hits = scan("Ints 3");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].word, "Ints");

    // A later key right after a value is still tried; an earlier one is not.
    hits = scan("Int 5After 6");
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[1].value.integer, 6);
    hits = scan("After 6Int 5");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].word, "After");

    // A real ends the pass: even a later key directly after its digits is lost.
    hits = scan("Real 1After 6");
    ASSERT_EQ(hits.size(), 1u);

    // A key inside a remark takes the next number, however far away it is, and the key words it
    // passed over on the way are lost.
    hits = scan("the Int of this remark\n\nList 4 5 6\nInt 8");
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].value.integer, 4);
    EXPECT_EQ(hits[1].value.integer, 8);
}

TEST(ConfigScanner, EndOfTextAndOversizedNumbers) {
    EXPECT_TRUE(scan("Int\n").empty());
    EXPECT_TRUE(scan("List 1 2").empty());
    EXPECT_TRUE(scan("Col 3 = ").empty());
    // An indexed pair without "=" runs to the end, swallowing the keys after it.
    EXPECT_TRUE(scan("Pair 4 5\nInt 6").empty());

    auto hits = scan("Int 99999999999 Pair 4 = 123456789012 Col 1 0xfffffffffff");
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].value.integer, INT32_MAX);
    EXPECT_EQ(hits[1].value.integer, INT32_MAX);
    EXPECT_EQ(hits[2].value.integer, INT32_MAX);

    hits = scan("Real 1e999 Real 1e-999 Real 1" + std::string(400, '0') + "e-20");
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_DOUBLE_EQ(hits[0].value.real, FLT_MAX);
    EXPECT_DOUBLE_EQ(hits[1].value.real, 0.0);
    EXPECT_DOUBLE_EQ(hits[2].value.real, FLT_MAX);

    // Digits at the very end of the text.
    hits = scan("Int 17");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].value.integer, 17);
}

TEST(ConfigScanner, ReadsOnlyTheFirst128KiBOfAFile) {
    testing_support::TempFolder folder;
    EXPECT_EQ(data::readConfigFile(folder.path() / "missing.txt"), std::vector<char>(data::kConfigImageSize, 0));

    // A value that runs over the end of the image is cut where the image ends.
    std::string text(data::kConfigImageSize - 6, ' ');
    text += "Int 12345678";
    testing_support::writeFile(folder.path() / "long.txt", text);
    const std::vector<char> image = data::readConfigFile(folder.path() / "long.txt");
    ASSERT_EQ(image.size(), data::kConfigImageSize);
    const auto hits = scan(std::string_view(image.data(), image.size()));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].value.integer, 12);

    testing_support::writeFile(folder.path() / "short.txt", "Int 9");
    const std::vector<char> shortImage = data::readConfigFile(folder.path() / "short.txt");
    ASSERT_EQ(shortImage.size(), data::kConfigImageSize);
    EXPECT_EQ(shortImage[5], 0);
}

}  // namespace
