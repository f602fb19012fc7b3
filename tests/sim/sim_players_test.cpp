#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "sim/session.hpp"
#include "support/profile_bytes.hpp"
#include "support/test_support.hpp"

namespace {

using profile_bytes::Bytes;
using profile_bytes::entry;
using profile_bytes::header;
using profile_bytes::join;
using profile_bytes::record;
using testing_support::readFile;
using testing_support::TempFolder;
using testing_support::writeFile;

std::vector<nlohmann::json> run(const TempFolder& game, const std::string& script, std::string* err = nullptr) {
    std::istringstream in(script);
    std::ostringstream out, errors;
    sim::SimOptions options;
    options.gameDir = game.path();
    options.seed = 1;
    EXPECT_EQ(sim::runSimScript(in, options, out, errors), 0) << errors.str();
    if (err) *err = errors.str();
    std::vector<nlohmann::json> states;
    std::istringstream lines(out.str());
    while ((lines >> std::ws).peek() != std::char_traits<char>::eof()) {
        nlohmann::json state;
        lines >> state;
        states.push_back(std::move(state));
    }
    return states;
}

TEST(SimPlayers, StateShowsEveryRecordFieldAndTheTablesAndSaveWritesWhatSetChanged) {
    TempFolder game;
    Bytes bo = record("BO", 42);
    bo.u8(20, 2).i32(28, 900).i32(56, 12).u8(272 + 3, 4).i32(1472 + 4 * 3, 700);
    bo.text(4 + 3, "\xe9");          // after the terminator: never shown
    Bytes odd = record("A\xe9", 1);  // a byte that is not ASCII
    writeFile(game.path() / "profile/profile", join({header(0, 60, 380, 40, 300, 0), odd, bo}).str());
    writeFile(game.path() / "profile/hi0x02", entry(42, 900, "BO").str());

    const auto states = run(game,
                            "state -\n"
                            "set musicVolume 20\nset soundSliderX 333\nset windowed 1\nset currentPlayer 1\n"
                            "set gameMode 1\nset currentLevel 3\nset totalScore 1640\nset currentRunId 42\n"
                            "save run\nstate -\nset currentPlayer 999\nstate -\n");
    ASSERT_EQ(states.size(), 3u);
    const nlohmann::json& before = states[0];
    ASSERT_EQ(before["players"].size(), 2u);
    const nlohmann::json& p = before["players"][1];
    for (const char* key : {"runId",
                            "name",
                            "levelAction",
                            "levelStrategy",
                            "levelActionPuzzle",
                            "totalAction",
                            "totalStrategy",
                            "totalActionPuzzle",
                            "levelScoreAction",
                            "elapsedAction",
                            "levelScoreActionPuzzle",
                            "elapsedActionPuzzle",
                            "levelScoreStrategy",
                            "movesLeftStrategy",
                            "runesAction",
                            "runesStrategy",
                            "runesActionPuzzle",
                            "boardAction",
                            "boardActionPuzzle",
                            "boardStrategy",
                            "bonusLayerAction",
                            "bonusLayerActionPuzzle",
                            "bonusLayerStrategy",
                            "cellTimesAction",
                            "cellTimesActionPuzzle",
                            "cellTimesStrategy",
                            "toShowTips",
                            "showHelpBeforeGame",
                            "ownCursor",
                            "shuffleTipShown"})
        EXPECT_TRUE(p.contains(key)) << key;
    EXPECT_EQ(p["name"], "BO");
    EXPECT_EQ(p["runId"], 42);
    EXPECT_EQ(p["levelStrategy"], 2);
    EXPECT_EQ(p["totalStrategy"], 900);
    EXPECT_EQ(p["movesLeftStrategy"], 12);
    EXPECT_EQ(p["boardStrategy"][3], 4);
    EXPECT_EQ(p["cellTimesStrategy"][3], 700);
    EXPECT_EQ(p["boardStrategy"].size(), 100u);
    EXPECT_EQ(before["players"][0]["name"], "A\xc3\xa9") << "non-ASCII bytes still make valid JSON";
    EXPECT_EQ(before["musicVolume"], 60);
    EXPECT_EQ(before["soundVolume"], 40);
    EXPECT_EQ(before["windowed"], 0);
    EXPECT_EQ(before["highScores"][2], nlohmann::json::parse(R"([{"runId": 42, "score": 900, "name": "BO"}])"));
    EXPECT_TRUE(before["highScores"][0].empty());

    const nlohmann::json& after = states[1];
    EXPECT_EQ(after["currentPlayer"], 1);
    EXPECT_EQ(after["players"][1]["levelStrategy"], 3);
    EXPECT_EQ(after["highScores"][2][0]["score"], 1640);
    EXPECT_EQ(states[2]["currentPlayer"], 255) << "a byte holds the number as far as it can";

    Bytes expected = join({header(1, 20, 380, 40, 333, 1), odd, bo});
    const size_t b = 21 + 1876;
    expected.u8(b + 20, 3).i32(b + 28, 1640).i32(b + 52, 0).i32(b + 56, 0);
    // The run's board and its timers are those of the game now: empty.
    expected.u8(b + 272 + 3, 0).i32(b + 1472 + 4 * 3, 0);
    EXPECT_EQ(readFile(game.path() / "profile/profile"), expected.str());
    EXPECT_EQ(readFile(game.path() / "profile/hi0x02"), entry(42, 1640, "BO").str());
}

TEST(SimPlayers, SaveTakesNothingOrRun) {
    TempFolder game;
    std::istringstream in("save now\n");
    std::ostringstream out, err;
    sim::SimOptions options;
    options.gameDir = game.path();
    EXPECT_EQ(sim::runSimScript(in, options, out, err), 2);
}

}  // namespace
