#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Ogre {
class DefaultHardwareBufferManager;
class LogManager;
class Root;
class SceneManager;
} // namespace Ogre

// Feeds one input to the scene file reader the way the scene loader reads its
// file, checks what the description promises, then lets the loader build it
// in a scene of a rendering engine without a window (all but the terrain,
// which needs a render system). Shared by the fuzzer and the unit tests that
// replay every input that ever failed.
class SceneExercise {
public:
    // Brings up a rendering engine without a render system unless one runs.
    SceneExercise();
    ~SceneExercise();

    SceneExercise(const SceneExercise&) = delete;
    SceneExercise& operator=(const SceneExercise&) = delete;

    // An empty string when every check held, otherwise what went wrong.
    std::string Run(const std::uint8_t* data, std::size_t size);

private:
    Ogre::LogManager* m_log = nullptr;
    Ogre::Root* m_root = nullptr;
    Ogre::DefaultHardwareBufferManager* m_buffers = nullptr;
    // One scene for every input, emptied after each.
    Ogre::SceneManager* m_scene = nullptr;
    bool m_ownsRoot = false;
};
