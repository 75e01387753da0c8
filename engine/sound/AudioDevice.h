#pragma once

#include "base/Export.h"
#include "base/Singleton.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sound {

class AudioSource;

// The playback layer's output: one OpenAL device and context, the sources
// made from Ogg Vorbis resources, and the master mute.
//
// When no device can be opened (no sound card, or KB_SOUND_DEVICE=none in the
// environment) everything works the same without output: sources advance a
// virtual play position in update(), so playing state and looping still behave.
class DW_API AudioDevice : public base::Singleton<AudioDevice> {
public:
    // Environment variable: "none" opens no device, any other non-empty value
    // names the OpenAL device to open.
    static const char* const kDeviceVariable;

    AudioDevice();
    // Sources still alive afterwards are cut off from the device and go silent.
    virtual ~AudioDevice();

    // Opens the device; a second call leaves the first opening in place.
    // True when a device is open.
    bool init(const std::string& deviceName, unsigned maxSources);
    bool isInitialised() const;
    bool hasDevice() const;

    // A sound under a unique name from a resource file of any group, streamed
    // from the file or decoded at once. Never null: failures print one line
    // and give a silent source. The source lives until the last holder drops it.
    std::shared_ptr<AudioSource> createSound(const std::string& name, const std::string& file,
                                             bool stream, bool loop, bool prebuffer);
    // The source of that name, or null.
    AudioSource* getSound(const std::string& name) const;
    std::size_t soundCount() const;

    // Refills streaming buffers and advances silent sources.
    void update(double seconds);

    void muteAllSounds();
    void unmuteAllSounds();
    bool isMuted() const;

    // OpenAL source names for sources, within the limit given to init; 0 when
    // there is no device or the limit is reached.
    unsigned acquireSource();
    void releaseSource(unsigned source);
    std::size_t sourcesInUse() const;

private:
    static void release(AudioSource* source);
    void forget(AudioSource* source);
    void applyMute() const;

    void* m_device;
    void* m_context;
    bool m_initialised;
    bool m_muted;
    unsigned m_maxSources;
    std::size_t m_sourcesInUse;
    bool m_limitReported;
    std::vector<AudioSource*> m_sources;
    std::map<std::string, AudioSource*> m_names;
};

} // namespace sound

DW_SINGLETON_DECLARE(sound::AudioDevice)
