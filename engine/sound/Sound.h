#pragma once

#include "base/Export.h"
#include "sound/ESoundType.h"

#include <memory>
#include <string>

namespace sound {

class AudioSource;

// One sound of the game: an Ogg Vorbis file from Ogre's resources, played
// through the playback layer at the volume level of its kind.
//
// Copies share one playback source; the source is destroyed with the last
// copy, so destroying one copy never pulls the sound from under another.
class DW_API Sound {
public:
    // The file is looked up in every Ogre resource group. A duplicate name, a
    // missing file or undecodable data is reported on stderr and gives a
    // silent sound that still keeps its playing state.
    Sound(ESoundType type, std::string name, std::string file, bool stream, bool loop, bool prebuffer);
    Sound(const Sound& other);
    Sound& operator=(const Sound& other);
    virtual ~Sound();

    bool operator==(const Sound& other) const;

    // Starts or resumes, then takes the level of its kind from the manager.
    void play();
    void stop();
    // Pauses or resumes without touching the manager's lists.
    void pause(bool pause);
    void SetVolume(float volume);
    // Where a looping sound jumps back to at its end, in seconds from the start.
    void SetLoopOffset(float seconds);
    bool IsPlaying() const;
    ESoundType getType() const;

    // The playback source; shared by all copies, never null.
    AudioSource* source() const;

private:
    ESoundType m_type;
    std::shared_ptr<AudioSource> m_sound;
};

} // namespace sound
