#pragma once

#include "minigames/MiniGameState.h"
#include "minigames/PanelSlot.h"
#include "minigames/RepairPanel.h"

namespace application {

// Repair: a needle runs back and forth for 15 seconds; Space inside the zone
// is a hit, outside it a miss. Every hit is worth 500 points.
class RepairState : public MiniGameState {
public:
    static const double kLimit;
    static const double kZoneLow;
    static const double kZoneHigh;
    static const double kMarkerSpeed;
    static const int kPointsPerHit;

    RepairState();
    ~RepairState() override;

    bool Init() override;

    ui::RepairPanel* panel() const { return m_panel.get(); }
    double value() const { return m_value; }
    int hits() const { return m_hits; }
    sound::Sound* sound() const { return m_click.get(); }

private:
    void OnEnter() override;
    void OnExit() override;
    void OnUpdate(double seconds) override;
    void OnKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) override;

    PanelSlot<ui::RepairPanel> m_panel;
    double m_limit = kLimit;
    double m_elapsed = 0.0;
    // The needle and its direction carry over from one play to the next.
    double m_value = 0.0;
    int m_direction = -1;
    double m_zoneLow = kZoneLow;
    double m_zoneHigh = kZoneHigh;
    double m_speed = kMarkerSpeed;
    int m_hits = 0;
    std::unique_ptr<sound::Sound> m_click;
};

} // namespace application
