#pragma once

#include "base/Export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sound {

// Writes interleaved signed 16-bit samples as an Ogg Vorbis file, for tools
// and tests that make their own sounds.
class DW_API OggEncoder {
public:
    // quality: vorbisenc's variable bit-rate quality, -0.1 to 1.0. False (with
    // a line on stderr) when the file cannot be written or the format is refused.
    static bool Write(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate,
                      float quality = 0.4f);
    // A sine tone of the given length, mono.
    static std::vector<int16_t> Tone(double seconds, int rate, double frequency, float amplitude = 0.5f);
};

} // namespace sound
