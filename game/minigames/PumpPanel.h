#pragma once

#include "minigames/MiniGamePanel.h"

namespace MyGUI {
class ImageBox;
}

namespace ui {

// The fuel pump: an arrow for the pump level, the target and the amount pumped.
class PumpPanel : public MiniGamePanel {
public:
    static const base::StringHash kDialogType;

    PumpPanel();
    ~PumpPanel() override = default;

    const base::StringHash& GetType() const override { return kDialogType; }

    void SetLevel(double value);
    void SetTarget(int amount);
    void SetCount(int amount);

    float travel() const { return m_travel; }

private:
    MyGUI::ImageBox* m_arrow = nullptr;
    MyGUI::TextBox* m_target = nullptr;
    MyGUI::TextBox* m_current = nullptr;
    float m_travel = 0.f;
};

} // namespace ui
