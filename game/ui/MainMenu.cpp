#include "ui/MainMenu.h"

#include "application/Main.h"
#include "game/GameCore.h"
#include "ui/LoadingPanel.h"

#include <event/ApplicationStateEvent.h>
#include <event/Manager.h>
#include <ui/FocusNavigator.h>
#include <ui/Manager.h>

#include <MyGUI.h>


namespace ui {

const base::StringHash MainMenu::kDialogType("MainMenu");
const char* const MainMenu::kButtons[] = {"btn_start_game", "btn_exit", "btn_achievements", "btn_options",
                                          "btn_free_game"};
const size_t MainMenu::kButtonCount = sizeof(MainMenu::kButtons) / sizeof(MainMenu::kButtons[0]);

namespace {
const base::StringHash kMissionSelectWindow("MissionSelectWindow");
const base::StringHash kAchievementWindow("AchievementWindow");
const base::StringHash kOptionsWindow("OptionsWindow");
} // namespace

MainMenu::MainMenu() : Dialog("Middle", "MainMenu", "MainMenu", NONE) {
    LoadLayout("main_menu.layout");
    Resize();

    for (const char* name : kButtons)
        if (auto* button = require<MyGUI::Button>(name))
            button->eventMouseButtonClick += MyGUI::newDelegate(this, &MainMenu::notifyClick);
    ListFocus();
    showWindow();
}

void MainMenu::ListFocus() {
    // Top to bottom as drawn, which is not the order of kButtons.
    FocusNavigator& focus = Navigation();
    for (const char* name : {"btn_start_game", "btn_free_game", "btn_achievements", "btn_options", "btn_exit"})
        focus.Add(m_window->findWidget(name));
}

MainMenu::~MainMenu() {
    if (m_loadingPanel) {
        Dialog* panel = m_loadingPanel;
        m_loadingPanel = nullptr;
        panel->exitWindow();
    }
}

void MainMenu::Resize() {
    const Manager* manager = Manager::getSingleton();
    set_position(0, 0);
    if (manager)
        set_size(manager->getWidth(), manager->getHeight());
    if (MyGUI::Widget* background = m_window ? m_window->findWidget("main_menu_bg") : nullptr)
        background->setSize(static_cast<int>(m_size.x), static_cast<int>(m_size.y));
}

void MainMenu::notifyClick(MyGUI::Widget* sender) {
    if (!AcceptsInput() || !sender)
        return;
    const std::string& name = sender->getName();
    Manager* manager = Manager::getSingleton();

    if (name == "btn_exit") {
        // Leaving the bottom state ends the program; this menu is gone afterwards.
        if (auto* app = application::Main::getSingleton())
            app->PopState();
    } else if (name == "btn_start_game") {
        if (manager)
            manager->toggleDialog(kMissionSelectWindow);
    } else if (name == "btn_achievements") {
        if (manager)
            manager->toggleDialog(kAchievementWindow);
    } else if (name == "btn_options") {
        if (manager)
            manager->toggleDialog(kOptionsWindow);
    } else if (name == "btn_free_game") {
        // A second click before the state changes starts nothing more.
        if (StateRequested())
            return;
        if (auto* core = game::GameCore::getSingleton())
            core->set_mission_number(-1);
        if (!m_loadingPanel)
            m_loadingPanel = new LoadingPanel();
        // Queued, so the loading notice is drawn before the game state loads.
        RequestState(event::ApplicationStateEvent::PUSH_STATE, "GameState");
    }
}

} // namespace ui
