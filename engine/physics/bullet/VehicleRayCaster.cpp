#include "physics/bullet/VehicleRayCaster.h"

#include "physics/bullet/DynamicsWorld.h"

#include <btBulletDynamicsCommon.h>

namespace OgreBulletDynamics {

VehicleRayCaster::VehicleRayCaster(DynamicsWorld* world)
    : m_rayCaster(new btDefaultVehicleRaycaster(world ? world->getBulletDynamicsWorld() : nullptr)) {}

VehicleRayCaster::~VehicleRayCaster() {
    delete m_rayCaster;
}

} // namespace OgreBulletDynamics
