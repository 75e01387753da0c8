#pragma once

#include <ui/Dialog.h>

#include <string>

namespace ui {

// Vehicle speed in km/h, bottom right.
class HUDSpeed : public Dialog {
public:
    static const base::StringHash kDialogType;

    HUDSpeed();
    virtual ~HUDSpeed();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    // Speed in world units (metres) per second.
    void SetSpeed(float speed);
    static std::string FormatSpeed(float speed);

    MyGUI::TextBox* text() const { return m_speed; }

private:
    MyGUI::TextBox* m_speed = nullptr;
};

} // namespace ui
