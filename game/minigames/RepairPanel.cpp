#include "minigames/RepairPanel.h"

#include <MyGUI.h>

#include <utility>

namespace ui {

const base::StringHash RepairPanel::kDialogType("RepairPanel");

RepairPanel::RepairPanel()
    : MiniGamePanel("RepairPanel", "repair_panel.layout", "repair_scale", "repair_scale.layout") {
    m_indicator = require<MyGUI::ImageBox>("indicator");
    m_hitArea = require<MyGUI::Widget>("hit_area");
    m_hits = require<MyGUI::TextBox>("hits");
    if (auto* scale = require<MyGUI::Widget>("scale_bg"))
        m_travel = Travel(scale->getWidth(), m_indicator ? m_indicator->getWidth() : 0);
    showWindow();
}

void RepairPanel::SetIndicator(double value) {
    MoveAlong(m_indicator, value, m_travel);
}

void RepairPanel::SetHitArea(double low, double high) {
    if (!m_hitArea)
        return;
    low = Clamp01(low);
    high = Clamp01(high);
    if (low > high)
        std::swap(low, high);
    const int x = static_cast<int>(low * m_travel);
    const int width = static_cast<int>(high * m_travel - x);
    m_hitArea->setCoord(x, 0, width, m_hitArea->getHeight());
}

void RepairPanel::SetCount(int hits) {
    WriteNumber(m_hits, hits);
}

} // namespace ui
