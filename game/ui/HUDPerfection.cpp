#include "ui/HUDPerfection.h"

#include <ui/Manager.h>

#include <MyGUI.h>

#include <algorithm>

namespace ui {

const base::StringHash HUDPerfection::kDialogType("HUDPerfection");
const std::uint32_t HUDPerfection::kRange = 100;

namespace {
const std::uint32_t kInitialPosition = 50;
} // namespace

HUDPerfection::HUDPerfection() : Dialog("Middle", "HUDPerfection", "HUDPerfection", TOP) {
    LoadLayout("hud_perfection.layout");
    Resize();
    m_bar = require<MyGUI::ProgressBar>("hud_perfection_bar");
    m_percentage = require<MyGUI::TextBox>("txt_percentage");
    if (m_bar) {
        m_bar->setProgressRange(kRange);
        m_bar->setProgressPosition(kInitialPosition);
    }
    SetText(m_percentage, "0");
    showWindow();
}

HUDPerfection::~HUDPerfection() = default;

void HUDPerfection::Resize() {
    CentreOnScreen();
}

std::string HUDPerfection::FormatPerfection(std::uint32_t perfection) {
    return std::to_string(std::min(perfection, kRange)) + " %";
}

void HUDPerfection::SetPerfection(std::uint32_t perfection) {
    const std::uint32_t shown = std::min(perfection, kRange);
    if (m_bar && m_bar->getProgressPosition() != shown)
        m_bar->setProgressPosition(shown);
    SetText(m_percentage, FormatPerfection(shown));
}

} // namespace ui
