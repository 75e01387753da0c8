#include "sound/AudioSource.h"

#include "sound/AudioDevice.h"
#include "sound/OggDecoder.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace sound {

const std::size_t AudioSource::kBufferCount = 4;
const double AudioSource::kBufferSeconds = 0.25;

AudioSource::AudioSource(AudioDevice* device, std::string name, std::unique_ptr<OggDecoder> decoder,
                         bool stream, bool loop, bool prebuffer)
    : m_device(device), m_name(std::move(name)), m_decoder(std::move(decoder)), m_stream(stream),
      m_loop(loop), m_volume(1.0f), m_loopOffset(0.0f), m_state(EState::kStopped), m_channels(0), m_rate(0),
      m_totalFrames(0), m_loaded(false), m_position(0.0), m_source(0), m_feedFrame(0), m_feedEnded(false) {
    if (m_decoder) {
        m_channels = m_decoder->channels();
        m_rate = m_decoder->rate();
        m_totalFrames = m_decoder->totalFrames();
    }
    // A fully loaded sound decodes while the game loads, not at its first play.
    // Pre-buffering also takes the OpenAL source and fills the ring now.
    if (!m_stream && m_decoder && m_device && m_device->hasDevice())
        loadAll();
    if (prebuffer && attach())
        prime();
}

AudioSource::~AudioSource() {
    detach();
}

const std::string& AudioSource::name() const {
    return m_name;
}

void AudioSource::play() {
    // The end of a sound is noticed in update(); one that ran out since then
    // counts as stopped here, so the request restarts it instead of being lost.
    if (m_state == EState::kPlaying && m_source)
        update(0.0);
    if (m_state == EState::kPlaying)
        return;
    if (m_state == EState::kPaused) {
        if (m_source)
            alSourcePlay(m_source);
        m_state = EState::kPlaying;
        return;
    }
    m_position = 0.0;
    if (m_source || attach()) {
        prime();
        alSourcePlay(m_source);
    }
    m_state = EState::kPlaying;
}

void AudioSource::pause() {
    if (m_state != EState::kPlaying)
        return;
    if (m_source)
        alSourcePause(m_source);
    m_state = EState::kPaused;
}

void AudioSource::stop() {
    if (m_source) {
        alSourceStop(m_source);
        unqueueAll();
        rewindFeed();
    }
    m_position = 0.0;
    m_state = EState::kStopped;
}

void AudioSource::setVolume(float volume) {
    m_volume = volume;
    applyGain();
}

float AudioSource::volume() const {
    return m_volume;
}

void AudioSource::setLoopOffset(float seconds) {
    m_loopOffset = seconds;
}

float AudioSource::loopOffset() const {
    return m_loopOffset;
}

AudioSource::EState AudioSource::state() const {
    return m_state;
}

bool AudioSource::isPlaying() const {
    return m_state == EState::kPlaying;
}

bool AudioSource::isPaused() const {
    return m_state == EState::kPaused;
}

bool AudioSource::isLooping() const {
    return m_loop;
}

bool AudioSource::isStreamed() const {
    return m_stream;
}

bool AudioSource::isSilent() const {
    return m_source == 0;
}

double AudioSource::duration() const {
    return m_rate > 0 ? static_cast<double>(m_totalFrames) / m_rate : 0.0;
}

double AudioSource::playPosition() const {
    if (!m_source)
        return m_position;
    if (m_state == EState::kStopped || m_queued.empty())
        return 0.0;
    // The offset counts from the first buffer still queued, played ones included.
    ALint offset = 0;
    alGetSourcei(m_source, AL_SAMPLE_OFFSET, &offset);
    int64_t left = std::max<ALint>(0, offset);
    for (const Chunk& chunk : m_queued) {
        if (left < chunk.frames)
            return static_cast<double>(chunk.first + left) / m_rate;
        left -= chunk.frames;
    }
    const Chunk& last = m_queued.back();
    return static_cast<double>(last.first + last.frames) / m_rate;
}

void AudioSource::update(double seconds) {
    if (m_state != EState::kPlaying)
        return;
    if (!m_source) {
        advanceVirtual(seconds);
        return;
    }
    unqueueProcessed();
    fillRing();
    ALint state = AL_STOPPED;
    alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING)
        return;
    if (!m_queued.empty()) {
        // The ring ran dry between two updates: carry on with what is queued now.
        alSourcePlay(m_source);
        return;
    }
    rewindFeed();
    m_state = EState::kStopped;
}

void AudioSource::detach() {
    // Silent playback carries on from where the sound was heard.
    m_position = m_state == EState::kStopped ? 0.0 : playPosition();
    if (m_source) {
        alSourceStop(m_source);
        alSourcei(m_source, AL_BUFFER, 0);
    }
    m_queued.clear();
    if (!m_allBuffers.empty())
        alDeleteBuffers(static_cast<ALsizei>(m_allBuffers.size()), m_allBuffers.data());
    m_allBuffers.clear();
    m_freeBuffers.clear();
    if (m_device && m_source)
        m_device->releaseSource(m_source);
    m_source = 0;
    m_device = nullptr;
    m_decoder.reset();
    m_pcm.clear();
    m_pcm.shrink_to_fit();
}

bool AudioSource::attach() {
    if (m_source)
        return true;
    if (!m_device || !m_device->hasDevice() || m_totalFrames <= 0)
        return false;
    // A fully loaded sound keeps its samples even when no source was free last time.
    if (m_stream ? !m_decoder : (!m_loaded && !(m_decoder && loadAll())))
        return false;
    const unsigned source = m_device->acquireSource();
    if (!source)
        return false;
    std::vector<ALuint> buffers(kBufferCount, 0);
    alGetError();
    alGenBuffers(static_cast<ALsizei>(buffers.size()), buffers.data());
    if (alGetError() != AL_NO_ERROR) {
        m_device->releaseSource(source);
        std::cerr << "AudioSource: no sound buffers for '" << m_name << "', it plays silently" << std::endl;
        return false;
    }
    m_source = source;
    m_allBuffers.assign(buffers.begin(), buffers.end());
    m_freeBuffers = m_allBuffers;
    alSourcei(m_source, AL_LOOPING, AL_FALSE);
    alSourcei(m_source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(m_source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    applyGain();
    m_feedFrame = 0;
    m_feedEnded = false;
    return true;
}

bool AudioSource::loadAll() {
    m_pcm = m_decoder->readAll();
    m_totalFrames = static_cast<int64_t>(m_pcm.size() / m_channels);
    m_loaded = true;
    // Everything is in memory now; the file is not needed any more.
    m_decoder.reset();
    return m_totalFrames > 0;
}

void AudioSource::prime() {
    if (!m_source || !m_queued.empty())
        return;
    rewindFeed();
    fillRing();
}

void AudioSource::fillRing() {
    const std::size_t chunkFrames = std::max<std::size_t>(1, static_cast<std::size_t>(m_rate * kBufferSeconds));
    m_scratch.resize(chunkFrames * m_channels);
    const ALenum format = m_channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    int emptyReads = 0;
    while (!m_freeBuffers.empty() && !m_feedEnded) {
        const int64_t first = m_feedFrame;
        const std::size_t got = readFeed(m_scratch.data(), chunkFrames);
        if (got == 0) {
            // At the end: a looping sound wraps to its loop offset, others are done.
            if (m_loop && emptyReads++ == 0 && seekFeed(loopFrame()))
                continue;
            m_feedEnded = true;
            break;
        }
        emptyReads = 0;
        const ALuint buffer = m_freeBuffers.back();
        m_freeBuffers.pop_back();
        alBufferData(buffer, format, m_scratch.data(),
                     static_cast<ALsizei>(got * m_channels * sizeof(int16_t)), m_rate);
        alSourceQueueBuffers(m_source, 1, &buffer);
        m_queued.push_back(Chunk{buffer, first, static_cast<int64_t>(got)});
    }
}

void AudioSource::unqueueProcessed() {
    ALint processed = 0;
    alGetSourcei(m_source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0 && !m_queued.empty()) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(m_source, 1, &buffer);
        m_queued.pop_front();
        m_freeBuffers.push_back(buffer);
    }
}

void AudioSource::unqueueAll() {
    // A stopped source counts every queued buffer as processed.
    alSourceStop(m_source);
    unqueueProcessed();
    alSourcei(m_source, AL_BUFFER, 0);
    for (const Chunk& chunk : m_queued)
        m_freeBuffers.push_back(chunk.buffer);
    m_queued.clear();
}

void AudioSource::rewindFeed() {
    seekFeed(0);
    m_feedEnded = false;
}

std::size_t AudioSource::readFeed(int16_t* out, std::size_t frames) {
    std::size_t got = 0;
    if (m_stream) {
        if (m_decoder)
            got = m_decoder->read(out, frames);
    } else if (m_feedFrame < m_totalFrames) {
        got = static_cast<std::size_t>(std::min<int64_t>(static_cast<int64_t>(frames), m_totalFrames - m_feedFrame));
        std::copy_n(m_pcm.begin() + static_cast<std::ptrdiff_t>(m_feedFrame * m_channels), got * m_channels, out);
    }
    m_feedFrame += static_cast<int64_t>(got);
    return got;
}

bool AudioSource::seekFeed(int64_t frame) {
    if (m_stream && (!m_decoder || !m_decoder->seekFrame(frame)))
        return false;
    m_feedFrame = frame;
    return true;
}

int64_t AudioSource::loopFrame() const {
    if (m_totalFrames <= 0 || m_loopOffset <= 0.0f)
        return 0;
    const int64_t frame = static_cast<int64_t>(std::llround(static_cast<double>(m_loopOffset) * m_rate));
    // An offset past the end would loop nothing; such a loop starts over instead.
    return frame < m_totalFrames ? frame : 0;
}

void AudioSource::advanceVirtual(double seconds) {
    m_position += seconds;
    const double length = duration();
    if (m_position < length)
        return;
    if (!m_loop) {
        m_position = 0.0;
        m_state = EState::kStopped;
        return;
    }
    const double offset = m_rate > 0 ? static_cast<double>(loopFrame()) / m_rate : 0.0;
    const double span = length - offset;
    m_position = span > 0.0 ? offset + std::fmod(m_position - length, span) : offset;
}

void AudioSource::applyGain() const {
    if (m_source)
        alSourcef(m_source, AL_GAIN, std::max(0.0f, m_volume));
}

} // namespace sound
