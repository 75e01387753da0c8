#include "sound/AudioDevice.h"

#include "sound/AudioSource.h"
#include "sound/OggDecoder.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <OGRE/OgreResourceGroupManager.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

DW_SINGLETON_DEFINE(sound::AudioDevice)

namespace sound {

const char* const AudioDevice::kDeviceVariable = "KB_SOUND_DEVICE";

AudioDevice::AudioDevice()
    : m_device(nullptr), m_context(nullptr), m_initialised(false), m_muted(false), m_maxSources(0),
      m_sourcesInUse(0), m_limitReported(false) {}

AudioDevice::~AudioDevice() {
    for (AudioSource* source : m_sources)
        source->detach();
    m_sources.clear();
    m_names.clear();
    if (m_context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(static_cast<ALCcontext*>(m_context));
    }
    if (m_device)
        alcCloseDevice(static_cast<ALCdevice*>(m_device));
}

bool AudioDevice::init(const std::string& deviceName, unsigned maxSources) {
    if (m_initialised)
        return hasDevice();
    m_initialised = true;
    m_maxSources = maxSources;

    std::string name = deviceName;
    if (const char* chosen = std::getenv(kDeviceVariable)) {
        if (std::string(chosen) == "none") {
            std::cerr << "AudioDevice: sound output disabled by " << kDeviceVariable
                      << ", sounds play silently" << std::endl;
            return false;
        }
        if (*chosen)
            name = chosen;
    }
    ALCdevice* device = alcOpenDevice(name.empty() ? nullptr : name.c_str());
    if (!device) {
        std::cerr << "AudioDevice: no audio device could be opened, sounds play silently" << std::endl;
        return false;
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || !alcMakeContextCurrent(context)) {
        std::cerr << "AudioDevice: no audio context could be created, sounds play silently" << std::endl;
        if (context)
            alcDestroyContext(context);
        alcCloseDevice(device);
        return false;
    }
    m_device = device;
    m_context = context;
    applyMute();
    return true;
}

bool AudioDevice::isInitialised() const {
    return m_initialised;
}

bool AudioDevice::hasDevice() const {
    return m_context != nullptr;
}

std::shared_ptr<AudioSource> AudioDevice::createSound(const std::string& name, const std::string& file,
                                                      bool stream, bool loop, bool prebuffer) {
    std::unique_ptr<OggDecoder> decoder;
    bool named = false;
    if (m_names.count(name)) {
        std::cerr << "AudioDevice: a sound named '" << name << "' exists already, the new one stays silent"
                  << std::endl;
    } else {
        named = true;
        Ogre::ResourceGroupManager* resources = Ogre::ResourceGroupManager::getSingletonPtr();
        Ogre::DataStreamPtr data;
        if (!resources) {
            std::cerr << "AudioDevice: no resource system to find '" << file << "', sound '" << name
                      << "' stays silent" << std::endl;
        } else if (!resources->resourceExistsInAnyGroup(file)) {
            std::cerr << "AudioDevice: sound file '" << file << "' not found in any resource group, sound '"
                      << name << "' stays silent" << std::endl;
        } else {
            try {
                data = resources->openResource(file, Ogre::RGN_AUTODETECT);
            } catch (const Ogre::Exception& e) {
                std::cerr << "AudioDevice: cannot open '" << file << "' for sound '" << name
                          << "': " << e.getDescription() << std::endl;
            }
        }
        if (data) {
            decoder.reset(new OggDecoder());
            if (!decoder->open(data)) {
                std::cerr << "AudioDevice: '" << file << "' is not a mono or stereo Ogg Vorbis file, sound '"
                          << name << "' stays silent" << std::endl;
                decoder.reset();
            }
        }
    }

    auto* source = new AudioSource(this, name, std::move(decoder), stream, loop, prebuffer);
    m_sources.push_back(source);
    if (named)
        m_names[name] = source;
    return std::shared_ptr<AudioSource>(source, &AudioDevice::release);
}

AudioSource* AudioDevice::getSound(const std::string& name) const {
    auto it = m_names.find(name);
    return it == m_names.end() ? nullptr : it->second;
}

std::size_t AudioDevice::soundCount() const {
    return m_sources.size();
}

void AudioDevice::update(double seconds) {
    for (AudioSource* source : m_sources)
        source->update(seconds);
}

void AudioDevice::muteAllSounds() {
    m_muted = true;
    applyMute();
}

void AudioDevice::unmuteAllSounds() {
    m_muted = false;
    applyMute();
}

bool AudioDevice::isMuted() const {
    return m_muted;
}

unsigned AudioDevice::acquireSource() {
    if (!m_context)
        return 0;
    if (m_sourcesInUse >= m_maxSources) {
        if (!m_limitReported)
            std::cerr << "AudioDevice: all " << m_maxSources << " sound sources in use, further sounds play silently"
                      << std::endl;
        m_limitReported = true;
        return 0;
    }
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR || source == 0)
        return 0;
    ++m_sourcesInUse;
    return source;
}

void AudioDevice::releaseSource(unsigned source) {
    if (!source || !m_context)
        return;
    ALuint name = source;
    alDeleteSources(1, &name);
    if (m_sourcesInUse > 0)
        --m_sourcesInUse;
    m_limitReported = false;
}

std::size_t AudioDevice::sourcesInUse() const {
    return m_sourcesInUse;
}

void AudioDevice::release(AudioSource* source) {
    // The device may be gone (it then cut the source off already) or be a new one
    // that never knew this source; forget() copes with both.
    if (AudioDevice* device = getSingleton())
        device->forget(source);
    delete source;
}

void AudioDevice::forget(AudioSource* source) {
    auto it = std::find(m_sources.begin(), m_sources.end(), source);
    if (it == m_sources.end())
        return;
    m_sources.erase(it);
    auto named = m_names.find(source->name());
    if (named != m_names.end() && named->second == source)
        m_names.erase(named);
    source->detach();
}

void AudioDevice::applyMute() const {
    if (m_context)
        alListenerf(AL_GAIN, m_muted ? 0.0f : 1.0f);
}

} // namespace sound
