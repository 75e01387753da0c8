#include "ui/HUDSpeed.h"

#include <ui/Manager.h>

#include <MyGUI.h>

#include <cmath>
#include <cstdio>

namespace ui {

const base::StringHash HUDSpeed::kDialogType("HUDSpeed");

namespace {
const double kKilometresPerHour = 3.6;
// Four digits fill the box.
const double kMaxShown = 9999.0;
} // namespace

HUDSpeed::HUDSpeed() : Dialog("Middle", "HUDSpeed", "HUDSpeed", NONE) {
    LoadLayout("hud_speed.layout");
    Resize();
    m_speed = require<MyGUI::TextBox>("hud_speed");
    showWindow();
}

HUDSpeed::~HUDSpeed() = default;

void HUDSpeed::Resize() {
    if (const Manager* manager = Manager::getSingleton())
        set_position(static_cast<int>(manager->getWidth() - m_size.x), static_cast<int>(manager->getHeight() - m_size.y));
}

std::string HUDSpeed::FormatSpeed(float speed) {
    double shown = std::floor(static_cast<double>(speed) * kKilometresPerHour);
    // A speed is a length: nothing below zero, and NaN reads as standing still.
    if (!(shown > 0.0))
        shown = 0.0;
    shown = std::fmin(shown, kMaxShown);
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(shown));
    return text;
}

void HUDSpeed::SetSpeed(float speed) {
    SetText(m_speed, FormatSpeed(speed));
}

} // namespace ui
