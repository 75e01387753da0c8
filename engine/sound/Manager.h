#pragma once

#include "base/Export.h"
#include "base/Singleton.h"
#include "sound/ESoundType.h"

#include <list>
#include <map>

namespace sound {

class AudioDevice;
class Sound;

// Per-kind volume levels and the global mute switch, kept in the settings
// ("Sound": "sfx", "voice", "music", "mute"). A level change reaches exactly
// the sounds that are playing: they register when they start and leave when
// they stop or die.
class DW_API Manager : public base::Singleton<Manager> {
public:
    // Reads the levels and the mute switch from the settings and applies the switch.
    Manager();
    virtual ~Manager();

    // Opens the audio device; must run before any sound plays. Always true:
    // without a device, sounds keep their state and volumes but stay silent.
    bool init();
    // Gives the sound the level of its kind and lists it (once).
    bool registerSound(Sound* sound);
    bool removeSound(Sound* sound);
    // Kinds other than 0, 1 and 2 are ignored.
    void setVolume(int kind, float volume);
    float GetVolume(int kind) const;
    // Mutes the audio output and stores the switch; IsMute() is not changed.
    void MuteAll(bool mute);
    void SetMute(bool mute);
    bool IsMute() const;
    void pauseAll(bool pause);
    void update(double seconds);

    // The playback layer under the manager; null after destruction only.
    AudioDevice* device() const;
    // Number of listed (playing) sounds of a kind.
    std::size_t registeredCount(int kind) const;

private:
    float m_sfxVolume;
    float m_voiceVolume;
    float m_musicVolume;
    bool m_mute;
    std::map<ESoundType, std::list<Sound*>> m_sounds;
    AudioDevice* m_device;
    bool m_ownsDevice;
};

} // namespace sound

DW_SINGLETON_DECLARE(sound::Manager)
