#pragma once

#include <ui/Dialog.h>

namespace MyGUI {
class Widget;
}

namespace ui {

class LoadingPanel;

// The full-screen main menu: background picture and five buttons.
class MainMenu : public Dialog {
public:
    static const base::StringHash kDialogType;
    static const char* const kButtons[];
    static const size_t kButtonCount;

    MainMenu();
    virtual ~MainMenu();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    // The one click handler of all buttons, told apart by widget name.
    void notifyClick(MyGUI::Widget* sender);

    LoadingPanel* loading_panel() const { return m_loadingPanel; }

private:
    // The widgets the keyboard reaches, in order, and what Escape presses.
    void ListFocus();
    // The loading notice opened for a free drive; closed with the menu.
    LoadingPanel* m_loadingPanel = nullptr;
};

} // namespace ui
