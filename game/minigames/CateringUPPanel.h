#pragma once

#include "minigames/MiniGamePanel.h"

namespace MyGUI {
class ImageBox;
}

namespace ui {

// The catering lift: a vertical scale with the box height as an arrow and
// the zone in which the box meets the aircraft door.
class CateringUPPanel : public MiniGamePanel {
public:
    static const base::StringHash kDialogType;

    CateringUPPanel();
    ~CateringUPPanel() override = default;

    const base::StringHash& GetType() const override { return kDialogType; }

    // 0 is the bottom of the scale, 1 the top.
    void SetValue(double value);
    // The zone between two heights, in either order.
    void SetTargetZone(double low, double high);

    int travel() const { return m_travel; }

private:
    MyGUI::ImageBox* m_arrow = nullptr;
    int m_travel = 0;
};

} // namespace ui
