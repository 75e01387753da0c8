#include "minigames/RepairState.h"

#include <sound/Sound.h>

#include <algorithm>

namespace application {

const double RepairState::kLimit = 15.0;
const double RepairState::kZoneLow = 0.5;
const double RepairState::kZoneHigh = 0.6;
const double RepairState::kMarkerSpeed = 1.2;
const int RepairState::kPointsPerHit = 500;

RepairState::RepairState() : MiniGameState("RepairState") {}

RepairState::~RepairState() {
    if (m_click)
        m_click->stop();
}

bool RepairState::Init() {
    m_click = MakeSound("repair_click", "repair_click.ogg");
    return true;
}

void RepairState::OnEnter() {
    if (!m_panel.IsOpen())
        m_panel.Open()->SetHitArea(m_zoneLow, m_zoneHigh);
    m_elapsed = 0.0;
    m_hits = 0;
    m_panel->SetCount(m_hits);
    if (m_click)
        m_click->play();
}

void RepairState::OnExit() {
    m_panel.Close();
    if (m_click)
        m_click->stop();
}

void RepairState::OnKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) {
    if (type != event::KeyEvent::KEY_PRESSED || key != OIS::KC_SPACE)
        return;
    m_hits += (m_value > m_zoneLow && m_value < m_zoneHigh) ? 1 : -1;
    if (m_panel.IsOpen())
        m_panel->SetCount(m_hits);
}

void RepairState::OnUpdate(double seconds) {
    m_elapsed += seconds;
    if (m_elapsed > m_limit) {
        // Points queued after the result still count: the mission announces its end only at its next update.
        SendResult(event::MiniGameEvent::kRepair);
        SendScore(static_cast<double>(std::max(m_hits, 0)) * kPointsPerHit);
        return;
    }
    m_value += seconds * m_speed * m_direction;
    if (m_value < 0.0) {
        m_value = 0.0;
        m_direction = 1;
    }
    if (m_value > 1.0) {
        m_value = 1.0;
        m_direction = -1;
    }
    if (m_panel.IsOpen()) {
        m_panel->SetTime(m_limit - m_elapsed);
        m_panel->SetIndicator(m_value);
    }
}

} // namespace application
