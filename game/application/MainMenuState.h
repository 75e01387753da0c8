#pragma once

#include "application/IApplicationState.h"

namespace sound {
class Sound;
}
namespace ui {
class MainMenu;
}

namespace application {

// The main menu screen: shows the menu dialog and loops the menu music.
class MainMenuState : public IApplicationState {
public:
    MainMenuState();
    virtual ~MainMenuState();

    void Enter() override;
    void Exit() override;
    bool Pause() override;
    void Resume() override;
    // Restarts the music whenever it has stopped.
    void Update(double seconds) override;

    ui::MainMenu* menu() const { return m_menu; }
    sound::Sound* music() const { return m_music; }

private:
    void openMenu();
    void closeMenu();

    ui::MainMenu* m_menu = nullptr;
    sound::Sound* m_music = nullptr;
};

} // namespace application
