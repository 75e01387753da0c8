#include "ui/MessageBoxA.h"

#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "ui/Manager.h"

#include <MyGUI.h>

namespace ui {

const base::StringHash MessageBoxA::kDialogType("MessageBox");
const double MessageBoxA::kShowSeconds = 6.0;

namespace {
const int kKeyReturn = 28;
}

MessageBoxA::MessageBoxA(std::string text) : Dialog("Middle", "MessageBox", "MessageBox", TOP) {
    if (auto* events = event::Manager::getSingleton())
        events->AddListener(*this, event::KeyEvent::kEventType);

    if (m_window) {
        MyGUI::LayoutManager::getInstance().loadLayout("message_box.layout", "", m_window);
        if (m_window->getChildCount() > 0) {
            const MyGUI::IntSize first = m_window->getChildAt(0)->getSize();
            set_size(first.width, first.height);
        }
    }
    const int screenWidth = Manager::getSingleton() ? Manager::getSingleton()->getWidth() : 0;
    set_position(static_cast<int>((screenWidth / 2) - m_size.x * 0.5), 60);

    // Looked up below this box's own window: queued boxes share widget names.
    if (m_window) {
        if (auto* name = m_window->findWidget("character_name"))
            if (auto* label = name->castType<MyGUI::TextBox>(false))
                label->setCaption("Coder");
        if (auto* portrait = m_window->findWidget("character_portrait"))
            if (auto* image = portrait->castType<MyGUI::ImageBox>(false))
                image->setImageTexture("character1.png");
        if (auto* message = m_window->findWidget("message_text"))
            if (auto* label = message->castType<MyGUI::TextBox>(false))
                label->setCaption(text);
    }

    if (auto* manager = Manager::getSingleton())
        manager->AddMessageBox(this);
}

MessageBoxA::~MessageBoxA() {
    if (auto* events = event::Manager::getSingleton())
        events->RemoveListener(*this, event::KeyEvent::kEventType);
}

void MessageBoxA::Update(double seconds) {
    m_remainingTime -= seconds;
    if (m_remainingTime < 0.0 && !m_exiting)
        exitWindow();
}

bool MessageBoxA::HandleEvent(const event::IEvent& event) {
    if (!m_window || !m_window->getVisible() || event.event_type() != event::KeyEvent::kEventType)
        return false;
    if (static_cast<const event::KeyEvent&>(event).key() == kKeyReturn)
        m_remainingTime = 0.0;
    return false;
}

} // namespace ui
