// The achievement and mission end windows with the real layouts, the real
// user-data store and the real event manager.
#include "UiTestSupport.h"
#include "UiWorld.h"

#include "support/TempDir.h"

#include "event/MiniGameEvent.h"
#include "event/MissionEndedEvent.h"
#include "event/ScoreEvent.h"
#include "game/GameCore.h"
#include "game/MissionData.h"
#include "replay/ReplayStore.h"
#include "game/Statistics.h"
#include "ui/AchievementWindow.h"
#include "ui/HUDScore.h"
#include "ui/MissionEnd.h"

#include <base/UserData.h>
#include <replay/Recording.h>
#include <replay/ReplayFile.h>
#include <display/Core.h>
#include <event/ApplicationStateEvent.h>
#include <event/DialogEvent.h>
#include <event/IListener.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// Every request the windows send, in order.
class Requests : public event::IListener {
public:
    Requests() {
        event::Manager::getSingleton()->AddListener(*this, event::ApplicationStateEvent::kEventType);
        event::Manager::getSingleton()->AddListener(*this, event::DialogEvent::kEventType);
        event::Manager::getSingleton()->AddListener(*this, event::ScoreEvent::kEventType);
    }
    ~Requests() override {
        event::Manager::getSingleton()->RemoveListener(*this, event::ApplicationStateEvent::kEventType);
        event::Manager::getSingleton()->RemoveListener(*this, event::DialogEvent::kEventType);
        event::Manager::getSingleton()->RemoveListener(*this, event::ScoreEvent::kEventType);
    }
    const char* Name() override { return "Requests"; }
    bool HandleEvent(const event::IEvent& event) override {
        if (event.event_type() == event::ApplicationStateEvent::kEventType) {
            const auto& request = static_cast<const event::ApplicationStateEvent&>(event);
            states.push_back((request.type() == event::ApplicationStateEvent::PUSH_STATE ? "push " : "pop ") +
                             request.state());
        } else if (event.event_type() == event::DialogEvent::kEventType) {
            dialogs.push_back(static_cast<const event::DialogEvent&>(event).GetType().string());
        } else {
            const auto& score = static_cast<const event::ScoreEvent&>(event);
            if (score.kind() == event::ScoreEvent::kTotal)
                lastTotal = score.value();
        }
        return false;
    }
    std::vector<std::string> states;
    std::vector<std::string> dialogs;
    unsigned lastTotal = 0;
};

class ResultWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_ui = m_world->ui;
        testing::internal::CaptureStderr();
        m_data = std::make_unique<base::UserData>(m_dir.file("user_data.xml"));
        m_stats = std::make_unique<base::Statistics>();
        m_stderrCaptured = true;
    }
    void TearDown() override {
        // Nothing of one test may stay open for the next.
        for (const base::StringHash* type : {&ui::AchievementWindow::kDialogType, &ui::MissionEnd::kDialogType}) {
            if (ui::Dialog* open = m_ui->GetDialog(*type))
                open->exitWindow();
        }
        settle();
        m_stats.reset();
        m_data.reset();
        if (m_stderrCaptured)
            testing::internal::GetCapturedStderr();
    }
    std::string takeStderr() {
        m_stderrCaptured = false;
        return testing::internal::GetCapturedStderr();
    }
    // Lets every slide end.
    void settle() { m_world->advance(0.6f, 12); }

    MyGUI::Widget* widget(ui::Dialog* dialog, const std::string& name) {
        return dialog ? dialog->getWindow()->findWidget(name) : nullptr;
    }
    void key(event::KeyEvent::EKeyEventType type, OIS::KeyCode code) {
        event::Manager::getSingleton()->Fire(event::KeyEvent(type, code));
    }
    // The mean brightness (0-1) of a screen rectangle after drawing a frame.
    float brightness(const MyGUI::IntCoord& area) {
        m_world->draw();
        const Ogre::Image image = uitest::grab(m_world->core->getRenderWindow());
        float sum = 0.0f;
        for (int y = area.top; y < area.bottom(); ++y)
            for (int x = area.left; x < area.right(); ++x) {
                const Ogre::ColourValue c = image.getColourAt(x, y, 0);
                sum += (c.r + c.g + c.b) / 3.0f;
            }
        return sum / static_cast<float>(area.width * area.height);
    }

    UiWorld* m_world = nullptr;
    ui::Manager* m_ui = nullptr;
    TempDir m_dir;
    std::unique_ptr<base::UserData> m_data;
    std::unique_ptr<base::Statistics> m_stats;
    bool m_stderrCaptured = false;
};

TEST_F(ResultWindowsTest, AchievementWindowListsTenBadgesWithTheirTexts) {
    m_ui->toggleDialog(ui::AchievementWindow::kDialogType);
    ui::Dialog* window = m_ui->GetDialog(ui::AchievementWindow::kDialogType);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(takeStderr().find("has no"), std::string::npos);

    int expectedTop = 0;
    for (int i = 1; i <= 10; ++i) {
        const std::string prefix = "achievement" + std::to_string(i) + "/";
        MyGUI::Widget* entry = widget(window, prefix + "achievement");
        ASSERT_NE(entry, nullptr) << i;
        EXPECT_EQ(entry->getTop(), expectedTop) << i;
        expectedTop += entry->getHeight() + ui::AchievementWindow::kEntrySpacing;

        auto* image = widget(window, prefix + "achievement_image");
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(image->getNeedToolTip());
        EXPECT_EQ(image->getUserString("tooltip"), "#{achievement_desc" + std::to_string(i) + "}");
        auto* text = widget(window, prefix + "achievement_text")->castType<MyGUI::TextBox>();
        const std::string caption = text->getCaption();
        EXPECT_FALSE(caption.empty()) << i;
        EXPECT_EQ(caption.find("#{"), std::string::npos) << caption;
    }
    EXPECT_EQ(widget(window, "achievement11/achievement"), nullptr);
    auto* list = widget(window, "achievements_panel")->castType<MyGUI::ScrollView>();
    EXPECT_EQ(list->getCanvasSize().height, expectedTop);
    EXPECT_EQ(expectedTop, 10 * (74 + 10));

    // Centred on the 1024 x 768 screen at the size of its layout.
    settle();
    const MyGUI::IntCoord at = window->getWindow()->getCoord();
    EXPECT_EQ(at.left, (1024 - at.width) / 2);
    EXPECT_EQ(at.top, (768 - at.height) / 2);
}

TEST_F(ResultWindowsTest, BadgesNotEarnedAreDrawnDimmed) {
    // The same icon before and after it is earned, on screen.
    auto iconArea = [&]() {
        m_ui->toggleDialog(ui::AchievementWindow::kDialogType);
        ui::Dialog* window = m_ui->GetDialog(ui::AchievementWindow::kDialogType);
        settle();
        return widget(window, "achievement2/achievement_image")->getAbsoluteCoord();
    };
    const MyGUI::IntCoord area = iconArea();
    const float dimmed = brightness(area);
    m_ui->toggleDialog(ui::AchievementWindow::kDialogType);
    settle();
    ASSERT_EQ(m_ui->GetDialog(ui::AchievementWindow::kDialogType), nullptr);

    for (int i = 0; i < 3; ++i)
        event::Manager::getSingleton()->Fire(event::MiniGameEvent(0, event::MiniGameEvent::kPump));
    ASSERT_TRUE(m_data->GetBool("achievements", "achievement2", false));
    EXPECT_EQ(iconArea(), area);
    const float earned = brightness(area);
    EXPECT_GT(earned, 0.05f);
    EXPECT_NEAR(dimmed / earned, 0.2f, 0.08f) << dimmed << " against " << earned;
}

TEST_F(ResultWindowsTest, EscapeClosesTheAchievementWindowOnRelease) {
    m_ui->toggleDialog(ui::AchievementWindow::kDialogType);
    ui::Dialog* window = m_ui->GetDialog(ui::AchievementWindow::kDialogType);
    ASSERT_NE(window, nullptr);
    settle();
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_ESCAPE);
    EXPECT_FALSE(window->IsExiting());
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_RETURN);
    EXPECT_FALSE(window->IsExiting());
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_ESCAPE);
    EXPECT_TRUE(window->IsExiting());
    // A second Escape and the back button during the slide-out change nothing.
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_ESCAPE);
    uitest::click(widget(window, "btn_back"));
    settle();
    EXPECT_EQ(m_ui->GetDialog(ui::AchievementWindow::kDialogType), nullptr);
    // Gone means no longer listening: another Escape reaches nobody.
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_ESCAPE);

    m_ui->toggleDialog(ui::AchievementWindow::kDialogType);
    window = m_ui->GetDialog(ui::AchievementWindow::kDialogType);
    ASSERT_NE(window, nullptr);
    settle();
    uitest::click(widget(window, "btn_back"));
    EXPECT_TRUE(window->IsExiting());
    settle();
    EXPECT_EQ(m_ui->GetDialog(ui::AchievementWindow::kDialogType), nullptr);
}

// A mission whose last step is a mini-game, run through the mission data,
// the statistics, the UI manager and the mission end window.
class MissionRun : public ResultWindowsTest {
protected:
    void SetUp() override {
        ResultWindowsTest::SetUp();
        TempDir::write(m_dir.file("mission5.xml"),
                       R"(<mission number="5"><mini_game game="PumpState"/></mission>)");
        m_mission = std::make_unique<game::MissionData>(nullptr, nullptr, nullptr,
                                                         m_world->core->getSceneManager());
        m_mission->set_mission_folder(m_dir.path() + "/");
    }
    void TearDown() override {
        m_mission.reset();
        ResultWindowsTest::TearDown();
    }
    // Plays mission 5: the pump game reports its points and its result.
    void play(unsigned points) {
        ASSERT_TRUE(m_mission->Load(5));
        m_mission->Start();
        event::Manager* events = event::Manager::getSingleton();
        events->Fire(event::ScoreEvent(points, event::ScoreEvent::kIncrement));
        events->Fire(event::MiniGameEvent(0, event::MiniGameEvent::kPump));
        events->Tick();
        m_mission->Update(1.0 / 60.0); // the end is announced here
        events->Tick();
    }
    std::string caption(const char* name) {
        auto* text = widget(m_ui->GetDialog(ui::MissionEnd::kDialogType), name);
        return text ? text->castType<MyGUI::TextBox>()->getCaption().asUTF8() : "<missing>";
    }

    std::unique_ptr<game::MissionData> m_mission;
};

TEST_F(MissionRun, StoredHighscoreEqualsTheShownScoreAndTheHudTotal) {
    Requests seen;
    auto* hud = new ui::HUDScore();
    play(1234);
    ASSERT_NE(m_ui->GetDialog(ui::MissionEnd::kDialogType), nullptr);
    EXPECT_EQ(caption("score_old"), ""); // never completed before
    EXPECT_EQ(caption("score_new"), "1234");
    EXPECT_EQ(seen.lastTotal, 1234u);
    EXPECT_EQ(hud->text()->getCaption().asUTF8(), "1234");
    EXPECT_EQ(m_data->GetString("mission5", "highscore", ""), "1234");
    EXPECT_EQ(m_data->GetInt("mission5", "count", 0), 1);
    hud->exitWindow();

    m_ui->GetDialog(ui::MissionEnd::kDialogType)->exitWindow();
    settle();
    play(1000);
    EXPECT_EQ(caption("score_old"), "1234"); // read before the statistics store the new record
    EXPECT_EQ(caption("score_new"), "1000");
    if (const char* shots = std::getenv("KB_UI_SHOTS")) {
        settle();
        m_world->draw();
        uitest::grab(m_world->core->getRenderWindow()).save(std::string(shots) + "/mission-end.png");
    }
    EXPECT_EQ(m_data->GetString("mission5", "highscore", ""), "1234");
    EXPECT_EQ(m_data->GetInt("mission5", "count", 0), 2);
}

TEST_F(MissionRun, ContinueAsksOnceForTheSelectionAndAPopBackToTheMenu) {
    play(10);
    ui::Dialog* window = m_ui->GetDialog(ui::MissionEnd::kDialogType);
    ASSERT_NE(window, nullptr);
    settle();
    Requests seen;
    MyGUI::Widget* next = widget(window, "btn_success_continue");
    uitest::click(next);
    uitest::click(next); // a double click lands during the slide-out
    EXPECT_TRUE(window->IsExiting());
    // Deliver only to the recorder: the selection window is not under test here.
    std::vector<std::string> expectedStates = {"pop MainMenu"};
    event::Manager::getSingleton()->RemoveListener(*m_ui, event::DialogEvent::kEventType);
    event::Manager::getSingleton()->Tick();
    event::Manager::getSingleton()->AddListener(*m_ui, event::DialogEvent::kEventType);
    EXPECT_EQ(seen.states, expectedStates);
    EXPECT_EQ(seen.dialogs, std::vector<std::string>{"MissionSelectWindow"});
    settle();
    EXPECT_EQ(m_ui->GetDialog(ui::MissionEnd::kDialogType), nullptr);
}

TEST_F(MissionRun, WatchReplayWaitsForTheKeptRunThenWatchesIt) {
    game::GameCore core;
    play(10);
    ui::Dialog* window = m_ui->GetDialog(ui::MissionEnd::kDialogType);
    ASSERT_NE(window, nullptr);
    MyGUI::Widget* watch = widget(window, "btn_success_watch");
    EXPECT_FALSE(watch->getEnabled()) << "no run of mission 5 was kept";
    window->exitWindow();
    settle();

    replay::Recording run;
    run.set_mission(5);
    run.set_variant(core.vehicle_variant());
    run.frames().push_back({0.0, {}, {}});
    std::string why;
    ASSERT_TRUE(replay::ReplayFile::Save(game::ReplayStore::LastPath(5, core.vehicle_variant()), run, why)) << why;
    m_mission->Clear();
    play(10);
    window = m_ui->GetDialog(ui::MissionEnd::kDialogType);
    ASSERT_NE(window, nullptr);
    settle();
    watch = widget(window, "btn_success_watch");
    EXPECT_TRUE(watch->getEnabled());
    Requests seen;
    uitest::click(watch);
    uitest::click(watch);
    event::Manager::getSingleton()->Tick();
    EXPECT_EQ(seen.states, (std::vector<std::string>{"pop MainMenu", "push GameState"}));
    EXPECT_EQ(core.replay_file(), game::ReplayStore::LastPath(5, core.vehicle_variant()));
    settle();
}

TEST_F(ResultWindowsTest, MissionEndWithoutARunningMissionSaysSoOnce) {
    takeStderr();
    testing::internal::CaptureStderr();
    m_ui->toggleDialog(ui::MissionEnd::kDialogType);
    ui::Dialog* window = m_ui->GetDialog(ui::MissionEnd::kDialogType);
    ASSERT_NE(window, nullptr);
    const std::string err = takeStderr();
    EXPECT_NE(err.find("MissionEnd: no mission is running"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(widget(window, "score_old")->castType<MyGUI::TextBox>()->getCaption(), "");
    event::Manager::getSingleton()->Fire(event::MissionEndedEvent(3, 77, 0));
    EXPECT_EQ(widget(window, "score_new")->castType<MyGUI::TextBox>()->getCaption(), "77");
}

} // namespace
