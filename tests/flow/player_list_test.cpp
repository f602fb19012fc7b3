#include <gtest/gtest.h>

#include "flow/player_list.hpp"
#include "support/test_support.hpp"

namespace {

using flow::player_list::NameEntryFor;
using flow::player_list::NameKey;
using flow::player_list::SaveNameOutcome;
using testing_support::readFile;
using testing_support::TempFolder;

struct Players : ::testing::Test {
    TempFolder folder;
    data::DiagnosticLog log{folder.path() / "crashDump.txt"};
    data::Profiles profiles;
    flow::player_list::PlayerScreen screen;

    void type(std::string_view text) {
        for (char c : text) flow::player_list::typeNameCharacter(screen, static_cast<uint8_t>(c));
    }

    SaveNameOutcome add(std::string_view name) {
        flow::player_list::beginNameEntry(profiles, screen, NameEntryFor::NewPlayer);
        type(name);
        return flow::player_list::saveName(profiles, screen, log);
    }

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const data::PlayerProfile& p : profiles.players) out.push_back(p.name());
        return out;
    }

    std::string logText() const { return readFile(folder.path() / "crashDump.txt"); }
};

TEST_F(Players, TypingRaisesLettersHoldsTwelveCharactersAndEnterAsksToCommit) {
    EXPECT_EQ(flow::player_list::typeNameCharacter(screen, 'a'), NameKey::Ignored) << "no entry is active";
    ASSERT_TRUE(flow::player_list::beginNameEntry(profiles, screen, NameEntryFor::NewPlayer));
    EXPECT_EQ(flow::player_list::typeNameCharacter(screen, 8), NameKey::Ignored) << "backspace on an empty name";
    type("abc");
    EXPECT_EQ(screen.typedName, "ABC");
    type("-z9 xyzwvu");
    EXPECT_EQ(screen.typedName, "ABC-Z9 XYZWV") << "twelve characters";
    EXPECT_EQ(flow::player_list::typeNameCharacter(screen, 'q'), NameKey::Ignored) << "a 13th is refused";
    EXPECT_EQ(flow::player_list::typeNameCharacter(screen, 8), NameKey::Edited);
    EXPECT_EQ(screen.typedName, "ABC-Z9 XYZW");
    EXPECT_EQ(flow::player_list::typeNameCharacter(screen, 0), NameKey::Ignored) << "a zero byte would cut the name short";
    EXPECT_EQ(flow::player_list::typeNameCharacter(screen, 13), NameKey::Commit);
    EXPECT_EQ(screen.typedName, "ABC-Z9 XYZW");
}

TEST_F(Players, EmptyNamesMakePlayerOnTheFirstStartAndAreLoggedOtherwise) {
    EXPECT_EQ(add(""), SaveNameOutcome::Created);
    EXPECT_EQ(names(), std::vector<std::string>{"PLAYER"});
    const data::PlayerProfile& fresh = profiles.players[0];
    EXPECT_EQ(fresh.toShowTips, 1);
    EXPECT_EQ(fresh.showHelpBeforeGame, 1);
    EXPECT_EQ(fresh.ownCursor, 1);
    EXPECT_EQ(fresh.shuffleTipShown, 0);
    EXPECT_EQ(fresh.action, data::SavedRun{});
    EXPECT_FALSE(screen.nameEntryActive);

    EXPECT_EQ(add(""), SaveNameOutcome::EmptyIgnored);
    EXPECT_EQ(names(), std::vector<std::string>{"PLAYER"});
    EXPECT_FALSE(screen.nameEntryActive);
    EXPECT_EQ(logText(), "return saveName()\n");
}

TEST_F(Players, NewPlayersGoLastAndAnExistingNameIsSelectedInstead) {
    for (const char* name : {"ANNA", "BO", "CARL"}) EXPECT_EQ(add(name), SaveNameOutcome::Created);
    EXPECT_EQ(screen.selection, 2);
    EXPECT_EQ(add("bo"), SaveNameOutcome::SelectedExisting);
    EXPECT_EQ(screen.selection, 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"ANNA", "BO", "CARL"}));
    // Names compare exactly: a player typed in another case would be a new one, but typing
    // raises letters, so the same letters always find the player.
    for (int i = 0; i < 12; ++i) add(std::string(1, 'P').append(std::to_string(i)));
    EXPECT_EQ(profiles.players.size(), 15u);
    EXPECT_EQ(screen.selection, 14);
    EXPECT_EQ(screen.firstVisible, 4) << "the list scrolls so the new player is the last row shown";
    add("ANNA");
    EXPECT_EQ(screen.selection, 0);
    EXPECT_EQ(screen.firstVisible, 0) << "the selected row is always a row on screen";
}

TEST_F(Players, RenamingMovesTheWholeRecordLastAndRenamingOntoAnotherSelectsIt) {
    for (const char* name : {"ANNA", "BO", "CARL"}) add(name);
    profiles.players[1].strategy.level = 9;
    profiles.players[1].ownCursor = 0;
    profiles.players[1].runId = 77;
    profiles.currentPlayer = 1;
    flow::player_list::beginPlayerScreen(profiles, screen);
    EXPECT_EQ(screen.selection, 1);

    ASSERT_TRUE(flow::player_list::beginNameEntry(profiles, screen, NameEntryFor::Rename));
    EXPECT_EQ(screen.typedName, "BO");
    type("B");
    EXPECT_EQ(flow::player_list::saveName(profiles, screen, log), SaveNameOutcome::Renamed);
    EXPECT_EQ(names(), (std::vector<std::string>{"ANNA", "CARL", "BOB"}));
    const data::PlayerProfile& bob = profiles.players[2];
    EXPECT_EQ(bob.strategy.level, 9);
    EXPECT_EQ(bob.ownCursor, 0);
    EXPECT_EQ(bob.runId, 77);
    EXPECT_EQ(screen.selection, 2);
    EXPECT_EQ(profiles.currentPlayer, 2) << "the current player is still Bob";

    screen.selection = 0;
    flow::player_list::beginNameEntry(profiles, screen, NameEntryFor::Rename);
    screen.typedName = "CARL";
    EXPECT_EQ(flow::player_list::saveName(profiles, screen, log), SaveNameOutcome::SelectedExisting);
    EXPECT_EQ(names(), (std::vector<std::string>{"ANNA", "CARL", "BOB"})) << "nothing else changes";
    EXPECT_EQ(screen.selection, 1);
    EXPECT_EQ(add("DORA"), SaveNameOutcome::Created) << "the rename ended: a later entry makes a new player";
    EXPECT_EQ(names(), (std::vector<std::string>{"ANNA", "CARL", "BOB", "DORA"}));
    EXPECT_EQ(profiles.players[3].strategy.level, 0);

    flow::player_list::PlayerScreen none;
    data::Profiles empty;
    EXPECT_FALSE(flow::player_list::beginNameEntry(empty, none, NameEntryFor::Rename)) << "renaming needs a player";
    EXPECT_FALSE(none.nameEntryActive);
}

TEST_F(Players, DeletingKeepsTheSelectionInTheListAndTheLastDeletionAsksForAName) {
    for (const char* name : {"A", "B", "C", "D", "E"}) add(name);
    profiles.currentPlayer = 4;
    flow::player_list::beginPlayerScreen(profiles, screen);
    screen.selection = 1;
    EXPECT_EQ(flow::player_list::deletePlayer(profiles, screen), flow::player_list::DeleteOutcome::Deleted);
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "C", "D", "E"}));
    EXPECT_EQ(screen.selection, 2) << "four players left: the middle one";
    EXPECT_EQ(profiles.currentPlayer, 3) << "E stays current while the screen is open";
    ASSERT_NE(data::currentProfile(profiles), nullptr);
    EXPECT_EQ(data::currentProfile(profiles)->name(), "E");

    screen.selection = 3;
    flow::player_list::deletePlayer(profiles, screen);
    EXPECT_EQ(profiles.currentPlayer, 0) << "the current player went: player 0 stands in";
    for (int i = 0; i < 2; ++i) flow::player_list::deletePlayer(profiles, screen);
    EXPECT_EQ(names(), std::vector<std::string>{"A"});
    EXPECT_EQ(flow::player_list::deletePlayer(profiles, screen), flow::player_list::DeleteOutcome::NoPlayersLeft);
    EXPECT_TRUE(screen.nameEntryActive);
    EXPECT_TRUE(screen.typedName.empty());
    EXPECT_EQ(flow::player_list::saveName(profiles, screen, log), SaveNameOutcome::Created);
    EXPECT_EQ(names(), std::vector<std::string>{"PLAYER"});
}

TEST_F(Players, CancelBringsBackDeletionsAndRenamesAndConfirmChoosesTheSelection) {
    for (const char* name : {"A", "B", "C"}) add(name);
    profiles.currentPlayer = 1;
    flow::player_list::beginPlayerScreen(profiles, screen);
    flow::player_list::deletePlayer(profiles, screen);
    screen.selection = 0;
    flow::player_list::beginNameEntry(profiles, screen, NameEntryFor::Rename);
    type("X");
    flow::player_list::saveName(profiles, screen, log);
    EXPECT_NE(names(), (std::vector<std::string>{"A", "B", "C"}));
    flow::player_list::cancelPlayerScreen(profiles, screen);
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(profiles.currentPlayer, 1);

    flow::player_list::beginPlayerScreen(profiles, screen);
    screen.selection = 2;
    EXPECT_TRUE(flow::player_list::confirmPlayer(profiles, screen));
    EXPECT_EQ(profiles.currentPlayer, 2);
}

TEST_F(Players, AFullListRefusesANewPlayerWithAReasonButStillSelectsAndRenames) {
    profiles.players.resize(255);
    for (size_t i = 0; i < profiles.players.size(); ++i)
        profiles.players[i].setName(std::string(1, 'P').append(std::to_string(i)));
    EXPECT_EQ(add("NEW"), SaveNameOutcome::Refused);
    EXPECT_EQ(profiles.players.size(), 255u);
    EXPECT_TRUE(screen.nameEntryActive) << "the name screen stays, showing why";
    screen.refusal = "full";  // the caller says why, in the texts' words
    flow::player_list::typeNameCharacter(screen, 8);
    EXPECT_TRUE(screen.refusal.empty()) << "the reason goes with the next key";
    EXPECT_EQ(add("P7"), SaveNameOutcome::SelectedExisting);
    screen.selection = 254;
    flow::player_list::beginNameEntry(profiles, screen, NameEntryFor::Rename);
    type("X");
    EXPECT_EQ(flow::player_list::saveName(profiles, screen, log), SaveNameOutcome::Renamed);
    EXPECT_EQ(profiles.players.back().name(), "P254X");

    // A file with more players than the byte can name loads whole; the ones past 255 are listed
    // but cannot become current.
    profiles.players.resize(300);
    screen.selection = 270;
    EXPECT_FALSE(flow::player_list::confirmPlayer(profiles, screen));
    EXPECT_EQ(profiles.currentPlayer, 0);
}

}  // namespace
