#pragma once

#include "base/Export.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace replay {

class Recording;

// The file form of a recording: a magic text, the format version, the file's
// length, the run (mission, variant, game version, score), the parts and
// value names, the frames and marks, all little-endian, and a CRC-32 of
// everything before it. Written atomically (file::AtomicFile).
class DW_API ReplayFile {
public:
    static const uint32_t kFormatVersion;
    // Bounds a file must keep, so garbage never asks for huge allocations.
    static const size_t kMaxParts;
    static const size_t kMaxValues;
    static const size_t kMaxNameLength;

    static std::string Encode(const Recording& recording);
    // False with a short reason ("truncated: 120 of 4096 bytes", "checksum
    // mismatch", ...) for anything that is not a whole, intact recording of
    // this format; `recording` is then left as it was.
    static bool Decode(const uint8_t* data, size_t size, Recording& recording, std::string& reason);

    static bool Save(const std::string& path, const Recording& recording, std::string& reason);
    static bool Load(const std::string& path, Recording& recording, std::string& reason);
};

} // namespace replay
