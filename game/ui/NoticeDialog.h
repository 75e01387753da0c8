#pragma once

#include <ui/Dialog.h>

#include <string>

namespace ui {

// A centred modal notice from one layout, closed by its one button (or, with
// no button name, by its owner).
class NoticeDialog : public Dialog {
public:
    NoticeDialog(const std::string& name, const std::string& layout, const std::string& button,
                 EEntryDirection direction);
    virtual ~NoticeDialog();

    void Resize() override;

    // Closes the notice when its button was clicked.
    void notifyClick(MyGUI::Widget* sender);

    MyGUI::Button* button() const { return m_button; }

private:
    std::string m_buttonName;
    MyGUI::Button* m_button = nullptr;
};

} // namespace ui
