#include "minigames/BaggagePanel.h"

#include <MyGUI.h>

namespace ui {

const base::StringHash BaggagePanel::kDialogType("BaggagePanel");

BaggagePanel::BaggagePanel()
    : MiniGamePanel("BaggagePanel", "baggage_panel.layout", "baggage_scale", "baggage_scale.layout") {
    m_indicator = require<MyGUI::ImageBox>("indicator");
    if (auto* scale = require<MyGUI::Widget>("scale_bg"))
        m_travel = Travel(scale->getWidth(), m_indicator ? m_indicator->getWidth() : 0);
    showWindow();
}

void BaggagePanel::SetProgress(double value) {
    MoveAlong(m_indicator, value, m_travel);
}

} // namespace ui
