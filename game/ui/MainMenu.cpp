#include "ui/MainMenu.h"

#include "application/Main.h"
#include "game/GameCore.h"

#include <event/ApplicationStateEvent.h>
#include <event/Manager.h>
#include <ui/Manager.h>

#include <MyGUI.h>

#include <iostream>

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
    if (m_window)
        MyGUI::LayoutManager::getInstance().loadLayout("main_menu.layout", "", m_window);
    Resize();

    for (const char* name : kButtons) {
        MyGUI::Widget* widget = m_window ? m_window->findWidget(name) : nullptr;
        auto* button = widget ? widget->castType<MyGUI::Button>(false) : nullptr;
        if (!button) {
            std::cerr << "MainMenu: no button \"" << name << "\" in main_menu.layout" << std::endl;
            continue;
        }
        button->eventMouseButtonClick += MyGUI::newDelegate(this, &MainMenu::notifyClick);
    }

    showWindow();
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
    if (!sender)
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
        // The loading notice is opened here once it exists.
        if (auto* core = game::GameCore::getSingleton())
            core->set_mission_number(-1);
        if (auto* events = event::Manager::getSingleton())
            events->QueueEvent(new event::ApplicationStateEvent(event::ApplicationStateEvent::PUSH_STATE, "GameState"));
    }
}

} // namespace ui
