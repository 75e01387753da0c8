#pragma once

#include <ui/Dialog.h>

namespace MyGUI {
class Button;
}

namespace ui {

// The pause menu over a running game: continue, options, help and back to the
// main menu. Its state closes it; it then closes the options and help it opened.
class IngameMenu : public Dialog {
public:
    static const base::StringHash kDialogType;

    IngameMenu();
    virtual ~IngameMenu();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    // The one click handler of the four buttons, told apart by widget name.
    void notifyClick(MyGUI::Widget* sender);

    MyGUI::Button* continue_button() const { return m_continue; }
    MyGUI::Button* settings_button() const { return m_settings; }
    MyGUI::Button* quit_button() const { return m_quit; }
    MyGUI::Button* help_button() const { return m_help; }

protected:
    void OnClose() override;

private:
    MyGUI::Button* m_continue = nullptr;
    MyGUI::Button* m_settings = nullptr;
    MyGUI::Button* m_quit = nullptr;
    MyGUI::Button* m_help = nullptr;
};

} // namespace ui
