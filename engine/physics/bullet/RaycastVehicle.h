#pragma once

#include "base/Export.h"

#include <OGRE/OgreVector.h>

#include <vector>

class btRaycastVehicle;

namespace Ogre {
class SceneNode;
}

namespace OgreBulletDynamics {

class DynamicsWorld;
class VehicleRayCaster;
class VehicleTuning;
class WheeledRigidBody;

// Bullet's raycast vehicle on a wheeled chassis body; each wheel carries a
// scene node that follows the wheel's transform.
class DW_API RaycastVehicle {
public:
    // Enters the chassis body's world at once.
    RaycastVehicle(WheeledRigidBody* body, VehicleTuning* tuning, VehicleRayCaster* rayCaster);
    virtual ~RaycastVehicle();

    RaycastVehicle(const RaycastVehicle&) = delete;
    RaycastVehicle& operator=(const RaycastVehicle&) = delete;

    void setCoordinateSystem(int rightIndex, int upIndex, int forwardIndex);

    void addWheel(Ogre::SceneNode* node, const Ogre::Vector3& connectionPoint, const Ogre::Vector3& wheelDirection,
                  const Ogre::Vector3& wheelAxle, float suspensionRestLength, float wheelRadius, bool isFrontWheel,
                  float wheelFriction, float rollInfluence);

    // Wheel indices outside the vehicle are ignored.
    void applyEngineForce(float force, int wheel);
    void setSteeringValue(float steering, int wheel);
    void setBrake(float brake, int wheel);

    // Brings the wheel nodes to the wheels' current transforms.
    void updateWheels();

    int getNumWheels() const;
    float getCurrentSpeedKmHour() const;
    WheeledRigidBody* getChassis() const { return m_chassis; }
    btRaycastVehicle* getBulletVehicle() const { return m_vehicle; }

    // Called by the chassis when it is deleted first.
    void chassisDestroyed();

private:
    bool validWheel(int wheel) const;

    WheeledRigidBody* m_chassis;
    VehicleTuning* m_tuning;
    DynamicsWorld* m_world;
    btRaycastVehicle* m_vehicle;
    std::vector<Ogre::SceneNode*> m_wheelNodes;
};

} // namespace OgreBulletDynamics
