#include "ui/AchievementWindow.h"

#include "game/Statistics.h"

#include <base/UserData.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <ui/FocusNavigator.h>
#include <ui/Manager.h>

#include <MyGUI.h>

namespace ui {

const base::StringHash AchievementWindow::kDialogType("AchievementWindow");
const int AchievementWindow::kEntrySpacing = 10;

namespace {
const char* const kLayout = "achievement_panel.layout";
const char* const kEntryLayout = "achievement_template.layout";
// Badges not earned yet are drawn at a fifth of their brightness.
const MyGUI::Colour kDimmed(0.2f, 0.2f, 0.2f, 1.0f);
} // namespace

AchievementWindow::AchievementWindow() : Dialog("Modal", "AchievementWindow", "AchievementWindow", TOP) {
    LoadLayout(kLayout);
    Resize();
    if (auto* back = require<MyGUI::Button>("btn_back"))
        back->eventMouseButtonClick += MyGUI::newDelegate(this, &AchievementWindow::notifyBack);
    m_list = require<MyGUI::ScrollView>("achievements_panel");
    AddEntries();
    ListFocus();
    showWindow();
    if (auto* events = event::Manager::getSingleton())
        m_listening = events->AddListener(*this, event::KeyEvent::kEventType);
}

void AchievementWindow::ListFocus() {
    MyGUI::Widget* back = m_window->findWidget("btn_back");
    Navigation().Add(back);
    Navigation().SetBack(back);
}

AchievementWindow::~AchievementWindow() {
    if (m_listening) {
        if (auto* events = event::Manager::getSingleton())
            events->RemoveListener(*this, event::KeyEvent::kEventType);
    }
}

std::string AchievementWindow::EntryPrefix(int number) {
    return base::Statistics::AchievementKey(number) + "/";
}

void AchievementWindow::AddEntries() {
    if (!m_list)
        return;
    auto* data = base::UserData::getSingleton();
    int y = 0;
    for (int i = 1; i <= base::Statistics::kAchievementCount; ++i) {
        const std::string key = base::Statistics::AchievementKey(i);
        const std::string prefix = EntryPrefix(i);
        MyGUI::LayoutManager::getInstance().loadLayout(kEntryLayout, prefix, m_list);

        if (auto* entry = require<MyGUI::Widget>(prefix + "achievement")) {
            entry->setPosition(entry->getLeft(), y);
            y += entry->getHeight() + kEntrySpacing;
        }
        if (auto* image = require<MyGUI::ImageBox>(prefix + "achievement_image")) {
            image->setImageTexture("icon_" + key + ".png");
            image->setNeedToolTip(true);
            image->setUserString("tooltip", "#{achievement_desc" + std::to_string(i) + "}");
            const bool earned = data && data->GetBool("achievements", key, false);
            if (!earned) {
                image->setColour(kDimmed);
                image->setAlpha(kDimmed.alpha);
            }
        }
        if (auto* text = require<MyGUI::TextBox>(prefix + "achievement_text"))
            text->setCaptionWithReplacing("#{" + key + "}");
    }
    m_list->setCanvasSize(static_cast<int>(m_window->getWidth()), y);
}

void AchievementWindow::Resize() {
    // LoadLayout sized the dialog to the layout's root; the size stays.
    CentreOnScreen();
}

bool AchievementWindow::HandleEvent(const event::IEvent& event) {
    if (event.event_type() != event::KeyEvent::kEventType)
        return false;
    const auto& key = static_cast<const event::KeyEvent&>(event);
    if (key.key_event_type() == event::KeyEvent::KEY_RELEASED && key.key() == OIS::KC_ESCAPE)
        Close();
    return false;
}

void AchievementWindow::notifyBack(MyGUI::Widget*) {
    Close();
}

void AchievementWindow::Close() {
    if (AcceptsInput())
        exitWindow();
}

} // namespace ui
