#include "physics/bullet/VehicleTuning.h"

namespace OgreBulletDynamics {

VehicleTuning::VehicleTuning(float suspensionStiffness, float suspensionCompression, float suspensionDamping,
                             float maxSuspensionTravelCm, float frictionSlip) {
    m_tuning.m_suspensionStiffness = suspensionStiffness;
    m_tuning.m_suspensionCompression = suspensionCompression;
    m_tuning.m_suspensionDamping = suspensionDamping;
    m_tuning.m_maxSuspensionTravelCm = maxSuspensionTravelCm;
    m_tuning.m_frictionSlip = frictionSlip;
}

VehicleTuning::~VehicleTuning() = default;

} // namespace OgreBulletDynamics
