#pragma once

#include <replay/Recording.h>

#include <memory>
#include <string>
#include <vector>

namespace Ogre {
class SceneManager;
}

namespace game {

class ReplayActor;

// The best run of the mission, driving beside the player as a translucent
// ghost in step with the mission clock; it goes when its run has ended.
class GhostRun {
public:
    explicit GhostRun(replay::Recording run);
    ~GhostRun();

    bool Start(Ogre::SceneManager& scene, std::string& reason);
    // `missionTime`: the mission clock since the start.
    void Update(double missionTime);
    void SetShown(bool shown);

    // Null once the run has ended.
    ReplayActor* actor() const { return m_actor.get(); }
    const replay::Recording& run() const { return m_run; }

private:
    replay::Recording m_run;
    std::unique_ptr<ReplayActor> m_actor;
    std::vector<replay::Recording::Pose> m_poses;
    std::vector<float> m_values;
};

} // namespace game
