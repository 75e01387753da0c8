#pragma once

#include <ui/Dialog.h>

#include <string>

namespace ui {

// While a replay is watched: "REPLAY", its speed (or pause, or its end) and
// the keys that control it, bottom centre.
class ReplayBar : public Dialog {
public:
    static const base::StringHash kDialogType;

    ReplayBar();
    virtual ~ReplayBar();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    void SetState(double speed, bool paused, bool ended);
    // "×0.25", "×1", "×4"
    static std::string FormatSpeed(double speed);

    MyGUI::TextBox* speed_text() const { return m_speed; }

private:
    MyGUI::TextBox* m_speed = nullptr;
    std::string m_shown;
};

} // namespace ui
