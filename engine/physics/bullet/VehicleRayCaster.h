#pragma once

#include "base/Export.h"

class btDefaultVehicleRaycaster;

namespace OgreBulletDynamics {

class DynamicsWorld;

// Casts the wheel rays of a raycast vehicle into a world.
class DW_API VehicleRayCaster {
public:
    explicit VehicleRayCaster(DynamicsWorld* world);
    virtual ~VehicleRayCaster();

    VehicleRayCaster(const VehicleRayCaster&) = delete;
    VehicleRayCaster& operator=(const VehicleRayCaster&) = delete;

    btDefaultVehicleRaycaster* getBulletVehicleRayCaster() const { return m_rayCaster; }

private:
    btDefaultVehicleRaycaster* m_rayCaster;
};

} // namespace OgreBulletDynamics
