#pragma once

#include "minigames/CateringLoadPanel.h"
#include "minigames/CateringUPPanel.h"
#include "minigames/MiniGameState.h"
#include "minigames/PanelSlot.h"

namespace game {
class CateringTruck;
}

namespace application {

// Catering: raise the box into the door zone and press Space, load it by
// alternating Left and Right, lower it to the bottom, all within 45 seconds.
// The truck's real container follows the lift.
class CateringState : public MiniGameState {
public:
    enum EPhase { kRaise = 0, kLoad = 1, kLower = 2 };

    static const double kLiftSpeed;
    static const double kZoneLow;
    static const double kZoneHigh;
    static const double kLimit;
    static const double kLoadPerAlternation;
    static const int kLiftPointsPerSecond;
    static const int kLoadPointsPerSecond;

    CateringState();
    ~CateringState() override;

    bool Init() override;

    ui::CateringUPPanel* lift_panel() const { return m_liftPanel.get(); }
    ui::CateringLoadPanel* load_panel() const { return m_loadPanel.get(); }
    double value() const { return m_value; }
    double elapsed() const { return m_elapsed; }
    int phase() const { return m_phase; }
    bool active() const { return m_active; }
    game::CateringTruck* truck() const { return m_truck; }
    sound::Sound* updown_sound() const { return m_updown.get(); }
    sound::Sound* load_sound() const { return m_load.get(); }

private:
    void OnEnter() override;
    void OnExit() override;
    void OnUpdate(double seconds) override;
    void OnKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) override;

    void UpdateLift(double seconds);
    void UpdateLoad();
    void OpenLift();

    bool m_active = false;
    bool m_upHeld = false;
    bool m_downHeld = false;
    PanelSlot<ui::CateringUPPanel> m_liftPanel;
    PanelSlot<ui::CateringLoadPanel> m_loadPanel;
    double m_liftSpeed = kLiftSpeed;
    double m_zoneLow = kZoneLow;
    double m_zoneHigh = kZoneHigh;
    double m_value = 0.0;
    double m_elapsed = 0.0;
    double m_limit = kLimit;
    // Kept from play to play.
    OIS::KeyCode m_lastKey = OIS::KC_LEFT;
    // The game core's vehicle while it is a catering truck; not owned.
    game::CateringTruck* m_truck = nullptr;
    int m_phase = kRaise;
    std::unique_ptr<sound::Sound> m_updown;
    std::unique_ptr<sound::Sound> m_load;
};

} // namespace application
