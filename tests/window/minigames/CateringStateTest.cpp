// The catering game on a controlled clock, with its real panels.
#include "MiniGameFixture.h"

#include "minigames/CateringState.h"

#include <event/MiniGameEvent.h>
#include <sound/Sound.h>

#include <MyGUI.h>

#include <cmath>

namespace {

const double kFrame = 1.0 / 60.0;
// Down held for these times from the top of the lift ends exactly on these heights.
const double kDownTo090 = 0.1333333333333333;
const double kDownTo087 = 0.17333333333333334;
const double kUpTo085 = 1.1333333333333333;

class CateringGame : public MiniGameTest {
protected:
    void SetUp() override {
        MiniGameTest::SetUp();
        m_state = new application::CateringState();
        Push("CateringState", m_state);
    }
    void Hold(OIS::KeyCode key, double seconds) {
        Press(key);
        Step(seconds);
        Release(key);
    }
    // Raises the box to the top, then lowers it for the given time.
    void TopThenDown(double seconds) {
        Hold(OIS::KC_UP, 2.0);
        ASSERT_EQ(m_state->value(), 1.0);
        Hold(OIS::KC_DOWN, seconds);
    }
    // Left and Right in turn, one key per frame, until the loading ends.
    void Load() {
        OIS::KeyCode next = OIS::KC_RIGHT;
        for (int i = 0; i < 1000 && m_state->phase() == application::CateringState::kLoad; ++i) {
            Tap(next);
            next = next == OIS::KC_RIGHT ? OIS::KC_LEFT : OIS::KC_RIGHT;
            Step(kFrame);
        }
    }
    MyGUI::TextBox* time(ui::Dialog* panel) const {
        return panel->getWindow()->findWidget("time")->castType<MyGUI::TextBox>();
    }
    application::CateringState* m_state = nullptr;
};

TEST_F(CateringGame, EnteringOpensTheLiftWithItsZoneAndWaitsForAKey) {
    ASSERT_NE(m_state->lift_panel(), nullptr);
    EXPECT_EQ(m_state->load_panel(), nullptr);
    EXPECT_TRUE(m_state->updown_sound()->IsPlaying());
    EXPECT_FALSE(m_state->load_sound()->IsPlaying());
    auto* zone = m_state->lift_panel()->getWindow()->findWidget("img_hitbox");
    EXPECT_EQ(zone->getTop(), static_cast<int>(0.1 * m_state->lift_panel()->travel()));
    Run(10.0);
    EXPECT_EQ(m_state->elapsed(), 0.0);
}

TEST_F(CateringGame, SpaceOnTheZoneEdgesDoesNothingAndInsideStartsLoading) {
    Hold(OIS::KC_UP, kUpTo085);
    ASSERT_EQ(m_state->value(), 0.85);
    Tap(OIS::KC_SPACE);
    EXPECT_EQ(m_state->phase(), application::CateringState::kRaise);

    TopThenDown(kDownTo090);
    ASSERT_EQ(m_state->value(), 0.9);
    Tap(OIS::KC_SPACE);
    EXPECT_EQ(m_state->phase(), application::CateringState::kRaise);
    EXPECT_NE(m_state->lift_panel(), nullptr);

    TopThenDown(kDownTo087);
    ASSERT_NEAR(m_state->value(), 0.87, 1e-12);
    Tap(OIS::KC_SPACE);
    EXPECT_EQ(m_state->phase(), application::CateringState::kLoad);
    EXPECT_EQ(m_state->lift_panel(), nullptr);
    ASSERT_NE(m_state->load_panel(), nullptr);
    EXPECT_EQ(m_state->value(), 0.0);
    EXPECT_FALSE(m_state->updown_sound()->IsPlaying());
    EXPECT_TRUE(m_state->load_sound()->IsPlaying());
    Deliver();
    EXPECT_EQ(m_results.scores,
              (std::vector<uint32_t>{static_cast<uint32_t>(std::floor(45.0 - m_state->elapsed())) * 10}));
}

TEST_F(CateringGame, RepeatingAnArrowLoadsNothingAndTheFirstLeftDoesNotCount) {
    TopThenDown(kDownTo087);
    Tap(OIS::KC_SPACE);
    ASSERT_EQ(m_state->phase(), application::CateringState::kLoad);
    Tap(OIS::KC_LEFT);
    Step(kFrame);
    Tap(OIS::KC_LEFT);
    Step(kFrame);
    EXPECT_EQ(m_state->value(), 0.0);
    Tap(OIS::KC_RIGHT);
    Step(kFrame);
    Tap(OIS::KC_LEFT);
    Step(kFrame);
    EXPECT_DOUBLE_EQ(m_state->value(), 2 * 0.0075);
    auto* needle = m_state->load_panel()->getWindow()->findWidget("indicator");
    EXPECT_EQ(needle->getLeft(), static_cast<int>(0.015 * m_state->load_panel()->travel()));
}

TEST_F(CateringGame, AWholePlayScoresWhatItsFormulasGiveAndEndsOnce) {
    TopThenDown(kDownTo087);
    const double raised = m_state->elapsed();
    Tap(OIS::KC_SPACE);
    Load();
    ASSERT_EQ(m_state->phase(), application::CateringState::kLower);
    const double loaded = m_state->elapsed();
    EXPECT_EQ(m_state->value(), 0.85);
    ASSERT_NE(m_state->lift_panel(), nullptr);
    EXPECT_TRUE(m_state->updown_sound()->IsPlaying());
    EXPECT_FALSE(m_state->load_sound()->IsPlaying());

    Press(OIS::KC_DOWN);
    for (int i = 0; i < 600 && !m_state->ResultSent(); ++i)
        Step(kFrame);
    ASSERT_TRUE(m_state->ResultSent());
    const double lowered = m_state->elapsed();
    Run(2.0); // frames before the mission data pops the game
    Release(OIS::KC_DOWN);
    Deliver();
    EXPECT_EQ(m_results.games, (std::vector<uint32_t>{event::MiniGameEvent::kCatering}));
    const std::vector<uint32_t> expected{static_cast<uint32_t>(std::floor(45.0 - raised)) * 10,
                                         static_cast<uint32_t>((45.0 - loaded) * 100),
                                         static_cast<uint32_t>(std::floor(45.0 - lowered)) * 10};
    EXPECT_EQ(m_results.scores, expected);
    EXPECT_EQ(m_results.order.back(), "game");
    EXPECT_EQ(m_state->lift_panel(), nullptr);
    EXPECT_EQ(m_state->load_panel(), nullptr);

    m_app->PopState();
    EXPECT_EQ(m_state->phase(), application::CateringState::kRaise);
    EXPECT_FALSE(m_state->updown_sound()->IsPlaying());
}

TEST_F(CateringGame, AfterTheLimitTheGameGoesOnWithoutTimeBonuses) {
    Hold(OIS::KC_UP, 46.0);
    auto* text = time(m_state->lift_panel());
    EXPECT_EQ(text->getCaption().asUTF8().substr(0, 1), "-");
    Hold(OIS::KC_DOWN, kDownTo087);
    Tap(OIS::KC_SPACE);
    ASSERT_EQ(m_state->phase(), application::CateringState::kLoad);
    Load();
    Press(OIS::KC_DOWN);
    for (int i = 0; i < 600 && !m_state->ResultSent(); ++i)
        Step(kFrame);
    Release(OIS::KC_DOWN);
    Deliver();
    EXPECT_EQ(m_results.games, (std::vector<uint32_t>{event::MiniGameEvent::kCatering}));
    EXPECT_TRUE(m_results.scores.empty());
}

TEST_F(CateringGame, ReenteringStartsAgainWithTheLiftButKeepsTheLastArrow) {
    TopThenDown(kDownTo087);
    Tap(OIS::KC_SPACE);
    Tap(OIS::KC_RIGHT); // counts: Right is now the last arrow
    Step(kFrame);
    m_app->PopState();
    EXPECT_EQ(m_state->load_panel(), nullptr);
    EXPECT_FALSE(m_state->IsListening());
    Settle();
    ASSERT_TRUE(m_app->PushState("CateringState"));
    EXPECT_EQ(m_state->phase(), application::CateringState::kRaise);
    EXPECT_NE(m_state->lift_panel(), nullptr);
    TopThenDown(kDownTo087);
    Tap(OIS::KC_SPACE);
    Tap(OIS::KC_RIGHT); // the same arrow as last time counts nothing
    Step(kFrame);
    EXPECT_EQ(m_state->value(), 0.0);
}

} // namespace
