// The baggage game on a controlled clock, with its real panel.
#include "MiniGameFixture.h"

#include "minigames/BaggageState.h"

#include <event/MiniGameEvent.h>
#include <sound/Sound.h>

#include <MyGUI.h>

#include <cmath>

namespace {

class BaggageGame : public MiniGameTest {
protected:
    void SetUp() override {
        MiniGameTest::SetUp();
        m_state = new application::BaggageState();
        Push("BaggageState", m_state);
    }
    // One counted key per frame: Right, Left, Right...
    void Alternate(int count) {
        for (int i = 0; i < count; ++i) {
            Tap(m_next);
            m_next = m_next == OIS::KC_RIGHT ? OIS::KC_LEFT : OIS::KC_RIGHT;
            Step(1.0 / 60.0);
        }
    }
    application::BaggageState* m_state = nullptr;
    OIS::KeyCode m_next = OIS::KC_RIGHT;
};

TEST_F(BaggageGame, TheClockWaitsForTheFirstKey) {
    ASSERT_NE(m_state->panel(), nullptr);
    EXPECT_TRUE(m_state->sound()->IsPlaying());
    Run(70.0, 1.0);
    EXPECT_EQ(m_state->elapsed(), 0.0);
    EXPECT_TRUE(IsCurrent(m_state));
    Tap(OIS::KC_LEFT); // starts the clock without counting: Left was the last arrow
    Step(1.0);
    EXPECT_EQ(m_state->elapsed(), 1.0);
    EXPECT_EQ(m_state->progress(), 0.0);
    auto* time = m_state->panel()->getWindow()->findWidget("time")->castType<MyGUI::TextBox>();
    EXPECT_EQ(time->getCaption(), "0:59");
}

TEST_F(BaggageGame, RepeatingAKeyCountsNothing) {
    Tap(OIS::KC_RIGHT);
    Step(0.1);
    Tap(OIS::KC_RIGHT);
    Step(0.1);
    Tap(OIS::KC_RIGHT);
    Step(0.1);
    EXPECT_EQ(m_state->progress(), 1.0);
}

TEST_F(BaggageGame, TheHundredAndFirstAlternationWins) {
    Alternate(100);
    Deliver();
    EXPECT_EQ(m_state->progress(), 100.0);
    EXPECT_TRUE(m_results.games.empty()) << "a full bar is not yet a win";
    auto* indicator = m_state->panel()->getWindow()->findWidget("indicator");
    EXPECT_EQ(indicator->getLeft(), m_state->panel()->travel());

    Alternate(1);
    const double left = 60.0 - m_state->elapsed();
    Alternate(30); // further frames before the pop change nothing
    Deliver();
    EXPECT_EQ(m_results.games, (std::vector<uint32_t>{event::MiniGameEvent::kBaggage}));
    EXPECT_EQ(m_results.scores, (std::vector<uint32_t>{static_cast<uint32_t>(std::floor(left)) * 100}));
    EXPECT_EQ(m_results.scores.front(), 5800u); // 101 frames
}

TEST_F(BaggageGame, RunningOutOfTimePopsWithoutAResult) {
    Alternate(50);
    Run(60.0);
    Deliver();
    EXPECT_FALSE(IsCurrent(m_state));
    EXPECT_EQ(m_app->CurrentState(), m_ground);
    EXPECT_TRUE(m_results.games.empty());
    EXPECT_TRUE(m_results.scores.empty());
    EXPECT_FALSE(m_state->IsListening());
    EXPECT_FALSE(m_state->sound()->IsPlaying());
    EXPECT_EQ(m_state->progress(), 0.0);

    // The next play starts its clock at once: the game stays active.
    Settle();
    ASSERT_TRUE(m_app->PushState("BaggageState"));
    Step(1.0);
    EXPECT_EQ(m_state->elapsed(), 1.0);
}

TEST_F(BaggageGame, PauseStopsTheClockUntilAKeyAfterResume) {
    Tap(OIS::KC_RIGHT);
    Step(1.0);
    ASSERT_TRUE(m_state->Pause());
    EXPECT_FALSE(m_state->active());
    m_state->Resume();
    Step(1.0);
    EXPECT_EQ(m_state->elapsed(), 1.0);
    ASSERT_NE(m_state->panel(), nullptr);
}

} // namespace
