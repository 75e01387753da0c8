#include "application/MainMenuState.h"

#include "application/GameState.h"
#include "application/Main.h"
#include "ui/MainMenu.h"

#include <base/StartupTrace.h>

#include <sound/Sound.h>
#include <ui/Manager.h>

namespace application {

MainMenuState::MainMenuState() {
    m_music = new sound::Sound(static_cast<sound::ESoundType>(2), "main_menu_bg_music", "KB_Mainmenu.ogg", true,
                               true, false);
    base::StartupTrace::Mark("menu music opened");
    if (Main* app = Main::getSingleton()) {
        // The registry keeps the state when it takes it; one it refuses is ours to delete.
        auto* game = new GameState();
        app->AddState("GameState", game);
        if (!app->HasState("GameState", game))
            game->Destroy();
        base::StartupTrace::Mark("game sounds opened");
    }
}

MainMenuState::~MainMenuState() {
    closeMenu();
    if (m_music) {
        m_music->stop();
        delete m_music;
        m_music = nullptr;
    }
}

void MainMenuState::Enter() {
    openMenu();
}

void MainMenuState::Resume() {
    openMenu();
}

void MainMenuState::Exit() {
    closeMenu();
    if (m_music)
        m_music->stop();
}

bool MainMenuState::Pause() {
    Exit();
    return true;
}

void MainMenuState::Update(double) {
    if (m_music && !m_music->IsPlaying())
        m_music->play();
}

void MainMenuState::openMenu() {
    ui::Manager* manager = ui::Manager::getSingleton();
    if (m_menu && manager && manager->GetDialog(ui::MainMenu::kDialogType) != m_menu)
        m_menu = nullptr; // closed elsewhere, e.g. through a dialog event
    if (!m_menu)
        m_menu = new ui::MainMenu();
    if (manager)
        manager->EnableMousePointer(true);
}

void MainMenuState::closeMenu() {
    if (!m_menu)
        return;
    ui::MainMenu* menu = m_menu;
    m_menu = nullptr;
    // Only a menu still registered is alive; one closed elsewhere is gone.
    ui::Manager* manager = ui::Manager::getSingleton();
    if (manager && manager->GetDialog(ui::MainMenu::kDialogType) == menu)
        menu->exitWindow();
}

} // namespace application
