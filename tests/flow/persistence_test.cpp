#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "data/byte_fields.hpp"
#include "flow/frame_tick.hpp"
#include "flow/launch.hpp"
#include "flow/persistence.hpp"
#include "present/headless_platform.hpp"
#include "support/profile_bytes.hpp"
#include "support/test_support.hpp"

namespace {

using present::HeadlessPlatform;
using profile_bytes::Bytes;
using profile_bytes::entry;
using profile_bytes::header;
using profile_bytes::join;
using profile_bytes::record;
using rules::GameMode;
using testing_support::readFile;
using testing_support::TempFolder;
using testing_support::writeFile;

namespace fs = std::filesystem;

constexpr const char* kLevels =
    "StartingLevel 1\n"
    "ActionLevel 1 Colors 5 Score 100000 Time 90 Square 4 = 50\n"
    "ActionLevel 4 Colors 5 Score 100000 Time 90 Square 4 = 50\n";

// Column c, row r holds (c + 2r) mod 5 + 1: no figure anywhere.
std::array<uint8_t, 100> quietBoard() {
    std::array<uint8_t, 100> cells{};
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 10; ++r) cells[static_cast<size_t>(c * 10 + r)] = static_cast<uint8_t>(1 + (c + 2 * r) % 5);
    return cells;
}

// A game started the way the program starts, on a folder holding only the files a test writes.
struct GameOnDisk : ::testing::Test {
    TempFolder folder;
    HeadlessPlatform platform;
    std::unique_ptr<flow::Game> game;

    void launch() {
        writeFile(folder.path() / "ini/levels.txt", kLevels);
        game = flow::launchGame(platform, data::GameFolder(folder.path()), 1,
                                [this](flow::Game& g) { g.sound.openSimulatedAudio(platform.clock()); });
        ASSERT_TRUE(game);
    }

    void tick() {
        platform.manualClock().advance(33);
        flow::frameTick(*game);
    }

    std::string file(const char* name) const { return readFile(folder.path() / "profile" / name); }

    void type(std::string_view text) {
        for (char c : text) flow::typeNameCharacter(*game, static_cast<uint8_t>(c));
    }

    std::vector<int32_t> stack() const { return game->screens.screenStack; }
};

TEST_F(GameOnDisk, ASavedActionLevelFourContinuesOnItsBoardWithItsClock) {
    const std::array<uint8_t, 100> board = quietBoard();
    Bytes anna = record("ANNA", 777);
    anna.u8(19, 4)                 // levelAction
        .i32(24, 2500)             // totalAction
        .i32(36, 300)              // levelScoreAction
        .i32(40, 25)               // elapsedAction
        .i32(60, 7)                // runesAction
        .u8(372 + 12, 3)           // a Freeze bonus on cell 12
        .i32(672 + 4 * 12, 4000);  // placed 4 s before the save
    for (size_t i = 0; i < board.size(); ++i) anna.u8(72 + i, board[i]);
    writeFile(folder.path() / "profile/profile", join({header(1, 50, 400, 50, 400, 0), anna}).str());
    const std::string table = join({entry(777, 2500, "ANNA"), entry(5, 100, "BO")}).str();
    writeFile(folder.path() / "profile/hi0x00", table);
    launch();
    EXPECT_TRUE(platform.windowed()) << "the profile asked for a window before it was made";

    game->rules.gameMode = GameMode::Action;
    flow::resumeRun(*game);
    uint32_t setUpAt = 0;
    bool intermission = false;
    for (int i = 0; i < 1000 && game->rules.playState != rules::StatePlaying; ++i) {
        tick();
        intermission |= game->rules.playState == rules::StateIntermission;
        if (setUpAt == 0 && game->rules.playState == rules::StateBoardFill) setUpAt = platform.clock().now();
    }
    ASSERT_EQ(game->rules.playState, rules::StatePlaying);
    EXPECT_FALSE(intermission) << "a continued run opens without the group's picture";
    const rules::GameState& rules = game->rules;
    EXPECT_EQ(rules.level.currentLevel, 4);
    EXPECT_EQ(rules.board.cells, board);
    EXPECT_EQ(rules.board.cellBonus[12], rules::BonusFreeze);
    EXPECT_EQ(rules.board.cellStamp[12], static_cast<int32_t>(setUpAt - 4000));
    EXPECT_EQ(rules.level.levelScore, 300);
    EXPECT_EQ(rules.level.totalScore, 2500);
    EXPECT_EQ(rules.runePoints, 7);
    EXPECT_EQ(rules.level.levelStartTime, setUpAt - 25000 + 1000 + 1000 / 55) << "25 s had gone, then the opening";
    // The clock shows the 90 s less the 25 s used before and the opening since, which starts the
    // clock a little late.
    const uint32_t sinceStart = platform.clock().now() - rules.level.levelStartTime;
    EXPECT_GE(sinceStart, 25000u - 1018u);
    EXPECT_FLOAT_EQ(rules.level.remaining, static_cast<float>(90 - static_cast<int>(sinceStart / 1000)));

    // Leaving now stores the continued level in the profile but leaves the table as it was.
    game->rules.level.levelScore = 900;
    flow::recordRun(*game);
    EXPECT_TRUE(flow::saveAll(*game));
    EXPECT_EQ(file("hi0x00"), table);
    const std::string saved = file("profile");
    ASSERT_EQ(saved.size(), 21u + 1876u);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
    EXPECT_EQ(bytes[21 + 19], 4);
    EXPECT_EQ(data::readInt32(bytes, 21 + 36), 900);
    EXPECT_EQ(data::readInt32(bytes, 21 + 40), static_cast<int32_t>(90 - rules.level.remaining));
    EXPECT_EQ(data::readInt32(bytes, 21 + 672 + 4 * 12), static_cast<int32_t>(platform.clock().now() - setUpAt + 4000));
}

TEST_F(GameOnDisk, TheFirstPlayerIsNamedOnTheNameScreenAndSavedAtOnce) {
    launch();
    EXPECT_FALSE(platform.windowed()) << "no profile: full screen";
    EXPECT_TRUE(game->profiles.players.empty());
    EXPECT_FALSE(fs::exists(folder.path() / "profile/profile")) << "start-up writes nothing";

    // The first start opens the name screen itself.
    EXPECT_EQ(stack(), std::vector<int32_t>{flow::ScreenEnterName});
    EXPECT_TRUE(game->playerScreen.nameEntryActive);
    type("ann\r");
    EXPECT_FALSE(game->screens.menuActive) << "the name screen closed";
    const std::string saved = file("profile");
    ASSERT_EQ(saved.size(), 21u + 1876u);
    EXPECT_EQ(saved.substr(21 + 4, 4), std::string("ANN\0", 4));
    EXPECT_EQ(file("hi0x00"), "");

    // A second player from the player screen, chosen; its options become the game's.
    flow::beginPlayerScreen(*game);
    flow::beginNameEntry(*game, flow::player_list::NameEntryFor::NewPlayer);
    EXPECT_EQ(stack(), (std::vector<int32_t>{flow::ScreenChoosePlayer, flow::ScreenEnterName}));
    type("bo\r");
    EXPECT_EQ(stack(), std::vector<int32_t>{flow::ScreenChoosePlayer});
    game->profiles.players[1].ownCursor = 0;
    game->profiles.players[1].toShowTips = 0;
    flow::confirmPlayer(*game);
    EXPECT_FALSE(game->screens.menuActive);
    EXPECT_EQ(game->profiles.currentPlayer, 1);
    tick();
    EXPECT_EQ(platform.cursor(), present::CursorShape::SystemArrow);
    EXPECT_FALSE(game->rules.player.toShowTips);

    // The tip after the first shuffle is shown once per player.
    game->rules.player.shuffleTipShown = true;
    tick();
    EXPECT_EQ(game->profiles.players[1].shuffleTipShown, 1);
    flow::beginPlayerScreen(*game);
    game->playerScreen.selection = 0;
    flow::confirmPlayer(*game);
    EXPECT_FALSE(game->rules.player.shuffleTipShown) << "Ann has not seen it";
    EXPECT_TRUE(game->rules.player.toShowTips);
    tick();
    EXPECT_EQ(platform.cursor(), present::CursorShape::Own);
}

// A full list refuses a new name with the reason the texts give, so a translation says it too.
TEST_F(GameOnDisk, AFullListRefusesANameInTheWordsOfTheTexts) {
    writeFile(folder.path() / "system/text05.txt", "Die Liste ist voll.\n");
    launch();
    game->profiles.players.resize(data::kMaxPlayers);
    for (size_t i = 0; i < game->profiles.players.size(); ++i) game->profiles.players[i].setName("P" + std::to_string(i));
    flow::beginPlayerScreen(*game);
    flow::beginNameEntry(*game, flow::player_list::NameEntryFor::NewPlayer);
    type("NEW\r");
    EXPECT_EQ(game->playerScreen.refusal, "Die Liste ist voll.");
    EXPECT_EQ(stack().back(), flow::ScreenEnterName) << "the name screen stays, saying why";
}

TEST_F(GameOnDisk, DeletingTheLastPlayerOpensTheNameScreenAndCancelBringsPlayersBack) {
    writeFile(folder.path() / "profile/profile", join({header(0, 50, 400, 50, 400, 0), record("SOLO")}).str());
    launch();
    flow::beginPlayerScreen(*game);
    flow::openMenuScreen(*game, flow::ScreenDeletePlayer);
    flow::deletePlayer(*game);
    EXPECT_TRUE(game->profiles.players.empty());
    EXPECT_EQ(stack(), (std::vector<int32_t>{flow::ScreenChoosePlayer, flow::ScreenEnterName}));
    EXPECT_TRUE(game->playerScreen.nameEntryActive);
    type("\r");
    EXPECT_EQ(game->profiles.players[0].name(), "PLAYER");
    EXPECT_EQ(stack(), std::vector<int32_t>{flow::ScreenChoosePlayer});
    flow::cancelPlayerScreen(*game);
    EXPECT_FALSE(game->screens.menuActive);
    ASSERT_EQ(game->profiles.players.size(), 1u);
    EXPECT_EQ(game->profiles.players[0].name(), "SOLO");

    // An empty name with players leaves the screen and says so in the log, nothing else.
    flow::beginNameEntry(*game, flow::player_list::NameEntryFor::NewPlayer);
    type("\r");
    EXPECT_FALSE(game->screens.menuActive);
    EXPECT_EQ(game->profiles.players.size(), 1u);
    EXPECT_EQ(readFile(folder.path() / "crashDump.txt"), "return saveName()\n");
}

TEST_F(GameOnDisk, RunsStartFromTheMenuWithANewTrackAndAFailedSaveIsLogged) {
    writeFile(folder.path() / "profile/profile", join({header(0, 50, 400, 50, 400, 0), record("ANNA", 3)}).str());
    launch();
    flow::openMenuScreen(*game, flow::ScreenStartLater);
    game->rules.gameMode = GameMode::Strategy;
    flow::startNewRun(*game);
    EXPECT_FALSE(game->screens.menuActive);
    EXPECT_EQ(game->rules.playState, rules::StateLevelAdvance);
    EXPECT_NE(game->profiles.players[0].runId, 3);
    EXPECT_TRUE(game->sound.lastGameTrack()) << "a game track was chosen";

    // The profile's place is taken by a folder: the save fails, says so once, and play goes on.
    fs::remove(folder.path() / "profile/profile");
    fs::create_directories(folder.path() / "profile/profile/in-the-way");
    EXPECT_FALSE(flow::saveAll(*game));
    const std::string log = readFile(folder.path() / "crashDump.txt");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
    EXPECT_NE(log.find("profile/profile"), std::string::npos) << log;
    EXPECT_EQ(file("hi0x01"), "") << "the other files are still written";
}

}  // namespace
