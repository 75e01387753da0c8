#include "ui/RadioMessage.h"

#include <ui/Manager.h>

#include <MyGUI.h>

namespace ui {

namespace {
const int kTopMargin = 60;

std::string translated(const std::string& text) {
    if (!MyGUI::LanguageManager::getInstancePtr())
        return text;
    return MyGUI::LanguageManager::getInstance().replaceTags(text);
}
} // namespace

RadioMessage::RadioMessage(const std::string& text) : MessageBoxA(translated(text)) {}

void RadioMessage::Resize() {
    const Manager* manager = Manager::getSingleton();
    const int width = manager ? manager->getWidth() : 0;
    set_position(static_cast<int>(width / 2 - m_size.x * 0.5f), kTopMargin);
}

} // namespace ui
