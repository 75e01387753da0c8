// The main-menu and in-game-menu states with the real menu, sounds and GUI.
#include "StateRequests.h"
#include "UiWorld.h"

#include "application/InGameMenuState.h"
#include "application/Main.h"
#include "application/MainMenuState.h"
#include "game/GameCore.h"
#include "ui/AchievementWindow.h"
#include "ui/DialogFactory.h"
#include "ui/LoadingPanel.h"
#include "ui/MainMenu.h"
#include "ui/MissionSelectWindow.h"
#include "ui/OptionsWindow.h"

#include <display/Core.h>
#include <event/ApplicationStateEvent.h>
#include <event/IListener.h>
#include <event/Manager.h>
#include <sound/Sound.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class MenuStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_ui = m_world->ui;
    }
    // Clicks a widget of the open main menu the way a player does.
    void click(const char* name) {
        auto* menu = static_cast<ui::MainMenu*>(m_ui->GetDialog(ui::MainMenu::kDialogType));
        ASSERT_NE(menu, nullptr);
        MyGUI::Widget* widget = menu->getWindow()->findWidget(name);
        ASSERT_NE(widget, nullptr) << name;
        const MyGUI::IntCoord area = widget->getAbsoluteCoord();
        const int x = area.left + area.width / 2, y = area.top + area.height / 2;
        MyGUI::InputManager& input = MyGUI::InputManager::getInstance();
        input.injectMouseMove(x, y, 0);
        input.injectMousePress(x, y, MyGUI::MouseButton::Left);
        input.injectMouseRelease(x, y, MyGUI::MouseButton::Left);
        input.injectMouseMove(1010, 10, 0);
    }

    UiWorld* m_world = nullptr;
    ui::Manager* m_ui = nullptr;
};

TEST_F(MenuStateTest, MainMenuStateShowsTheMenuAndRestartsItsMusic) {
    auto* state = new application::MainMenuState();
    ASSERT_NE(state->music(), nullptr);
    EXPECT_EQ(state->music()->getType(), sound::kSoundMusic);
    EXPECT_FALSE(state->music()->IsPlaying());
    EXPECT_EQ(state->menu(), nullptr);

    state->Enter();
    ASSERT_NE(state->menu(), nullptr);
    EXPECT_EQ(m_ui->GetDialog(ui::MainMenu::kDialogType), state->menu());
    EXPECT_TRUE(MyGUI::PointerManager::getInstance().isVisible());
    state->Update(0.01);
    EXPECT_TRUE(state->music()->IsPlaying());

    // Whenever the music stops, the next update starts it again.
    for (int i = 0; i < 3; ++i) {
        state->music()->stop();
        EXPECT_FALSE(state->music()->IsPlaying());
        state->Update(0.01);
        EXPECT_TRUE(state->music()->IsPlaying());
    }

    // Covered by another state: menu closed, music off; back again: menu shown.
    EXPECT_TRUE(state->Pause());
    EXPECT_EQ(state->menu(), nullptr);
    EXPECT_EQ(m_ui->GetDialog(ui::MainMenu::kDialogType), nullptr);
    EXPECT_FALSE(state->music()->IsPlaying());
    state->Resume();
    EXPECT_NE(m_ui->GetDialog(ui::MainMenu::kDialogType), nullptr);
    state->Enter(); // entering again keeps the one menu
    EXPECT_EQ(m_ui->GetDialog(ui::MainMenu::kDialogType), state->menu());

    // A menu closed behind the state's back is not touched again.
    m_ui->toggleDialog(ui::MainMenu::kDialogType);
    EXPECT_EQ(m_ui->GetDialog(ui::MainMenu::kDialogType), nullptr);
    state->Exit();
    EXPECT_FALSE(state->music()->IsPlaying());
    state->Destroy();
    EXPECT_EQ(m_ui->DialogCount(), 0u);
}

TEST_F(MenuStateTest, MenuButtonsDoWhatTheySay) {
    auto* app = new application::Main();
    app->AddState("MainMenu", new application::MainMenuState());
    app->ChangeState("MainMenu");
    ASSERT_EQ(app->StackSize(), 1u);
    ASSERT_NE(m_ui->GetDialog(ui::MainMenu::kDialogType), nullptr);

    StateRequests requests;
    m_world->events->AddListener(requests, event::ApplicationStateEvent::kEventType);

    // Missions and achievements open their windows over the menu.
    click("btn_start_game");
    EXPECT_NE(m_ui->GetDialog(ui::MissionSelectWindow::kDialogType), nullptr);
    m_ui->toggleDialog(ui::MissionSelectWindow::kDialogType);
    click("btn_achievements");
    EXPECT_NE(m_ui->GetDialog(ui::AchievementWindow::kDialogType), nullptr);
    m_ui->toggleDialog(ui::AchievementWindow::kDialogType);
    m_world->advance(0.5f, 5);
    EXPECT_EQ(m_ui->DialogCount(), 1u);

    // The options window opens over the menu.
    click("btn_options");
    EXPECT_NE(m_ui->GetDialog(ui::OptionsWindow::kDialogType), nullptr);
    m_ui->toggleDialog(ui::OptionsWindow::kDialogType);
    m_world->advance(0.5f, 5);
    EXPECT_EQ(m_ui->DialogCount(), 1u);

    // Free drive shows the loading notice, chooses the run without a mission
    // and asks for the game state on the queue, not at once; a double click asks once.
    ASSERT_NE(game::GameCore::getSingleton(), nullptr);
    game::GameCore::getSingleton()->set_mission_number(4);
    click("btn_free_game");
    click("btn_free_game");
    EXPECT_NE(m_ui->GetDialog(ui::LoadingPanel::kDialogType), nullptr);
    EXPECT_TRUE(requests.seen.empty());
    m_world->events->Tick();
    EXPECT_EQ(requests.seen, std::vector<std::string>{"push GameState"});
    EXPECT_EQ(game::GameCore::getSingleton()->mission_number(), -1);
    EXPECT_EQ(app->StackSize(), 1u); // this application does not listen for state requests

    // Exit leaves the bottom state: the stack is empty, the menu gone and
    // its loading notice with it.
    click("btn_exit");
    EXPECT_EQ(app->StackSize(), 0u);
    EXPECT_EQ(m_ui->GetDialog(ui::MainMenu::kDialogType), nullptr);
    EXPECT_EQ(m_ui->DialogCount(), 0u);

    m_world->events->RemoveListener(requests, event::ApplicationStateEvent::kEventType);
    delete app;
}

TEST_F(MenuStateTest, InGameMenuStateAllowsCoveringAndShowsThePointer) {
    application::InGameMenuState state;
    MyGUI::PointerManager::getInstance().setVisible(false);
    state.Enter();
    EXPECT_TRUE(MyGUI::PointerManager::getInstance().isVisible());
    EXPECT_TRUE(state.Pause());
    state.Resume();
    state.Exit();
    EXPECT_EQ(state.menu(), nullptr);
}

TEST_F(MenuStateTest, FactoryMakesOnlyTheDialogsItKnows) {
    ui::DialogFactory factory;
    EXPECT_EQ(factory.CreateDialog(base::StringHash("HUDScore")), nullptr);
    EXPECT_EQ(factory.CreateDialog(base::StringHash("NoSuchWindow")), nullptr);
    EXPECT_EQ(m_ui->DialogCount(), 0u);
    ui::Dialog* menu = factory.CreateDialog(base::StringHash("MainMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetType(), ui::MainMenu::kDialogType);
    EXPECT_EQ(m_ui->GetDialog(ui::MainMenu::kDialogType), menu);
    menu->exitWindow();
}

// Draws the main menu and checks that the picture, not the empty viewport,
// fills the window; with KB_UI_SCREENSHOT set the frame is also saved there.
TEST_F(MenuStateTest, MainMenuIsDrawnOverTheWholeWindow) {
    auto* menu = new ui::MainMenu();
    MyGUI::InputManager::getInstance().injectMouseMove(700, 330, 0);
    for (int i = 0; i < 3; ++i)
        m_world->draw();
    Ogre::RenderWindow* window = m_world->core->getRenderWindow();
    Ogre::Image shot(Ogre::PF_BYTE_RGBA, window->getWidth(), window->getHeight());
    Ogre::PixelBox box = shot.getPixelBox();
    window->copyContentsToMemory(box, box);
    if (const char* path = std::getenv("KB_UI_SCREENSHOT"))
        shot.save(path);

    // The viewport's clear colour must not show anywhere on the picture.
    const Ogre::ColourValue clear(1.0f, 0.4f, 0.3f);
    int cleared = 0;
    for (int y = 0; y < 768; y += 32)
        for (int x = 0; x < 1024; x += 32) {
            const Ogre::ColourValue c = shot.getColourAt(x, y, 0);
            if (std::abs(c.r - clear.r) < 0.02f && std::abs(c.g - clear.g) < 0.02f && std::abs(c.b - clear.b) < 0.02f)
                ++cleared;
        }
    EXPECT_EQ(cleared, 0);

    // The exit button is drawn: its centre differs from the picture beside it.
    const MyGUI::IntCoord exitArea = menu->getWindow()->findWidget("btn_exit")->getAbsoluteCoord();
    const Ogre::ColourValue onButton =
        shot.getColourAt(exitArea.left + 8, exitArea.top + exitArea.height / 2, 0);
    const Ogre::ColourValue beside =
        shot.getColourAt(exitArea.right() + 200, exitArea.top + exitArea.height / 2, 0);
    EXPECT_GT(std::abs(onButton.r - beside.r) + std::abs(onButton.g - beside.g) + std::abs(onButton.b - beside.b),
              0.1f);
    menu->exitWindow();
}

} // namespace
