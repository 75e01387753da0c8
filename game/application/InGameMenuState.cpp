#include "application/InGameMenuState.h"

#include "ui/IngameMenu.h"

#include <ui/Manager.h>

namespace application {

namespace {
const base::StringHash& kIngameMenu = ui::IngameMenu::kDialogType;
} // namespace

InGameMenuState::~InGameMenuState() {
    closeMenu();
}

void InGameMenuState::Enter() {
    openMenu();
}

void InGameMenuState::Resume() {
    openMenu();
}

void InGameMenuState::Exit() {
    closeMenu();
}

bool InGameMenuState::Pause() {
    Exit();
    return true;
}

void InGameMenuState::openMenu() {
    ui::Manager* manager = ui::Manager::getSingleton();
    if (m_menu && manager && manager->GetDialog(kIngameMenu) != m_menu)
        m_menu = nullptr;
    if (!m_menu)
        m_menu = new ui::IngameMenu();
    if (manager)
        manager->EnableMousePointer(true);
}

void InGameMenuState::closeMenu() {
    if (!m_menu)
        return;
    ui::Dialog* menu = m_menu;
    m_menu = nullptr;
    ui::Manager* manager = ui::Manager::getSingleton();
    if (manager && manager->GetDialog(kIngameMenu) == menu)
        menu->exitWindow();
}

} // namespace application
