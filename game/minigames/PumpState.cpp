#include "minigames/PumpState.h"

#include <sound/Sound.h>

#include <algorithm>
#include <cmath>

namespace application {

const double PumpState::kLevelRate = 0.75;
const double PumpState::kTarget = 1000.0;
const double PumpState::kFlow = 100.0;
const double PumpState::kBonus = 5000.0;
const double PumpState::kOverfillCost = 10.0;
const int PumpState::kPointsPerSecond = 50;

namespace {
// Pumping and emptying on purpose move the level twice as fast as it falls by itself.
const double kHeldFactor = 2.0;
} // namespace

PumpState::PumpState(double limit) : MiniGameState("PumpState"), m_limit(limit) {}

PumpState::~PumpState() {
    if (m_pump)
        m_pump->stop();
}

bool PumpState::Init() {
    m_pump = MakeSound("fuel_pump", "fuel_pump.ogg");
    return true;
}

void PumpState::Destroy() {
    if (m_pump) {
        m_pump->stop();
        m_pump.reset();
    }
    delete this;
}

void PumpState::OnEnter() {
    ui::PumpPanel* panel = m_panel.Open();
    panel->SetTarget(static_cast<int>(m_target));
    panel->SetCount(static_cast<int>(m_amount));
    if (m_pump)
        m_pump->play();
}

void PumpState::OnExit() {
    // A key still held when the game ends is released elsewhere; the next play starts with none.
    m_upHeld = false;
    m_downHeld = false;
    m_panel.Close();
    m_elapsed = 0.0;
    m_amount = 0.0;
    if (m_pump)
        m_pump->stop();
}

void PumpState::OnPause() {
    m_active = false;
}

void PumpState::OnKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) {
    const bool pressed = type == event::KeyEvent::KEY_PRESSED;
    if (pressed)
        m_active = true;
    if (key == OIS::KC_UP)
        m_upHeld = pressed;
    else if (key == OIS::KC_DOWN)
        m_downHeld = pressed;
}

void PumpState::OnUpdate(double seconds) {
    if (!m_active)
        return;
    m_elapsed += seconds;
    if (m_panel.IsOpen())
        m_panel->SetTime(m_limit - m_elapsed);
    if (m_limit < m_elapsed) {
        PopSelf();
        return;
    }

    if (m_upHeld)
        m_level += kHeldFactor * m_levelRate * seconds;
    else if (m_downHeld)
        m_level -= kHeldFactor * m_levelRate * seconds;
    else
        m_level -= m_levelRate * seconds;
    m_level = std::clamp(m_level, 0.0, 1.0);
    m_amount += m_flow * m_level * seconds;

    if (m_panel.IsOpen()) {
        m_panel->SetLevel(m_level);
        m_panel->SetCount(static_cast<int>(m_amount));
    }
    if (m_level == 0.0 && m_amount > m_target) {
        // Points queued after the result still count: the mission announces its end only at its next update.
        SendResult(event::MiniGameEvent::kPump);
        SendScore(std::floor(m_limit - m_elapsed) * kPointsPerSecond);
        SendScore(std::max(0.0, kBonus - (m_amount - m_target) * kOverfillCost));
    }
}

} // namespace application
