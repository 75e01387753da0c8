#pragma once

namespace game {

// The driving values of a vehicle configuration file, as read and brought
// into range; what a vehicle applies to itself. Counts are wide so that a
// file's negative or oversized values can be seen and corrected.
struct VehicleConfig {
    // What a negative wheel count or a weight below 1 becomes.
    static constexpr long kDefaultWheels = 4;
    static constexpr long kDefaultWeight = 500;

    long numWheels = 0;
    long numPoweredWheels = 0;
    long weight = 0;
    float maxEngineForce = 0.0f;
    float steeringIncrement = 0.0f;
    float steeringClamp = 0.0f;
    float wheelFriction = 0.0f;
    float frictionSlip = 0.0f;
    float suspensionStiffness = 0.0f;
    float suspensionDamping = 0.0f;
    float suspensionCompression = 0.0f;
    float suspensionRestLength = 0.0f;
    float suspensionMaxTravelCm = 0.0f;
    float rollInfluence = 0.0f;
    float connectionHeight = 0.0f;
    float chassisShift = 0.0f;
};

} // namespace game
