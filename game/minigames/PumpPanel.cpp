#include "minigames/PumpPanel.h"

#include <MyGUI.h>

namespace ui {

const base::StringHash PumpPanel::kDialogType("PumpPanel");

PumpPanel::PumpPanel() : MiniGamePanel("PumpPanel", "pump_panel.layout", "pump_scale", "pump_scale.layout") {
    m_arrow = require<MyGUI::ImageBox>("arrow");
    m_target = require<MyGUI::TextBox>("target");
    m_current = require<MyGUI::TextBox>("current_value");
    if (auto* scale = require<MyGUI::Widget>("scale_bg"))
        m_travel = static_cast<float>(Travel(scale->getWidth(), m_arrow ? m_arrow->getWidth() : 0));
    showWindow();
}

void PumpPanel::SetLevel(double value) {
    if (m_arrow)
        m_arrow->setPosition(static_cast<int>(Clamp01(value) * m_travel), 0);
}

void PumpPanel::SetTarget(int amount) {
    WriteNumber(m_target, amount);
}

void PumpPanel::SetCount(int amount) {
    WriteNumber(m_current, amount);
}

} // namespace ui
