#include "game/runes.hpp"

#include "game/pause.hpp"
#include "rules_fixture.hpp"

namespace {

struct Runes : rules_test::RulesFixture {
    void SetUp() override {
        state.gameMode = rules::GameMode::Action;
        state.playState = rules::StatePlaying;
        def().colors = 7;
        def().bonusRatio = {0, 0, 0, 0, 5};
        setRows(rules_test::quietRows());
    }

    int bonuses(rules::BonusKind kind) const {
        return static_cast<int>(std::count(state.board.cellBonus.begin(), state.board.cellBonus.end(), kind));
    }
    int allBonuses() const { return rules::kCellCount - bonuses(rules::BonusNone); }

    void update() { rules::updateRuneMeter(state, services); }
};

TEST_F(Runes, EighteenthPointLightsTheLastSlotAndPaysOut) {
    state.runePoints = 17;
    update();
    for (int j = 0; j < 18; ++j) EXPECT_EQ(state.runeSlots[j].state, j < 17 ? 1 : 0) << j;
    EXPECT_EQ(allBonuses(), 0);
    EXPECT_TRUE(sound.played.empty());

    state.runePoints = 18;
    update();
    EXPECT_EQ(state.runePoints, 0);
    EXPECT_EQ(bonuses(rules::BonusScoreBoost), 1);
    for (const rules::RuneSlot& slot : state.runeSlots) EXPECT_EQ(slot.state, 2);
    EXPECT_EQ(sound.played, (std::vector<rules::SoundId>{rules::SoundBonusAppear, rules::SoundDisappear}));

    ASSERT_EQ(state.requests.bonusFlights.size(), 1u);
    const rules::BonusFlightRequest flight = state.requests.bonusFlights[0];
    EXPECT_EQ(flight.pictureRow, 4);
    EXPECT_TRUE(flight.startSlot == 4 || flight.startSlot == 13);
    const int cell = rules::cellIndex(flight.column, flight.row);
    EXPECT_EQ(state.board.cellBonus[cell], rules::BonusScoreBoost);
    EXPECT_EQ(state.board.cellStamp[cell], static_cast<int32_t>(clock.now()));
}

TEST_F(Runes, WeightsChooseTheKindAndUniversalPlacesSeveral) {
    def().bonusRatio = {1, 0, 1, 0, 0};
    for (int n = 0; n < 30; ++n) {
        state.runePoints = 18;
        update();
    }
    EXPECT_GT(bonuses(rules::BonusExplode), 0);
    EXPECT_GT(bonuses(rules::BonusFreeze), 0);
    EXPECT_EQ(bonuses(rules::BonusExplode) + bonuses(rules::BonusFreeze), 30);

    state.board.cellBonus.fill(0);
    state.requests.bonusFlights.clear();
    def().bonusRatio = {0, 0, 0, 1, 0};
    state.settings.universal = 3;
    for (int n = 0; n < 4; ++n) {
        state.runePoints = 18;
        update();
    }
    EXPECT_EQ(bonuses(rules::BonusUniversal), 12);
    ASSERT_EQ(state.requests.bonusFlights.size(), 12u);
    for (const rules::BonusFlightRequest& f : state.requests.bonusFlights) {
        EXPECT_EQ(f.pictureRow, 3);
        EXPECT_TRUE(f.startSlot == 7 || f.startSlot == 16);
    }

    // No weights: the meter still fills and empties, but nothing is placed.
    state.board.cellBonus.fill(0);
    def().bonusRatio = {0, 0, 0, 0, 0};
    state.runePoints = 36;
    update();
    EXPECT_EQ(state.runePoints, 18);
    EXPECT_EQ(allBonuses(), 0);
}

TEST_F(Runes, PayoutSearchEndsWhileTheClockStandsStill) {
    // Every ball carries a bonus already: nothing qualifies, and the payout must still end.
    state.board.cellBonus.fill(rules::BonusFreeze);
    state.runePoints = 18 * 5;
    update();
    EXPECT_EQ(state.runePoints, 18 * 4);
    EXPECT_EQ(bonuses(rules::BonusFreeze), 100);

    // One free ball left: the search finds it although the clock does not move.
    state.board.cellBonus[rules::cellIndex(7, 3)] = 0;
    update();
    EXPECT_EQ(state.board.cellBonus[rules::cellIndex(7, 3)], rules::BonusScoreBoost);

    // An empty board takes no bonus either.
    state.board.clear();
    def().bonusRatio = {0, 0, 0, 1, 0};
    state.settings.universal = 1000000;
    state.runePoints = 18 * 3;
    update();
    EXPECT_EQ(allBonuses(), 0);
}

TEST_F(Runes, BonusesExpireAfterTheirDurationButNotWhilePaused) {
    def().bonusDuration = 5000;
    setBonus(2, 3, rules::BonusExplode);
    clock.advance(4999);
    rules::expireBonuses(state, services);
    EXPECT_EQ(state.board.cellBonus[rules::cellIndex(2, 3)], rules::BonusExplode);
    clock.advance(1);
    rules::expireBonuses(state, services);
    EXPECT_EQ(state.board.cellBonus[rules::cellIndex(2, 3)], 0);
    EXPECT_EQ(state.board.cellStamp[rules::cellIndex(2, 3)], 0);
    EXPECT_NE(at(2, 3), 0);
    EXPECT_EQ(state.effects.burst, (std::vector<rules::EffectEntry>{{2, 3, 0}}));

    // A pause does not count towards a bonus's lifetime.
    setBonus(6, 1, rules::BonusColor);
    clock.advance(1000);
    rules::pauseLevel(state, services);
    clock.advance(60000);
    rules::resumeLevel(state, services);
    clock.advance(3999);
    rules::expireBonuses(state, services);
    EXPECT_EQ(state.board.cellBonus[rules::cellIndex(6, 1)], rules::BonusColor);
    clock.advance(1);
    rules::expireBonuses(state, services);
    EXPECT_EQ(state.board.cellBonus[rules::cellIndex(6, 1)], 0);

    // BonusDuration 0: bonuses stay for good.
    def().bonusDuration = 0;
    setBonus(6, 1, rules::BonusColor);
    clock.advance(1000000);
    rules::expireBonuses(state, services);
    EXPECT_EQ(state.board.cellBonus[rules::cellIndex(6, 1)], rules::BonusColor);
}

TEST_F(Runes, FirstLevelsOfEachBonusPropertyStopAtTheFirstMissingLevel) {
    rules::LevelDefinition plain, expiring, explode, freezeAndScore, colour;
    expiring.bonusDuration = 9000;
    explode.bonusRatio = {3, 0, 0, 0, 0};
    freezeAndScore.bonusRatio = {0, 0, 2, 0, 1};
    colour.bonusRatio = {0, 4, 0, 0, 0};
    addLevel(rules::GameMode::Action, 1, plain);
    addLevel(rules::GameMode::Action, 2, expiring);
    addLevel(rules::GameMode::Action, 3, explode);
    addLevel(rules::GameMode::Action, 4, freezeAndScore);
    addLevel(rules::GameMode::Action, 6, colour);  // after the gap at 5: never reached
    addLevel(rules::GameMode::Strategy, 1, colour);
    rules::computeBonusFirstLevels(state);
    EXPECT_EQ(state.bonusFirstLevel[0], (std::array<int32_t, 6>{2, 4, -1, -1, 3, 4}));
    EXPECT_EQ(state.bonusFirstLevel[1], (std::array<int32_t, 6>{-1, -1, -1, 1, -1, -1}));
    EXPECT_EQ(state.bonusFirstLevel[2], (std::array<int32_t, 6>{-1, -1, -1, -1, -1, -1}));
}

TEST_F(Runes, ExplodeTipIsRequestedOncePerLevelOnItsFirstLevel) {
    def().bonusRatio = {1, 0, 0, 0, 0};
    state.bonusFirstLevel[0][4] = 3;
    state.level.currentLevel = 3;
    state.runePoints = 18;
    update();
    const rules::RuleRequests& requests = state.requests;
    EXPECT_TRUE(requests.explodeTipPending);
    EXPECT_EQ(requests.explodeTipAt, clock.now());
    ASSERT_EQ(requests.bonusFlights.size(), 1u);
    const rules::BonusFlightRequest flight = requests.bonusFlights[0];
    EXPECT_EQ(requests.explodeTipColour, at(flight.column, flight.row) - 1);

    state.requests.explodeTipPending = false;
    clock.advance(100);
    state.runePoints = 18;
    update();
    EXPECT_FALSE(requests.explodeTipPending);

    // Another level, or a player without tips, gets none.
    state.requests.explodeTipShown = false;
    state.level.currentLevel = 4;
    state.runePoints = 18;
    update();
    EXPECT_FALSE(requests.explodeTipPending);
    state.level.currentLevel = 3;
    state.player.toShowTips = false;
    state.runePoints = 18;
    update();
    EXPECT_FALSE(requests.explodeTipPending);
}

TEST_F(Runes, LitSlotsHoldAndFadingSlotsGoDark) {
    state.runeSlots[0] = {1, 0};
    state.runeSlots[1] = {2, 5};
    std::vector<int> fading;
    for (int tick = 0; tick < 8; ++tick) {
        fading.push_back(state.runeSlots[1].state * 10 + state.runeSlots[1].counter);
        rules::advanceRuneSlots(state);
    }
    EXPECT_EQ(state.runeSlots[0].state, 1);
    EXPECT_EQ(state.runeSlots[0].counter, 5);
    EXPECT_EQ(fading, (std::vector<int>{25, 26, 27, 0, 0, 0, 0, 0}));
}

}  // namespace
