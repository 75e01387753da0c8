#include "sound/Sound.h"

#include "sound/AudioDevice.h"
#include "sound/AudioSource.h"
#include "sound/Manager.h"
#include "sound/OggDecoder.h"

#include <iostream>
#include <utility>

namespace sound {

Sound::Sound(ESoundType type, std::string name, std::string file, bool stream, bool loop, bool prebuffer)
    : m_type(type) {
    if (AudioDevice* device = AudioDevice::getSingleton()) {
        m_sound = device->createSound(name, file, stream, loop, prebuffer);
    } else {
        std::cerr << "Sound: no sound manager, sound '" << name << "' stays silent" << std::endl;
        m_sound = std::make_shared<AudioSource>(nullptr, std::move(name), nullptr, stream, loop, false);
    }
}

Sound::Sound(const Sound& other) = default;

Sound& Sound::operator=(const Sound& other) {
    if (this == &other)
        return *this;
    // The manager files sounds by kind, so leave its list before the kind can change.
    if (Manager* manager = Manager::getSingleton())
        manager->removeSound(this);
    m_type = other.m_type;
    m_sound = other.m_sound;
    return *this;
}

Sound::~Sound() {
    if (Manager* manager = Manager::getSingleton())
        manager->removeSound(this);
}

bool Sound::operator==(const Sound& other) const {
    return m_sound == other.m_sound;
}

void Sound::play() {
    m_sound->play();
    if (Manager* manager = Manager::getSingleton())
        manager->registerSound(this);
}

void Sound::stop() {
    m_sound->stop();
    if (Manager* manager = Manager::getSingleton())
        manager->removeSound(this);
}

void Sound::pause(bool pause) {
    if (pause)
        m_sound->pause();
    else
        m_sound->play();
}

void Sound::SetVolume(float volume) {
    m_sound->setVolume(volume);
}

void Sound::SetLoopOffset(float seconds) {
    m_sound->setLoopOffset(seconds);
}

bool Sound::IsPlaying() const {
    return m_sound->isPlaying();
}

ESoundType Sound::getType() const {
    return m_type;
}

AudioSource* Sound::source() const {
    return m_sound.get();
}

} // namespace sound
