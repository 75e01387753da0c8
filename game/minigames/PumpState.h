#pragma once

#include "minigames/MiniGameState.h"
#include "minigames/PanelSlot.h"
#include "minigames/PumpPanel.h"

namespace application {

// Refuelling: holding Up raises the pump level, which falls by itself
// otherwise; fuel flows with the level. Pump more than the target, then let
// the level fall to zero; every unit above the target costs 10 of the
// 5000-point bonus.
class PumpState : public MiniGameState {
public:
    static const double kLevelRate;
    static const double kTarget;
    static const double kFlow;
    static const double kBonus;
    static const double kOverfillCost;
    static const int kPointsPerSecond;

    explicit PumpState(double limit);
    ~PumpState() override;

    bool Init() override;
    void Destroy() override;

    ui::PumpPanel* panel() const { return m_panel.get(); }
    double level() const { return m_level; }
    double amount() const { return m_amount; }
    double elapsed() const { return m_elapsed; }
    bool active() const { return m_active; }
    sound::Sound* sound() const { return m_pump.get(); }

private:
    void OnEnter() override;
    void OnExit() override;
    void OnPause() override;
    void OnUpdate(double seconds) override;
    void OnKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) override;

    double m_limit;
    double m_elapsed = 0.0;
    PanelSlot<ui::PumpPanel> m_panel;
    // The level and active are kept from play to play.
    double m_level = 0.0;
    double m_levelRate = kLevelRate;
    double m_target = kTarget;
    double m_amount = 0.0;
    double m_flow = kFlow;
    bool m_upHeld = false;
    bool m_downHeld = false;
    bool m_active = false;
    std::unique_ptr<sound::Sound> m_pump;
};

} // namespace application
