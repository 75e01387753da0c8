#include "ui/HUDTime.h"

#include <ui/Manager.h>

#include <MyGUI.h>

#include <cmath>
#include <cstdio>

namespace ui {

const base::StringHash HUDTime::kDialogType("HUDTime");

namespace {
// 5999:59 fills the box; larger times are shown as that.
const double kMaxSeconds = 5999.0 * 60.0 + 59.0;
const int kSecondsPerMinute = 60;
} // namespace

HUDTime::HUDTime() : Dialog("Middle", "HUDTime", "HUDTime", NONE) {
    LoadLayout("hud_timelimit.layout");
    Resize();
    m_time = require<MyGUI::TextBox>("hud_timelimit");
    SetText(m_time, "0");
    showWindow();
}

HUDTime::~HUDTime() = default;

void HUDTime::Resize() {
    set_position(0, 0);
}

std::string HUDTime::FormatTime(double seconds) {
    double whole = std::isnan(seconds) ? 0.0 : std::floor(seconds);
    whole = std::fmax(-kMaxSeconds, std::fmin(kMaxSeconds, whole));
    const long long total = static_cast<long long>(whole);
    const long long magnitude = total < 0 ? -total : total;
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld:%02lld", total < 0 ? "-" : "", magnitude / kSecondsPerMinute,
                  magnitude % kSecondsPerMinute);
    return text;
}

void HUDTime::SetTime(MyGUI::Widget* text, double seconds) {
    SetText(text, FormatTime(seconds));
}

void HUDTime::SetTime(double seconds) {
    SetTime(m_time, seconds);
}

} // namespace ui
