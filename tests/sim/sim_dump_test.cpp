#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>

#include "sim/session.hpp"
#include "support/test_support.hpp"

namespace {

using nlohmann::json;
using testing_support::writeFile;

// Runs `script` on a game folder holding only the files the test wrote, and returns what the script
// printed, one JSON value a command.
std::vector<json> runDump(const std::filesystem::path& game, const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out, err;
    sim::SimOptions options;
    options.gameDir = game;
    options.seed = 1;
    EXPECT_EQ(sim::runSimScript(in, options, out, err), 0) << err.str();
    std::vector<json> values;
    std::istringstream printed(out.str());
    std::string chunk, line;
    while (std::getline(printed, line)) {
        chunk += line + "\n";
        if (line == "}") values.push_back(json::parse(std::exchange(chunk, {})));  // the end of one object
    }
    return values;
}

json dumpOf(const std::filesystem::path& game, const std::string& what) {
    const std::vector<json> values = runDump(game, "dump " + what + " -\n");
    return values.size() == 1 ? values[0] : json();
}

std::string withWindowsLineEnds(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

const std::string kLevelFile =
    "Verticals 1\n"
    "SCoreBoost 77\n"  // no header yet: read and lost
    "ActionLevel 1\n"
    "Colors 7\n"
    "Score 100Time 60\n"  // "Time" comes after "Score" in the table, so both are read
    "BonusRatio 1 2 3 4 5\n"
    "Square 6 = 30\nSquare 5 = 99\nSquare 4=\n10\n"  // "Square" 5 is read and ignored
    "Diagonal 4 = 11\nDiagonal 8 = 15\nDiagonal 9 = 16\n"
    "RunesDIagonal 5 = 2\nRunesFigure 3 = 7\nRunesFigure 4 = 9\n"
    "a remark about the Ball\n"  // takes the next number, which was meant for the duration
    "BonusDuration 2500\n"
    "StrategyLevel 1\n"
    "Time 70Score 200\n"  // the score is lost: the character after 70 is consumed
    "Score 500\nProgress 40\n"
    "Moves -30\n"
    "Colors 9\n"       // stored as written; the rules keep a level playable
    "ActionLevel 1\n"  // a repeated header: a second record that is never filled
    "Colors 5\n"
    "PuzzleLevel 2\n"
    "ActionPuzzleLevel 3\n"
    "Progress 12\n"
    "Color 2 = 0x102030\nColor 8 = 0x405060\nColor 7 = 0xABCDEF\n"
    "Colors 3\n"
    "StartingLevel 3\n"
    "Combo 2 = 1.5\nCombo 9 = .25\nCombo 10 = 3\n"
    "FreezDuration 5\n"
    "TIMEbonus 1 2 3 4 5\nMOVEbonus 6 7 8 9 10\nSWAP 2 0 3 3 4\n"
    "maxMusVol 0.5\nMainStatus 1\nUniversal 3\nZeroRunesOnNextLEvel 1\n"
    "ExplodeType 3";  // no line break at the end

TEST(SimDump, LevelFileEdgeCases) {
    testing_support::TempFolder game;
    writeFile(game.path() / "ini" / "levels.txt", kLevelFile);
    const std::vector<json> out = runDump(game.path(), "dump levels -\nstate -\n");
    ASSERT_EQ(out.size(), 2u);
    const json& levels = out[0]["levels"];
    const json& settings = out[0]["settings"];

    ASSERT_EQ(levels["Action"].size(), 2u);
    const json& action = levels["Action"][0];
    EXPECT_EQ(action["number"], 1);
    EXPECT_EQ(action["colors"], 5);  // the later value wins, through the repeated header
    EXPECT_EQ(action["target"], 100);
    EXPECT_EQ(action["limit"], 60);
    EXPECT_EQ(action["bonusRatio"], json({1, 2, 3, 4, 5}));
    EXPECT_EQ(action["square4"], 10);
    EXPECT_EQ(action["square6"], 30);
    EXPECT_EQ(action["diagonal"], json({11, 0, 0, 0, 15}));
    EXPECT_EQ(action["runesDiagonal"], json({0, 2, 0, 0, 0}));
    EXPECT_EQ(action["runesFigure"], json({0, 7}));
    EXPECT_EQ(action["ball"], 2500);
    EXPECT_EQ(action["bonusDuration"], 0);
    EXPECT_EQ(action["scoreBoost"], 0);
    // The repeated header's record stays empty.
    EXPECT_EQ(levels["Action"][1], json({{"number", 1},
                                         {"bonusRatio", {0, 0, 0, 0, 0}},
                                         {"runesSquare2x2", 0},
                                         {"runesSquare2x3", 0},
                                         {"runesDiagonal", {0, 0, 0, 0, 0}},
                                         {"runesFigure", {0, 0}},
                                         {"bonusDuration", 0},
                                         {"target", 0},
                                         {"limit", 0},
                                         {"colors", 0},
                                         {"square4", 0},
                                         {"square6", 0},
                                         {"diagonal", {0, 0, 0, 0, 0}},
                                         {"vh", 0},
                                         {"scoreBoost", 0},
                                         {"ball", 0}}));

    ASSERT_EQ(levels["Strategy"].size(), 1u);
    EXPECT_EQ(levels["Strategy"][0]["target"], 40);
    EXPECT_EQ(levels["Strategy"][0]["limit"], 30);
    EXPECT_EQ(levels["Strategy"][0]["colors"], 9);
    ASSERT_EQ(levels["Puzzle"].size(), 1u);
    EXPECT_EQ(levels["Puzzle"][0]["number"], 2);
    ASSERT_EQ(levels["ActionPuzzle"].size(), 1u);
    EXPECT_EQ(levels["ActionPuzzle"][0]["number"], 3);
    EXPECT_EQ(levels["ActionPuzzle"][0]["target"], 12);
    EXPECT_EQ(levels["ActionPuzzle"][0]["colors"], 3);  // "Colors", not the tint of "Color" 3

    EXPECT_EQ(settings["Color"][2], json({16, 32, 48}));
    EXPECT_EQ(settings["Color"][7], json({0, 0, 0}));
    EXPECT_EQ(settings["Color"][3], json({0, 249, 16}));
    EXPECT_EQ(settings["Verticals"], 1);
    EXPECT_EQ(settings["StartingLevel"], 3);
    EXPECT_EQ(settings["Combo"], json({1.5, 0, 0, 0, 0, 0, 0, 25.0}));
    EXPECT_EQ(settings["FreezDuration"], 5000);
    EXPECT_EQ(settings["TIMEbonus"], json({1, 2, 3, 4, 5}));
    EXPECT_EQ(settings["MOVEbonus"], json({6, 7, 8, 9, 10}));
    EXPECT_EQ(settings["SWAP"], json({2, 0, 3, 3, 4}));
    EXPECT_EQ(settings["maxMusVol"], 0.5);
    EXPECT_EQ(settings["MainStatus"], 1);
    EXPECT_EQ(settings["FPS"], 0);
    EXPECT_EQ(settings["Universal"], 3);
    EXPECT_EQ(settings["ZeroRunesOnNextLEvel"], 1);
    EXPECT_EQ(settings["ExplodeType"], 3);
    EXPECT_EQ(out[1]["nextLevel"], 3);

    writeFile(game.path() / "ini" / "levels.txt", withWindowsLineEnds(kLevelFile));
    EXPECT_EQ(dumpOf(game.path(), "levels"), out[0]);
}

TEST(SimDump, DamagedLevelFilesGiveTheDefaults) {
    testing_support::TempFolder game;
    const json defaults = dumpOf(game.path(), "levels");  // no file at all
    EXPECT_EQ(defaults["levels"], json({{"Action", json::array()},
                                        {"Strategy", json::array()},
                                        {"Puzzle", json::array()},
                                        {"ActionPuzzle", json::array()}}));
    EXPECT_EQ(defaults["settings"]["Color"][0], json({255, 0, 254}));
    EXPECT_EQ(defaults["settings"]["Color"][7], json({0, 169, 249}));
    EXPECT_EQ(defaults["settings"]["StartingLevel"], 1);
    EXPECT_EQ(defaults["settings"]["maxMusVol"], 0.65);
    EXPECT_EQ(defaults["settings"]["FreezDuration"], 0);

    writeFile(game.path() / "ini" / "levels.txt", "");
    EXPECT_EQ(dumpOf(game.path(), "levels"), defaults);

    // Only the first 128 KiB count: a key beyond them is never seen.
    std::string oversized = "StartingLevel 4\n";
    oversized.resize(131072, ' ');
    writeFile(game.path() / "ini" / "levels.txt", oversized + "\nMainStatus 1\n" + std::string(70000, 'x'));
    json seen = dumpOf(game.path(), "levels");
    EXPECT_EQ(seen["settings"]["StartingLevel"], 4);
    EXPECT_EQ(seen["settings"]["MainStatus"], 0);

    // Garbage bytes, zeros and key words included, read to the end without harm.
    std::mt19937 engine(7);
    std::string garbage;
    const std::string words[] = {"ActionLevel", "Color", "Combo", "SWAP", "Square", "=", "0x", "maxMusVol"};
    while (garbage.size() < 100000) {
        const uint32_t draw = engine();
        if (draw % 16 == 0)
            garbage += words[(draw >> 8) % 8];
        else
            garbage += static_cast<char>(draw >> 24);
    }
    writeFile(game.path() / "ini" / "levels.txt", garbage);
    seen = dumpOf(game.path(), "levels");
    EXPECT_TRUE(seen.contains("settings"));
}

TEST(SimDump, GraphicsSettingsFollowTheStripMarkers) {
    testing_support::TempFolder game;
    EXPECT_EQ(dumpOf(game.path(), "gfx")["Level"]["frames"], 0);

    writeFile(game.path() / "ini" / "gfxini.txt",
              "MenuTransparency 0.35\n"
              "frames 4\n"  // before any marker: the rising strip
              "Level\nframes 8\ntype 2\ntransparencyS 0.75\ntransparencyD .5\n"
              "Explode\nframe_width 64\ncenter_x 32\ncenter_y 30\n"
              "Rise\ncenter_x 12\n"
              "bonus_gfx 1 2 3 4\n5 6 7 8 9 10 11 12\n13 14 15 16\n17 18 19 20\n");
    const json gfx = dumpOf(game.path(), "gfx");
    EXPECT_EQ(gfx["Rise"], json({{"type", 0},
                                 {"frames", 4},
                                 {"frame_width", 0},
                                 {"center_x", 12},
                                 {"center_y", 0},
                                 {"transparencyS", 0.0},
                                 {"transparencyD", 0.0}}));
    EXPECT_EQ(gfx["Level"], json({{"type", 2},
                                  {"frames", 8},
                                  {"frame_width", 0},
                                  {"center_x", 0},
                                  {"center_y", 0},
                                  {"transparencyS", 0.75},
                                  {"transparencyD", 5.0}}));
    EXPECT_EQ(gfx["Explode"]["frame_width"], 64);
    EXPECT_EQ(gfx["Explode"]["center_x"], 32);
    EXPECT_EQ(gfx["Explode"]["center_y"], 30);
    EXPECT_EQ(gfx["bonus_gfx"], json({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}, {17, 18, 19, 20}}));
    EXPECT_EQ(gfx["MenuTransparency"], 0.35);
}

TEST(SimDump, TextTablesAndCharacterMap) {
    testing_support::TempFolder game;
    std::string fifteen;
    for (int i = 0; i < 15; ++i) fifteen += "Caption " + std::to_string(i) + "\n";
    writeFile(game.path() / "system" / "text00.txt", fifteen);
    writeFile(game.path() / "system" / "text01.txt", "twenty characters!!!\n");
    writeFile(game.path() / "system" / "text02.txt", "one\r\n\r\nthree\r\n");
    writeFile(game.path() / "system" / "text04.txt", "Caf\xe9");
    writeFile(game.path() / "system" / "ascii", "65\n66\n");

    const json texts = dumpOf(game.path(), "texts");
    ASSERT_EQ(texts["text00"].size(), 12u);
    EXPECT_EQ(texts["text00"][11], "Caption 11");
    EXPECT_EQ(texts["text01"][0], "twenty charact");
    EXPECT_EQ(texts["text02"][0], "one");
    EXPECT_EQ(texts["text02"][1], "");
    EXPECT_EQ(texts["text02"][2], "three");
    EXPECT_EQ(texts["text02"][3], "");
    EXPECT_EQ(texts["text03"], json(std::vector<std::string>(127)));  // missing file
    EXPECT_EQ(texts["text04"][0], "Caf\xc3\xa9");                     // a byte above 127 as its character
    EXPECT_EQ(texts["ascii"], json({65, 66}));
}

}  // namespace
