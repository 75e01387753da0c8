#include "ui/NoticeDialog.h"

#include <ui/FocusNavigator.h>

#include <MyGUI.h>

namespace ui {

NoticeDialog::NoticeDialog(const std::string& name, const std::string& layout, const std::string& button,
                           EEntryDirection direction)
    : Dialog("Modal", name, name, direction), m_buttonName(button) {
    LoadLayout(layout);
    Resize();
    if (!m_buttonName.empty()) {
        m_button = require<MyGUI::Button>(m_buttonName);
        if (m_button)
            m_button->eventMouseButtonClick += MyGUI::newDelegate(this, &NoticeDialog::notifyClick);
        // Enter and Escape both close the notice.
        Navigation().Add(m_button);
        Navigation().SetBack(m_button);
    }
}

NoticeDialog::~NoticeDialog() = default;

void NoticeDialog::Resize() {
    CentreOnScreen();
}

void NoticeDialog::notifyClick(MyGUI::Widget* sender) {
    if (!AcceptsInput() || !sender || sender->getName() != m_buttonName)
        return;
    exitWindow();
}

} // namespace ui
