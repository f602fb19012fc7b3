#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <thread>

#include "support/profile_bytes.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using profile_bytes::Bytes;
using testing_support::readFile;

// Save number v sets both volumes and the run's total to v. A profile is whole when it is exactly
// a header and one record and the three copies of v agree.
std::optional<int64_t> profileVersion(const std::string& bytes) {
    if (bytes.size() != 21 + 1876) return std::nullopt;
    const Bytes b = [&] {
        Bytes x;
        x.data.assign(bytes.begin(), bytes.end());
        return x;
    }();
    auto i32 = [&](size_t at) {
        return static_cast<int32_t>(b.data[at] | b.data[at + 1] << 8 | b.data[at + 2] << 16 |
                                    static_cast<uint32_t>(b.data[at + 3]) << 24);
    };
    const int32_t music = i32(4), sound = i32(12), total = i32(21 + 24);
    if (music != sound || sound != total || bytes.substr(21 + 4, 5) != std::string("KILL\0", 5)) return std::nullopt;
    return music;
}

// The Action table: one entry of the run, its score the total of the save it came from; 0 before
// the first save made the file.
std::optional<int64_t> tableVersion(const fs::path& file) {
    if (!fs::exists(file)) return 0;
    const std::string bytes = readFile(file);
    if (bytes.size() != 24 || bytes.substr(8, 16) != std::string("KILL\0\0\0\0\0\0\0\0\0\0\0\0", 16)) return std::nullopt;
    const auto u = [&](size_t k) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[k])); };
    if ((u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24) != 5u) return std::nullopt;
    return static_cast<int64_t>(u(4) | u(5) << 8 | u(6) << 16 | u(7) << 24);
}

// Starts lumerik-sim on `game` saving again and again, waits until its first save has landed,
// then kills it at a random moment of the saving.
bool runAndKill(const fs::path& game, const fs::path& script, std::mt19937& random, int64_t before) {
    const std::string sim = (testing_support::builtGameFolder() / "lumerik-sim").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl(sim.c_str(), "lumerik-sim", "--game", game.c_str(), "--seed", "1", script.c_str(), nullptr);
        ::_exit(127);
    }
    if (pid < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::optional<int64_t> now = profileVersion(readFile(game / "profile/profile"));
        if (now && *now != before) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 120000));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// Killed at any moment while it saves, the game leaves each of its files either as it was or as
// the save wrote it: never a mix of two saves, never cut short. LUMERIK_KILLS sets the number of
// kills (20 by default; the long campaign is run by hand).
TEST(SaveKills, EveryFileIsAlwaysTheOldOrTheNewContent) {
    const char* wanted = std::getenv("LUMERIK_KILLS");
    const int kills = wanted ? std::max(1, std::atoi(wanted)) : 20;
    testing_support::TempFolder game;
    Bytes initial = profile_bytes::header(0, 0, 400, 0, 400, 0);
    Bytes player = profile_bytes::record("KILL", 5);
    initial.data.insert(initial.data.end(), player.data.begin(), player.data.end());
    testing_support::writeFile(game.path() / "profile/profile", initial.str());

    std::mt19937 random(2024);
    int64_t profileSeen = 0, tableSeen = 0;
    int killed = 0, leftovers = 0, tableBehind = 0;
    for (int round = 1; round <= kills; ++round) {
        // Each round counts on from where the last one may have stopped.
        const fs::path script = game.path() / "saves.sim";
        {
            std::ofstream out(script);
            out << "set gameMode 0\nset currentRunId 5\n";
            for (int i = 1; i <= 2000; ++i) {
                const int64_t v = int64_t{round} * 10000 + i;
                out << "set musicVolume " << v << "\nset soundVolume " << v << "\nset totalScore " << v << "\nsave run\n";
            }
        }
        killed += runAndKill(game.path(), script, random, profileSeen) ? 1 : 0;

        const std::optional<int64_t> profile = profileVersion(readFile(game.path() / "profile/profile"));
        const std::optional<int64_t> table = tableVersion(game.path() / "profile/hi0x00");
        ASSERT_TRUE(profile) << "round " << round << ": the profile is cut short or mixed";
        ASSERT_TRUE(table) << "round " << round << ": the Action table is cut short or mixed";
        for (const char* empty : {"hi0x01", "hi0x02"}) EXPECT_EQ(readFile(game.path() / "profile" / empty), "");
        // The profile is written before the tables, and neither ever goes back to an older save.
        EXPECT_GE(*profile, profileSeen);
        EXPECT_GE(*table, tableSeen);
        EXPECT_LE(*table, *profile);
        tableBehind += *table < *profile ? 1 : 0;
        profileSeen = *profile;
        tableSeen = *table;
        for (const fs::directory_entry& e : fs::directory_iterator(game.path() / "profile")) {
            if (e.path().filename().string().front() == '.') {
                ++leftovers;  // a temporary file the kill caught before its rename
                fs::remove(e.path());
            }
        }
    }
    EXPECT_EQ(killed, kills) << "every run was still saving when it was killed";
    std::printf("%d kills; %d caught a save before its rename; %d between the profile and the tables\n", kills, leftovers,
                tableBehind);
}

}  // namespace
