#include "data/settings.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/test_support.hpp"

namespace {

using data::PlayerOptions;
using data::Settings;
using data::WindowPlacement;
using testing_support::readFile;
using testing_support::TempFolder;
using testing_support::writeFile;

constexpr PlayerOptions kDefaults{};
constexpr PlayerOptions kBothFlipped{true, false};

TEST(SettingsText, AwkwardNamesAndEveryValueComeBackAsWritten) {
    Settings settings;
    settings.machine.window = WindowPlacement{-1920, -16384, 1, 16384};
    const std::string awkward[] = {
        "",
        "ANN",
        " SPACED OUT ",
        "SAY \"HI\"",
        "BACK\\SLASH",
        std::string("\n\r\t\x01\x7f", 5),
        "\xff\xe9\x80",
        "[player \"X\"]",
        "ABCDEFGHIJKLMNO",  // 15 bytes: a record without a terminator
    };
    bool flip = false;
    for (const std::string& name : awkward) settings.players[name] = (flip = !flip) ? kBothFlipped : kDefaults;

    const std::string text = data::writeSettingsText(settings);
    EXPECT_EQ(data::scanSettingsText(text), settings) << text;
    // Each heading is one line, whatever the name holds: the signature, a remark, a blank line, the
    // machine's heading and its window, then a blank line, a heading and two keys per player.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5 + 4 * 9) << text;
    EXPECT_NE(text.find("[player \"SAY \\\"HI\\\"\"]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[player \"\\x0a\\x0d\\x09\\x01\\x7f\"]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("window -1920 -16384 1 16384\n"), std::string::npos) << text;

    // A name no profile record can hold is not written, rather than coming back as another.
    settings.players[std::string("SIXTEEN BYTES...")] = kBothFlipped;
    settings.players[std::string("NUL\0NAME", 8)] = kBothFlipped;
    EXPECT_EQ(data::writeSettingsText(settings), text);
}

TEST(SettingsText, SkipsWhatItDoesNotKnowAndHoldsNumbersToTheirRange) {
    const Settings settings = data::scanSettingsText(
        "Lumerik settings, from a newer game\r\n"
        "colourSymbols 1\n"  // before any section
        "[machine]\n"
        "window 10 20 640 480\n"
        "window -99999 99999 0 -5 extra numbers 7\n"  // the last one counts, held to its range
        "controller pad 3\n"                          // a newer game's key
        "  [player \"ANN\"]  \r\n"
        "colourSymbols 9\r\n"  // held to on
        "moveHints 0\n"
        "moveHints\n"      // too few numbers
        "moveHints one\n"  // a word where a number belongs
        "moveHints 1x\n"
        "window 1 2 3 4\n"  // a machine key in a player's section
        "[controller \"ANN\"]\n"
        "moveHints 1\n"  // under a heading it does not know
        "[player \"BO\"] trailing\n"
        "colourSymbols 1\n"  // under a broken heading
        "[player \"C\\q\"]\n"
        "colourSymbols 1\n"  // an escape it does not know
        "[player \"D\\x00\"]\n"
        "colourSymbols 1\n"  // a zero byte ends a name: no player has this one
        "[player \"EVE\" ]\n"
        "colourSymbols -3\n"
        "[player \"\\x41NN\"]\n"
        "colourSymbols 0\n");  // ANN again, spelt another way: merged, the last value counts
    ASSERT_TRUE(settings.machine.window);
    EXPECT_EQ(*settings.machine.window, (WindowPlacement{-16384, 16384, 1, 1}));
    ASSERT_EQ(settings.players.size(), 2u);
    EXPECT_EQ(data::playerOptions(settings, "ANN"), (PlayerOptions{false, false}));
    EXPECT_EQ(data::playerOptions(settings, "EVE"), kDefaults);
    EXPECT_EQ(data::playerOptions(settings, "NOBODY"), kDefaults);
}

TEST(SettingsFile, DamagedOrForeignFilesReadAsTheDefaults) {
    const std::string good = "Lumerik settings\n[machine]\nwindow 1 2 3 4\n[player \"ANN\"]\ncolourSymbols 1\n";
    for (const std::string& text : {std::string(), std::string("\0\0\0\xff\xfe garbage", 13),
                                    std::string("[machine]\nwindow 1 2 3 4\n"),  // another program's file
                                    "lumerik settings\n" + good.substr(17), "x" + good})
        EXPECT_EQ(data::scanSettingsText(text), Settings{}) << text;
    // Cut short, a file keeps what came before the cut.
    const Settings cut = data::scanSettingsText(good.substr(0, good.size() - 3));
    EXPECT_TRUE(cut.machine.window);
    EXPECT_EQ(data::playerOptions(cut, "ANN"), kDefaults);

    TempFolder game;
    const data::GameFolder folder(game.path());
    const auto file = game.path() / "profile/settings.txt";
    EXPECT_EQ(data::loadSettings(folder), Settings{}) << "missing";
    writeFile(file, good);
    EXPECT_EQ(data::loadSettings(folder), data::scanSettingsText(good));
    writeFile(file, good + std::string(data::kSettingsFileLimit, '\n'));
    EXPECT_EQ(data::loadSettings(folder), Settings{}) << "oversized";
    std::filesystem::remove(file);
    std::filesystem::create_directories(file / "inside");
    EXPECT_EQ(data::loadSettings(folder), Settings{}) << "a folder";
    EXPECT_FALSE(data::saveSettings(folder, Settings{}, {}).ok);
}

TEST(SettingsFile, ASaveWritesEveryListedPlayerAndNoOther) {
    TempFolder game;
    const data::GameFolder folder(game.path());
    Settings settings;
    settings.players["GONE"] = kBothFlipped;
    settings.players["ANN"] = kBothFlipped;
    std::vector<data::PlayerProfile> players(2);
    players[0].setName("ANN");
    players[1].setName("NEW");
    ASSERT_TRUE(data::saveSettings(folder, settings, players).ok);
    const Settings saved = data::loadSettings(folder);
    EXPECT_EQ(saved.players.size(), 2u);
    EXPECT_EQ(data::playerOptions(saved, "ANN"), kBothFlipped);
    EXPECT_EQ(saved.players.at("NEW"), kDefaults) << "a listed player without options is written with the defaults";
}

}  // namespace
