#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "flow/current_player.hpp"
#include "flow/launch.hpp"
#include "flow/persistence.hpp"
#include "flow/window_proc.hpp"
#include "present/headless_platform.hpp"
#include "support/profile_bytes.hpp"
#include "support/test_support.hpp"

namespace {

using data::PlayerOptions;
using profile_bytes::header;
using profile_bytes::join;
using profile_bytes::record;
using testing_support::readFile;
using testing_support::writeFile;

namespace fs = std::filesystem;

constexpr PlayerOptions kDefaults{};
constexpr PlayerOptions kBothFlipped{true, false};

struct SettingsOnDisk : ::testing::Test {
    testing_support::TempFolder folder;
    present::HeadlessPlatform platform;
    std::unique_ptr<flow::Game> game;

    fs::path file(const char* name) const { return folder.path() / "profile" / name; }

    void launch() {
        writeFile(folder.path() / "ini/levels.txt", "StartingLevel 1\nActionLevel 1 Colors 5 Score 100 Time 90\n");
        game = flow::launchGame(platform, data::GameFolder(folder.path()), 1, {});
        ASSERT_TRUE(game);
    }

    // What the file on disk says, by player.
    data::Settings saved() const { return data::scanSettingsText(readFile(file("settings.txt"))); }

    void renameSelected(std::string_view name) {
        ASSERT_TRUE(flow::beginNameEntry(*game, flow::player_list::NameEntryFor::Rename));
        for (size_t i = 0; i < 12; ++i) flow::typeNameCharacter(*game, 8);
        for (char c : name) flow::typeNameCharacter(*game, static_cast<uint8_t>(c));
        flow::typeNameCharacter(*game, 13);  // saves the files
    }
};

TEST_F(SettingsOnDisk, OptionsFollowARenameAndGoWithADeletedPlayer) {
    writeFile(file("profile"), join({header(1, 50, 400, 50, 400, 0), record("ANN"), record("BO")}).str());
    writeFile(file("settings.txt"),
              "Lumerik settings\n[machine]\nwindow 5 6 700 500\n"
              "[player \"ANN\"]\ncolourSymbols 1\nmoveHints 0\n[player \"GONE\"]\ncolourSymbols 1\n");
    launch();
    EXPECT_TRUE(flow::colourSymbolsWanted(*game));
    EXPECT_FALSE(flow::moveHintsWanted(*game));
    EXPECT_EQ(flow::windowPlacement(*game), (data::WindowPlacement{5, 6, 700, 500}));
    flow::setWindowPlacement(*game, {-300, 40, 1024, 768});

    // Renamed, Ann keeps her options; the name nobody has is not written.
    flow::beginPlayerScreen(*game);
    renameSelected("zed");
    EXPECT_EQ(flow::currentPlayerName(*game), "ZED");
    EXPECT_TRUE(flow::colourSymbolsWanted(*game));
    data::Settings onDisk = saved();
    EXPECT_EQ(onDisk.machine.window, (data::WindowPlacement{-300, 40, 1024, 768}));
    ASSERT_EQ(onDisk.players.size(), 2u);
    EXPECT_EQ(onDisk.players.at("ZED"), kBothFlipped);
    EXPECT_EQ(onDisk.players.at("BO"), kDefaults);

    // Cancelling brings the old name back, with the options.
    flow::cancelPlayerScreen(*game);
    EXPECT_EQ(flow::currentPlayerName(*game), "ANN");
    EXPECT_TRUE(flow::colourSymbolsWanted(*game));
    EXPECT_FALSE(flow::moveHintsWanted(*game));
    flow::saveAll(*game);
    EXPECT_EQ(saved().players.at("ANN"), kBothFlipped);

    // Deleted, her options go; a new player of her name starts from the defaults.
    flow::beginPlayerScreen(*game);
    flow::openMenuScreen(*game, flow::ScreenDeletePlayer);
    flow::deletePlayer(*game);
    flow::confirmPlayer(*game);
    EXPECT_EQ(flow::currentPlayerName(*game), "BO");
    flow::setMoveHintsWanted(*game, false);
    flow::saveAll(*game);
    onDisk = saved();
    ASSERT_EQ(onDisk.players.size(), 1u);
    EXPECT_EQ(onDisk.players.at("BO"), (PlayerOptions{false, false}));
    flow::beginPlayerScreen(*game);
    ASSERT_TRUE(flow::beginNameEntry(*game, flow::player_list::NameEntryFor::NewPlayer));
    for (char c : std::string("ann\r")) flow::typeNameCharacter(*game, static_cast<uint8_t>(c));
    EXPECT_EQ(saved().players.at("ANN"), kDefaults);
}

// The window opens where it was; moved, it is remembered at close in the settings file alone.
TEST_F(SettingsOnDisk, TheWindowsPlaceIsKeptBesideThePlayerFiles) {
    const std::string profile = join({header(1, 50, 400, 50, 400, 0), record("ANN")}).str();
    writeFile(file("profile"), profile);
    writeFile(file("settings.txt"), "Lumerik settings\n[machine]\nwindow 5 6 700 500\n");
    launch();
    EXPECT_EQ(platform.windowPlacement(), (data::WindowPlacement{5, 6, 700, 500}));

    platform.placeWindow({100, 50, 1000, 700});
    present::InputEvent placed;
    placed.type = present::InputEvent::Type::WindowPlaced;
    flow::handleEvent(*game, placed);
    EXPECT_EQ(flow::windowPlacement(*game), (data::WindowPlacement{100, 50, 1000, 700}));
    platform.placeWindow({-20, 60, 1600, 1200});
    flow::saveWindowPlacementAtClose(*game);
    EXPECT_EQ(saved().machine.window, (data::WindowPlacement{-20, 60, 1600, 1200}));
    EXPECT_EQ(saved().players.at("ANN"), kDefaults);
    EXPECT_EQ(readFile(file("profile")), profile);
    EXPECT_FALSE(fs::exists(file("hi0x00")));
}

TEST_F(SettingsOnDisk, TheFourFilesLoadAndSaveWhateverTheSettingsFileIs) {
    const std::string profile = join({header(1, 50, 400, 50, 400, 0), record("ANN", 7)}).str();
    writeFile(file("profile"), profile);
    fs::create_directories(file("settings.txt") / "inside");
    launch();
    ASSERT_EQ(flow::currentPlayerName(*game), "ANN");
    EXPECT_FALSE(flow::colourSymbolsWanted(*game));
    EXPECT_TRUE(flow::moveHintsWanted(*game));
    EXPECT_FALSE(flow::windowPlacement(*game));

    // The settings cannot be written: the save says so once in the log, the others are written.
    game->profiles.musicVolume = 12;
    EXPECT_FALSE(flow::saveAll(*game));
    const std::string log = readFile(folder.path() / "crashDump.txt");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
    EXPECT_NE(log.find("settings.txt"), std::string::npos) << log;
    EXPECT_NE(readFile(file("profile")), profile);
    EXPECT_TRUE(fs::exists(file("hi0x02")));
}

}  // namespace
