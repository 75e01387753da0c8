#pragma once

#include "minigames/BaggagePanel.h"
#include "minigames/MiniGameState.h"
#include "minigames/PanelSlot.h"

namespace application {

// Baggage: Left and Right in turn, one bag per key that differs from the one
// before; more than 100 bags within 60 seconds wins. The clock starts with
// the first key of the first play.
class BaggageState : public MiniGameState {
public:
    static const double kLimit;
    static const double kTarget;
    static const double kStep;
    static const int kPointsPerSecond;

    BaggageState();
    ~BaggageState() override;

    bool Init() override;

    ui::BaggagePanel* panel() const { return m_panel.get(); }
    double progress() const { return m_progress; }
    double elapsed() const { return m_elapsed; }
    bool active() const { return m_active; }
    sound::Sound* sound() const { return m_load.get(); }

private:
    void OnEnter() override;
    void OnExit() override;
    void OnPause() override;
    void OnResume() override;
    void OnUpdate(double seconds) override;
    void OnKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) override;

    PanelSlot<ui::BaggagePanel> m_panel;
    double m_limit = kLimit;
    double m_elapsed = 0.0;
    double m_target = kTarget;
    double m_step = kStep;
    double m_progress = 0.0;
    // Kept from play to play, so a later play starts its clock without waiting for a key.
    OIS::KeyCode m_lastKey = OIS::KC_LEFT;
    bool m_alternated = false;
    bool m_active = false;
    std::unique_ptr<sound::Sound> m_load;
};

} // namespace application
