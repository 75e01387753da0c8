#include "physics/bullet/VehicleTuning.h"

namespace OgreBulletDynamics {

namespace {
// Bullet caps each wheel at 6000 N, less than a loaded truck's rear wheels take
// when it pulls away: the rear then sat on its stops and the front wheels lost
// their grip, stalling the truck on flat ground.
const float kMaxSuspensionForce = 12000.0f;
} // namespace

VehicleTuning::VehicleTuning(float suspensionStiffness, float suspensionCompression, float suspensionDamping,
                             float maxSuspensionTravelCm, float frictionSlip) {
    m_tuning.m_suspensionStiffness = suspensionStiffness;
    m_tuning.m_suspensionCompression = suspensionCompression;
    m_tuning.m_suspensionDamping = suspensionDamping;
    m_tuning.m_maxSuspensionTravelCm = maxSuspensionTravelCm;
    m_tuning.m_frictionSlip = frictionSlip;
    m_tuning.m_maxSuspensionForce = kMaxSuspensionForce;
}

VehicleTuning::~VehicleTuning() = default;

} // namespace OgreBulletDynamics
