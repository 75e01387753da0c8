#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Feeds one input to the XML layer and both stores as a file on disk, the way
// the game meets its files, and checks what must hold for any input. Shared by
// the fuzzer and the unit tests that replay every input that ever failed.
class StoreExercise {
public:
    // Works in folder, which must exist and is reused from input to input.
    explicit StoreExercise(const std::string& folder);

    // An empty string when every check held, otherwise what went wrong.
    std::string Run(const std::uint8_t* data, std::size_t size);

private:
    std::string m_folder;
};
