#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Feeds one input to the vehicle configuration reader and checks that what it
// hands a vehicle is always in the range the physics can work with. Shared by
// the fuzzer and the unit tests that replay every input that ever failed.
class VehicleExercise {
public:
    // An empty string when every check held, otherwise what went wrong.
    std::string Run(const std::uint8_t* data, std::size_t size);
};
