#pragma once

#include "display/cam/BaseCamera.h"
#include "event/IListener.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ogre {
class Entity;
}
namespace game {
class Vehicle;
}

namespace display {
namespace cam {

// Rides on the player's vehicle: its anchor hangs under the chassis node and
// takes the pose of one of four view bones of the chassis skeleton. Keys 1-4
// pick a view, C cycles through them; only while the camera is current.
class VehicleCam : public BaseCamera, public event::IListener {
public:
    // Identifier the game files the vehicle camera under.
    static const unsigned int kCameraId;
    static const unsigned int kNumViews;

    explicit VehicleCam(unsigned int id);
    virtual ~VehicleCam();

    void Activate(bool active) override;

    const char* Name() override;
    // Key presses 1-4 and C; never consumes the event.
    bool HandleEvent(const event::IEvent& event) override;

    // Mounts the camera on the vehicle in the view "camera_main". Null (or the
    // vehicle's end) takes the camera off and leaves it under the scene's root.
    void AttachToVehicle(game::Vehicle* vehicle);
    // The same for a chassis drawn without a vehicle (a replay): its mesh has
    // the view bones. Null takes the camera off.
    void AttachToChassis(Ogre::Entity* chassis);
    void SelectView(unsigned int index);
    void NextView();

    game::Vehicle* vehicle() const { return m_vehicle; }
    unsigned int view_index() const { return m_viewIndex; }
    const std::vector<std::string>& view_names() const { return m_viewNames; }

private:
    class AnchorWatch;
    friend class AnchorWatch;
    // The anchor was taken off the chassis by someone else (the vehicle's end).
    void AnchorDetached();
    void Subscribe(bool subscribe);

    void Mount(Ogre::Entity* chassis);

    game::Vehicle* m_vehicle;
    // What the camera rides on: the vehicle's chassis or a replay's.
    Ogre::Entity* m_chassis = nullptr;
    uint32_t m_viewIndex;
    std::vector<std::string> m_viewNames;
    std::unique_ptr<AnchorWatch> m_watch;
    bool m_listening;
    bool m_moving;
};

} // namespace cam
} // namespace display
