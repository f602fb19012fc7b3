#include <gtest/gtest.h>

#include <fstream>

#include "data/profiles.hpp"
#include "game/sound_ids.hpp"
#include "scenario_support.hpp"

namespace {

using nlohmann::json;

scenario::Run run(const std::string& name, const std::function<void(const std::filesystem::path&)>& prepare = nullptr) {
    scenario::Run r = scenario::runScenario(name, prepare);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r;
}

// The branding file with the studio's logo switched off (its sixth line).
void withoutStudioLogo(const std::filesystem::path& game) {
    std::ofstream(game / "gfx" / "logo" / "trader.ini") << "1\n676\n548\n112\n44\n0\n1\n262\n4\n276\n52\n";
}

// No player file: the first start.
void firstStart(const std::filesystem::path& game) { std::filesystem::remove_all(game / "profile"); }

// The checksum `state` gives for a black picture.
std::string blackChecksum() {
    uint64_t checksum = 1469598103934665603ull;
    for (int i = 0; i < 800 * 600; ++i) checksum = checksum * 1099511628211ull;
    return std::to_string(checksum);
}

int ms(const json& state) { return state["now"].get<int>() - 100000; }

json glowOf(const json& state, const char* which, int button) { return state[which][button]; }

TEST(ScreensScenario, TheOpeningLastsFiveAndAHalfSecondsWithTheStudioLogoAndFourAndAHalfWithout) {
    const scenario::Run with = run("screens_logo.sim");
    const scenario::Run without = run("screens_logo.sim", withoutStudioLogo);
    ASSERT_EQ(with.states.size(), 7u);
    ASSERT_EQ(without.states.size(), 7u);
    const int tickOfTitle = 167;  // 167 * 33 = 5511 ms
    for (size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(ms(with.states[i]));
        EXPECT_EQ(with.states[i]["playState"], ms(with.states[i]) >= 5500 ? 7 : 11);
        EXPECT_EQ(without.states[i]["playState"], ms(without.states[i]) >= 4500 ? 7 : 11);
    }
    // The menu music starts on the tick the opening ends.
    EXPECT_EQ(with.states[6]["soundLog"], json::array({json::array({tickOfTitle, rules::SoundMenuMusic, "play"})}));
    EXPECT_EQ(without.states[4]["soundLog"], json::array({json::array({137, rules::SoundMenuMusic, "play"})}));
    EXPECT_EQ(without.states[3]["soundLog"], json::array());

    // Without the studio logo its fade-out ends at 4000 ms: black until the title.
    const std::string black = blackChecksum();
    EXPECT_NE(without.states[1]["frameChecksum"], black) << "2970 ms: the studio logo shows";
    EXPECT_EQ(without.states[2]["frameChecksum"], black) << "4455 ms";
    EXPECT_EQ(without.states[3]["frameChecksum"], black) << "4488 ms";
    EXPECT_NE(with.states[3]["frameChecksum"], black) << "with it, the logo still shows at 4488 ms";
    EXPECT_NE(with.states[0]["frameChecksum"], black) << "990 ms: the splash logo fades";
}

TEST(ScreensScenario, TheFirstStartAsksForANameOnceTheOpeningLogosHaveEnded) {
    const scenario::Run r = run("screens_first_start.sim", firstStart);
    ASSERT_EQ(r.states.size(), 5u);
    // Under the logos the name screen waits on the stack; typing and clicks do not reach it.
    EXPECT_EQ(r.states[0]["playState"], 11);
    EXPECT_EQ(r.states[0]["screenStack"], json::array({4}));
    EXPECT_EQ(r.states[0]["nameEntryActive"], 1);
    EXPECT_EQ(r.states[1]["typedName"], "");
    EXPECT_EQ(r.states[1]["logoClicked"], 1);
    EXPECT_EQ(r.states[1]["screenStack"], json::array({4}));
    EXPECT_EQ(r.states[2]["playState"], 7);
    EXPECT_EQ(r.states[2]["menuScreen"], 4);
    EXPECT_EQ(r.states[3]["typedName"], "ANNA");
    const json& named = r.states[4];
    EXPECT_EQ(named["menuActive"], 0);
    ASSERT_EQ(named["players"].size(), 1u);
    EXPECT_EQ(named["players"][0]["name"], "ANNA");

    // The logos look the same with and without the name screen behind them.
    const scenario::Run newcomer = run("screens_logo.sim", firstStart);
    const scenario::Run known = run("screens_logo.sim");
    ASSERT_EQ(newcomer.states.size(), known.states.size());
    for (size_t i = 0; i + 1 < known.states.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(newcomer.states[i]["frameChecksum"], known.states[i]["frameChecksum"]);
    }
    EXPECT_NE(newcomer.states.back()["frameChecksum"], known.states.back()["frameChecksum"]) << "then the name screen shows";
}

TEST(ScreensScenario, EscapeOnTheTitleWaitsHalfASecondThenAsksToQuitOnce) {
    const scenario::Run r = run("screens_escape.sim");
    ASSERT_EQ(r.states.size(), 5u);
    const json& before = r.states[0];
    // 166 and 496 ms after the title was entered: no frame, no glow, no menu.
    for (int i : {1, 2}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.states[i]["menuActive"], 0);
        EXPECT_EQ(r.states[i]["frameChecksum"], before["frameChecksum"]);
        EXPECT_EQ(glowOf(r.states[i], "titleGlow", 1), json::array({0, 0})) << "the title frame did not run";
    }
    // 529 ms: the quit confirmation, and the title drawn under the pointer this once.
    EXPECT_EQ(r.states[3]["screenStack"], json::array({0}));
    EXPECT_EQ(glowOf(r.states[3], "titleGlow", 1), json::array({1, 0}));
    EXPECT_EQ(r.states[4]["screenStack"], json::array({0})) << "still held: opened once";
    EXPECT_EQ(r.states[4]["menuScreen"], 0);
}

TEST(ScreensScenario, AButtonEnteredForOneTickGlowsThroughItsSixFramesAndGoesDark) {
    const scenario::Run r = run("screens_glow.sim");
    ASSERT_EQ(r.states.size(), 18u);
    // After each tick: the glow as the hover test leaves it, which that tick draws.
    const json expected = json::array({{0, 0}, {1, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {0, 6}, {0, 6}});
    for (size_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(glowOf(r.states[i], "titleGlow", 1), expected[i]);
        EXPECT_EQ(glowOf(r.states[9 + i], "menuGlow", 1), i == 0 ? json::array({0, 0}) : expected[i]);
    }
    for (int base : {0, 9}) {
        SCOPED_TRACE(base);
        const auto frame = [&](int i) { return r.states[base + i]["frameChecksum"]; };
        EXPECT_NE(frame(1), frame(0)) << "frame 0 (half strength) is drawn";
        EXPECT_NE(frame(2), frame(1)) << "frame 1 at full strength";
        EXPECT_EQ(frame(5), frame(1)) << "frame 4 is drawn at frame 0's strength";
        EXPECT_NE(frame(6), frame(0)) << "frame 5 still glows faintly";
        EXPECT_EQ(frame(7), frame(0)) << "dark after the sixth tick";
    }
    // The title plays the hover sound once as the pointer enters; the menus stay quiet.
    EXPECT_EQ(scenario::played(r.states[17], rules::SoundMouseOver), 1);
}

TEST(ScreensScenario, TitleButtonsTakeTheirWholeGlassAndMenuButtonsOnlyItsInside) {
    const scenario::Run r = run("screens_bounds.sim");
    ASSERT_EQ(r.states.size(), 10u) << "the last press quits before the final state";
    // The Help button at (227, 409), 156 by 28.
    EXPECT_EQ(r.states[0]["menuActive"], 0) << "(383, 436)";
    EXPECT_EQ(r.states[1]["menuActive"], 0) << "(382, 437)";
    EXPECT_EQ(r.states[2]["menuActive"], 0) << "(226, 409)";
    EXPECT_EQ(r.states[3]["screenStack"], json::array({8})) << "(227, 409)";
    EXPECT_EQ(r.states[4]["screenStack"], json::array({8})) << "(382, 436)";
    // The quit confirmation's "No" at (408, 351): its glass's inside is x 418..572, y 364..390.
    EXPECT_EQ(r.states[5]["screenStack"], json::array({0}));
    EXPECT_EQ(r.states[6]["screenStack"], json::array({0})) << "edges and outside take no press";
    EXPECT_EQ(r.states[7]["menuActive"], 0) << "(418, 364) closes it";
    EXPECT_EQ(r.states[8]["menuActive"], 0) << "(572, 390) closes it";
    EXPECT_EQ(r.states[9]["screenStack"], json::array({0})) << "(227, 364) and (228, 363) miss \"Yes\"";
    EXPECT_EQ(scenario::played(r.states[9], rules::SoundMouseClick), 9) << "one click sound per hit";
}

TEST(ScreensScenario, EachTitleButtonOpensItsScreenAndBackShowsTheTitleAgain) {
    const scenario::Run r = run("screens_title_buttons.sim");
    ASSERT_EQ(r.states.size(), 14u);
    const json title = r.states[0]["frameChecksum"];
    struct Step {
        size_t open;
        int screen;
    };
    for (const Step& s : {Step{1, 1}, Step{4, 8}, Step{6, 11}, Step{8, 0}, Step{10, 3}}) {
        SCOPED_TRACE(s.screen);
        EXPECT_EQ(r.states[s.open]["screenStack"], json::array({s.screen}));
        EXPECT_EQ(r.states[s.open]["menuScreen"], s.screen);
        const json& after = r.states[s.open + 1];
        EXPECT_EQ(after["menuActive"], 0);
        EXPECT_EQ(after["screenStack"], json::array());
        EXPECT_EQ(after["playState"], 7);
        EXPECT_NE(after["frameChecksum"], r.states[s.open]["frameChecksum"]) << "the title is drawn on the next tick";
    }
    EXPECT_EQ(r.states[3]["frameChecksum"], title) << "the same title as before, once its glow has faded";

    // Action, with no saved run: the run starts at once and the rules help stands in front of it.
    const json& started = r.states[12];
    EXPECT_EQ(started["playState"], 9);
    EXPECT_EQ(started["gameMode"], 0);
    EXPECT_EQ(started["screenStack"], json::array({8}));
    const json& playing = r.states[13];
    EXPECT_EQ(playing["menuActive"], 0);
    EXPECT_NE(playing["playState"], 9) << "the play screen set the level up";
    EXPECT_NE(playing["playState"], 7);
}

TEST(ScreensScenario, ASavedRunOffersToContinueOrStartAnew) {
    const auto savedRuns = [](const std::filesystem::path& game) {
        data::Profiles profiles;
        profiles.players.emplace_back();
        profiles.players.back().setName("TESTER");
        profiles.players.back().actionPuzzle.level = 1;
        profiles.players.back().strategy.level = 4;
        profiles.players.back().strategy.total = 5000;
        const std::vector<uint8_t> bytes = data::serialiseProfiles(profiles);
        std::ofstream(game / "profile" / "profile", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    const scenario::Run r = run("screens_runs.sim", savedRuns);
    ASSERT_EQ(r.states.size(), 6u);
    // Action Puzzle saved at level 1: screen 6 under the help; New Game starts level 1.
    EXPECT_EQ(r.states[0]["screenStack"], json::array({6, 8}));
    EXPECT_EQ(r.states[0]["gameMode"], 3);
    EXPECT_EQ(r.states[0]["playState"], 7) << "nothing starts before the choice";
    EXPECT_EQ(r.states[1]["screenStack"], json::array({6}));
    EXPECT_EQ(r.states[2]["menuActive"], 0);
    EXPECT_EQ(r.states[2]["playState"], 9);
    EXPECT_EQ(r.states[2]["nextLevel"], 1);
    EXPECT_EQ(r.states[2]["totalScore"], 0);
    // Strategy saved at level 4: screen 7; Continue brings the run back.
    EXPECT_EQ(r.states[3]["screenStack"], json::array({7, 8}));
    EXPECT_EQ(r.states[3]["gameMode"], 1);
    EXPECT_EQ(r.states[4]["screenStack"], json::array({7}));
    EXPECT_EQ(r.states[5]["menuActive"], 0);
    EXPECT_EQ(r.states[5]["playState"], 9);
    EXPECT_EQ(r.states[5]["nextLevel"], 4);
    EXPECT_EQ(r.states[5]["totalScore"], 5000);
}

TEST(ScreensScenario, TheBoardUnderTheOptionsScreenTakesNoInputAndTheClockStopsOnce) {
    const scenario::Run r = run("screens_play_menu.sim");
    ASSERT_EQ(r.states.size(), 6u);
    const json &playing = r.states[0], &opened = r.states[1], &afterInput = r.states[2], &afterFocus = r.states[3],
               &closed = r.states[4], &later = r.states[5];
    ASSERT_EQ(playing["playState"], 2);
    EXPECT_EQ(opened["screenStack"], json::array({11, 15}));
    EXPECT_EQ(opened["pauseStart"], playing["now"]);

    // Arrow keys, right presses, double clicks and "s" reach no board behind the menu.
    EXPECT_EQ(afterInput["cells"], playing["cells"]);
    EXPECT_EQ(afterInput["playState"], 2);
    EXPECT_EQ(afterInput["pendingBlockTurn"], nullptr);
    EXPECT_EQ(afterInput["boardTurnFrame"], 0);

    // The focus went away and came back while the options screen held the clock.
    EXPECT_EQ(afterFocus["pauseStart"], opened["pauseStart"]);
    EXPECT_EQ(afterFocus["cellStamp"], opened["cellStamp"]) << "bonus ages stay ages";
    EXPECT_EQ(afterFocus["remaining"], playing["remaining"]);

    // Back resumes the level once, by the whole time the screen was open.
    const int paused = closed["now"].get<int>() - opened["pauseStart"].get<int>();
    EXPECT_EQ(closed["menuActive"], 0);
    EXPECT_EQ(closed["cellStamp"][45], playing["cellStamp"][45].get<int>() + paused);
    EXPECT_EQ(closed["remaining"], playing["remaining"]);
    EXPECT_EQ(later["remaining"], playing["remaining"].get<double>() - 1) << "the clock runs again";
}

TEST(ScreensScenario, TheHelpDemonstrationsRunOnlyOnTheHelpAndAFinishedGameHasFireworks) {
    const scenario::Run r = run("screens_menu_animations.sim");
    ASSERT_EQ(r.states.size(), 4u);
    const json& opened = r.states[0];
    const json& watched = r.states[1];
    const json& closed = r.states[2];
    EXPECT_EQ(opened["menuScreen"], 8);
    ASSERT_EQ(watched["helpDemos"].size(), 3u);
    for (size_t d = 0; d < 3; ++d)
        EXPECT_NE(watched["helpDemos"][d], opened["helpDemos"][d]) << "demonstration " << d << " stood still on the help";
    EXPECT_EQ(closed["menuActive"], 0);
    EXPECT_EQ(closed["helpDemos"], watched["helpDemos"]) << "the demonstrations wait where they were";

    const json& complete = r.states[3];
    EXPECT_EQ(complete["dialogId"], 9);
    EXPECT_GT(complete["fireworks"].get<int>(), 0);
}

}  // namespace
