#include "sound/OggDecoder.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>

namespace sound {

namespace {
// vorbisfile reads through these, so any Ogre archive (folder, zip) can hold the files.
size_t readData(void* out, size_t size, size_t count, void* source) {
    if (size == 0)
        return 0;
    return static_cast<Ogre::DataStream*>(source)->read(out, size * count) / size;
}

int seekData(void* source, ogg_int64_t offset, int whence) {
    auto* stream = static_cast<Ogre::DataStream*>(source);
    ogg_int64_t target = offset;
    if (whence == SEEK_CUR)
        target += static_cast<ogg_int64_t>(stream->tell());
    else if (whence == SEEK_END)
        target += static_cast<ogg_int64_t>(stream->size());
    if (target < 0 || (stream->size() > 0 && target > static_cast<ogg_int64_t>(stream->size())))
        return -1;
    stream->seek(static_cast<size_t>(target));
    return 0;
}

long tellData(void* source) {
    return static_cast<long>(static_cast<Ogre::DataStream*>(source)->tell());
}

int closeData(void*) {
    // The decoder keeps the stream and closes it when it goes.
    return 0;
}
} // namespace

OggDecoder::OggDecoder()
    : m_file(new OggVorbis_File()), m_open(false), m_channels(0), m_rate(0), m_totalFrames(0) {}

OggDecoder::~OggDecoder() {
    if (m_open)
        ov_clear(m_file.get());
}

bool OggDecoder::open(const Ogre::DataStreamPtr& stream) {
    if (m_open || !stream)
        return false;
    m_stream = stream;
    const ov_callbacks callbacks = {readData, seekData, closeData, tellData};
    if (ov_open_callbacks(m_stream.get(), m_file.get(), nullptr, 0, callbacks) != 0) {
        m_stream.reset();
        return false;
    }
    m_open = true;
    const vorbis_info* info = ov_info(m_file.get(), -1);
    const ogg_int64_t total = ov_pcm_total(m_file.get(), -1);
    if (!info || info->channels < 1 || info->channels > 2 || info->rate <= 0 || total < 0) {
        ov_clear(m_file.get());
        m_open = false;
        m_stream.reset();
        return false;
    }
    m_channels = info->channels;
    m_rate = static_cast<int>(info->rate);
    m_totalFrames = total;
    return true;
}

bool OggDecoder::isOpen() const {
    return m_open;
}

int OggDecoder::channels() const {
    return m_channels;
}

int OggDecoder::rate() const {
    return m_rate;
}

int64_t OggDecoder::totalFrames() const {
    return m_totalFrames;
}

double OggDecoder::duration() const {
    return m_rate > 0 ? static_cast<double>(m_totalFrames) / m_rate : 0.0;
}

std::size_t OggDecoder::read(int16_t* out, std::size_t frames) {
    if (!m_open)
        return 0;
    const std::size_t frameBytes = sizeof(int16_t) * static_cast<std::size_t>(m_channels);
    char* cursor = reinterpret_cast<char*>(out);
    std::size_t left = frames * frameBytes;
    while (left > 0) {
        int section = 0;
        const long got = ov_read(m_file.get(), cursor, static_cast<int>(std::min<std::size_t>(left, 1 << 16)),
                                 0, 2, 1, &section);
        if (got == OV_HOLE)
            continue;
        if (got <= 0)
            break;
        cursor += got;
        left -= static_cast<std::size_t>(got);
    }
    return (frames * frameBytes - left) / frameBytes;
}

bool OggDecoder::seekFrame(int64_t frame) {
    return m_open && ov_pcm_seek(m_file.get(), frame) == 0;
}

std::vector<int16_t> OggDecoder::readAll() {
    std::vector<int16_t> samples;
    if (!m_open)
        return samples;
    const int64_t start = ov_pcm_tell(m_file.get());
    const int64_t remaining = std::max<int64_t>(0, m_totalFrames - std::max<int64_t>(0, start));
    samples.resize(static_cast<std::size_t>(remaining) * m_channels);
    const std::size_t got = read(samples.data(), static_cast<std::size_t>(remaining));
    samples.resize(got * m_channels);
    return samples;
}

} // namespace sound
