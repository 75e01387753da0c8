#include "minigames/CateringLoadPanel.h"

#include <MyGUI.h>

namespace ui {

const base::StringHash CateringLoadPanel::kDialogType("CateringLoadPanel");

CateringLoadPanel::CateringLoadPanel()
    : MiniGamePanel("CateringLoadPanel", "catering2_panel.layout", "catering_scale", "catering2_scale.layout") {
    m_indicator = require<MyGUI::ImageBox>("indicator");
    if (auto* scale = require<MyGUI::Widget>("scale_bg"))
        m_travel = Travel(scale->getWidth(), m_indicator ? m_indicator->getWidth() : 0);
    showWindow();
}

void CateringLoadPanel::SetValue(double value) {
    MoveAlong(m_indicator, value, m_travel);
}

} // namespace ui
