#pragma once

#include "application/IApplicationState.h"

namespace ui {
class Dialog;
}

namespace application {

// The in-game menu over a paused game.
class InGameMenuState : public IApplicationState {
public:
    InGameMenuState() = default;
    virtual ~InGameMenuState();

    void Enter() override;
    void Exit() override;
    bool Pause() override;
    void Resume() override;

    ui::Dialog* menu() const { return m_menu; }

private:
    void openMenu();
    void closeMenu();

    ui::Dialog* m_menu = nullptr;
};

} // namespace application
