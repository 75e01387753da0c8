// The mission selection with its real layouts, the real user-data store and
// the real preview models.
#include "UiTestSupport.h"
#include "StateRequests.h"
#include "UiWorld.h"
#include "game/GameCore.h"
#include "replay/ReplayStore.h"

#include <replay/Recording.h>
#include <replay/ReplayFile.h>

#include "support/TempDir.h"
#include "game/GameCore.h"

#include "ui/LoadingPanel.h"
#include "ui/MissionSelectWindow.h"
#include "ui/RenderBoxScene.h"
#include "ui/VehicleAlert.h"

#include <base/UserData.h>
#include <event/ApplicationStateEvent.h>
#include <event/IListener.h>
#include <event/Manager.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace {

class MissionSelectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_ui = m_world->ui;
        testing::internal::CaptureStderr(); // the store reports every key it creates
        m_data = std::make_unique<base::UserData>(m_dir.file("user_data.xml"));
    }
    void TearDown() override {
        for (const base::StringHash* type : {&ui::MissionSelectWindow::kDialogType, &ui::VehicleAlert::kDialogType,
                                             &ui::LoadingPanel::kDialogType})
            if (ui::Dialog* dialog = m_ui->GetDialog(*type))
                dialog->exitWindow();
        settle();
        EXPECT_EQ(m_ui->DialogCount(), 0u);
        m_data.reset();
        if (m_capturing)
            testing::internal::GetCapturedStderr();
    }
    // The store writes numbers only into sections that exist; reading creates them.
    void store(const std::string& section, const std::string& key, int value) {
        m_data->GetInt(section, key, 0);
        m_data->SetInt(section, key, value);
    }
    std::string takeStderr() {
        m_capturing = false;
        return testing::internal::GetCapturedStderr();
    }
    void settle() { m_world->advance(0.6f, 12); }

    ui::MissionSelectWindow* open() {
        m_ui->toggleDialog(ui::MissionSelectWindow::kDialogType);
        auto* window = static_cast<ui::MissionSelectWindow*>(m_ui->GetDialog(ui::MissionSelectWindow::kDialogType));
        settle();
        return window;
    }
    MyGUI::Widget* widget(const std::string& name) {
        ui::Dialog* window = m_ui->GetDialog(ui::MissionSelectWindow::kDialogType);
        return window ? window->getWindow()->findWidget(name) : nullptr;
    }
    MyGUI::Button* missionButton(int mission) {
        MyGUI::Widget* button = widget("mission" + std::to_string(mission) + "/btn_mission");
        return button ? button->castType<MyGUI::Button>() : nullptr;
    }
    std::string caption(const std::string& name) {
        MyGUI::Widget* text = widget(name);
        return text ? text->castType<MyGUI::TextBox>()->getCaption().asUTF8() : "<missing>";
    }
    // Picks a mission the way a player does; the list scrolls it into view first.
    void pick(int mission) {
        auto* list = widget("mission_list")->castType<MyGUI::ScrollView>();
        MyGUI::Button* button = missionButton(mission);
        ASSERT_NE(button, nullptr);
        list->setViewOffset(MyGUI::IntPoint(0, -button->getParent()->getTop()));
        uitest::click(button);
    }

    UiWorld* m_world = nullptr;
    ui::Manager* m_ui = nullptr;
    TempDir m_dir;
    std::unique_ptr<base::UserData> m_data;
    bool m_capturing = true;
};

TEST_F(MissionSelectTest, ProgressThreeEnablesExactlyTheFirstThreeMissions) {
    store("mission", "progress", 3);
    ui::MissionSelectWindow* window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(takeStderr().find("has no"), std::string::npos);

    int top = 2;
    for (int i = 1; i <= 25; ++i) {
        MyGUI::Button* button = missionButton(i);
        ASSERT_NE(button, nullptr) << i;
        EXPECT_EQ(button->getEnabled(), i <= 3) << i;
        EXPECT_EQ(button->getUserString("mission"), std::to_string(i));
        EXPECT_EQ(button->getCaption().asUTF8().find("#{"), std::string::npos) << i;
        EXPECT_EQ(button->getParent()->getTop(), top) << i;
        top += button->getParent()->getHeight();
    }
    EXPECT_EQ(missionButton(26), nullptr);
    EXPECT_EQ(widget("mission_list")->castType<MyGUI::ScrollView>()->getCanvasSize().height, top);

    MyGUI::Widget* start = widget("btn_start_mission");
    EXPECT_FALSE(start->getEnabled());
    pick(4); // listed, but not playable yet: the click does not reach it
    EXPECT_FALSE(start->getEnabled());
    EXPECT_EQ(window->selected_mission(), 1);

    pick(3);
    EXPECT_EQ(window->selected_mission(), 3);
    EXPECT_TRUE(start->getEnabled());
    // Never played: empty records; the briefing is the mission's own text.
    EXPECT_EQ(caption("txt_score_box"), "");
    EXPECT_EQ(caption("txt_timesplayed_box"), "");
    const std::string briefing = widget("txt_mission_desc")->castType<MyGUI::EditBox>()->getOnlyText().asUTF8();
    EXPECT_GT(briefing.size(), 20u);
    EXPECT_EQ(briefing.find("#{"), std::string::npos);
    EXPECT_EQ(window->preview_mesh(), "mini_bag_A.mesh"); // mission 3 drives the baggage cart
}

TEST_F(MissionSelectTest, ChosenMissionShowsItsRecordsMapAndVehicle) {
    store("mission", "progress", 25);
    store("mission2", "highscore", 4150);
    store("mission2", "count", 3);
    ui::MissionSelectWindow* window = open();
    pick(2);
    EXPECT_EQ(caption("txt_score_box"), "4150");
    EXPECT_EQ(caption("txt_timesplayed_box"), "3");
    EXPECT_EQ(window->mesh_prefix(), "mini_fuel_");
    EXPECT_EQ(window->preview_mesh(), "mini_fuel_A.mesh");
    EXPECT_EQ(widget("img_mission_map")->castType<MyGUI::ImageBox>()->_getTextureName(), "mission2_map.png");

    pick(1);
    EXPECT_EQ(caption("txt_score_box"), "");
    EXPECT_EQ(window->preview_mesh(), "mini_cat_A.mesh");
    EXPECT_EQ(widget("img_mission_map")->castType<MyGUI::ImageBox>()->_getTextureName(), "mission1_map.png");
    // The preview turns by itself while the window is open.
    ui::RenderBoxScene* preview = window->vehicle_preview();
    ASSERT_NE(preview, nullptr);
    ASSERT_NE(preview->entity(), nullptr);
    EXPECT_TRUE(preview->auto_turn());
    EXPECT_TRUE(preview->frame_updates());
    const Ogre::Quaternion before = preview->model_node()->getOrientation();
    m_world->advance(0.5f, 5);
    EXPECT_FALSE(before.equals(preview->model_node()->getOrientation(), Ogre::Degree(1)));
}

TEST_F(MissionSelectTest, VariantsOfferUpgradedOnlyOnceUnlocked) {
    store("mission", "progress", 5);
    ui::MissionSelectWindow* window = open();
    EXPECT_EQ(window->vehicle_variants(), std::vector<std::string>{"normal"});
    pick(1);
    const std::string normal = caption("txt_vehicle_name");
    EXPECT_FALSE(normal.empty());
    for (const char* arrow : {"btn_vehicle_right", "btn_vehicle_left", "btn_vehicle_left"}) {
        uitest::click(widget(arrow));
        EXPECT_EQ(window->variant_index(), 0u) << arrow;
        EXPECT_EQ(window->preview_mesh(), "mini_cat_A.mesh") << arrow;
        EXPECT_EQ(caption("txt_vehicle_name"), normal);
    }
    EXPECT_EQ(m_ui->GetDialog(ui::VehicleAlert::kDialogType), nullptr);
    window->exitWindow();
    settle();

    m_data->SetBool("vehicles", "upgraded", true);
    window = open();
    EXPECT_EQ(window->vehicle_variants(), (std::vector<std::string>{"normal", "upgraded"}));
    pick(1);
    uitest::click(widget("btn_vehicle_right"));
    EXPECT_EQ(window->variant_index(), 1u);
    EXPECT_EQ(window->preview_mesh(), "mini_cat_B.mesh");
    EXPECT_NE(caption("txt_vehicle_name"), normal);
    uitest::click(widget("btn_vehicle_right")); // wraps to the first
    EXPECT_EQ(window->preview_mesh(), "mini_cat_A.mesh");
    uitest::click(widget("btn_vehicle_left")); // wraps to the last
    EXPECT_EQ(window->preview_mesh(), "mini_cat_B.mesh");
    pick(2); // the variant stays when another mission is chosen
    EXPECT_EQ(window->preview_mesh(), "mini_fuel_B.mesh");
}

TEST_F(MissionSelectTest, UpgradedVehiclesAreAnnouncedOnce) {
    m_data->SetBool("vehicles", "upgraded", true);
    open();
    ASSERT_NE(m_ui->GetDialog(ui::VehicleAlert::kDialogType), nullptr);
    EXPECT_TRUE(m_data->GetBool("vehicles", "alterted", false));
    m_ui->GetDialog(ui::VehicleAlert::kDialogType)->exitWindow();
    m_ui->GetDialog(ui::MissionSelectWindow::kDialogType)->exitWindow();
    settle();

    open();
    EXPECT_NE(m_ui->GetDialog(ui::MissionSelectWindow::kDialogType), nullptr);
    EXPECT_EQ(m_ui->GetDialog(ui::VehicleAlert::kDialogType), nullptr);
}

TEST_F(MissionSelectTest, StartActsOnceAndTheLoadingNoticeLeavesWithTheWindow) {
    StateRequests requests;
    m_world->events->AddListener(requests, event::ApplicationStateEvent::kEventType);
    game::GameCore core; // what Start hands the chosen mission to
    store("mission", "progress", 3);
    m_data->SetBool("vehicles", "upgraded", true);
    ui::MissionSelectWindow* window = open();
    if (m_ui->GetDialog(ui::VehicleAlert::kDialogType))
        m_ui->GetDialog(ui::VehicleAlert::kDialogType)->exitWindow();
    pick(3);
    uitest::click(widget("btn_vehicle_right"));
    MyGUI::Widget* start = widget("btn_start_mission");
    uitest::click(start);
    uitest::click(start); // the second click of a double click, during the slide-out
    EXPECT_EQ(core.mission_number(), 3);
    EXPECT_EQ(core.vehicle_variant(), "upgraded");
    EXPECT_TRUE(window->IsExiting());
    EXPECT_NE(m_ui->GetDialog(ui::LoadingPanel::kDialogType), nullptr);
    m_world->events->Tick();
    EXPECT_EQ(requests.seen, std::vector<std::string>{"push GameState"});
    m_world->events->RemoveListener(requests, event::ApplicationStateEvent::kEventType);

    settle();
    EXPECT_EQ(m_ui->GetDialog(ui::MissionSelectWindow::kDialogType), nullptr);
    EXPECT_EQ(m_ui->GetDialog(ui::LoadingPanel::kDialogType), nullptr);
}

TEST_F(MissionSelectTest, WatchBestRunIsOfferedForAMissionWithABestRunAndWatchesIt) {
    game::GameCore core;
    store("mission", "progress", 3);
    replay::Recording best;
    best.set_mission(2);
    best.set_variant("normal");
    best.frames().push_back({0.0, {}, {}});
    std::string why;
    ASSERT_TRUE(replay::ReplayFile::Save(game::ReplayStore::BestPath(2, "normal"), best, why)) << why;
    StateRequests requests;
    m_world->events->AddListener(requests, event::ApplicationStateEvent::kEventType);
    ui::MissionSelectWindow* window = open();
    MyGUI::Widget* watch = widget("btn_watch_best");
    EXPECT_FALSE(watch->getEnabled());
    pick(1);
    EXPECT_FALSE(watch->getEnabled()) << "mission 1 has no best run";
    pick(2);
    EXPECT_TRUE(watch->getEnabled());
    uitest::click(watch);
    uitest::click(watch);
    EXPECT_TRUE(window->IsExiting());
    m_world->events->Tick();
    EXPECT_EQ(requests.seen, std::vector<std::string>{"push GameState"});
    m_world->events->RemoveListener(requests, event::ApplicationStateEvent::kEventType);
    EXPECT_EQ(core.replay_file(), game::ReplayStore::BestPath(2, "normal"));
    EXPECT_EQ(core.mission_number(), 2);
    settle();
}

TEST_F(MissionSelectTest, BackClosesTheWindow) {
    open();
    uitest::click(widget("btn_back_main"));
    settle();
    EXPECT_EQ(m_ui->GetDialog(ui::MissionSelectWindow::kDialogType), nullptr);
}

TEST_F(MissionSelectTest, AMissingMissionFileCostsOnlyThePreviewsVehicle) {
    // A game folder whose mission folder lacks mission 2.
    char cwd[PATH_MAX];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    const std::string original = cwd;
    TempDir game;
    ASSERT_EQ(std::system(("mkdir -p '" + game.path() + "/bin' '" + game.path() + "/assets/level/mission' && cp '" +
                           original + "/../assets/level/mission/mission1.xml' '" + game.path() +
                           "/assets/level/mission/'")
                              .c_str()),
              0);
    ASSERT_EQ(::chdir((game.path() + "/bin").c_str()), 0);

    store("mission", "progress", 3);
    ui::MissionSelectWindow* window = open();
    pick(1);
    EXPECT_EQ(window->preview_mesh(), "mini_cat_A.mesh");
    takeStderr();
    testing::internal::CaptureStderr();
    pick(2);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(::chdir(original.c_str()), 0);

    // One line of its own (the store still reports the record keys it creates).
    size_t own = 0;
    for (size_t at = err.find("MissionSelectWindow:"); at != std::string::npos; at = err.find("MissionSelectWindow:", at + 1))
        ++own;
    EXPECT_EQ(own, 1u) << err;
    EXPECT_NE(err.find("MissionSelectWindow: can't read ../assets/level/mission/mission2.xml"), std::string::npos)
        << err;
    // Everything else follows the choice; the preview keeps the last vehicle.
    EXPECT_EQ(window->selected_mission(), 2);
    EXPECT_TRUE(widget("btn_start_mission")->getEnabled());
    EXPECT_EQ(window->preview_mesh(), "mini_cat_A.mesh");
    EXPECT_GT(widget("txt_mission_desc")->castType<MyGUI::EditBox>()->getOnlyText().size(), 20u);
    EXPECT_FALSE(TempDir::read(game.path() + "/assets/level/mission/mission2.xml").size());
}

} // namespace
