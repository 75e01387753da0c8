#include "ui/IngameMenu.h"

#include "ui/ControlsWindow.h"
#include "ui/HelpScreen.h"
#include "ui/OptionsWindow.h"

#include <ui/FocusNavigator.h>
#include <ui/Manager.h>

#include <MyGUI.h>

namespace ui {

const base::StringHash IngameMenu::kDialogType("IngameMenu");

namespace {
const char* const kMainMenuState = "MainMenu";

// Opens a dialog of this kind unless one is open already.
template <typename T> void openOnce() {
    Manager* manager = Manager::getSingleton();
    if (manager && !manager->GetDialog(T::kDialogType))
        new T();
}

void closeIfOpen(const base::StringHash& type) {
    Manager* manager = Manager::getSingleton();
    Dialog* dialog = manager ? manager->GetDialog(type) : nullptr;
    if (dialog && !dialog->IsExiting())
        dialog->exitWindow();
}
} // namespace

IngameMenu::IngameMenu() : Dialog("Modal", "IngameMenu", "IngameMenu", NONE) {
    LoadLayout("ingame_menu.layout");
    Resize();
    m_continue = require<MyGUI::Button>("btn_continue");
    m_settings = require<MyGUI::Button>("btn_settings");
    m_quit = require<MyGUI::Button>("btn_quit");
    m_help = require<MyGUI::Button>("btn_ig_help");
    for (MyGUI::Button* button : {m_continue, m_settings, m_quit, m_help})
        if (button)
            button->eventMouseButtonClick += MyGUI::newDelegate(this, &IngameMenu::notifyClick);
    // Top to bottom as drawn; Escape continues the game.
    FocusNavigator& focus = Navigation();
    for (MyGUI::Button* button : {m_continue, m_settings, m_help, m_quit})
        focus.Add(button);
    focus.SetBack(m_continue);
    showWindow();
}

IngameMenu::~IngameMenu() = default;

void IngameMenu::Resize() {
    CentreOnScreen();
}

void IngameMenu::OnClose() {
    closeIfOpen(ControlsWindow::kDialogType);
    closeIfOpen(OptionsWindow::kDialogType);
    closeIfOpen(HelpScreen::kDialogType);
}

void IngameMenu::notifyClick(MyGUI::Widget* sender) {
    if (!AcceptsInput() || !sender)
        return;
    const std::string& name = sender->getName();
    if (name == "btn_continue") {
        RequestState(event::ApplicationStateEvent::POP_STATE, "");
    } else if (name == "btn_quit") {
        RequestState(event::ApplicationStateEvent::POP_STATE, kMainMenuState);
    } else if (StateRequested()) {
        // The menu is about to go; nothing new opens over it.
    } else if (name == "btn_settings") {
        openOnce<OptionsWindow>();
    } else if (name == "btn_ig_help") {
        openOnce<HelpScreen>();
    }
}

} // namespace ui
