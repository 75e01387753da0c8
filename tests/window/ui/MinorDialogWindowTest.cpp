// The in-game menu and the small notices with their real layouts.
#include "UiTestSupport.h"
#include "StateRequests.h"
#include "UiWorld.h"

#include "application/InGameMenuState.h"
#include "ui/DialogFactory.h"
#include "ui/HelpScreen.h"
#include "ui/IngameMenu.h"
#include "ui/LoadingPanel.h"
#include "ui/OptionsWindow.h"
#include "ui/ResolutionHint.h"
#include "ui/VehicleAlert.h"

#include <event/ApplicationStateEvent.h>
#include <event/IListener.h>
#include <event/Manager.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

class MinorDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_ui = m_world->ui;
        m_world->events->AddListener(m_requests, event::ApplicationStateEvent::kEventType);
    }
    void TearDown() override {
        m_world->events->RemoveListener(m_requests, event::ApplicationStateEvent::kEventType);
        m_world->advance(0.6f, 6);
        EXPECT_EQ(m_ui->DialogCount(), 0u);
    }
    template <typename T> T* open() { return static_cast<T*>(m_ui->GetDialog(T::kDialogType)); }
    static MyGUI::Widget* widget(ui::Dialog* dialog, const char* name) {
        return dialog->getWindow()->findWidget(name);
    }

    UiWorld* m_world = nullptr;
    ui::Manager* m_ui = nullptr;
    StateRequests m_requests;
};

TEST_F(MinorDialogTest, NoticesSlideInCentredAndCloseOnTheirButton) {
    struct Case {
        ui::NoticeDialog* dialog;
        const char* button;
        MyGUI::IntSize size;
    };
    const Case cases[] = {{new ui::HelpScreen(), "btn_ig_back", {720, 564}},
                          {new ui::VehicleAlert(), "btn_ok", {540, 290}},
                          {new ui::ResolutionHint(), "btn_switchhint", {500, 250}}};
    for (const Case& c : cases) {
        EXPECT_EQ(m_ui->GetDialog(c.dialog->GetType()), c.dialog);
        EXPECT_EQ(c.dialog->getWindow()->getTop(), -c.size.height); // from the top edge
    }
    m_world->advance(0.5f, 5);
    // The last one opened lies on top: close from the top down.
    for (auto it = std::rbegin(cases); it != std::rend(cases); ++it) {
        const Case& c = *it;
        SCOPED_TRACE(c.button);
        EXPECT_EQ(c.dialog->getWindow()->getPosition(),
                  MyGUI::IntPoint(512 - c.size.width / 2, 384 - c.size.height / 2));
        const base::StringHash& type = c.dialog->GetType();
        ASSERT_NE(c.dialog->button(), nullptr);
        uitest::click(c.dialog->button());
        EXPECT_TRUE(c.dialog->IsExiting());
        // A second click while it slides out changes nothing.
        uitest::click(c.dialog->button());
        m_world->advance(0.5f, 5);
        EXPECT_EQ(m_ui->GetDialog(type), nullptr);
    }
}

TEST_F(MinorDialogTest, LoadingPanelComesFromTheFactoryAndWaitsForItsOwner) {
    ui::DialogFactory factory;
    ui::Dialog* panel = factory.CreateDialog(ui::LoadingPanel::kDialogType);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(open<ui::LoadingPanel>(), panel);
    EXPECT_EQ(panel->getWindow()->getPosition(), MyGUI::IntPoint(512 - 220, 384 - 85));
    m_world->advance(5.f, 10);
    EXPECT_EQ(open<ui::LoadingPanel>(), panel);
    panel->exitWindow();
    EXPECT_EQ(open<ui::LoadingPanel>(), nullptr);
}

TEST_F(MinorDialogTest, IngameMenuAsksForOneStateChangeEvenOnADoubleClick) {
    for (const char* button : {"btn_continue", "btn_quit"}) {
        SCOPED_TRACE(button);
        m_requests.seen.clear();
        auto* menu = new ui::IngameMenu();
        EXPECT_EQ(menu->getWindow()->getPosition(), MyGUI::IntPoint(512 - 190, 384 - 180));
        uitest::click(widget(menu, button));
        uitest::click(widget(menu, button));
        uitest::click(widget(menu, button == std::string("btn_quit") ? "btn_continue" : "btn_quit"));
        // Nothing opens over a menu that is about to go.
        uitest::click(menu->help_button());
        EXPECT_EQ(open<ui::HelpScreen>(), nullptr);
        EXPECT_TRUE(m_requests.seen.empty()); // queued, not fired
        m_world->events->Tick();
        const std::string expected = button == std::string("btn_quit") ? "pop MainMenu" : "pop ";
        EXPECT_EQ(m_requests.seen, std::vector<std::string>{expected});
        menu->exitWindow();
    }
}

TEST_F(MinorDialogTest, IngameMenuOpensOneOptionsAndOneHelpAndClosesThemWithItself) {
    auto* menu = new ui::IngameMenu();
    uitest::click(menu->settings_button());
    ui::OptionsWindow* options = open<ui::OptionsWindow>();
    ASSERT_NE(options, nullptr);
    // Still above the screen's edge, the options window leaves the menu's
    // buttons free: more clicks open no second window.
    uitest::click(menu->settings_button());
    uitest::click(menu->help_button());
    uitest::click(menu->help_button());
    EXPECT_EQ(open<ui::OptionsWindow>(), options);
    ASSERT_NE(open<ui::HelpScreen>(), nullptr);
    EXPECT_EQ(m_ui->DialogCount(), 3u);

    menu->exitWindow();
    EXPECT_EQ(open<ui::IngameMenu>(), nullptr);
    EXPECT_TRUE(open<ui::OptionsWindow>()->IsExiting());
    EXPECT_TRUE(open<ui::HelpScreen>()->IsExiting());
    m_world->advance(0.5f, 5);
    EXPECT_EQ(m_ui->DialogCount(), 0u);
}

TEST_F(MinorDialogTest, InGameMenuStateShowsTheMenuWhileCurrent) {
    application::InGameMenuState state;
    state.Enter();
    ASSERT_NE(state.menu(), nullptr);
    EXPECT_EQ(open<ui::IngameMenu>(), state.menu());
    EXPECT_TRUE(MyGUI::PointerManager::getInstance().isVisible());
    state.Enter(); // still one menu
    EXPECT_EQ(open<ui::IngameMenu>(), state.menu());

    EXPECT_TRUE(state.Pause());
    EXPECT_EQ(open<ui::IngameMenu>(), nullptr);
    state.Resume();
    EXPECT_NE(open<ui::IngameMenu>(), nullptr);
    state.Exit();
    EXPECT_EQ(state.menu(), nullptr);
    EXPECT_EQ(open<ui::IngameMenu>(), nullptr);
}

} // namespace
