#include "ui/ReplayBar.h"

#include <ui/Manager.h>

#include <MyGUI.h>

#include <cstdio>

namespace ui {

const base::StringHash ReplayBar::kDialogType("ReplayBar");

namespace {
const char* const kLayout = "replay_bar.layout";
// Above the speed display, which takes the bottom right corner.
const int kBottomGap = 96;
} // namespace

ReplayBar::ReplayBar() : Dialog("Middle", "ReplayBar", "ReplayBar", NONE) {
    LoadLayout(kLayout);
    Resize();
    m_speed = require<MyGUI::TextBox>("txt_replay_speed");
    SetState(1.0, false, false);
    showWindow();
}

ReplayBar::~ReplayBar() = default;

void ReplayBar::Resize() {
    if (const Manager* manager = Manager::getSingleton())
        set_position(static_cast<int>((manager->getWidth() - m_size.x) * 0.5),
                     static_cast<int>(manager->getHeight() - m_size.y - kBottomGap));
}

std::string ReplayBar::FormatSpeed(double speed) {
    char text[32];
    std::snprintf(text, sizeof text, "\xC3\x97%g", speed);
    return text;
}

void ReplayBar::SetState(double speed, bool paused, bool ended) {
    std::string shown = FormatSpeed(speed);
    if (ended)
        shown = "#{replay_ended}";
    else if (paused)
        shown += "  #{replay_paused}";
    if (shown == m_shown || !m_speed)
        return;
    m_shown = shown;
    m_speed->setCaptionWithReplacing(shown);
}

} // namespace ui
