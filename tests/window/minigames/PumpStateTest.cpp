// The fuel pump game on a controlled clock, with its real panel.
#include "MiniGameFixture.h"

#include "minigames/PumpState.h"

#include <event/MiniGameEvent.h>
#include <sound/Sound.h>

#include <MyGUI.h>

#include <cmath>

namespace {

const double kFrame = 1.0 / 60.0;

class PumpGame : public MiniGameTest {
protected:
    void SetUp() override {
        MiniGameTest::SetUp();
        m_state = new application::PumpState(60.0);
        Push("PumpState", m_state);
    }
    // Holds Up at frame steps until the amount reaches the given value.
    void PumpTo(double amount) {
        Press(OIS::KC_UP);
        while (m_state->amount() < amount)
            Step(kFrame);
        Release(OIS::KC_UP);
    }
    // Lets the level run down at the given step until the game is won or time is up.
    void RunDown(double step) {
        for (long i = 0; i < 100000000L && !m_state->ResultSent() && IsCurrent(m_state); ++i)
            Step(step);
    }
    MyGUI::TextBox* text(const char* name) const {
        return m_state->panel()->getWindow()->findWidget(name)->castType<MyGUI::TextBox>();
    }
    application::PumpState* m_state = nullptr;
};

TEST_F(PumpGame, EnteringShowsTargetAndAmountAndWaitsForAKey) {
    ASSERT_NE(m_state->panel(), nullptr);
    EXPECT_EQ(text("target")->getCaption(), "1000");
    EXPECT_EQ(text("current_value")->getCaption(), "0");
    EXPECT_TRUE(m_state->sound()->IsPlaying());
    Run(5.0);
    EXPECT_EQ(m_state->elapsed(), 0.0);
}

TEST_F(PumpGame, ReleasingUpAt999StillEndsTheGameNear1066) {
    PumpTo(999.0);
    const double released = m_state->amount();
    ASSERT_LT(released, 1001.0);
    EXPECT_EQ(m_state->level(), 1.0);
    RunDown(kFrame);
    Deliver();
    ASSERT_EQ(m_results.games, (std::vector<uint32_t>{event::MiniGameEvent::kPump}));
    // A full level falls to zero in 4/3 s and pumps 66.7 units meanwhile.
    EXPECT_NEAR(m_state->amount() - released, 66.7, 1.0);
    EXPECT_NEAR(m_state->amount(), 1066.0, 2.0);
    EXPECT_EQ(m_state->level(), 0.0);
    const double bonus = std::max(0.0, 5000.0 - (m_state->amount() - 1000.0) * 10.0);
    EXPECT_EQ(m_results.scores, (std::vector<uint32_t>{static_cast<uint32_t>(std::floor(60.0 - m_state->elapsed())) * 50,
                                                       static_cast<uint32_t>(bonus)}));
    EXPECT_EQ(m_results.order, (std::vector<std::string>{"game", "score", "score"}));
}

TEST_F(PumpGame, EndingAtExactly1010GivesTheBonusMinus100AndFiftyPerSecondLeft) {
    Press(OIS::KC_UP);
    Step(1.0); // the level is full at once; 100 units
    Step(9.0); // 1000
    Step(0.1); // 1010
    ASSERT_EQ(m_state->amount(), 1010.0);
    Release(OIS::KC_UP);
    Deliver();
    EXPECT_TRUE(m_results.games.empty()) << "the game cannot end while the level is above 0";
    Step(2.0); // the level falls to 0 within this step and pumps nothing more
    Deliver();
    EXPECT_EQ(m_results.games, (std::vector<uint32_t>{event::MiniGameEvent::kPump}));
    EXPECT_EQ(m_results.scores, (std::vector<uint32_t>{47 * 50, 4900}));
    EXPECT_EQ(text("current_value")->getCaption(), "1010");
    Run(3.0); // the result goes out once, however long the pop takes
    Deliver();
    EXPECT_EQ(m_results.games.size(), 1u);
    EXPECT_EQ(m_results.scores.size(), 2u);
}

TEST_F(PumpGame, DownEmptiesTwiceAsFastAsLettingGo) {
    Press(OIS::KC_UP);
    Step(1.0);
    Release(OIS::KC_UP);
    Press(OIS::KC_DOWN);
    Step(0.25);
    EXPECT_DOUBLE_EQ(m_state->level(), 1.0 - 2.0 * 0.75 * 0.25);
    Release(OIS::KC_DOWN);
    Step(0.25);
    EXPECT_DOUBLE_EQ(m_state->level(), 1.0 - 3.0 * 0.75 * 0.25);
    auto* arrow = m_state->panel()->getWindow()->findWidget("arrow");
    EXPECT_EQ(arrow->getLeft(), static_cast<int>(m_state->level() * m_state->panel()->travel()));
}

TEST_F(PumpGame, TheAmountDoesNotDependOnTheFrameRate) {
    // Pumped at frame steps, then run down once at 1 microsecond steps and once at frame steps.
    PumpTo(999.0);
    const double released = m_state->amount();
    RunDown(1e-6);
    ASSERT_TRUE(m_state->ResultSent());
    const double fine = m_state->amount() - released;

    m_app->PopState();
    Settle();
    ASSERT_TRUE(m_app->PushState("PumpState"));
    EXPECT_EQ(m_state->amount(), 0.0);
    PumpTo(999.0);
    const double releasedAgain = m_state->amount();
    RunDown(kFrame);
    ASSERT_TRUE(m_state->ResultSent());
    EXPECT_NEAR(m_state->amount() - releasedAgain, fine, 1.0);
    EXPECT_NEAR(fine, 200.0 / 3.0, 0.01);
}

TEST_F(PumpGame, RunningOutOfTimePopsWithoutAResult) {
    Press(OIS::KC_UP);
    Run(59.0, 1.0);
    EXPECT_TRUE(IsCurrent(m_state));
    EXPECT_EQ(text("time")->getCaption(), "0:01");
    Step(1.5);
    Deliver();
    EXPECT_EQ(m_app->CurrentState(), m_ground);
    EXPECT_TRUE(m_results.games.empty());
    EXPECT_TRUE(m_results.scores.empty());
    EXPECT_FALSE(m_state->sound()->IsPlaying());
    EXPECT_EQ(m_state->amount(), 0.0);
    EXPECT_EQ(m_state->level(), 1.0) << "the level is kept for the next play";
    Release(OIS::KC_UP);
}

} // namespace
