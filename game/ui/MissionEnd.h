#pragma once

#include <event/IListener.h>
#include <ui/Dialog.h>

namespace MyGUI {
class Widget;
}

namespace ui {

// The result of a completed mission: the previous best and the score just
// reached. Continue leads back to the mission selection; Watch replay plays
// the run back.
class MissionEnd : public Dialog, public event::IListener {
public:
    static const base::StringHash kDialogType;

    MissionEnd();
    virtual ~MissionEnd();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    const char* Name() override { return "MissionEnd"; }
    bool HandleEvent(const event::IEvent& event) override;

private:
    // The widgets the keyboard reaches, in order, and what Escape presses.
    void ListFocus();
    void notifyContinue(MyGUI::Widget* sender);
    // Watch replay: the run just ended, played back in the game state.
    void notifyWatch(MyGUI::Widget* sender);
    // The running mission's number, or -1 when no mission is running.
    static int CurrentMission();

    MyGUI::Widget* m_scoreOld = nullptr;
    MyGUI::Widget* m_scoreNew = nullptr;
    // Enabled once the run is on disk.
    MyGUI::Widget* m_watch = nullptr;
    bool m_listening = false;
};

} // namespace ui
