#include "physics/bullet/WheeledRigidBody.h"

#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/RaycastVehicle.h"

namespace OgreBulletDynamics {

WheeledRigidBody::WheeledRigidBody(const Ogre::String& name, DynamicsWorld* world, short collisionGroup,
                                   short collisionMask)
    : RigidBody(name, world, collisionGroup, collisionMask), m_vehicle(nullptr) {}

WheeledRigidBody::~WheeledRigidBody() {
    // A vehicle left on a deleted chassis must neither step nor touch it again.
    if (m_vehicle) {
        if (m_world)
            m_world->removeVehicle(m_vehicle);
        m_vehicle->chassisDestroyed();
    }
}

void WheeledRigidBody::placeNode(const btTransform& transform) {
    RigidBody::placeNode(transform);
    if (m_vehicle)
        m_vehicle->updateWheels();
}

} // namespace OgreBulletDynamics
