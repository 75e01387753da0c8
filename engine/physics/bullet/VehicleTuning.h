#pragma once

#include "base/Export.h"

#include <BulletDynamics/Vehicle/btRaycastVehicle.h>

namespace OgreBulletDynamics {

// Suspension and tyre values shared by the wheels of a raycast vehicle.
class DW_API VehicleTuning {
public:
    VehicleTuning(float suspensionStiffness, float suspensionCompression, float suspensionDamping,
                  float maxSuspensionTravelCm, float frictionSlip);
    virtual ~VehicleTuning();

    btRaycastVehicle::btVehicleTuning* getBulletTuning() { return &m_tuning; }
    const btRaycastVehicle::btVehicleTuning* getBulletTuning() const { return &m_tuning; }

private:
    btRaycastVehicle::btVehicleTuning m_tuning;
};

} // namespace OgreBulletDynamics
