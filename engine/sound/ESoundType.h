#pragma once

namespace sound {

// The kind of a sound; it selects the volume level (and setting) that applies.
enum ESoundType {
    kSoundEffect = 0,
    kSoundVoice = 1,
    kSoundMusic = 2
};

} // namespace sound
