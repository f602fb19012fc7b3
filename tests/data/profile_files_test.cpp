#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "data/file_io.hpp"
#include "data/high_scores.hpp"
#include "data/profiles.hpp"
#include "support/profile_bytes.hpp"
#include "support/test_support.hpp"

namespace {

using profile_bytes::Bytes;
using profile_bytes::entry;
using profile_bytes::header;
using profile_bytes::join;
using profile_bytes::record;
using rules::GameMode;
using testing_support::readFile;
using testing_support::TempFolder;
using testing_support::writeFile;

data::Profiles parse(const Bytes& b) { return data::parseProfiles(b.data); }

// Three players, every field of the first one set to a value of its own, so that a field read
// from or written to a neighbour's offset shows.
Bytes threePlayers() {
    Bytes first = record("ANNA", 1001);
    first.u8(19, 4)
        .u8(20, 7)
        .u8(21, 12)  // levels: Action, Strategy, ActionPuzzle
        .u8(22, 0xAB)
        .u8(23, 0xCD)  // reserved
        .i32(24, 5000)
        .i32(28, 6000)
        .i32(32, 7000)  // totals: Action, Strategy, ActionPuzzle
        .i32(36, 111)
        .i32(40, 22)  // Action level score, elapsed seconds
        .i32(44, 333)
        .i32(48, 44)  // ActionPuzzle level score, elapsed seconds
        .i32(52, 555)
        .i32(56, 66)  // Strategy level score, moves left
        .i32(60, 5)
        .i32(64, 6)
        .i32(68, 7)  // runes: Action, Strategy, ActionPuzzle
        .u8(72 + 0, 1)
        .u8(72 + 99, 2)   // boardAction
        .u8(172 + 0, 3)   // boardActionPuzzle
        .u8(272 + 99, 4)  // boardStrategy
        .u8(372 + 5, 1)
        .u8(472 + 5, 2)
        .u8(572 + 5, 3)           // bonus layers: Action, ActionPuzzle, Strategy
        .i32(672 + 4 * 5, 1500)   // cellTimesAction
        .i32(1072 + 4 * 5, 2500)  // cellTimesActionPuzzle
        .i32(1472 + 4 * 99, -7)   // cellTimesStrategy
        .u8(1872, 0)
        .u8(1873, 1)
        .u8(1874, 0)
        .u8(1875, 1);
    Bytes second = record("BO", 1002);
    second.text(4 + 3, "XYZ");  // left over after the terminator
    Bytes third = record("CARLOS", -5);
    return join({header(1, 70, 321, 30, 250, 2), first, second, third});
}

TEST(ProfileFile, ReadsAHeaderAndThreeRecordsFieldByFieldAndWritesThemBackByteForByte) {
    const Bytes file = threePlayers();
    const data::Profiles p = parse(file);
    EXPECT_TRUE(p.windowed);
    EXPECT_EQ(p.musicVolume, 70);
    EXPECT_EQ(p.musicSliderX, 321);
    EXPECT_EQ(p.soundVolume, 30);
    EXPECT_EQ(p.soundSliderX, 250);
    EXPECT_EQ(p.currentPlayer, 2);
    ASSERT_EQ(p.players.size(), 3u);

    const data::PlayerProfile& a = p.players[0];
    EXPECT_EQ(a.runId, 1001);
    EXPECT_EQ(a.name(), "ANNA");
    EXPECT_EQ(a.action.level, 4);
    EXPECT_EQ(a.strategy.level, 7);
    EXPECT_EQ(a.actionPuzzle.level, 12);
    EXPECT_EQ(a.action.total, 5000);
    EXPECT_EQ(a.strategy.total, 6000);
    EXPECT_EQ(a.actionPuzzle.total, 7000);
    EXPECT_EQ(a.action.levelScore, 111);
    EXPECT_EQ(a.action.elapsedOrMovesLeft, 22);
    EXPECT_EQ(a.actionPuzzle.levelScore, 333);
    EXPECT_EQ(a.actionPuzzle.elapsedOrMovesLeft, 44);
    EXPECT_EQ(a.strategy.levelScore, 555);
    EXPECT_EQ(a.strategy.elapsedOrMovesLeft, 66);
    EXPECT_EQ(a.action.runes, 5);
    EXPECT_EQ(a.strategy.runes, 6);
    EXPECT_EQ(a.actionPuzzle.runes, 7);
    EXPECT_EQ(a.action.board[0], 1);
    EXPECT_EQ(a.action.board[99], 2);
    EXPECT_EQ(a.actionPuzzle.board[0], 3);
    EXPECT_EQ(a.strategy.board[99], 4);
    EXPECT_EQ(a.action.bonusLayer[5], 1);
    EXPECT_EQ(a.actionPuzzle.bonusLayer[5], 2);
    EXPECT_EQ(a.strategy.bonusLayer[5], 3);
    EXPECT_EQ(a.action.cellTimes[5], 1500);
    EXPECT_EQ(a.actionPuzzle.cellTimes[5], 2500);
    EXPECT_EQ(a.strategy.cellTimes[99], -7);
    EXPECT_EQ(a.toShowTips, 0);
    EXPECT_EQ(a.showHelpBeforeGame, 1);
    EXPECT_EQ(a.ownCursor, 0);
    EXPECT_EQ(a.shuffleTipShown, 1);
    EXPECT_EQ(p.players[1].name(), "BO");
    EXPECT_EQ(p.players[2].name(), "CARLOS");
    EXPECT_EQ(p.players[2].runId, -5);

    // Reserved bytes and what follows a name's terminator come back unchanged.
    EXPECT_EQ(data::serialiseProfiles(p), file.data);
}

TEST(ProfileFile, ACutRecordIsDroppedAndShortOrOddFilesGiveTheDefaults) {
    const Bytes whole = threePlayers();
    const size_t cut = 21 + 2 * 1876 + 900;
    Bytes truncated;
    truncated.data.assign(whole.data.begin(), whole.data.begin() + cut);
    const data::Profiles two = data::parseProfiles(truncated.data);
    ASSERT_EQ(two.players.size(), 2u);
    EXPECT_EQ(two.currentPlayer, 0) << "the current player was the third: player 0 stands in";
    std::vector<uint8_t> expected(whole.data.begin(), whole.data.begin() + 21 + 2 * 1876);
    expected[20] = 0;
    EXPECT_EQ(data::serialiseProfiles(two), expected) << "two whole records are written back";

    const data::Profiles defaults;
    EXPECT_EQ(parse(Bytes()), defaults);
    EXPECT_EQ(parse(Bytes(20)), defaults) << "a header cut short is as good as no file";
    EXPECT_FALSE(defaults.windowed);
    EXPECT_EQ(defaults.musicVolume, 50);
    EXPECT_EQ(defaults.soundVolume, 50);
    EXPECT_EQ(defaults.musicSliderX, 400);
    EXPECT_EQ(defaults.soundSliderX, 400);
    EXPECT_TRUE(defaults.players.empty());
    EXPECT_EQ(data::currentProfile(defaults), nullptr);

    EXPECT_FALSE(parse(header(0x100, 50, 400, 50, 400, 0)).windowed) << "only the lowest byte counts";
    EXPECT_TRUE(parse(header(0x7F, 50, 400, 50, 400, 0)).windowed);

    // A damaged name with no terminator ends with its 15-byte field, not in the next field.
    Bytes unterminated = record("");
    unterminated.text(4, "ABCDEFGHIJKLMNOPQRS");  // runs on into the level bytes
    const data::Profiles damaged = parse(join({header(0, 50, 400, 50, 400, 0), unterminated}));
    EXPECT_EQ(damaged.players[0].name(), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(damaged.players[0].action.level, 'P') << "the byte after the field is the Action level";
}

TEST(ProfileFile, NamesKeepTheBytesAfterTheirTerminatorAndSavedLevelsAreNeverNegative) {
    data::PlayerProfile p;
    p.nameField = {'L', 'O', 'N', 'G', 'E', 'R', 0, 'x', 'y'};
    p.setName("AB");
    EXPECT_EQ(p.name(), "AB");
    EXPECT_EQ(p.nameField[2], 0);
    EXPECT_EQ(p.nameField[3], 'G') << "a new name is copied with its terminator, the rest stays";
    EXPECT_EQ(p.nameField[8], 'y');
    p.setName("ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(p.name(), "ABCDEFGHIJKLMN") << "14 bytes and the terminator fill the field";

    p.action.level = -3;
    p.strategy.level = 9;
    EXPECT_EQ(data::savedLevel(p, GameMode::Action), 0);
    EXPECT_EQ(data::savedLevel(p, GameMode::Strategy), 9);
    EXPECT_EQ(data::savedLevel(p, GameMode::Puzzle), 0) << "Puzzle keeps no saved run";
}

TEST(HighScoreFile, EntriesReadInFileOrderAndWrittenBackByteForByte) {
    Bytes withTail = join({entry(7, 900, "ANNA"), entry(-2, 0xF0000000u, "BO"), entry(3, 100, "ABCDEFGHIJKLMNOP")});
    withTail.data[24 + 8 + 3] = 'Z';  // after BO's terminator
    const Bytes file = withTail;
    withTail.data.insert(withTail.data.end(), 23, 0x55);  // a piece shorter than an entry
    const data::HighScoreTable table = data::parseHighScores(withTail.data);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].runId, 7);
    EXPECT_EQ(table[0].score, 900u);
    EXPECT_EQ(table[0].name(), "ANNA");
    EXPECT_EQ(table[1].runId, -2);
    EXPECT_EQ(table[1].score, 0xF0000000u) << "scores are unsigned";
    EXPECT_EQ(table[1].name(), "BO");
    EXPECT_EQ(table[2].name(), "ABCDEFGHIJKLMNOP") << "no terminator: the name ends with its field";
    EXPECT_EQ(data::serialiseHighScores(table), file.data);

    EXPECT_TRUE(data::parseHighScores({}).empty());
    EXPECT_TRUE(data::serialiseHighScores({}).empty()) << "an empty table is an empty file";

    Bytes eleven;
    for (int i = 0; i < 11; ++i) eleven = join({eleven, entry(i, static_cast<uint32_t>(1000 - 10 * i), "P")});
    EXPECT_EQ(data::parseHighScores(eleven.data).size(), 11u) << "an edited file is read whole";
}

TEST(HighScoreFile, EachModeHasItsFileAndUnknownModesUseTheActionTable) {
    EXPECT_EQ(data::highScoreTableIndex(GameMode::Action), 0);
    EXPECT_EQ(data::highScoreTableIndex(GameMode::ActionPuzzle), 1);
    EXPECT_EQ(data::highScoreTableIndex(GameMode::Strategy), 2);
    EXPECT_EQ(data::highScoreTableIndex(GameMode::Puzzle), 0);
    EXPECT_EQ(data::highScoreFileName(0), "profile\\hi0x00");
    EXPECT_EQ(data::highScoreFileName(2), "profile\\hi0x02");
}

TEST(PlayerFiles, LoadAndSaveTheFourFilesTogether) {
    TempFolder game, home;
    const data::GameFolder folder(game.path(), home.path());
    data::Profiles profiles;
    data::HighScores scores;
    scores.tables[0].push_back({});
    data::loadProfiles(folder, profiles, scores);
    EXPECT_EQ(profiles, data::Profiles{}) << "no files: the defaults";
    EXPECT_TRUE(scores.tables[0].empty());

    writeFile(home.path() / "profile/profile", threePlayers().str());
    writeFile(home.path() / "profile/hi0x01", entry(5, 10, "BO").str());
    writeFile(home.path() / "profile/hi0x02", join({entry(1, 30, "A"), entry(2, 20, "B")}).str());
    data::loadProfiles(folder, profiles, scores);
    EXPECT_EQ(profiles.players.size(), 3u);
    EXPECT_EQ(scores.tables[0].size(), 0u);
    EXPECT_EQ(scores.tables[1].size(), 1u);
    EXPECT_EQ(scores.tables[2].size(), 2u);

    data::clearHighScores(scores, GameMode::Strategy);
    profiles.musicVolume = 10;
    const data::WriteResult saved = data::saveAll(folder, profiles, scores);
    EXPECT_TRUE(saved.ok) << saved.error;
    EXPECT_EQ(readFile(home.path() / "profile/hi0x02"), "") << "a cleared table is written as an empty file";
    EXPECT_EQ(readFile(home.path() / "profile/hi0x00"), "");
    EXPECT_EQ(readFile(home.path() / "profile/hi0x01"), entry(5, 10, "BO").str());
    Bytes expected = threePlayers();
    expected.i32(4, 10);
    EXPECT_EQ(readFile(home.path() / "profile/profile"), expected.str());
    EXPECT_FALSE(std::filesystem::exists(game.path() / "profile")) << "nothing is written into the game folder";

    // A folder where the profile should be: that file fails, the others are still written.
    std::filesystem::remove(home.path() / "profile/profile");
    std::filesystem::create_directories(home.path() / "profile/profile/inside");
    std::filesystem::remove(home.path() / "profile/hi0x01");
    const data::WriteResult failed = data::saveAll(folder, profiles, scores);
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find("profile/profile"), std::string::npos) << failed.error;
    EXPECT_EQ(readFile(home.path() / "profile/hi0x01"), entry(5, 10, "BO").str());
    data::loadProfiles(folder, profiles, scores);
    EXPECT_TRUE(profiles.players.empty()) << "a folder reads as no file";
}

TEST(FileIo, ReadsAreBoundedAndAFolderOrMissingFileReadsAsMissing) {
    TempFolder root;
    const auto file = root.path() / "f";
    EXPECT_FALSE(data::readWholeFile(file, 100));
    EXPECT_FALSE(data::readWholeFile(root.path(), 100));
    writeFile(file, std::string(100, 'x'));
    ASSERT_TRUE(data::readWholeFile(file, 100));
    EXPECT_EQ(data::readWholeFile(file, 100)->size(), 100u);
    EXPECT_FALSE(data::readWholeFile(file, 99)) << "one byte over the limit";
    writeFile(file, "");
    ASSERT_TRUE(data::readWholeFile(file, 100));
    EXPECT_TRUE(data::readWholeFile(file, 100)->empty());
    EXPECT_FALSE(data::readWholeFile("/dev/zero", 100)) << "an endless device is not a file of ours";
}

TEST(FileIo, AnAtomicWriteReplacesTheFileWholeOrLeavesItAsItWas) {
    TempFolder root;
    const auto file = root.path() / "profile";
    const std::vector<uint8_t> first{1, 2, 3}, second(5000, 7);
    EXPECT_TRUE(data::writeFileAtomically(file, first).ok);
    EXPECT_EQ(readFile(file), std::string("\1\2\3"));
    EXPECT_TRUE(data::writeFileAtomically(file, second).ok);
    EXPECT_EQ(readFile(file), std::string(5000, '\7'));
    const auto entries = [&] {
        return std::distance(std::filesystem::directory_iterator(root.path()), std::filesystem::directory_iterator());
    };
    EXPECT_EQ(entries(), 1) << "no temporary file is left behind";
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IRGRP, 0u) << "a saved file is an ordinary file, not a private temporary one";

    const data::WriteResult missingFolder = data::writeFileAtomically(root.path() / "no/such/file", first);
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_FALSE(missingFolder.error.empty());

    // Renaming over a folder fails after the data was written: the temporary file goes away.
    std::filesystem::create_directories(root.path() / "taken/child");
    EXPECT_FALSE(data::writeFileAtomically(root.path() / "taken", first).ok);
    EXPECT_TRUE(std::filesystem::is_directory(root.path() / "taken/child"));
    EXPECT_EQ(entries(), 2);
    EXPECT_EQ(readFile(file), std::string(5000, '\7'));
}

}  // namespace
