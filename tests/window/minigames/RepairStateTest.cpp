// The repair game on a controlled clock, with its real panel.
#include "MiniGameFixture.h"

#include "minigames/RepairState.h"

#include <event/MiniGameEvent.h>
#include <sound/Sound.h>

#include <MyGUI.h>

namespace {

// One step of this length moves the needle from 0 to exactly 0.5.
const double kToHalf = 0.4166666666666667;

class RepairGame : public MiniGameTest {
protected:
    void SetUp() override {
        MiniGameTest::SetUp();
        m_state = new application::RepairState();
        Push("RepairState", m_state);
    }
    application::RepairState* m_state = nullptr;
};

TEST_F(RepairGame, EnteringOpensThePanelStartsTheClockAndTheClick) {
    ASSERT_NE(m_state->panel(), nullptr);
    EXPECT_TRUE(m_state->IsListening());
    ASSERT_NE(m_state->sound(), nullptr);
    EXPECT_TRUE(m_state->sound()->IsPlaying());
    auto* hits = m_state->panel()->getWindow()->findWidget("hits")->castType<MyGUI::TextBox>();
    EXPECT_EQ(hits->getCaption(), "0");
    Step(1.0); // no key needed: the clock runs at once
    auto* time = m_state->panel()->getWindow()->findWidget("time")->castType<MyGUI::TextBox>();
    EXPECT_EQ(time->getCaption(), "0:14");
}

TEST_F(RepairGame, SpaceOnTheZoneEdgeIsAMissAndInsideIsAHit) {
    Step(1.0 / 60.0); // the needle bounces off 0 and turns right
    Step(kToHalf);
    ASSERT_EQ(m_state->value(), 0.5);
    Tap(OIS::KC_SPACE);
    EXPECT_EQ(m_state->hits(), -1);
    auto* hits = m_state->panel()->getWindow()->findWidget("hits")->castType<MyGUI::TextBox>();
    EXPECT_EQ(hits->getCaption(), "-1");
    Step(0.05 / 1.2); // 0.55
    Tap(OIS::KC_SPACE);
    Tap(OIS::KC_SPACE);
    Release(OIS::KC_SPACE);
    Tap(OIS::KC_LEFT);
    EXPECT_EQ(m_state->hits(), 1);
    EXPECT_EQ(hits->getCaption(), "1");
}

TEST_F(RepairGame, TenMissesScoreNothingAndTheResultGoesOutOnce) {
    for (int i = 0; i < 10; ++i)
        Tap(OIS::KC_SPACE); // the needle rests at 0
    EXPECT_EQ(m_state->hits(), -10);
    Run(14.9);
    Deliver();
    EXPECT_TRUE(m_results.games.empty()) << "15 seconds are not over yet";
    Run(0.2);
    Run(2.0); // the mission data has not popped the game yet
    Tap(OIS::KC_SPACE);
    Deliver();
    EXPECT_EQ(m_results.games, (std::vector<uint32_t>{event::MiniGameEvent::kRepair}));
    EXPECT_EQ(m_results.scores, (std::vector<uint32_t>{0}));
    EXPECT_EQ(m_results.order, (std::vector<std::string>{"game", "score"}));
}

TEST_F(RepairGame, HitsScoreFiveHundredEachAndTheNeedleCarriesOverToTheNextPlay) {
    Step(1.0 / 60.0);
    Step(kToHalf + 0.05 / 1.2);
    Tap(OIS::KC_SPACE);
    Tap(OIS::KC_SPACE);
    Tap(OIS::KC_SPACE);
    const double needle = m_state->value();
    Run(15.0, 1.0);
    Deliver();
    EXPECT_EQ(m_results.scores, (std::vector<uint32_t>{1500}));
    const double endNeedle = m_state->value();
    EXPECT_NE(endNeedle, needle);

    m_app->PopState();
    EXPECT_FALSE(m_state->IsListening());
    EXPECT_FALSE(m_state->sound()->IsPlaying());
    EXPECT_EQ(m_state->panel(), nullptr);
    Settle();
    ASSERT_TRUE(m_app->PushState("RepairState"));
    EXPECT_EQ(m_state->hits(), 0);
    EXPECT_EQ(m_state->value(), endNeedle);
    Run(16.0);
    Deliver();
    EXPECT_EQ(m_results.games.size(), 2u) << "a new entry sends its own result";
}

TEST_F(RepairGame, PauseStopsKeysAndResumeTakesThemAgain) {
    ASSERT_TRUE(m_state->Pause());
    EXPECT_FALSE(m_state->IsListening());
    Tap(OIS::KC_SPACE);
    EXPECT_EQ(m_state->hits(), 0);
    m_state->Resume();
    Tap(OIS::KC_SPACE);
    EXPECT_EQ(m_state->hits(), -1);
}

} // namespace
