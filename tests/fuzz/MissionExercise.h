#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Feeds one input to the mission file reader, as the mission would meet it in
// a file, and checks what the records promise for any input. Shared by the
// fuzzer and the unit tests that replay every input that ever failed.
class MissionExercise {
public:
    // An empty string when every check held, otherwise what went wrong.
    std::string Run(const std::uint8_t* data, std::size_t size);
};
