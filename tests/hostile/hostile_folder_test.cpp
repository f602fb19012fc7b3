// lumerik-sim started on a damaged game folder: each of the game's files in turn missing, empty,
// cut in half, 100 MB of garbage, a folder in its place, or unreadable; the settings file a link
// to another file; the whole folder read-only; the saves on a full disk. Every start must run its
// script and quit with status 0, silently, with the documented defaults where a file cannot be
// read, and leave the player's saves intact.
//
// The tests take a few representative files of each kind. LUMERIK_HOSTILE_SWEEP=1 runs the same
// checks over every file of the game folder (a few minutes; run by hand).
#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "data/settings.hpp"
#include "support/profile_bytes.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
constexpr uintmax_t kGarbageBytes = 100u << 20;

// Starts the logo screen, writes everything the game read, saves as the game does, quits.
constexpr const char* kScript =
    "tick 40\n"
    "state -\n"
    "dump levels -\n"
    "dump gfx -\n"
    "dump texts -\n"
    "save\n"
    "quit\n";

enum class Damage { Missing, Empty, Halved, Garbage, Folder, Unreadable };
const char* name(Damage d) {
    switch (d) {
        case Damage::Missing: return "missing";
        case Damage::Empty: return "empty";
        case Damage::Halved: return "cut in half";
        case Damage::Garbage: return "100 MB of garbage";
        case Damage::Folder: return "a folder";
        case Damage::Unreadable: return "unreadable";
    }
    return "?";
}

struct SimRun {
    int status = -1;  // exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

std::string describe(const SimRun& run) {
    return "status " + std::to_string(run.status) + ", stderr: " + run.err.substr(0, 2000);
}

// The player's saves every folder starts with: one player and one high score.
const std::string& savedProfile() {
    static const std::string bytes =
        profile_bytes::join({profile_bytes::header(1, 70, 300, 40, 200, 0), profile_bytes::record("KEEPER", 77)}).str();
    return bytes;
}
const std::string& savedHighScores() {
    static const std::string bytes = profile_bytes::entry(77, 1234, "KEEPER").str();
    return bytes;
}

// Options that differ from the defaults, so a file read as the defaults shows.
const std::string& savedSettings() {
    static const std::string text =
        "Lumerik settings\n[machine]\nwindow 10 20 800 600\n[player \"KEEPER\"]\ncolourSymbols 1\nmoveHints 0\n";
    return text;
}
constexpr data::PlayerOptions kKeepersOptions{true, false};

// What the settings file says of the player's options after a run; nothing when it holds none.
std::optional<data::PlayerOptions> keepersOptions(const fs::path& game) {
    const data::Settings settings = data::scanSettingsText(testing_support::readFile(game / "profile" / "settings.txt"));
    const auto found = settings.players.find("KEEPER");
    return found == settings.players.end() ? std::nullopt : std::optional(found->second);
}

bool runningAsRoot() { return ::geteuid() == 0; }

class HostileFolders : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        shared_ = new testing_support::TempFolder;
        ::chmod(shared_->path().c_str(), 0755);
        // A garbage file written once (a fixed xorshift stream) and linked into each folder.
        garbage_ = shared_->path() / "garbage";
        std::FILE* f = std::fopen(garbage_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::vector<uint64_t> block(1 << 16);
        uint64_t x = 0x9E3779B97F4A7C15u;
        for (uintmax_t written = 0; written < kGarbageBytes; written += block.size() * 8) {
            for (uint64_t& v : block) {
                x ^= x << 13, x ^= x >> 7, x ^= x << 17;
                v = x;
            }
            std::fwrite(block.data(), 8, block.size(), f);
        }
        std::fclose(f);
        ::chmod(garbage_.c_str(), 0644);
    }
    static void TearDownTestSuite() {
        delete shared_;
        shared_ = nullptr;
    }

    void SetUp() override { ::chmod(temp_.path().c_str(), 0755); }

    // A fresh game folder with the player's saves. The built folder's data is linked in (a damaged
    // file is removed and made anew, never changed in place) unless the folder is to be handed to
    // another user, which needs files of its own.
    enum class Files { Linked, Copied };
    fs::path makeFolder(const std::string& label, Files files = Files::Linked) {
        const fs::path game = temp_.path() / label;
        fs::create_directories(game);
        const auto how = files == Files::Linked ? fs::copy_options::create_hard_links : fs::copy_options::none;
        for (const fs::directory_entry& entry : fs::directory_iterator(testing_support::builtGameFolder())) {
            const std::string leaf = entry.path().filename();
            if (leaf == "profile" || leaf == "crashDump.txt" || leaf == "lumerik" || leaf == "lumerik-sim") continue;
            if (entry.is_directory()) fs::copy(entry.path(), game / leaf, fs::copy_options::recursive | how);
        }
        writeSaves(game);
        return game;
    }

    static void writeSaves(const fs::path& root) {
        testing_support::writeFile(root / "profile" / "profile", savedProfile());
        testing_support::writeFile(root / "profile" / "hi0x00", savedHighScores());
        testing_support::writeFile(root / "profile" / "settings.txt", savedSettings());
    }

    void damage(const fs::path& game, const std::string& file, Damage how) {
        const fs::path target = game / file;
        ASSERT_TRUE(fs::is_regular_file(target)) << file;
        const std::string original = testing_support::readFile(target);
        fs::remove(target);
        switch (how) {
            case Damage::Missing: break;
            case Damage::Empty: testing_support::writeFile(target, ""); break;
            case Damage::Halved: testing_support::writeFile(target, original.substr(0, original.size() / 2)); break;
            case Damage::Garbage: fs::create_hard_link(garbage_, target); break;
            case Damage::Folder: fs::create_directories(target / "inside"); break;
            case Damage::Unreadable:
                testing_support::writeFile(target, original);
                ::chmod(target.c_str(), 0);
                break;
        }
    }

    // Runs lumerik-sim on `game` (saves under `data` when given), as the unprivileged user when
    // `unprivileged` is set and the tests run as root.
    static SimRun runSim(const fs::path& game, bool unprivileged, const fs::path& data = {}) {
        const fs::path script = shared_->path() / "script.sim";
        if (!fs::exists(script)) {
            testing_support::writeFile(script, kScript);
            ::chmod(script.c_str(), 0644);
        }
        testing_support::TempFolder output;
        ::chmod(output.path().c_str(), 0777);
        const fs::path out = output.path() / "out", err = output.path() / "err";
        const std::string sim = (fs::path(testing_support::builtGameFolder()) / "lumerik-sim").string();
        std::vector<std::string> args = {sim, "--game", game.string(), "--seed", "1"};
        if (!data.empty()) args.insert(args.end(), {"--data", data.string()});
        args.push_back(script.string());

        const pid_t pid = ::fork();
        if (pid == 0) {
            if (unprivileged && runningAsRoot()) {
                if (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0) ::_exit(120);
            }
            const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (o < 0 || e < 0) ::_exit(121);
            ::dup2(o, 1);
            ::dup2(e, 2);
            std::vector<char*> argv;
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(122);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        SimRun run;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.out = testing_support::readFile(out);
        run.err = testing_support::readFile(err);
        return run;
    }

    // Hands the folder to the unprivileged user, so that only the permissions under test stop it.
    static void giveAway(const fs::path& game) {
        if (!runningAsRoot()) return;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(game))
            if (!e.is_symlink()) (void)::lchown(e.path().c_str(), kNobody, kNoGroup);
        (void)::lchown(game.c_str(), kNobody, kNoGroup);
    }

    // One damaged start: the run must end cleanly and silently; what the game read must be what
    // it reads with the file missing, when the file cannot be read at all; the saves survive.
    void check(const std::string& file, Damage how) {
        SCOPED_TRACE(file + " " + name(how));
        const bool unprivileged = how == Damage::Unreadable;
        const fs::path game = makeFolder("case", unprivileged ? Files::Copied : Files::Linked);
        damage(game, file, how);
        if (unprivileged) giveAway(game);
        const SimRun run = runSim(game, unprivileged);
        EXPECT_EQ(run.status, 0) << describe(run);
        EXPECT_LE(std::count(run.err.begin(), run.err.end(), '\n'), 1) << describe(run);
        EXPECT_NE(run.out.find("\"playState\""), std::string::npos);

        const bool unreadable =
            how == Damage::Missing || how == Damage::Empty || how == Damage::Folder || how == Damage::Unreadable;
        if (unreadable && how != Damage::Missing) {
            if (!baselines_.count(file)) {
                const fs::path missing = makeFolder("missing");
                damage(missing, file, Damage::Missing);
                baselines_[file] = runSim(missing, false).out;
                fs::remove_all(missing);
            }
            EXPECT_EQ(run.out, baselines_[file]) << "differs from the run with the file missing";
        }

        // The saves: untouched files keep the player; a save file that could not be read is not
        // replaced by the defaults the game started with.
        const fs::path profile = game / "profile" / "profile", scores = game / "profile" / "hi0x00";
        if (file != "profile/profile") {
            EXPECT_EQ(testing_support::readFile(profile), savedProfile());
        }
        if (file != "profile/hi0x00") {
            EXPECT_EQ(testing_support::readFile(scores), savedHighScores());
        }
        // The settings file is rewritten by the save: with the player's options as they were read
        // (the defaults for a file that could not be read, what came before the cut of a halved
        // one), or, when it is another file that was damaged, as they were. A settings file that
        // could not be read or written is left as it was (checked below).
        if (file == "profile/settings.txt") {
            const std::string halved = savedSettings().substr(0, savedSettings().size() / 2);
            if (how != Damage::Folder && how != Damage::Unreadable) {
                EXPECT_EQ(keepersOptions(game),
                          data::playerOptions(data::scanSettingsText(how == Damage::Halved ? halved : ""), "KEEPER"));
            }
        } else if (file != "profile/profile") {
            EXPECT_EQ(keepersOptions(game), kKeepersOptions);
        }
        if (how == Damage::Unreadable) {
            ::chmod((game / file).c_str(), 0644);
            const std::string kept = file == "profile/profile"  ? savedProfile()
                                     : file == "profile/hi0x00" ? savedHighScores()
                                     : file == "profile/settings.txt"
                                         ? savedSettings()
                                         : testing_support::readFile(testing_support::builtGameFolder() / file);
            EXPECT_EQ(testing_support::readFile(game / file), kept) << "an unreadable file was replaced";
        }
        if (how == Damage::Folder) {
            EXPECT_TRUE(fs::is_directory(game / file));
        }
        std::error_code ec;
        fs::remove_all(game, ec);
    }

    testing_support::TempFolder temp_;
    std::map<std::string, std::string> baselines_;
    static testing_support::TempFolder* shared_;
    static fs::path garbage_;
};

testing_support::TempFolder* HostileFolders::shared_ = nullptr;
fs::path HostileFolders::garbage_;

// Each damage in turn to one file of each kind the game reads: the level and graphics files, a
// text table, the font's character map, the branding file, a surface picture in PNG and in JPEG, a
// start-up picture, a sound, the two kinds of save and the settings file beside them.
class EveryDamage : public HostileFolders, public ::testing::WithParamInterface<const char*> {};

TEST_P(EveryDamage, StartsAndQuitsCleanly) {
    for (Damage how : {Damage::Missing, Damage::Empty, Damage::Halved, Damage::Garbage, Damage::Folder, Damage::Unreadable})
        check(GetParam(), how);
}

INSTANTIATE_TEST_SUITE_P(OneFileOfEachKind, EveryDamage,
                         ::testing::Values("ini/levels.txt", "ini/gfxini.txt", "system/text03.txt", "system/ascii",
                                           "gfx/logo/trader.ini", "gfx/Quadro.png", "gfx/Menu/menu.jpg", "gfx/logo/Logo_Big.png",
                                           "mfx/vleft.ogg", "profile/profile", "profile/hi0x00", "profile/settings.txt"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string label = info.param;
                             for (char& c : label)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return label;
                         });

TEST_F(HostileFolders, AReadOnlyFolderKeepsItsSaves) {
    const fs::path intact = makeFolder("intact");
    const SimRun expected = runSim(intact, false);
    ASSERT_EQ(expected.status, 0) << describe(expected);

    // Owned by root and not writable by the player: the save fails, the old files stay.
    const fs::path game = makeFolder("read-only");
    if (!runningAsRoot()) {
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(game))
            if (e.is_directory()) ::chmod(e.path().c_str(), 0555);
        ::chmod(game.c_str(), 0555);
    }
    const SimRun run = runSim(game, true);
    EXPECT_EQ(run.status, 0) << describe(run);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, expected.out);
    EXPECT_EQ(testing_support::readFile(game / "profile" / "profile"), savedProfile());
    EXPECT_EQ(testing_support::readFile(game / "profile" / "hi0x00"), savedHighScores());
    EXPECT_EQ(testing_support::readFile(game / "profile" / "settings.txt"), savedSettings());
    EXPECT_FALSE(fs::exists(game / "crashDump.txt"));
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(game))
        if (e.is_directory()) ::chmod(e.path().c_str(), 0755);
    ::chmod(game.c_str(), 0755);
}

TEST_F(HostileFolders, AFullDiskKeepsTheOldSaves) {
    if (!runningAsRoot()) GTEST_SKIP() << "mounting a small file system needs root";
    const fs::path data = temp_.path() / "full";
    fs::create_directories(data);
    if (::mount("tmpfs", data.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "cannot mount a tmpfs here";
    writeSaves(data);
    // Fill the rest of the disk.
    {
        std::FILE* f = std::fopen((data / "filler").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::vector<char> block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), f) == block.size()) {
        }
        std::fclose(f);
    }
    const fs::path game = makeFolder("game");
    const SimRun run = runSim(game, false, data);
    EXPECT_EQ(run.status, 0) << describe(run);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("\"KEEPER\""), std::string::npos) << "the saves on the full disk were read";
    EXPECT_EQ(testing_support::readFile(data / "profile" / "profile"), savedProfile());
    EXPECT_EQ(testing_support::readFile(data / "profile" / "hi0x00"), savedHighScores());
    EXPECT_EQ(testing_support::readFile(data / "profile" / "settings.txt"), savedSettings());
    EXPECT_EQ(::umount2(data.c_str(), MNT_DETACH), 0);
}

// The settings file a link: to another program's file, to a device that never ends, to nothing. The
// game reads the defaults through it and the save replaces the link, never what it points to.
TEST_F(HostileFolders, ASettingsFileThatIsALinkIsReplacedNotFollowed) {
    const fs::path foreign = temp_.path() / "foreign.txt";
    const std::string foreignText = "[machine]\nwindow 1 2 3 4\n[player \"KEEPER\"]\ncolourSymbols 1\n";
    for (const fs::path& target : {foreign, fs::path("/dev/zero"), temp_.path() / "nothing"}) {
        SCOPED_TRACE(target.string());
        testing_support::writeFile(foreign, foreignText);
        const fs::path game = makeFolder("linked");
        const fs::path settings = game / "profile" / "settings.txt";
        fs::remove(settings);
        fs::create_symlink(target, settings);
        const SimRun run = runSim(game, false);
        EXPECT_EQ(run.status, 0) << describe(run);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("\"KEEPER\""), std::string::npos) << "the profile was read";
        EXPECT_EQ(testing_support::readFile(game / "profile" / "profile"), savedProfile());
        EXPECT_EQ(testing_support::readFile(game / "profile" / "hi0x00"), savedHighScores());
        EXPECT_FALSE(fs::is_symlink(settings));
        EXPECT_EQ(keepersOptions(game), data::PlayerOptions{});
        EXPECT_EQ(testing_support::readFile(foreign), foreignText);
        EXPECT_FALSE(fs::exists(temp_.path() / "nothing"));
        fs::remove_all(game);
    }
}

// By hand: every file of the game folder, every kind of damage.
TEST_F(HostileFolders, SweepEveryFile) {
    const char* sweep = std::getenv("LUMERIK_HOSTILE_SWEEP");
    if (!sweep || std::string(sweep) != "1") GTEST_SKIP() << "set LUMERIK_HOSTILE_SWEEP=1 to sweep every file";
    std::vector<std::string> files = {"profile/profile", "profile/hi0x00", "profile/settings.txt"};
    const fs::path built = testing_support::builtGameFolder();
    for (const char* folder : {"gfx", "mfx", "ini", "system"})
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(built / folder))
            if (e.is_regular_file()) files.push_back(fs::relative(e.path(), built).string());
    std::sort(files.begin(), files.end());
    for (Damage how : {Damage::Missing, Damage::Empty, Damage::Halved, Damage::Garbage, Damage::Folder, Damage::Unreadable}) {
        for (const std::string& file : files) check(file, how);
        std::printf("%s: %zu files checked\n", name(how), files.size());
    }
}

}  // namespace
