// Keyboard and pad focus in the game's windows: the keys reach the window on
// top and nothing behind it, the focus is drawn, and the controls window rebinds.
#include "UiTestSupport.h"
#include "StateRequests.h"
#include "UiWorld.h"

#include "support/TempDir.h"
#include "support/VirtualPad.h"

#include "game/GameControls.h"
#include "ui/ControlsWindow.h"
#include "ui/MainMenu.h"
#include "ui/MissionSelectWindow.h"
#include "ui/OptionsWindow.h"

#include <base/UserData.h>
#include <event/ApplicationStateEvent.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <input/Bindings.h>
#include <input/GamePad.h>
#include <ui/FocusNavigator.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The game behind the windows: records every key that reaches it.
class KeysBehind : public event::IListener {
public:
    const char* Name() override { return "KeysBehind"; }
    bool HandleEvent(const event::IEvent& event) override {
        keys.push_back(static_cast<const event::KeyEvent&>(event).key());
        return false;
    }
    std::vector<int> keys;
};

class FocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_ui = m_world->ui;
        testing::internal::CaptureStderr(); // the stores report every key they create
        m_data = std::make_unique<base::UserData>(m_dir.file("user_data.xml"));
        m_bindings = std::make_unique<input::Bindings>();
        game::GameControls::Register();
        m_world->events->AddListener(m_behind, event::KeyEvent::kEventType);
        m_world->events->AddListener(m_requests, event::ApplicationStateEvent::kEventType);
    }
    void TearDown() override {
        m_world->events->RemoveListener(m_behind, event::KeyEvent::kEventType);
        m_world->events->RemoveListener(m_requests, event::ApplicationStateEvent::kEventType);
        for (const base::StringHash* type : {&ui::ControlsWindow::kDialogType, &ui::OptionsWindow::kDialogType,
                                             &ui::MissionSelectWindow::kDialogType, &ui::MainMenu::kDialogType})
            if (ui::Dialog* dialog = m_ui->GetDialog(*type))
                dialog->exitWindow();
        m_world->events->Tick();
        m_world->advance(0.6f, 12);
        EXPECT_EQ(m_ui->DialogCount(), 0u);
        EXPECT_EQ(m_ui->ActiveNavigator(), nullptr);
        m_bindings.reset();
        m_data.reset();
        testing::internal::GetCapturedStderr();
    }
    void press(int key) { m_world->events->Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KeyCode(key))); }
    void release(int key) { m_world->events->Fire(event::KeyEvent(event::KeyEvent::KEY_RELEASED, OIS::KeyCode(key))); }
    void tap(int key) {
        press(key);
        release(key);
    }
    static std::string focused(ui::Dialog* dialog) {
        MyGUI::Widget* widget = dialog->navigator() ? dialog->navigator()->focused() : nullptr;
        return widget ? widget->getName() : "<none>";
    }
    void settle() { m_world->advance(0.6f, 12); }

    UiWorld* m_world = nullptr;
    ui::Manager* m_ui = nullptr;
    TempDir m_dir;
    std::unique_ptr<base::UserData> m_data;
    std::unique_ptr<input::Bindings> m_bindings;
    KeysBehind m_behind;
    StateRequests m_requests;
};

TEST_F(FocusTest, MainMenuWalksItsButtonsAndKeepsTheKeysItUses) {
    auto* menu = new ui::MainMenu();
    EXPECT_EQ(focused(menu), "btn_start_game");
    // The frame is drawn round the focused button, over it.
    MyGUI::Widget* frame = menu->navigator()->focus_frame();
    ASSERT_NE(frame, nullptr);
    MyGUI::Widget* start = menu->getWindow()->findWidget("btn_start_game");
    EXPECT_TRUE(frame->getInheritedVisible());
    EXPECT_LT(frame->getAbsoluteLeft(), start->getAbsoluteLeft());
    EXPECT_GT(frame->getAbsoluteRect().right, start->getAbsoluteRect().right);

    tap(OIS::KC_DOWN);
    EXPECT_EQ(focused(menu), "btn_free_game");
    tap(OIS::KC_UP);
    tap(OIS::KC_UP); // round to the last
    EXPECT_EQ(focused(menu), "btn_exit");
    tap(OIS::KC_TAB);
    EXPECT_EQ(focused(menu), "btn_start_game");
    press(OIS::KC_LSHIFT);
    tap(OIS::KC_TAB);
    release(OIS::KC_LSHIFT);
    EXPECT_EQ(focused(menu), "btn_exit");
    // The menu has no Back: Escape goes on; so do keys it does not use.
    release(OIS::KC_ESCAPE);
    tap(OIS::KC_V);
    EXPECT_EQ(m_behind.keys, (std::vector<int>{OIS::KC_LSHIFT, OIS::KC_LSHIFT, OIS::KC_ESCAPE, OIS::KC_V,
                                               OIS::KC_V}));

    // The mouse moves the focus too.
    MyGUI::Widget* options = menu->getWindow()->findWidget("btn_options");
    const MyGUI::IntCoord area = options->getAbsoluteCoord();
    MyGUI::InputManager::getInstance().injectMouseMove(area.left + area.width / 2, area.top + area.height / 2, 0);
    EXPECT_EQ(focused(menu), "btn_options");

    // Enter presses it: the options open over the menu and take the keys.
    m_behind.keys.clear();
    tap(OIS::KC_RETURN);
    auto* window = static_cast<ui::OptionsWindow*>(m_ui->GetDialog(ui::OptionsWindow::kDialogType));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(focused(window), "slider_music");
    tap(OIS::KC_DOWN);
    EXPECT_EQ(focused(window), "slider_sound");
    EXPECT_EQ(focused(menu), "btn_options");
    EXPECT_TRUE(m_behind.keys.empty());
    // Only the window on top shows its focus.
    m_ui->Update(0.1);
    EXPECT_FALSE(menu->navigator()->focus_frame()->getVisible());
    EXPECT_TRUE(window->navigator()->focus_frame()->getVisible());
}

TEST_F(FocusTest, OptionsChangeValuesWithLeftAndRightAndEscapeRejects) {
    auto* window = new ui::OptionsWindow();
    settle();
    auto* music = window->getWindow()->findWidget("slider_music")->castType<MyGUI::ScrollBar>();
    const size_t before = music->getScrollPosition();
    tap(OIS::KC_LEFT);
    EXPECT_EQ(music->getScrollPosition(), before >= 5 ? before - 5 : 0);
    tap(OIS::KC_RIGHT);
    tap(OIS::KC_RIGHT);
    EXPECT_EQ(music->getScrollPosition(), std::min<size_t>((before >= 5 ? before - 5 : 0) + 10, 100));

    tap(OIS::KC_DOWN);
    tap(OIS::KC_DOWN);
    ASSERT_EQ(focused(window), "chk_soundoff");
    auto* soundOff = window->getWindow()->findWidget("chk_soundoff")->castType<MyGUI::Button>();
    const bool muted = soundOff->getStateSelected();
    tap(OIS::KC_RIGHT);
    EXPECT_NE(soundOff->getStateSelected(), muted);
    tap(OIS::KC_SPACE);
    EXPECT_EQ(soundOff->getStateSelected(), muted);

    // Language, past ghost, screen mode and resolution: the row takes
    // Left/Right for its arrows.
    for (int i = 0; i < 4; ++i)
        tap(OIS::KC_DOWN);
    ASSERT_EQ(focused(window), "txt_lang_box");
    auto* language = window->getWindow()->findWidget("txt_lang_box")->castType<MyGUI::TextBox>();
    const std::string shown = language->getCaption();
    tap(shown == "Deutsch" ? OIS::KC_RIGHT : OIS::KC_LEFT);
    EXPECT_NE(language->getCaption(), shown);

    press(OIS::KC_ESCAPE); // only the release counts
    EXPECT_FALSE(window->IsExiting());
    release(OIS::KC_ESCAPE);
    EXPECT_TRUE(window->IsExiting());
    EXPECT_TRUE(m_behind.keys.empty());
}

TEST_F(FocusTest, MissionSelectionStartsOnTheHighestMissionAndEnterLeadsToStart) {
    m_data->GetInt("mission", "progress", 0);
    m_data->SetInt("mission", "progress", 3);
    m_ui->toggleDialog(ui::MissionSelectWindow::kDialogType);
    auto* window = static_cast<ui::MissionSelectWindow*>(m_ui->GetDialog(ui::MissionSelectWindow::kDialogType));
    ASSERT_NE(window, nullptr);
    settle();
    EXPECT_EQ(focused(window), "mission3/btn_mission");
    tap(OIS::KC_UP);
    EXPECT_EQ(focused(window), "mission2/btn_mission");
    tap(OIS::KC_DOWN);
    tap(OIS::KC_DOWN); // past the locked missions
    EXPECT_EQ(focused(window), "txt_vehicle_name");
    tap(OIS::KC_DOWN); // Start is off until a mission is chosen
    EXPECT_EQ(focused(window), "btn_back_main");

    // The list scrolls the focused entry into view.
    auto* list = window->getWindow()->findWidget("mission_list")->castType<MyGUI::ScrollView>();
    list->setViewOffset(MyGUI::IntPoint(0, -10000));
    tap(OIS::KC_DOWN);
    EXPECT_EQ(focused(window), "mission1/btn_mission");
    MyGUI::Widget* first = window->getWindow()->findWidget("mission1/btn_mission");
    const int viewTop = list->getAbsoluteTop() + list->getViewCoord().top;
    EXPECT_GE(first->getAbsoluteTop(), viewTop);
    EXPECT_LE(first->getAbsoluteTop() + first->getHeight(), viewTop + list->getViewCoord().height);
    tap(OIS::KC_DOWN);
    tap(OIS::KC_DOWN);
    tap(OIS::KC_RETURN);
    EXPECT_EQ(window->selected_mission(), 3);
    EXPECT_EQ(focused(window), "btn_start_mission");
    // The chosen mission still reads as chosen with the focus on Start.
    for (int mission : {1, 3})
        EXPECT_EQ(window->getWindow()->findWidget("mission" + std::to_string(mission) + "/btn_mission")
                      ->castType<MyGUI::Button>()->getStateSelected(), mission == 3);
    tap(OIS::KC_RETURN);
    m_world->events->Tick();
    EXPECT_EQ(m_requests.seen, (std::vector<std::string>{"push GameState"}));
    EXPECT_TRUE(window->IsExiting());
    EXPECT_TRUE(m_behind.keys.empty());
}

TEST_F(FocusTest, ControlsWindowRebindsAKeyAndAClashSwaps) {
    auto* window = new ui::ControlsWindow();
    settle();
    using input::Bindings;
    EXPECT_EQ(focused(window), window->key_button(Bindings::kAccelerate)->getName());
    EXPECT_EQ(window->key_button(Bindings::kAccelerate)->getCaption(), "Up");
    EXPECT_EQ(window->pad_button(Bindings::kAccelerate)->getCaption(), "RT");

    tap(OIS::KC_RETURN); // waits for the key
    EXPECT_NE(window->key_button(Bindings::kAccelerate)->getCaption(), "Up");
    tap(OIS::KC_W);
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kAccelerate), OIS::KC_W);
    EXPECT_EQ(window->key_button(Bindings::kAccelerate)->getCaption(), "W");

    // The brake takes W: accelerate gets the brake's Down.
    tap(OIS::KC_DOWN);
    tap(OIS::KC_DOWN);
    ASSERT_EQ(focused(window), window->key_button(Bindings::kBrake)->getName());
    tap(OIS::KC_RETURN);
    tap(OIS::KC_W);
    EXPECT_EQ(window->key_button(Bindings::kBrake)->getCaption(), "W");
    EXPECT_EQ(window->key_button(Bindings::kAccelerate)->getCaption(), "Down");

    // Escape cancels a wait and leaves the binding.
    tap(OIS::KC_RETURN);
    release(OIS::KC_ESCAPE);
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kBrake), OIS::KC_W);
    EXPECT_FALSE(window->IsExiting());
    EXPECT_TRUE(m_behind.keys.empty());

    uitest::click(window->getWindow()->findWidget("btn_ctl_defaults"));
    EXPECT_EQ(window->key_button(Bindings::kAccelerate)->getCaption(), "Up");
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kBrake), OIS::KC_DOWN);
    release(OIS::KC_ESCAPE);
    EXPECT_TRUE(window->IsExiting());
}

#ifdef KB_TEST_SDL2
TEST_F(FocusTest, APadWalksTheFocusAndPressesAButton) {
    input::GamePad pad;
    ASSERT_TRUE(pad.Available());
    VirtualPad virtualPad;
    ASSERT_TRUE(virtualPad.ready());
    auto* menu = new ui::MainMenu();
    auto poll = [&] {
        pad.Poll();
        m_world->events->Tick();
        m_world->events->Tick(); // keys handed on by the pad arrive one pass later
    };
    poll();
    ASSERT_TRUE(pad.Connected());
    for (int i = 0; i < 3; ++i) { // D-pad down three times: the options
        virtualPad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
        poll();
        virtualPad.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
        poll();
    }
    EXPECT_EQ(focused(menu), "btn_options");
    // The stick moves the focus too.
    virtualPad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    poll();
    virtualPad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    poll();
    EXPECT_EQ(focused(menu), "btn_exit");
    virtualPad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    poll();
    virtualPad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    poll();
    virtualPad.Button(SDL_CONTROLLER_BUTTON_A, true);
    poll();
    virtualPad.Button(SDL_CONTROLLER_BUTTON_A, false);
    poll();
    auto* options = m_ui->GetDialog(ui::OptionsWindow::kDialogType);
    ASSERT_NE(options, nullptr);
    virtualPad.Button(SDL_CONTROLLER_BUTTON_B, true);
    poll();
    EXPECT_TRUE(options->IsExiting());
    // Nothing a window took reached the game as a key.
    EXPECT_TRUE(m_behind.keys.empty());
    virtualPad.Button(SDL_CONTROLLER_BUTTON_B, false);
    poll();
}
#endif

} // namespace
