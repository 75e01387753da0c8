#include "minigames/CateringState.h"

#include "game/CateringTruck.h"
#include "game/GameCore.h"

#include <sound/Sound.h>

#include <algorithm>
#include <cmath>

namespace application {

const double CateringState::kLiftSpeed = 0.75;
const double CateringState::kZoneLow = 0.85;
const double CateringState::kZoneHigh = 0.9;
const double CateringState::kLimit = 45.0;
// One Left-Right alternation pushes the trolleys in by a hundredth of a lift stroke.
const double CateringState::kLoadPerAlternation = CateringState::kLiftSpeed * 0.01;
const int CateringState::kLiftPointsPerSecond = 10;
const int CateringState::kLoadPointsPerSecond = 100;

CateringState::CateringState() : MiniGameState("CateringState") {}

CateringState::~CateringState() {
    if (m_updown)
        m_updown->stop();
    if (m_load)
        m_load->stop();
}

bool CateringState::Init() {
    m_updown = MakeSound("catering_updown", "catering_updown.ogg");
    m_load = MakeSound("catering_load", "catering_load.ogg");
    return true;
}

void CateringState::OpenLift() {
    if (!m_liftPanel.IsOpen())
        m_liftPanel.Open()->SetTargetZone(m_zoneLow, m_zoneHigh);
}

void CateringState::OnEnter() {
    m_loadPanel.Close();
    OpenLift();
    m_elapsed = 0.0;
    m_active = false;
    m_value = 0.0;
    game::GameCore* core = game::GameCore::getSingleton();
    m_truck = core ? dynamic_cast<game::CateringTruck*>(core->current_vehicle()) : nullptr;
    if (m_updown)
        m_updown->play();
    if (m_load)
        m_load->stop();
}

void CateringState::OnExit() {
    // A key still held when the game ends is released elsewhere; the next play starts with none.
    m_upHeld = false;
    m_downHeld = false;
    m_liftPanel.Close();
    m_loadPanel.Close();
    m_elapsed = 0.0;
    m_active = false;
    m_truck = nullptr;
    m_phase = kRaise;
    if (m_updown)
        m_updown->stop();
    if (m_load)
        m_load->stop();
}

void CateringState::OnKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) {
    const bool pressed = type == event::KeyEvent::KEY_PRESSED;
    if (!pressed) {
        if (key == OIS::KC_UP)
            m_upHeld = false;
        else if (key == OIS::KC_DOWN)
            m_downHeld = false;
        return;
    }
    m_active = true;
    switch (key) {
    case OIS::KC_UP:
        if (m_liftPanel.IsOpen())
            m_upHeld = true;
        break;
    case OIS::KC_DOWN:
        if (m_liftPanel.IsOpen())
            m_downHeld = true;
        break;
    case OIS::KC_SPACE:
        if (m_liftPanel.IsOpen() && m_value > m_zoneLow && m_value < m_zoneHigh && m_phase == kRaise) {
            if (m_limit > m_elapsed)
                SendScore(std::floor(m_limit - m_elapsed) * kLiftPointsPerSecond);
            m_liftPanel.Close();
            m_loadPanel.Open();
            m_value = 0.0;
            m_phase = kLoad;
            if (m_updown)
                m_updown->stop();
            if (m_load)
                m_load->play();
        }
        break;
    case OIS::KC_LEFT:
    case OIS::KC_RIGHT: {
        const OIS::KeyCode other = key == OIS::KC_LEFT ? OIS::KC_RIGHT : OIS::KC_LEFT;
        if (m_loadPanel.IsOpen() && m_lastKey == other) {
            m_lastKey = key;
            m_upHeld = true;
        }
        break;
    }
    default:
        break;
    }
}

void CateringState::OnUpdate(double seconds) {
    if (!m_active)
        return;
    m_elapsed += seconds;
    if (m_liftPanel.IsOpen())
        UpdateLift(seconds);
    else if (m_loadPanel.IsOpen())
        UpdateLoad();
}

void CateringState::UpdateLift(double seconds) {
    m_liftPanel->SetTime(m_limit - m_elapsed);
    if (m_upHeld)
        m_value += m_liftSpeed * seconds;
    if (m_downHeld)
        m_value -= m_liftSpeed * seconds;
    m_value = std::clamp(m_value, 0.0, 1.0);
    m_liftPanel->SetValue(m_value);
    if (m_truck)
        m_truck->SetContainerLevel(m_value);
    if (m_phase == kLower && !(m_value > 0.0)) {
        if (m_limit > m_elapsed)
            SendScore(std::floor(m_limit - m_elapsed) * kLiftPointsPerSecond);
        SendResult(event::MiniGameEvent::kCatering);
        m_liftPanel.Close();
    }
}

void CateringState::UpdateLoad() {
    m_loadPanel->SetTime(m_limit - m_elapsed);
    if (m_upHeld) {
        m_upHeld = false;
        m_value += kLoadPerAlternation;
    }
    m_loadPanel->SetValue(m_value);
    if (m_value >= 1.0) {
        if (m_limit > m_elapsed)
            SendScore((m_limit - m_elapsed) * kLoadPointsPerSecond);
        m_loadPanel.Close();
        OpenLift();
        m_value = m_zoneLow;
        m_phase = kLower;
        if (m_updown)
            m_updown->play();
        if (m_load)
            m_load->stop();
    }
}

} // namespace application
