#pragma once

#include <ui/Dialog.h>

#include <string>

namespace ui {

// Remaining time, top left.
class HUDTime : public Dialog {
public:
    static const base::StringHash kDialogType;

    HUDTime();
    virtual ~HUDTime();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    void SetTime(double seconds);

    // "m:ss" of the whole seconds (rounded down), signed: -3.2 reads "-0:04".
    // The one remaining-time format of the game; the mini-game panels use it too.
    static std::string FormatTime(double seconds);
    // Writes the formatted time into any text widget, only when it changes.
    static void SetTime(MyGUI::Widget* text, double seconds);

    MyGUI::TextBox* text() const { return m_time; }

private:
    MyGUI::TextBox* m_time = nullptr;
};

} // namespace ui
