#include <gtest/gtest.h>
#include <unistd.h>

#include "data/game_folder.hpp"
#include "data/log.hpp"
#include "support/test_support.hpp"

namespace {

using testing_support::readFile;
using testing_support::TempFolder;
using testing_support::writeFile;

TEST(GameFolder, NormalisesWindowsStylePaths) {
    EXPECT_EQ(data::normaliseGamePath("gfx//logo//trader.ini"), "gfx/logo/trader.ini");
    EXPECT_EQ(data::normaliseGamePath("ini\\levels.txt"), "ini/levels.txt");
    EXPECT_EQ(data::normaliseGamePath("gfx\\\\Menu//\\x.png"), "gfx/Menu/x.png");
}

TEST(GameFolder, FindsFilesWrittenWithAnotherCaseComponentByComponent) {
    TempFolder root;
    writeFile(root.path() / "gfx/menu/But_Small_Glass.png", "a");
    writeFile(root.path() / "gfx/Menu2/exact.png", "b");
    writeFile(root.path() / "mfx/vright.OGG", "c");
    const data::GameFolder folder(root.path());

    EXPECT_EQ(readFile(folder.resolve("gfx//Menu//But_Small_Glass.png")), "a");
    EXPECT_EQ(readFile(folder.resolve("GFX\\MENU\\but_small_glass.PNG")), "a");
    EXPECT_EQ(readFile(folder.resolve("gfx//Menu2//exact.png")), "b");
    EXPECT_EQ(readFile(folder.resolve("mfx//vright.ogg")), "c");
    // A name that matches nothing comes back as written, so opening it fails quietly.
    EXPECT_EQ(folder.resolve("gfx//nothing.png"), root.path() / "gfx/nothing.png");
}

TEST(GameFolder, WritableFilesGoToTheWriteRootWithTheirFolderCreated) {
    TempFolder game, home;
    const data::GameFolder folder(game.path(), home.path());
    const auto profile = folder.writable("profile\\profile");
    EXPECT_EQ(profile, home.path() / "profile/profile");
    EXPECT_TRUE(std::filesystem::is_directory(home.path() / "profile"));
    writeFile(profile, "x");
    EXPECT_EQ(folder.resolveWritable("PROFILE\\profile"), profile);
    EXPECT_TRUE(data::isWritableFolder(game.path()));
    EXPECT_FALSE(data::isWritableFolder(game.path() / "missing"));
}

// The folder of a copy built or unpacked by the player keeps the player's files; an installed
// copy, which every user of the machine shares, never does, even for a user who may write to it.
TEST(GameFolder, OnlyAPlayersOwnCopyKeepsThePlayerFiles) {
    TempFolder game;
    EXPECT_TRUE(data::keepsPlayerFiles(game.path()));
    EXPECT_FALSE(data::keepsPlayerFiles(game.path() / "missing"));
    writeFile(game.path() / "installed", "");
    EXPECT_FALSE(data::keepsPlayerFiles(game.path()));
    std::filesystem::remove(game.path() / "installed");
    std::filesystem::permissions(game.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    // The administrator may write anywhere, so a read-only folder is read-only for other users only.
    if (::geteuid() != 0) {
        EXPECT_FALSE(data::keepsPlayerFiles(game.path()));
    }
    std::filesystem::permissions(game.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

TEST(DiagnosticLog, EmptiedByTheFirstLineOfARunAndLeftAloneByASilentRun) {
    TempFolder root;
    const auto file = root.path() / "crashDump.txt";
    writeFile(file, "old run\n");
    {
        data::DiagnosticLog silent(file);  // a run that writes nothing
    }
    EXPECT_EQ(readFile(file), "old run\n");

    data::DiagnosticLog first(file);
    first.writeLog("extra EXIT __DENIED!");
    EXPECT_EQ(readFile(file), "extra EXIT __DENIED!\n") << "each line is on disk at once";
    first.writeLog("extra EXIT marking");
    EXPECT_EQ(readFile(file), "extra EXIT __DENIED!\nextra EXIT marking\n");

    data::DiagnosticLog second(file);
    second.writeLog("return saveName()");
    EXPECT_EQ(readFile(file), "return saveName()\n");

    data::DiagnosticLog nowhere(root.path() / "missing-folder" / "crashDump.txt");
    nowhere.writeLog("lost silently");
}

// A display that keeps losing its surfaces logs a line every tick: a run's log stops at its limit
// with one closing line, and the next run starts empty again.
TEST(DiagnosticLog, ARunsLogStopsAtItsLimitWithAClosingLine) {
    TempFolder root;
    const auto file = root.path() / "crashDump.txt";
    const std::string line = "extra EXIT __DENIED!";
    const size_t limit = 200;
    data::DiagnosticLog log(file, limit);
    for (int i = 0; i < 1000; ++i) log.writeLog(line);
    const std::string text = readFile(file);
    EXPECT_LE(text.size(), limit);
    const std::string closing = std::string(data::DiagnosticLog::kFullLine) + "\n";
    ASSERT_GE(text.size(), closing.size());
    EXPECT_EQ(text.substr(text.size() - closing.size()), closing);
    const size_t kept = (text.size() - closing.size()) / (line.size() + 1);
    EXPECT_EQ(kept, (limit - closing.size()) / (line.size() + 1)) << "every line that fits is kept";
    log.writeLog("after the limit");
    EXPECT_EQ(readFile(file), text) << "nothing more is written once the log is full";

    data::DiagnosticLog next(file, limit);
    next.writeLog("next run");
    EXPECT_EQ(readFile(file), "next run\n");
}

}  // namespace
