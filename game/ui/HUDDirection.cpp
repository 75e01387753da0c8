#include "ui/HUDDirection.h"

#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/Ogre.h>

#include <cmath>
#include <cstdio>

namespace ui {

const base::StringHash HUDDirection::kDialogType("HUDDirection");
const char* const HUDDirection::kArrowMesh = "arrow.mesh";

namespace {
// The distance text shows half the world distance, in metres.
const double kMetresPerUnit = 0.5;
const double kMaxShown = 999999.0;
// The direction handed in turns the vehicle's heading onto the line from the
// target to the vehicle, and the arrow model points along the heading (-z):
// turned half round inside its node, the arrow points at the target.
const Ogre::Quaternion kArrowTurn(Ogre::Degree(180.f), Ogre::Vector3::UNIT_Y);
} // namespace

HUDDirection::HUDDirection() : Dialog("Middle", "HUDDirection", "HUDDirection", NONE) {
    LoadLayout("hud_direction.layout");
    Resize();
    m_distance = require<MyGUI::TextBox>("hud_distance");
    m_canvas = require<MyGUI::Canvas>("hud_direction");
    SetText(m_distance, "");
    if (m_canvas) {
        m_renderBox.BindCanvas(m_canvas);
        m_renderBox.ShowMesh(kArrowMesh, Ogre::Vector3::ZERO, kArrowTurn);
    }
    showWindow();
}

HUDDirection::~HUDDirection() {
    m_renderBox.Release();
}

void HUDDirection::OnClose() {
    m_renderBox.Release();
    m_canvas = nullptr;
}

void HUDDirection::Resize() {
    if (const Manager* manager = Manager::getSingleton())
        set_position(static_cast<int>(manager->getScreenCenter().x - m_size.x * 0.5f), 0);
}

std::string HUDDirection::FormatDistance(float distance) {
    double shown = std::floor(static_cast<double>(distance) * kMetresPerUnit);
    if (!(shown > 0.0))
        shown = 0.0;
    shown = std::fmin(shown, kMaxShown);
    char text[32];
    std::snprintf(text, sizeof text, "%d m", static_cast<int>(shown));
    return text;
}

void HUDDirection::SetDistance(float distance) {
    SetText(m_distance, FormatDistance(distance));
}

void HUDDirection::SetDirection(const Ogre::Quaternion& orientation) {
    Ogre::SceneNode* node = m_renderBox.model_node();
    if (!node)
        return;
    const Ogre::Radian yaw = orientation.getYaw(true);
    node->resetOrientation();
    node->yaw(yaw, Ogre::Node::TS_LOCAL);
}

} // namespace ui
