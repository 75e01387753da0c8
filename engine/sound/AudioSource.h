#pragma once

#include "base/Export.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace sound {

class AudioDevice;
class OggDecoder;

// One sound of the playback layer. Samples reach OpenAL through a small ring
// of buffers refilled in update(): read from the file while playing when
// streamed, from memory when fully loaded. Looping happens while filling the
// ring, which is how a loop can restart at an offset instead of the start.
//
// Without an OpenAL source (no device, or the source limit reached) the sound
// is silent and update() advances a virtual play position instead.
class DW_API AudioSource {
public:
    enum class EState { kStopped, kPlaying, kPaused };

    static const std::size_t kBufferCount;
    // Length of one ring buffer.
    static const double kBufferSeconds;

    // A null decoder makes an empty sound (length 0) that only keeps state.
    // A null device makes it silent for good.
    AudioSource(AudioDevice* device, std::string name, std::unique_ptr<OggDecoder> decoder,
                bool stream, bool loop, bool prebuffer);
    ~AudioSource();
    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;

    const std::string& name() const;

    // Starts from the beginning when stopped, resumes when paused, nothing when playing.
    void play();
    void pause();
    void stop();
    void setVolume(float volume);
    float volume() const;
    // Clamped into the sound's length when the loop wraps.
    void setLoopOffset(float seconds);
    float loopOffset() const;

    EState state() const;
    bool isPlaying() const;
    bool isPaused() const;
    bool isLooping() const;
    bool isStreamed() const;
    // True while no OpenAL source plays this sound.
    bool isSilent() const;
    double duration() const;
    // Seconds from the start of the sound of what is heard now.
    double playPosition() const;

    void update(double seconds);
    // Gives the OpenAL objects back; the sound goes on silently.
    void detach();

private:
    struct Chunk {
        unsigned buffer;
        int64_t first;
        int64_t frames;
    };

    bool attach();
    bool loadAll();
    void prime();
    void fillRing();
    void unqueueProcessed();
    void unqueueAll();
    void rewindFeed();
    std::size_t readFeed(int16_t* out, std::size_t frames);
    bool seekFeed(int64_t frame);
    int64_t loopFrame() const;
    void advanceVirtual(double seconds);
    void applyGain() const;

    AudioDevice* m_device;
    std::string m_name;
    std::unique_ptr<OggDecoder> m_decoder;
    bool m_stream;
    bool m_loop;
    float m_volume;
    float m_loopOffset;
    EState m_state;
    int m_channels;
    int m_rate;
    int64_t m_totalFrames;
    // Fully loaded samples, interleaved.
    std::vector<int16_t> m_pcm;
    bool m_loaded;
    // Virtual play position while silent.
    double m_position;
    unsigned m_source;
    std::vector<unsigned> m_freeBuffers;
    std::vector<unsigned> m_allBuffers;
    std::deque<Chunk> m_queued;
    int64_t m_feedFrame;
    bool m_feedEnded;
    std::vector<int16_t> m_scratch;
};

} // namespace sound
