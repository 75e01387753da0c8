#pragma once

#include "base/Export.h"

#include <cstddef>
#include <cstdint>

namespace replay {

// The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320): catches a
// flipped bit or a cut anywhere in a file far better than a plain sum.
class DW_API Crc32 {
public:
    static uint32_t Compute(const uint8_t* data, size_t size);
};

} // namespace replay
