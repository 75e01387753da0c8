#pragma once

#include <replay/Recording.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ogre {
class SceneManager;
}

namespace game {

class ReplayActor;

// Plays a recording back: its own clock, paused or at one of a few speeds,
// moving a solid actor through the recorded poses. Nothing in it reaches
// the mission, the score or the stores.
class ReplayPlayer {
public:
    static const std::vector<double>& Speeds();

    explicit ReplayPlayer(replay::Recording run);
    ~ReplayPlayer();

    // Builds the actor at the first pose; false with `reason` when it cannot.
    bool Start(Ogre::SceneManager& scene, std::string& reason);
    // The replay clock advances by `seconds` times the speed, unless paused.
    void Update(double seconds);
    void TogglePause() { m_paused = !m_paused; }
    void Slower();
    void Faster();

    bool finished() const { return m_time >= m_run.Duration(); }
    bool paused() const { return m_paused; }
    double speed() const { return Speeds()[m_speedIndex]; }
    double time() const { return m_time; }
    // Score as it stood at the replay's time; the run's final score at its end.
    uint32_t score() const;
    // A recorded value at the replay's time, 0 when the run has no such value.
    float value(const std::string& name) const;
    const replay::Recording& run() const { return m_run; }
    ReplayActor* actor() const { return m_actor.get(); }
    const std::vector<replay::Recording::Pose>& poses() const { return m_poses; }

private:
    void Show();

    replay::Recording m_run;
    std::unique_ptr<ReplayActor> m_actor;
    std::vector<replay::Recording::Pose> m_poses;
    std::vector<float> m_values;
    double m_time = 0.0;
    size_t m_speedIndex;
    bool m_paused = false;
};

} // namespace game
