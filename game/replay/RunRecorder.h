#pragma once

#include <replay/Recording.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Ogre {
class Entity;
}

namespace game {

class GameCore;

// Keeps the run being played: the pose of every visible part of every
// vehicle (chassis, wheels, trailer) at a fixed rate, the HUD's values, and
// a mark whenever the score or the step changes. Poses rather than inputs:
// a replay then ends where the run ended whatever the physics would do
// with the same keys on another machine or build.
class RunRecorder {
public:
    static const double kSampleSeconds;
    enum EMark : uint16_t { kScoreMark = 0, kStepMark = 1 };
    // Names of the recorded values, in frame order.
    static const std::vector<std::string>& ValueNames();
    // The visible parts of the core's vehicles, in id order, each vehicle's
    // chassis first, then its wheels, then its trailer's.
    static std::vector<Ogre::Entity*> CollectParts(const GameCore& core);

    // Starts a recording of the mission the core has just started.
    void Begin(const GameCore& core, const std::string& gameVersion);
    // After every update of the core: the mission clock advances by `seconds`.
    void Update(const GameCore& core, double seconds);
    // The mission ended with `score`: a last frame at this very moment.
    void Finish(const GameCore& core, uint32_t score);
    void Cancel() { m_active = false; }

    bool active() const { return m_active; }
    double time() const { return m_time; }
    const replay::Recording& recording() const { return m_recording; }

private:
    void TakeFrame(const GameCore& core);

    replay::Recording m_recording;
    std::vector<Ogre::Entity*> m_parts;
    bool m_active = false;
    double m_time = 0.0;
    double m_nextSample = 0.0;
    uint32_t m_lastScore = 0;
    size_t m_lastStep = 0;
};

} // namespace game
