#include "sound/Manager.h"

#include "base/Config.h"
#include "sound/AudioDevice.h"
#include "sound/AudioSource.h"
#include "sound/Sound.h"

#include <algorithm>

DW_SINGLETON_DEFINE(sound::Manager)

namespace sound {

namespace {
const char* const kSection = "Sound";
const unsigned kMaxSources = 100;

const char* settingKey(int kind) {
    switch (kind) {
    case kSoundEffect: return "sfx";
    case kSoundVoice: return "voice";
    case kSoundMusic: return "music";
    default: return nullptr;
    }
}
} // namespace

Manager::Manager()
    : m_sfxVolume(0.2f), m_voiceVolume(1.0f), m_musicVolume(1.0f), m_mute(false),
      m_device(AudioDevice::getSingleton()), m_ownsDevice(false) {
    // The playback layer exists before init opens its device, so the mute
    // switch below already has something to act on.
    if (!m_device) {
        m_device = new AudioDevice();
        m_ownsDevice = true;
    }
    if (base::Config* config = base::Config::getSingleton()) {
        m_sfxVolume = config->getFloat(kSection, "sfx", 0.2f);
        m_voiceVolume = config->getFloat(kSection, "voice", 1.0f);
        m_musicVolume = config->getFloat(kSection, "music", 1.0f);
        m_mute = config->getBool(kSection, "mute", false);
    }
    MuteAll(m_mute);
}

Manager::~Manager() {
    m_sounds.clear();
    if (m_ownsDevice)
        delete m_device;
    m_device = nullptr;
}

bool Manager::init() {
    m_device->init("", kMaxSources);
    m_sounds[kSoundEffect];
    m_sounds[kSoundVoice];
    m_sounds[kSoundMusic];
    return true;
}

bool Manager::registerSound(Sound* sound) {
    if (!sound)
        return true;
    const int kind = sound->getType();
    if (settingKey(kind))
        sound->SetVolume(GetVolume(kind));
    std::list<Sound*>& list = m_sounds[sound->getType()];
    if (std::find(list.begin(), list.end(), sound) == list.end())
        list.push_back(sound);
    return true;
}

bool Manager::removeSound(Sound* sound) {
    if (!sound)
        return true;
    auto it = m_sounds.find(sound->getType());
    if (it != m_sounds.end())
        it->second.remove(sound);
    return true;
}

void Manager::setVolume(int kind, float volume) {
    const char* key = settingKey(kind);
    if (!key)
        return;
    if (base::Config* config = base::Config::getSingleton())
        config->setFloat(kSection, key, volume);
    switch (kind) {
    case kSoundEffect: m_sfxVolume = volume; break;
    case kSoundVoice: m_voiceVolume = volume; break;
    default: m_musicVolume = volume; break;
    }
    auto it = m_sounds.find(static_cast<ESoundType>(kind));
    if (it == m_sounds.end())
        return;
    for (Sound* sound : it->second)
        sound->SetVolume(volume);
}

float Manager::GetVolume(int kind) const {
    switch (kind) {
    case kSoundEffect: return m_sfxVolume;
    case kSoundVoice: return m_voiceVolume;
    case kSoundMusic: return m_musicVolume;
    default: return 0.0f;
    }
}

void Manager::MuteAll(bool mute) {
    if (mute)
        m_device->muteAllSounds();
    else
        m_device->unmuteAllSounds();
    if (base::Config* config = base::Config::getSingleton())
        config->setBool(kSection, "mute", mute);
}

void Manager::SetMute(bool mute) {
    m_mute = mute;
    MuteAll(mute);
}

bool Manager::IsMute() const {
    return m_mute;
}

void Manager::pauseAll(bool) {}

void Manager::update(double seconds) {
    m_device->update(seconds);
}

AudioDevice* Manager::device() const {
    return m_device;
}

std::size_t Manager::registeredCount(int kind) const {
    auto it = m_sounds.find(static_cast<ESoundType>(kind));
    return it == m_sounds.end() ? 0 : it->second.size();
}

} // namespace sound
