#include "minigames/MiniGamePanel.h"

#include "ui/HUDTime.h"

#include <ui/Manager.h>

#include <MyGUI.h>

namespace ui {

const int MiniGamePanel::kTopOffset = 60;

namespace {
const char* const kLayer = "Modal";
} // namespace

MiniGamePanel::MiniGamePanel(const std::string& name, const std::string& panelLayout,
                             const std::string& scaleContainer, const std::string& scaleLayout)
    : Dialog(kLayer, name, name, LEFT) {
    LoadLayout(panelLayout);
    Resize();
    if (auto* container = require<MyGUI::Widget>(scaleContainer))
        MyGUI::LayoutManager::getInstance().loadLayout(scaleLayout, "", container);
    // A widget missing from either file is reported with both names.
    m_layoutName = panelLayout + " + " + scaleLayout;
    m_time = require<MyGUI::TextBox>("time");
}

MiniGamePanel::~MiniGamePanel() {
    if (m_gone) {
        std::function<void()> gone = std::move(m_gone);
        m_gone = nullptr;
        gone();
    }
}

void MiniGamePanel::Resize() {
    if (!m_window || m_window->getChildCount() == 0)
        return;
    const MyGUI::IntSize layoutSize = m_window->getChildAt(0)->getSize();
    set_size(layoutSize.width, layoutSize.height);
    const Manager* manager = Manager::getSingleton();
    const float centreX = manager ? manager->getScreenCenter().x : 0.f;
    set_position(static_cast<int>(centreX - m_size.x * 0.5f), kTopOffset);
}

void MiniGamePanel::SetTime(double seconds) {
    HUDTime::SetTime(m_time, seconds);
}

double MiniGamePanel::Clamp01(double value) {
    if (!(value > 0.0))
        return 0.0;
    return value > 1.0 ? 1.0 : value;
}

int MiniGamePanel::Travel(int scaleLength, int markerLength) {
    return scaleLength > markerLength ? scaleLength - markerLength : 0;
}

void MiniGamePanel::MoveAlong(MyGUI::Widget* marker, double value, int travel) {
    if (!marker)
        return;
    marker->setPosition(static_cast<int>(Clamp01(value) * travel), 0);
}

void MiniGamePanel::WriteNumber(MyGUI::TextBox* text, int value) {
    SetText(text, std::to_string(value));
}

} // namespace ui
