#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "game/sound_ids.hpp"
#include "present/images.hpp"
#include "present/picture_files.hpp"
#include "scenario_support.hpp"
#include "sim/session.hpp"
#include "support/test_support.hpp"

namespace {

using nlohmann::json;
using scenario::played;

scenario::Run run(const std::string& name) {
    testing_support::TempFolder game;
    scenario::prepareGameFolder(game.path(), "play_levels.txt");
    scenario::Run r = scenario::runScenarioIn(name, game.path());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r;
}

int stops(const json& state, int soundId) {
    int count = 0;
    for (const auto& entry : state["soundLog"])
        if (entry[1].get<int>() == soundId && entry[2] == "stop") ++count;
    return count;
}

json texts(std::initializer_list<std::pair<const char*, int>> lines) {
    json list = json::array();
    for (const auto& [text, y] : lines) list.push_back({text, y});
    return list;
}

TEST(PlayScenario, BarsFillEaseRunCriticalAndShowTheFreezeGlass) {
    const scenario::Run r = run("play_bars.sim");
    ASSERT_EQ(r.states.size(), 22u);
    // Limit 60 and 5 colours: the time bar fills by 60 / 55 a frame and is full 55 frames after it
    // starts to fill (the level's clock is first read at the end of its first frame).
    EXPECT_EQ(r.states[0]["timeShown"], 0.0);
    EXPECT_NEAR(r.states[1]["timeShown"].get<double>(), 53 * 60.0 / 55, 1e-3);
    EXPECT_NEAR(r.states[2]["timeShown"].get<double>() - r.states[1]["timeShown"].get<double>(), 60.0 / 55, 1e-4);
    EXPECT_NEAR(r.states[3]["timeShown"].get<double>(), 60.0, 1e-4);
    // Half the target: the progress bar climbs one percent a frame and stops there.
    EXPECT_EQ(r.states[4]["progressShown"], 0);
    EXPECT_EQ(r.states[5]["progressShown"], 1);
    EXPECT_EQ(r.states[6]["progressShown"], 2);
    EXPECT_EQ(r.states[7]["progressShown"], 50);
    // Less than a quarter of the time left and the bar at rest: the critical frames swing with a
    // period of eight frames.
    const int expected[] = {2, 3, 4, 3, 2, 1, 0, 1, 2};
    for (int i = 0; i < 9; ++i) {
        const json& s = r.states[static_cast<size_t>(8 + i)];
        EXPECT_EQ(s["timeBarShape"], 1) << i;
        EXPECT_EQ(s["criticalFrame"], expected[i]) << i;
    }
    // A freeze shows the glass instead of the bar; after the thaw the glass melts for 450 ms.
    EXPECT_EQ(r.states[17]["freezeOn"], 1);
    EXPECT_EQ(r.states[17]["timeBarShape"], 2);
    EXPECT_EQ(r.states[18]["timeBarShape"], 2);
    EXPECT_EQ(r.states[19]["thawOn"], 1) << "the clock thaws after this frame was drawn";
    EXPECT_EQ(r.states[20]["thawOn"], 1) << "13 frames after the thaw";
    EXPECT_EQ(r.states[20]["timeBarShape"], 1);
    EXPECT_EQ(r.states[21]["thawOn"], 0) << "14 frames, 462 ms, after it";
}

TEST(PlayScenario, EndTextsOfALostAndAWonLevelAndTheIntermissionThatFollows) {
    const scenario::Run r = run("play_end.sim");
    ASSERT_EQ(r.states.size(), 16u);
    // Lost on time: its text at once, the subtitle once 20 balls have left.
    EXPECT_EQ(r.states[0]["playState"], 5);
    EXPECT_EQ(r.states[1]["shownTexts"], texts({{"Time Is Up!", 268}}));
    EXPECT_EQ(r.states[2]["fallenCount"], 19);
    EXPECT_EQ(r.states[2]["shownTexts"], texts({{"Time Is Up!", 268}}));
    EXPECT_EQ(r.states[3]["shownTexts"], texts({{"Time Is Up!", 268}, {"Try this level again.", 304}}));

    // Won with 12 seconds left: the bonus line starts with its caption alone and counts up by
    // 0.9375 a frame, the total with it, until the end animation is over.
    EXPECT_EQ(r.states[5]["shownTexts"], texts({{"Level Complete!", 268}}));
    EXPECT_EQ(r.states[6]["shownTexts"], texts({{"Level Complete!", 268}, {"Time Bonus: ", 304}}));
    EXPECT_EQ(r.states[7]["shownTexts"][1][0], "Time Bonus: 1");
    EXPECT_EQ(r.states[8]["shownTexts"][1][0], "Time Bonus: 2");
    EXPECT_EQ(r.states[9]["shownTexts"][1][0], "Time Bonus: 8") << "after 9 frames, 8.4375";
    EXPECT_EQ(r.states[10]["shownTexts"][1][0], "Time Bonus: 112");
    EXPECT_EQ(r.states[10]["totalScore"], 2112);
    EXPECT_EQ(r.states[10]["playState"], 6);

    // The next group's intermission for 2100 ms, with a new game track; then level 6.
    const json& intermission = r.states[11];
    EXPECT_EQ(intermission["playState"], 10);
    EXPECT_EQ(intermission["intermissionStartedAt"], intermission["now"]);
    const int track = intermission["musicOwner"];
    EXPECT_GE(track, rules::SoundMusicAction);
    EXPECT_LE(track, rules::SoundMusicStrategy);
    EXPECT_EQ(r.states[12]["playState"], 10) << "2079 ms in";
    EXPECT_EQ(r.states[13]["playState"], 1) << "2112 ms in";
    EXPECT_EQ(r.states[13]["currentLevel"], 6);
    EXPECT_EQ(r.states[13]["shownTexts"], texts({{"LEVEL 6", 288}}));

    // A click ends an intermission on the next tick; the track changes with each intermission.
    EXPECT_EQ(r.states[14]["playState"], 10);
    EXPECT_NE(r.states[14]["musicOwner"], track);
    EXPECT_EQ(r.states[15]["playState"], 1);
    EXPECT_EQ(r.states[15]["currentLevel"], 6);
}

TEST(PlayScenario, LevelOneSweepLightsTheArrowsInTurn) {
    const scenario::Run r = run("play_sweep.sim");
    ASSERT_EQ(r.states.size(), 73u);
    const int64_t began = r.states[0]["intermissionStartedAt"];
    EXPECT_EQ(r.states[0]["playState"], 10);
    const int order[] = {3, 7, 1, 5, 0, 4, 2, 6, 3, 7, 1, 5, 0, 4};
    std::vector<int> seen;
    for (size_t i = 1; i < r.states.size(); ++i) {
        const json& s = r.states[i];
        // The button the sweep lit in this frame has just been drawn and, without the pointer over
        // it, starts to fade: (2, 1).
        std::vector<int> lit;
        for (int b = 0; b < 12; ++b)
            if (s["playGlow"][static_cast<size_t>(b)] == json::array({2, 1})) lit.push_back(b);
        const int64_t into = s["now"].get<int64_t>() - began - 8000;
        if (into < 0 || into >= 2100) {
            EXPECT_TRUE(lit.empty()) << into;
            continue;
        }
        ASSERT_EQ(lit.size(), 1u) << into;
        EXPECT_EQ(lit[0], order[into / 150]) << into;
        if (seen.empty() || seen.back() != lit[0]) seen.push_back(lit[0]);
    }
    EXPECT_EQ(seen, std::vector<int>(std::begin(order), std::end(order)));
}

TEST(PlayScenario, HoverLightsButtonsWithTheirSoundsButNotDuringATurnOrOnAnUnaffordableShuffle) {
    const scenario::Run r = run("play_hover.sim");
    ASSERT_EQ(r.states.size(), 10u);
    auto glow = [](const json& s, int b) { return s["playGlow"][static_cast<size_t>(b)]; };
    // An arrow: lit with its own sound, held, then fading when the pointer leaves.
    EXPECT_EQ(glow(r.states[0], 0), json::array({1, 0}));
    EXPECT_EQ(played(r.states[0], rules::SoundMouseRotation), 1);
    EXPECT_EQ(glow(r.states[1], 0), json::array({1, 1}));
    EXPECT_EQ(played(r.states[1], rules::SoundMouseRotation), 1) << "once per entry";
    EXPECT_EQ(glow(r.states[2], 0), json::array({2, 1}));
    // The side buttons play the other sound.
    EXPECT_EQ(played(r.states[3], rules::SoundMouseOver), 1);
    EXPECT_EQ(played(r.states[4], rules::SoundMouseOver), 2);
    EXPECT_EQ(glow(r.states[4], 9), json::array({1, 0}));
    // While the board turns nothing reacts; the first frame after the turn does.
    EXPECT_EQ(r.states[5]["playState"], 4);
    EXPECT_EQ(glow(r.states[5], 4), json::array({0, 0}));
    EXPECT_EQ(played(r.states[5], rules::SoundMouseRotation), 1);
    EXPECT_EQ(r.states[6]["playState"], 2);
    EXPECT_EQ(glow(r.states[6], 4), json::array({1, 0}));
    EXPECT_EQ(played(r.states[6], rules::SoundMouseRotation), 2);
    // With 15 seconds left a shuffle (15 s) is unaffordable: the button stays dark and silent.
    for (size_t i : {8u, 9u}) {
        EXPECT_EQ(r.states[i]["remaining"], 15);
        EXPECT_EQ(glow(r.states[i], 9), json::array({0, 0}));
        EXPECT_EQ(played(r.states[i], rules::SoundMouseOver), 2);
        EXPECT_EQ(r.states[i]["shuffleSoundOn"], 0);
    }
}

TEST(PlayScenario, AHintShowsAfterTenStillSecondsGoesWithAMoveAndComesAtOnceOnH) {
    const scenario::Run r = run("play_hints.sim");
    ASSERT_EQ(r.states.size(), 7u);
    for (const json& s : r.states) ASSERT_EQ(s["playState"], 2);
    EXPECT_TRUE(r.states[0]["hint"].is_null()) << "9.9 seconds";
    const json hint = r.states[1]["hint"];
    ASSERT_TRUE(hint.is_object());
    ASSERT_TRUE(hint.contains("block"));
    EXPECT_TRUE(hint["turn"] == "left" || hint["turn"] == "right");
    EXPECT_TRUE(r.states[2]["hint"].is_null()) << "a move puts it out";
    EXPECT_TRUE(r.states[3]["hint"].is_null()) << "still not ten seconds";
    EXPECT_EQ(r.states[4]["hint"], hint) << "H";
    EXPECT_EQ(r.states[5]["moveHints"], 0);
    EXPECT_TRUE(r.states[5]["hint"].is_null()) << "hints off: none by itself";
    EXPECT_EQ(r.states[6]["hint"], hint) << "H still asks";
}

TEST(PlayScenario, TipsOpenWhenDueStackAndStopTheLevel) {
    // The first level of three bonus properties: nothing with tips off; with tips on, three tips
    // 500 ms into play, the last on top, each stopping the clock. The bonuses on the board live on.
    const scenario::Run level = run("play_tips_level.sim");
    ASSERT_EQ(level.states.size(), 4u);
    EXPECT_EQ(level.states[0]["menuActive"], 0);
    EXPECT_EQ(level.states[1]["menuActive"], 0) << "495 ms into play";
    const json& tips = level.states[2];
    EXPECT_EQ(tips["dialogStack"], json::array({2, 4, 6}));
    EXPECT_EQ(tips["screenStack"], json::array({13, 15, 13, 15, 13, 15}));
    EXPECT_EQ(tips["cellBonus"], level.states[1]["cellBonus"]) << "a tip must not make the bonuses expire";
    const json& later = level.states[3];
    for (const char* key : {"remaining", "cells", "cellBonus", "cellStamp", "fallOffset", "burstEffects", "runeSlots"})
        EXPECT_EQ(later[key], tips[key]) << key << ": the play screen stands still behind a dialog";

    // ActionPuzzle level 1: the third figure event opens the figures tip, once.
    const scenario::Run figures = run("play_tip_figures.sim");
    ASSERT_EQ(figures.states.size(), 2u);
    EXPECT_EQ(figures.states[0]["menuActive"], 0);
    EXPECT_EQ(figures.states[1]["dialogStack"], json::array({1}));
    EXPECT_EQ(figures.states[1]["matchEvents"], 4);

    // The first Explode bonus of the first Explode level: its tip 700 ms later (not at 693).
    const scenario::Run explode = run("play_tip_explode.sim");
    ASSERT_EQ(explode.states.size(), 4u);
    EXPECT_EQ(explode.states[0]["flights"], 1);
    EXPECT_EQ(explode.states[2]["menuActive"], 0);
    EXPECT_EQ(explode.states[2]["flights"], 0) << "the bonus's flight has landed";
    EXPECT_EQ(explode.states[3]["dialogStack"], json::array({7}));
    EXPECT_EQ(explode.states[3]["screenStack"], json::array({13, 15}));

    // Left before it opened, the tip does not follow into the next run.
    const scenario::Run left = run("play_tip_left.sim");
    ASSERT_EQ(left.states.size(), 2u);
    EXPECT_EQ(left.states[0]["requests"]["explodeTipPending"], 1);
    EXPECT_EQ(left.states[1]["playState"], 1);
    EXPECT_EQ(left.states[1]["menuActive"], 0);

    // The first shuffle: its tip opens over the sweep, which waits behind it.
    const scenario::Run shuffle = run("play_tip_shuffle.sim");
    ASSERT_EQ(shuffle.states.size(), 3u);
    EXPECT_EQ(shuffle.states[0]["playState"], 12);
    EXPECT_EQ(shuffle.states[1]["dialogStack"], json::array({10}));
    EXPECT_EQ(shuffle.states[1]["screenStack"], json::array({13, 15}));
    EXPECT_EQ(shuffle.states[2]["shuffleTick"], shuffle.states[1]["shuffleTick"]);
}

TEST(PlayScenario, ACompletedGameOpensItsDialogOnce) {
    const scenario::Run r = run("play_complete.sim");
    ASSERT_EQ(r.states.size(), 2u);
    for (const json& s : r.states) {
        EXPECT_EQ(s["currentLevel"], 0);
        EXPECT_EQ(s["dialogStack"], json::array({9}));
        EXPECT_EQ(s["screenStack"], json::array({13}));
    }
    // The level's set-up ran once: its first step stops the level jingle.
    EXPECT_EQ(stops(r.states[1], rules::SoundLevelJingle), 1);
    EXPECT_EQ(r.states[1]["soundLog"].size(), r.states[0]["soundLog"].size());
}

TEST(PlayScenario, EscapeLeavesForTheTitleAndItsMusic) {
    const scenario::Run r = run("play_escape.sim");
    ASSERT_EQ(r.states.size(), 3u);
    const json& playing = r.states[0];
    EXPECT_EQ(playing["playState"], 2);
    EXPECT_GE(playing["musicOwner"], rules::SoundMusicAction);
    const json& title = r.states[1];
    EXPECT_EQ(title["playState"], 7);
    EXPECT_EQ(title["titleEnteredAt"], title["now"]);
    EXPECT_EQ(title["musicOwner"], rules::SoundMenuMusic);
    const int track = playing["musicOwner"];
    EXPECT_EQ(stops(title, track), stops(playing, track) + 1);
    for (const auto& id : title["soundsPlaying"]) EXPECT_LT(id.get<int>(), rules::SoundMusicAction);
}

// Golden frames, drawn from pictures the test writes itself so that every expected pixel is known.
class PlayGoldenFrame : public ::testing::Test {
  protected:
    void SetUp() override { scenario::prepareGameFolder(game_.path(), "play_levels.txt"); }

    picture_files::Picture shot(const std::string& script) {
        const std::filesystem::path file = game_.path() / "shot.png";
        std::istringstream in(script + "shot " + file.string() + "\n");
        std::ostringstream out, err;
        EXPECT_EQ(sim::runSimScript(in, {game_.path(), {}, 1}, out, err), 0) << err.str();
        return picture_files::read(file);
    }

    testing_support::TempFolder game_;
};

TEST_F(PlayGoldenFrame, ScoreAndLevelDigitsSitOnTheirPlaces) {
    // A sprite font whose ten digit glyphs are solid blocks, each of its own colour.
    auto digitColour = [](int d) { return 0xFF000000u | static_cast<uint32_t>(0x102030 + 0x0A1408 * d); };
    picture_files::Picture font = picture_files::solid(1140, 26, 0xFFFF00FF);
    for (int d = 0; d < 10; ++d)
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 15; ++x) font.pixels[static_cast<size_t>(y * 1140 + 15 * (52 + d) + x)] = digitColour(d);
    picture_files::write(game_.path() / "gfx/Font_Sprites.png", font, picture_files::Kind::PngOpaque);

    const picture_files::Picture frame = shot(
        "set revealFrames 1\nset gameMode 0\nset nextLevel 1\nset playState 0\ntick 6\n"
        "set totalScore 12000\nset levelScore 345\nset currentLevel 12\ntick\n");
    ASSERT_EQ(frame.width, 800);
    auto block = [&](int x, int y, int d) {
        for (int dy = 0; dy < 26; ++dy)
            for (int dx = 0; dx < 15; ++dx)
                if (frame.pixels[static_cast<size_t>((y + dy) * 800 + x + dx)] != digitColour(d)) return false;
        return true;
    };
    // 12345 on the arc for five digits, the level's 1 and 2 under the board.
    const int score[5][3] = {{361, 30, 1}, {377, 28, 2}, {393, 27, 3}, {409, 28, 4}, {425, 30, 5}};
    for (const auto& [x, y, d] : score) EXPECT_TRUE(block(x, y, d)) << x;
    EXPECT_TRUE(block(385, 551, 1));
    EXPECT_TRUE(block(401, 551, 2));
    EXPECT_FALSE(block(353, 32, 1)) << "no even-count place is used";
}

TEST_F(PlayGoldenFrame, IntermissionShowsTheNextGroupsBackgroundAndTitle) {
    const picture_files::Picture frame = shot("set gameMode 0\nset nextLevel 6\nset levelWon 1\nset playState 9\ntick 2\n");
    const std::optional<present::PixelImage> background =
        present::decodePicture(game_.path() / "gfx/backgrounds/background2.jpg");
    ASSERT_TRUE(background);
    ASSERT_EQ(frame.width * frame.height, 800 * 600);
    int titlePixels = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint32_t drawn = frame.pixels[static_cast<size_t>(y * 800 + x)] & 0xFFFFFF;
            const uint32_t picture = background->at(x, y) & 0xFFFFFF;
            // The group's title is written across the middle; everything else is the picture.
            if (y >= 288 && y < 288 + 26)
                titlePixels += drawn != picture ? 1 : 0;
            else
                ASSERT_EQ(drawn, picture) << x << "," << y;
        }
    EXPECT_GT(titlePixels, 500) << "the title is drawn";
}

}  // namespace
