#include "minigames/BaggageState.h"

#include <sound/Sound.h>

#include <cmath>

namespace application {

const double BaggageState::kLimit = 60.0;
const double BaggageState::kTarget = 100.0;
const double BaggageState::kStep = 1.0;
const int BaggageState::kPointsPerSecond = 100;

BaggageState::BaggageState() : MiniGameState("BaggageState") {}

BaggageState::~BaggageState() {
    if (m_load)
        m_load->stop();
}

bool BaggageState::Init() {
    m_load = MakeSound("baggage_load", "baggage_load.ogg");
    return true;
}

void BaggageState::OnEnter() {
    m_panel.Open()->SetProgress(m_progress / m_target);
    if (m_load)
        m_load->play();
}

void BaggageState::OnExit() {
    m_panel.Close();
    m_elapsed = 0.0;
    m_progress = 0.0;
    if (m_load)
        m_load->stop();
}

void BaggageState::OnPause() {
    m_active = false;
}

void BaggageState::OnResume() {
    m_panel.Open();
}

void BaggageState::OnKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) {
    if (type != event::KeyEvent::KEY_PRESSED)
        return;
    m_active = true;
    const bool counts = (key == OIS::KC_LEFT && m_lastKey == OIS::KC_RIGHT) ||
                        (key == OIS::KC_RIGHT && m_lastKey == OIS::KC_LEFT);
    if (counts) {
        m_lastKey = key;
        m_alternated = true;
    }
}

void BaggageState::OnUpdate(double seconds) {
    if (!m_active)
        return;
    m_elapsed += seconds;
    if (m_elapsed > m_limit) {
        PopSelf();
        return;
    }
    if (m_panel.IsOpen())
        m_panel->SetTime(m_limit - m_elapsed);
    if (m_alternated) {
        m_alternated = false;
        m_progress += m_step;
    }
    if (m_panel.IsOpen())
        m_panel->SetProgress(m_progress / m_target);
    if (m_progress > m_target) {
        SendResult(event::MiniGameEvent::kBaggage);
        if (m_limit > m_elapsed)
            SendScore(std::floor(m_limit - m_elapsed) * kPointsPerSecond);
    }
}

} // namespace application
