#include <gtest/gtest.h>

#include <sstream>

#include "flow/game.hpp"
#include "flow/screens.hpp"
#include "monkey.hpp"
#include "present/layout.hpp"
#include "present/menus.hpp"
#include "sim/session.hpp"
#include "soak.hpp"
#include "support/test_support.hpp"

namespace {

using testing_support::builtGameFolder;
using testing_support::TempFolder;
namespace menu = present::menu;

soak::SoakResult soakFor(uint32_t seed, int64_t ticks, const std::filesystem::path& data) {
    soak::SoakOptions options;
    options.seed = seed;
    options.ticks = ticks;
    options.gameDir = builtGameFolder();
    options.dataDir = data;
    options.checkEvery = 100;
    std::ostringstream out, err;
    soak::SoakResult result = soak::runSoak(options, out, err);
    EXPECT_TRUE(err.str().empty()) << err.str();
    return result;
}

// A soak is only worth its ticks if a seed replays: the same seed gives the same game, tick for tick,
// and another seed another one.
TEST(Soak, ASeedReplaysTheSameGame) {
    TempFolder a, b, c;
    const soak::SoakResult first = soakFor(11, 1000, a.path());
    const soak::SoakResult again = soakFor(11, 1000, b.path());
    const soak::SoakResult other = soakFor(12, 1000, c.path());
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.ticks, 1000);
    EXPECT_EQ(first.steps, again.steps);
    EXPECT_EQ(first.screenTicks, again.screenTicks);
    EXPECT_EQ(first.last.lists, again.last.lists);
    EXPECT_EQ(testing_support::readFile(a.path() / "profile" / "profile"),
              testing_support::readFile(b.path() / "profile" / "profile"));
    EXPECT_NE(first.screenTicks, other.screenTicks);
    // The monkey gets past the logo and the first name to the title, and into a game.
    EXPECT_GT(first.screenTicks.count("title"), 0u);
    EXPECT_GT(first.screenTicks.count("play state 2"), 0u);
}

// What the monkey clicks on a screen is that screen's own controls: a menu screen's buttons (by the
// strict test the game uses), the title's buttons, the board and the play screen's buttons.
class MonkeyOnScreens : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::SimOptions options;
        options.gameDir = builtGameFolder();
        options.writeDir = data_.path();
        options.seed = 5;
        options.soundLog = false;
        std::ostringstream out;
        session_ = sim::SimSession::launch(options, out);
        ASSERT_NE(session_, nullptr);
        // Past the logo: the title, with a first player named.
        flow::Game& game = session_->game();
        flow::showTitle(game);
        while (!game.screens.screenStack.empty()) flow::closeMenuScreen(game);
    }

    // The fraction of the first clicks of `steps` monkey steps that `hits` accepts.
    template <typename Hit>
    double hitShare(uint32_t seed, int steps, Hit hits) {
        soak::Monkey monkey(seed);
        int clicks = 0, hit = 0;
        for (int i = 0; i < steps; ++i) {
            std::vector<sim::SimCommand> step;
            monkey.nextStep(session_->game(), step);
            for (const sim::SimCommand& c : step) {
                if (c.kind != sim::SimCommand::Kind::Click) continue;
                ++clicks;
                hit += hits(present::Point{c.x, c.y}) ? 1 : 0;
                break;
            }
        }
        EXPECT_GT(clicks, steps / 4);
        return clicks == 0 ? 0.0 : static_cast<double>(hit) / clicks;
    }

    TempFolder data_;
    std::unique_ptr<sim::SimSession> session_;
};

TEST_F(MonkeyOnScreens, ClicksLandOnTheControlsOfTheScreenShowing) {
    flow::Game& game = session_->game();
    for (int32_t screen :
         {menu::ScreenQuit, menu::ScreenHighScores, menu::ScreenStartLater, menu::ScreenHelpModes, menu::ScreenHelpMoreHints}) {
        flow::openMenuScreen(game, screen);
        const double share = hitShare(static_cast<uint32_t>(screen), 300, [&](present::Point p) {
            return present::menuActionAt(screen, game.screens.dialogId, p) >= 0;
        });
        EXPECT_GT(share, 0.8) << "menu screen " << screen;
        flow::closeMenuScreen(game);
    }

    flow::openMenuScreen(game, menu::ScreenOptions);
    const double options = hitShare(21, 400, [](present::Point p) {
        for (const rules::Rect& box : menu::kOptionBoxAreas)
            if (box.containsInclusive(p)) return true;
        return present::menuActionAt(menu::ScreenOptions, 0, p) >= 0;
    });
    EXPECT_GT(options, 0.8);
    flow::closeMenuScreen(game);
    ASSERT_FALSE(game.screens.menuActive);

    const double title = hitShare(22, 300, [](present::Point p) {
        for (size_t i = 0; i < present::layout::kTitleButtons.size(); ++i) {
            const present::layout::Point at = present::layout::kTitleButtons[i];
            const present::layout::Point glass = static_cast<int>(i) < present::layout::kTitleBigButtons
                                                     ? present::layout::kBigGlass
                                                     : present::layout::kSmallGlass;
            if (p.x >= at.x && p.x < at.x + glass.x && p.y >= at.y && p.y < at.y + glass.y) return true;
        }
        return false;
    });
    EXPECT_GT(title, 0.7) << "the rest are the pointer's wanderings and clicks anywhere";

    game.screens.base = flow::Screen::Play;
    game.rules.playState = rules::StatePlaying;
    const double play = hitShare(23, 400, [](present::Point p) {
        const bool onBoard = p.x >= rules::kBoardLeft && p.x < rules::kBoardLeft + 5 * rules::kBlockPitch &&
                             p.y >= rules::kBoardTop && p.y < rules::kBoardTop + 5 * rules::kBlockPitch;
        bool onButton = false;
        for (const present::layout::PlayButton& b : present::layout::kPlayButtons)
            onButton = onButton || (p.x >= b.rect.x && p.x < b.rect.x + b.rect.w && p.y >= b.rect.y && p.y < b.rect.y + b.rect.h);
        return onBoard || onButton;
    });
    EXPECT_GT(play, 0.8);
}

// The soak fails when a list goes past its bound, and only then.
TEST(Soak, AListPastItsBoundFailsTheSample) {
    soak::Sample sample;
    for (const auto& [name, bound] : soak::listBounds()) sample.lists[name] = bound;
    EXPECT_TRUE(soak::listsOverBound(sample).empty());
    sample.lists["fireworks"] = soak::listBounds().at("fireworks") + 1;
    sample.lists["soundLog"] = 1;
    const std::vector<std::string> over = soak::listsOverBound(sample);
    ASSERT_EQ(over.size(), 2u);
    EXPECT_NE(over[0].find("fireworks"), std::string::npos);
    EXPECT_NE(over[1].find("soundLog"), std::string::npos);
    const std::string line = soak::sampleLine(sample);
    EXPECT_NE(line.find("VmRSS"), std::string::npos);
    EXPECT_NE(line.find("soundLog=1"), std::string::npos);
}

}  // namespace
