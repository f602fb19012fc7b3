#include <gtest/gtest.h>

#include <cctype>

#include "flow/frame_tick.hpp"
#include "flow/screens.hpp"
#include "flow/window_proc.hpp"
#include "present/headless_platform.hpp"
#include "present/layout.hpp"
#include "present/menu_layout.hpp"
#include "support/test_support.hpp"

namespace {

using present::InputEvent;

// A game at play on a board without figures, in a mode whose clock counts from levelStartTime.
struct PlayingGame {
    testing_support::TempFolder folder;
    present::HeadlessPlatform platform;
    flow::Game game{platform, data::GameFolder(folder.path()), 7};

    static constexpr uint32_t kStart = 90000;
    static constexpr int kBonusCell = 45;
    static constexpr int32_t kBonusStamp = 99000;

    PlayingGame() {
        game.sound.keepLog();  // the tests read which music started and stopped
        game.screens.base = flow::Screen::Play;
        game.rules.playState = rules::StatePlaying;
        game.rules.gameMode = rules::GameMode::Strategy;
        game.rules.level.levelStartTime = kStart;
        for (int c = 0; c < rules::kColumns; ++c)
            for (int r = 0; r < rules::kRows; ++r)
                game.rules.board.cells[rules::cellIndex(c, r)] = static_cast<uint8_t>(1 + (c + 2 * r) % 5);
        game.rules.board.cellBonus[kBonusCell] = rules::BonusFreeze;
        game.rules.board.cellStamp[kBonusCell] = kBonusStamp;
    }
    uint32_t now() const { return platform.clock().now(); }
    void wait(uint32_t ms) { platform.manualClock().advance(ms); }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            platform.manualClock().advance(33);
            flow::frameTick(game);
        }
    }
    void send(InputEvent event) { flow::handleEvent(game, event); }
    void press(int x, int y, present::MouseButton button = present::MouseButton::Left, int clicks = 1) {
        platform.setPointer({x, y});
        InputEvent event;
        event.type = InputEvent::Type::ButtonDown;
        event.button = button;
        event.clicks = clicks;
        event.at = {x, y};
        send(event);
    }
    void key(present::Key k) {
        InputEvent event;
        event.type = InputEvent::Type::KeyDown;
        event.key = k;
        send(event);
    }
    // A letter key as the keyboard delivers it: the key, then the character it types.
    void letter(char c) {
        InputEvent event;
        event.type = InputEvent::Type::KeyDown;
        event.key = present::Key::Letter;
        event.character = static_cast<uint8_t>(std::toupper(c));
        send(event);
        event.type = InputEvent::Type::Character;
        event.character = static_cast<uint8_t>(std::tolower(c));
        send(event);
    }
    void type(InputEvent::Type t) {
        InputEvent event;
        event.type = t;
        send(event);
    }
    // The dialog host's two buttons.
    void pressOk() { press(160 + 306 + 80, 149 + 250 + 26); }
    void pressHideTips() { press(160 + 80, 149 + 250 + 26); }
    void openTip(int32_t dialog) { flow::openDialogPausingClock(game, dialog, flow::DialogBackdrop::Screen); }
    const flow::ScreenState& screens() const { return game.screens; }
};

bool logged(const flow::Game& game, rules::SoundId id, bool play) {
    for (const present::SoundLogEntry& e : game.sound.log())
        if (e.id == id && e.play == play) return true;
    return false;
}

TEST(Tips, ATipClosedOverASettlingBoardResumesPlayWithTheClockMovedOnByThePause) {
    PlayingGame g;
    g.game.rules.playState = rules::StateSettling;
    g.openTip(flow::DialogFreezeTip);
    const uint32_t opened = g.now();
    EXPECT_EQ(g.screens().screenStack, (std::vector<int32_t>{13, 15}));
    EXPECT_EQ(g.game.rules.board.cellStamp[PlayingGame::kBonusCell], static_cast<int32_t>(opened - PlayingGame::kBonusStamp));
    g.tick(60);
    EXPECT_EQ(g.game.rules.playState, rules::StateSettling) << "the play frame does not run under the tip";

    g.pressOk();
    const uint32_t paused = g.now() - opened;
    EXPECT_FALSE(g.screens().menuActive);
    EXPECT_TRUE(g.screens().screenStack.empty());
    EXPECT_TRUE(g.screens().dialogStack.empty());
    EXPECT_EQ(g.screens().dialogId, 0);
    EXPECT_EQ(g.game.rules.playState, rules::StatePlaying);
    EXPECT_EQ(g.game.rules.level.levelStartTime, PlayingGame::kStart + paused);
    EXPECT_EQ(g.game.rules.board.cellStamp[PlayingGame::kBonusCell], static_cast<int32_t>(PlayingGame::kBonusStamp + paused));
}

TEST(Tips, TwoTipsOpenedTogetherStopTheClockOnceAndTheLastToCloseStartsIt) {
    PlayingGame g;
    g.openTip(flow::DialogFreezeTip);
    const uint32_t opened = g.now();
    g.wait(100);
    g.openTip(flow::DialogScoreBoostTip);
    EXPECT_EQ(g.screens().screenStack, (std::vector<int32_t>{13, 15, 13, 15}));
    EXPECT_EQ(g.game.rules.level.pauseStart, opened) << "the second tip does not restart the pause";
    EXPECT_EQ(g.game.rules.board.cellStamp[PlayingGame::kBonusCell], static_cast<int32_t>(opened - PlayingGame::kBonusStamp))
        << "nor does it turn the bonus's age back";

    g.wait(1000);
    g.pressOk();
    EXPECT_EQ(g.screens().dialogId, flow::DialogFreezeTip);
    EXPECT_EQ(g.game.rules.level.levelStartTime, PlayingGame::kStart) << "the first tip still holds the clock";
    g.wait(500);
    g.pressOk();
    EXPECT_FALSE(g.screens().menuActive);
    EXPECT_EQ(g.game.rules.level.levelStartTime, PlayingGame::kStart + 1600);
    EXPECT_EQ(g.game.rules.board.cellStamp[PlayingGame::kBonusCell], PlayingGame::kBonusStamp + 1600);
}

TEST(Tips, HidingTipsClosesTheWaitingTipsWithTheirMarkersAndPlayGoesOn) {
    PlayingGame g;
    // The no-moves dialog stays: it is no tip.
    flow::openDialog(g.game, flow::DialogNoMoves, flow::DialogBackdrop::BackBuffer);
    g.openTip(flow::DialogExpiryTip);
    g.openTip(flow::DialogColorTip);
    g.wait(2000);
    g.pressHideTips();
    EXPECT_FALSE(g.game.rules.player.toShowTips);
    EXPECT_EQ(g.screens().screenStack, (std::vector<int32_t>{13}));
    EXPECT_EQ(g.screens().dialogStack, (std::vector<int32_t>{flow::DialogNoMoves}));
    EXPECT_EQ(g.screens().dialogId, flow::DialogNoMoves);
    EXPECT_EQ(g.game.rules.level.levelStartTime, PlayingGame::kStart + 2000) << "the clock runs again";

    // With only tips open, play itself continues.
    PlayingGame h;
    h.openTip(flow::DialogFreezeTip);
    h.wait(700);
    h.pressHideTips();
    EXPECT_FALSE(h.screens().menuActive);
    EXPECT_TRUE(h.screens().screenStack.empty());
    EXPECT_TRUE(h.screens().dialogStack.empty());
    EXPECT_EQ(h.game.rules.playState, rules::StatePlaying);
    EXPECT_EQ(h.game.rules.level.levelStartTime, PlayingGame::kStart + 700);
    h.tick();
    EXPECT_EQ(flow::activeScreen(h.game), flow::Screen::Play);
}

TEST(Dialogs, BackFromTheNoMovesAndGameCompleteDialogsEndsTheLevelOrTheGame) {
    PlayingGame g;
    g.game.rules.level.levelScore = 300;
    g.game.rules.level.totalScore = 1000;
    flow::openDialog(g.game, flow::DialogNoMoves, flow::DialogBackdrop::BackBuffer);
    g.pressHideTips();
    EXPECT_TRUE(g.screens().menuActive) << "the hidden second button takes no press";
    g.pressOk();
    EXPECT_FALSE(g.screens().menuActive);
    EXPECT_EQ(g.game.rules.playState, rules::StateLevelOver);
    EXPECT_FALSE(g.game.rules.level.levelWon);

    // After the last level the game goes to the title, and so does the music.
    PlayingGame h;
    flow::openDialog(h.game, flow::DialogGameComplete, flow::DialogBackdrop::Prepared);
    h.pressOk();
    EXPECT_FALSE(h.screens().menuActive);
    EXPECT_EQ(h.game.screens.base, flow::Screen::Title);
    EXPECT_TRUE(logged(h.game, rules::SoundMusicSpace, false));
    EXPECT_TRUE(logged(h.game, rules::SoundMenuMusic, true));
}

TEST(WindowMode, AltEnterOnADesktopThatRefusesAWindowStaysFullScreenAndSaysSo) {
    PlayingGame g;
    g.game.screens.base = flow::Screen::Title;
    g.platform.setDesktopMode({2, 1024});
    g.type(InputEvent::Type::AltEnter);
    EXPECT_FALSE(g.game.profiles.windowed);
    EXPECT_FALSE(g.game.display.windowedRefused);
    EXPECT_EQ(g.screens().screenStack, (std::vector<int32_t>{13}));
    EXPECT_EQ(g.screens().dialogId, flow::DialogModeSwitched);
    g.pressOk();
    EXPECT_FALSE(g.screens().menuActive);

    // In a level the same dialog stops the clock behind it, as a tip does.
    PlayingGame play;
    play.game.rules.level.levelRunning = true;
    play.platform.setDesktopMode({2, 1024});
    play.type(InputEvent::Type::AltEnter);
    EXPECT_EQ(play.screens().screenStack, (std::vector<int32_t>{13, 15}));
    EXPECT_EQ(play.game.rules.level.pauseStart, play.now());
    play.wait(1000);
    play.pressOk();
    EXPECT_EQ(play.game.rules.level.levelStartTime, PlayingGame::kStart + 1000) << "the clock skipped the dialog";

    // A desktop that can host a window takes the switch silently, both ways.
    PlayingGame h;
    h.game.screens.base = flow::Screen::Title;
    h.type(InputEvent::Type::AltEnter);
    EXPECT_TRUE(h.game.profiles.windowed);
    EXPECT_TRUE(h.platform.windowed());
    EXPECT_FALSE(h.screens().menuActive);
    h.type(InputEvent::Type::AltEnter);
    EXPECT_FALSE(h.game.profiles.windowed);
}

TEST(PlayScreenInput, SideButtonsHaveHalfOpenBoundsAndAPausedGameOnlyResumes) {
    PlayingGame g;
    g.press(154, 296);
    EXPECT_EQ(g.game.rules.playState, rules::StatePlaying) << "one pixel right of the back button";
    g.press(646, 303);
    EXPECT_EQ(g.screens().base, flow::Screen::Pause);
    EXPECT_EQ(g.game.rules.level.pauseStart, g.now());

    // The first press, key or right press after a pause resumes and does nothing else.
    g.wait(500);
    g.press(300, 200);
    EXPECT_EQ(g.screens().base, flow::Screen::Play);
    EXPECT_EQ(g.game.rules.playState, rules::StatePlaying);
    EXPECT_FALSE(g.game.rules.moves.pendingBlockTurn.active);
    EXPECT_EQ(g.game.rules.level.levelStartTime, PlayingGame::kStart + 500);
    g.press(646, 350);
    g.key(present::Key::Left);
    EXPECT_EQ(g.game.rules.playState, rules::StatePlaying) << "the key resumed rather than turned the board";
    // S resumes too, and its character buys no shuffle; the next S does.
    g.game.rules.settings.swap = {4, 4, 4, 4, 4};
    g.game.rules.player.toShowTips = false;
    g.game.rules.level.limit = 60;
    g.game.rules.level.remaining = 60;
    g.press(646, 350);
    g.letter('s');
    EXPECT_EQ(g.screens().base, flow::Screen::Play);
    EXPECT_EQ(g.game.rules.playState, rules::StatePlaying);
    EXPECT_EQ(g.game.rules.level.remaining, 60);
    g.tick();
    g.letter('s');
    EXPECT_EQ(g.game.rules.playState, rules::StateShuffle);
    for (int i = 0; i < 300 && g.game.rules.playState != rules::StatePlaying; ++i) g.tick();
    ASSERT_EQ(g.game.rules.playState, rules::StatePlaying);
    g.press(646, 350);
    g.press(300, 200, present::MouseButton::Right, 2);
    EXPECT_EQ(g.screens().base, flow::Screen::Pause) << "a double click neither resumes nor turns";
    g.press(300, 200, present::MouseButton::Right);
    EXPECT_EQ(g.screens().base, flow::Screen::Play);
    EXPECT_EQ(g.game.rules.playState, rules::StatePlaying);
    EXPECT_FALSE(g.game.rules.moves.pendingBlockTurn.active);

    // The options button holds the clock under its marker; back leaves for the title.
    g.press(36, 303);
    EXPECT_EQ(g.screens().screenStack, (std::vector<int32_t>{11, 15}));
    g.press(160 + 306 + 80, 32 + 482 + 26);
    EXPECT_FALSE(g.screens().menuActive);
    EXPECT_FALSE(logged(g.game, rules::SoundMenuMusic, true));
    g.press(153, 296);
    EXPECT_EQ(g.game.screens.base, flow::Screen::Title);
    EXPECT_TRUE(logged(g.game, rules::SoundMusicAction, false));
    EXPECT_TRUE(logged(g.game, rules::SoundMenuMusic, true));
}

// The title's mode buttons: a saved run at level 2 or later offers to continue it at its level, one
// at level 1 offers a new game or level 1, none starts at once.
TEST(TitleButtons, TheSavedLevelChoosesTheScreenThatOffersToContinue) {
    for (const auto& [saved, screen] : {std::pair{2, flow::ScreenStartLater}, std::pair{1, flow::ScreenStartLevelOne}}) {
        PlayingGame g;
        g.game.screens.base = flow::Screen::Title;
        g.game.profiles.players.emplace_back();
        g.game.profiles.players.back().showHelpBeforeGame = 0;
        g.game.profiles.players.back().savedRun(rules::GameMode::Action)->level = static_cast<int8_t>(saved);
        g.press(present::layout::kTitleButtons[1].x + 10, present::layout::kTitleButtons[1].y + 10);
        EXPECT_EQ(g.screens().menuScreen, screen) << saved;
    }
}

// The options' sliders and boxes take a press on every edge of their areas, the far ones too.
TEST(OptionsScreen, SlidersAndBoxesTakePressesOnTheirFarEdges) {
    PlayingGame g;
    g.game.screens.base = flow::Screen::Title;
    g.game.profiles.players.emplace_back();
    flow::openMenuScreen(g.game, flow::ScreenOptions);
    const rules::Rect music = present::menu::kMusicSliderArea, tips = present::menu::kOptionBoxAreas[1];
    g.press(music.x + music.w, music.y + music.h);
    EXPECT_TRUE(g.screens().menuLive.musicSliderDrag);
    const uint8_t tipsBefore = g.game.profiles.players.back().toShowTips;
    g.press(tips.x + tips.w, tips.y + tips.h);
    EXPECT_NE(g.game.profiles.players.back().toShowTips, tipsBefore);
    g.press(tips.x + tips.w + 1, tips.y);
    EXPECT_NE(g.game.profiles.players.back().toShowTips, tipsBefore) << "one pixel further is outside";
}

}  // namespace
