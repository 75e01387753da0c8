#pragma once

#include "base/Export.h"

#include <cstddef>
#include <string>

namespace game {

struct VehicleConfig;

// Reads a vehicle configuration file into a VehicleConfig without touching a
// vehicle: each key is the first element of its name anywhere in the file,
// its text the value. Keys that are absent, empty or not numbers keep the
// value they had (one line on stderr for a bad number); counts and weights the
// physics cannot work with are brought into range, one line each.
class DW_API VehicleConfigReader {
public:
    // False, with one line and config untouched, when the file cannot be read or parsed.
    static bool Read(const std::string& fileName, VehicleConfig& config);
    // The same for a file's bytes; fileName only names it in the diagnostics.
    static bool Parse(const char* data, std::size_t size, const std::string& fileName, VehicleConfig& config);
};

} // namespace game
