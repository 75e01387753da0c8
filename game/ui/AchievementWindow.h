#pragma once

#include <event/IListener.h>
#include <ui/Dialog.h>

namespace MyGUI {
class ScrollView;
class Widget;
}

namespace ui {

// The badges: one entry per achievement with icon, name and a tooltip that
// says how to earn it; those not yet earned are dimmed. Escape or Back closes it.
class AchievementWindow : public Dialog, public event::IListener {
public:
    static const base::StringHash kDialogType;
    // Gap below each entry of the list, in pixels.
    static const int kEntrySpacing;

    AchievementWindow();
    virtual ~AchievementWindow();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    const char* Name() override { return "AchievementWindow"; }
    bool HandleEvent(const event::IEvent& event) override;

    // The entry prefix of one achievement ("achievement3/").
    static std::string EntryPrefix(int number);

private:
    // The widgets the keyboard reaches, in order, and what Escape presses.
    void ListFocus();
    void notifyBack(MyGUI::Widget* sender);
    void AddEntries();
    void Close();

    MyGUI::ScrollView* m_list = nullptr;
    bool m_listening = false;
};

} // namespace ui
