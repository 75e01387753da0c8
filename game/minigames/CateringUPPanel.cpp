#include "minigames/CateringUPPanel.h"

#include <MyGUI.h>

#include <algorithm>

namespace ui {

const base::StringHash CateringUPPanel::kDialogType("CateringUPPanel");

CateringUPPanel::CateringUPPanel()
    : MiniGamePanel("CateringUPPanel", "catering_panel.layout", "catering_bar_empty", "catering_scale.layout") {
    m_arrow = require<MyGUI::ImageBox>("img_arrow");
    // The arrow's tip runs from the bottom of the scale to its top.
    if (auto* scale = require<MyGUI::Widget>("catering_bg"))
        m_travel = scale->getHeight() + (m_arrow ? m_arrow->getHeight() / 2 : 0);
    showWindow();
}

void CateringUPPanel::SetValue(double value) {
    if (!m_arrow)
        return;
    const int y = static_cast<int>((1.0 - Clamp01(value)) * m_travel - m_arrow->getHeight() / 2);
    // The arrow stays inside its container at the top of the scale too.
    m_arrow->setPosition(m_arrow->getLeft(), std::max(y, 0));
}

void CateringUPPanel::SetTargetZone(double low, double high) {
    auto* zone = require<MyGUI::ImageBox>("img_hitbox");
    if (!zone)
        return;
    const double a = 1.0 - Clamp01(low);
    const double b = 1.0 - Clamp01(high);
    const double top = std::min(a, b);
    const double bottom = std::max(a, b);
    zone->setCoord(0, static_cast<int>(top * m_travel), zone->getWidth(), static_cast<int>((bottom - top) * m_travel));
}

} // namespace ui
