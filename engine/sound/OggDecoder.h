#pragma once

#include "base/Export.h"

#include <OGRE/OgreDataStream.h>

#include <cstdint>
#include <memory>
#include <vector>

struct OggVorbis_File;

namespace sound {

// Decodes an Ogg Vorbis stream read through an Ogre data stream into
// interleaved signed 16-bit samples.
class DW_API OggDecoder {
public:
    OggDecoder();
    ~OggDecoder();
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    // False when the data is not Ogg Vorbis or has more than two channels.
    bool open(const Ogre::DataStreamPtr& stream);
    bool isOpen() const;
    int channels() const;
    int rate() const;
    // Length in sample frames (one sample per channel).
    int64_t totalFrames() const;
    double duration() const;

    // Decodes up to `frames` frames into `out`; returns the frames written,
    // 0 at the end of the data.
    std::size_t read(int16_t* out, std::size_t frames);
    bool seekFrame(int64_t frame);
    // Everything from the current position to the end.
    std::vector<int16_t> readAll();

private:
    Ogre::DataStreamPtr m_stream;
    std::unique_ptr<OggVorbis_File> m_file;
    bool m_open;
    int m_channels;
    int m_rate;
    int64_t m_totalFrames;
};

} // namespace sound
