#pragma once

#include <event/IListener.h>
#include <game/Trigger.h>

#include <cstdint>
#include <string>

namespace Ogre {
class Entity;
}
namespace ui {
class HUDPerfection;
}

namespace game {

// A parking area at an aircraft. While a vehicle stands in it the parking
// precision ("perfection") is shown; Space confirms it, which scores it and
// reports the trigger.
class MiniGameTrigger : public Trigger, public event::IListener {
public:
    static const unsigned short kObjectType;
    static const char* const kMesh;
    static const int32_t kMaxPerfection;
    static const int32_t kBonusPerfection;
    static const uint32_t kPointsPerPercent;
    static const uint32_t kBonusPoints;

    explicit MiniGameTrigger(Ogre::SceneNode* node);
    virtual ~MiniGameTrigger();

    void Activate(bool flag) override;
    void OnEnter(btCollisionObject* object) override;
    void OnStay(btCollisionObject* object) override;
    void OnLeave(btCollisionObject* object) override;

    const char* Name() override { return m_name.c_str(); }
    bool HandleEvent(const event::IEvent& event) override;

    // 101 exactly centred, 1 at the half-diagonal of the footprint (hx, hz),
    // 0 beyond it and for a footprint of no size.
    static int32_t ComputePerfection(double dx, double dz, double hx, double hz);

    const std::string& name() const { return m_name; }
    int32_t perfection() const { return m_perfection; }
    ui::HUDPerfection* display() const { return m_display; }
    bool IsListening() const { return m_listening; }
    Ogre::Entity* marker() const { return m_marker; }

private:
    void Listen(bool listen);
    void OpenDisplay();
    void ShowPerfection();
    ui::HUDPerfection* OpenedDisplay() const;
    void CloseDisplay();

    std::string m_name;
    int32_t m_perfection = 0;
    ui::HUDPerfection* m_display = nullptr;

    Ogre::Entity* m_marker = nullptr;
    bool m_listening = false;
};

} // namespace game
