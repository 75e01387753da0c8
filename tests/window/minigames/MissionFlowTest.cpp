// A mission whose last step is a mini-game, through the real event manager,
// application object and mission data: the game's points reach the
// mission's final score and the mission goes on when the game is won.
#include "MiniGameFixture.h"

#include "support/TempDir.h"

#include "event/MissionEndedEvent.h"
#include "game/MissionData.h"
#include "minigames/BaggageState.h"
#include "minigames/PumpState.h"
#include "minigames/RepairState.h"

#include <base/StringHash.h>
#include <base/UserData.h>
#include <event/ApplicationStateEvent.h>
#include <event/Manager.h>
#include <ui/Dialog.h>
#include <ui/Manager.h>

#include <memory>

namespace {

const int kMission = 7;

struct EndWatch : event::IListener {
    const char* Name() override { return "EndWatch"; }
    bool HandleEvent(const event::IEvent& event) override {
        const auto& ended = static_cast<const event::MissionEndedEvent&>(event);
        scores.push_back(ended.score());
        return false;
    }
    std::vector<uint32_t> scores;
};

class MissionFlow : public MiniGameTest {
protected:
    void SetUp() override {
        MiniGameTest::SetUp();
        m_world->events->AddListener(*m_app, event::ApplicationStateEvent::kEventType);
        m_world->events->AddListener(m_end, event::MissionEndedEvent::kEventType);
        m_user = std::make_unique<base::UserData>(m_dir.file("user_data.xml"));
        m_app->AddState("RepairState", m_repair = new application::RepairState());
        m_app->AddState("PumpState", m_pump = new application::PumpState(60.0));
        m_mission = std::make_unique<game::MissionData>(nullptr, nullptr, nullptr);
        m_mission->set_mission_folder(m_dir.path() + "/");
    }
    void TearDown() override {
        // A won mission opened its end window; it must not take the next test's keys.
        if (ui::Dialog* missionEnd = ui::Manager::getSingleton()->GetDialog(base::StringHash("MissionEnd")))
            missionEnd->exitWindow();
        m_mission->Clear();
        m_mission.reset();
        m_world->events->RemoveListener(m_end, event::MissionEndedEvent::kEventType);
        m_world->events->RemoveListener(*m_app, event::ApplicationStateEvent::kEventType);
        MiniGameTest::TearDown();
        m_user.reset();
    }
    void Start(const std::string& steps) {
        TempDir::write(m_mission->MissionFile(kMission), "<?xml version=\"1.0\"?>\n<mission>\n" + steps + "</mission>\n");
        ASSERT_TRUE(m_mission->Load(kMission));
        m_mission->Start();
    }
    // One pass of the game loop while the mission runs below the mini-game.
    void Frame() {
        Deliver();
        if (m_app->CurrentState() == m_ground)
            m_mission->Update(1.0 / 60.0);
        else
            Step(1.0 / 60.0);
    }

    TempDir m_dir;
    std::unique_ptr<base::UserData> m_user;
    std::unique_ptr<game::MissionData> m_mission;
    application::RepairState* m_repair = nullptr;
    application::PumpState* m_pump = nullptr;
    EndWatch m_end;
};

TEST_F(MissionFlow, TheRepairPointsAreInTheFinalScore) {
    Start("  <mini_game game=\"RepairState\"/>\n");
    ASSERT_EQ(m_app->CurrentState(), m_repair) << "the mission pushed its mini-game";
    Step(1.0 / 60.0);
    Step(0.4166666666666667 + 0.05 / 1.2);
    Tap(OIS::KC_SPACE);
    Tap(OIS::KC_SPACE);
    for (int i = 0; i < 1200 && m_end.scores.empty(); ++i)
        Frame();
    EXPECT_EQ(m_app->CurrentState(), m_ground) << "the mission popped the game";
    EXPECT_TRUE(m_mission->IsComplete());
    EXPECT_EQ(m_end.scores, (std::vector<uint32_t>{1000}));
    EXPECT_EQ(m_mission->score(), 1000u);
}

TEST_F(MissionFlow, ThePumpPointsAreInTheFinalScoreAndATimeoutIsNoEnd) {
    Start("  <mini_game game=\"PumpState\"/>\n");
    ASSERT_EQ(m_app->CurrentState(), m_pump);
    // First play: never lets go, so the time runs out and the game starts again.
    Press(OIS::KC_UP);
    for (int i = 0; i < 62 * 60 && m_app->CurrentState() == m_pump; ++i)
        Frame();
    Release(OIS::KC_UP);
    Frame();
    EXPECT_TRUE(m_end.scores.empty());
    ASSERT_EQ(m_app->CurrentState(), m_pump) << "the player gets another go";

    Press(OIS::KC_UP);
    Step(1.0);
    Step(9.0);
    Step(0.1); // 1010 units
    Release(OIS::KC_UP);
    Step(2.0);
    for (int i = 0; i < 600 && m_end.scores.empty(); ++i)
        Frame();
    EXPECT_EQ(m_app->CurrentState(), m_ground);
    EXPECT_EQ(m_end.scores, (std::vector<uint32_t>{47 * 50 + 4900}));
}

} // namespace
