#pragma once

#include "minigames/MiniGamePanel.h"

namespace MyGUI {
class ImageBox;
}

namespace ui {

// The repair scale: a needle running over a scale with a hit zone, and the hit count.
class RepairPanel : public MiniGamePanel {
public:
    static const base::StringHash kDialogType;

    RepairPanel();
    ~RepairPanel() override = default;

    const base::StringHash& GetType() const override { return kDialogType; }

    void SetIndicator(double value);
    // The zone between two scale values, in either order.
    void SetHitArea(double low, double high);
    void SetCount(int hits);

    int travel() const { return m_travel; }

private:
    MyGUI::ImageBox* m_indicator = nullptr;
    MyGUI::Widget* m_hitArea = nullptr;
    MyGUI::TextBox* m_hits = nullptr;
    int m_travel = 0;
};

} // namespace ui
