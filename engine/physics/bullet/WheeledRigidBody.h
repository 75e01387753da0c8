#pragma once

#include "base/Export.h"
#include "physics/bullet/RigidBody.h"

namespace OgreBulletDynamics {

class RaycastVehicle;

// The chassis of a raycast vehicle: when it moves, the vehicle's wheel nodes
// move with it.
class DW_API WheeledRigidBody : public RigidBody {
public:
    WheeledRigidBody(const Ogre::String& name, DynamicsWorld* world, short collisionGroup = 0,
                     short collisionMask = 0);
    virtual ~WheeledRigidBody();

    // Set by the vehicle built on this body.
    void setVehicle(RaycastVehicle* vehicle) { m_vehicle = vehicle; }
    RaycastVehicle* getVehicle() const { return m_vehicle; }

protected:
    void placeNode(const btTransform& transform) override;

private:
    RaycastVehicle* m_vehicle;
};

} // namespace OgreBulletDynamics
