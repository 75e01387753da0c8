#pragma once

#include <string>

namespace soundbuilder
{
class Clip;

/// Writes a clip as an Ogg Vorbis file. The stream serial number is derived
/// from the title, so the same clip always gives the same bytes.
class OggEncoder
{
public:
    explicit OggEncoder(float quality);

    /// Writes to a temporary file beside the target and renames it, so an
    /// interrupted build never leaves a truncated sound behind.
    bool write(const Clip& clip, const std::string& title, const std::string& path) const;

private:
    float m_quality;
};
}
