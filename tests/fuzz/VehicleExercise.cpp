#include "fuzz/VehicleExercise.h"

#include "game/VehicleConfig.h"
#include "game/VehicleConfigReader.h"

#include <cmath>
#include <initializer_list>

namespace {

// A vehicle's values before it reads its file: the configuration table's defaults.
game::VehicleConfig tableDefaults() {
    game::VehicleConfig config;
    config.numWheels = 4;
    config.numPoweredWheels = 2;
    config.weight = 500;
    config.maxEngineForce = 1000.0f;
    config.steeringIncrement = 0.01f;
    config.steeringClamp = 0.8f;
    config.wheelFriction = 1e30f;
    config.frictionSlip = 10.5f;
    config.suspensionStiffness = 50.0f;
    config.suspensionDamping = 5.0f;
    config.suspensionCompression = 2.4f;
    config.suspensionRestLength = 0.6f;
    config.suspensionMaxTravelCm = 150.0f;
    config.rollInfluence = 0.01f;
    config.connectionHeight = -1.0f;
    config.chassisShift = -1.0f;
    return config;
}

} // namespace

std::string VehicleExercise::Run(const std::uint8_t* data, std::size_t size) {
    game::VehicleConfig config = tableDefaults();
    if (!game::VehicleConfigReader::Parse(reinterpret_cast<const char*>(data), size, "fuzz/vehicle.xml", config))
        return std::string();
    if (config.numWheels < 0 || config.numPoweredWheels < 0 || config.numPoweredWheels > config.numWheels)
        return "wheel counts out of range";
    if (config.weight <= 0)
        return "a weight that is not positive";
    if (config.numWheels > 1000000000L || config.weight > 1000000000L)
        return "a count beyond what an unsigned 32-bit vehicle field holds";
    if (config.steeringIncrement < 0 || config.steeringClamp < 0)
        return "negative steering values";
    for (float value : {config.maxEngineForce, config.steeringIncrement, config.steeringClamp, config.wheelFriction,
                        config.frictionSlip, config.suspensionStiffness, config.suspensionDamping,
                        config.suspensionCompression, config.suspensionRestLength, config.suspensionMaxTravelCm,
                        config.rollInfluence, config.connectionHeight, config.chassisShift})
        if (!std::isfinite(value))
            return "a value that is no finite number";
    return std::string();
}
