#include "replay/GhostRun.h"

#include "replay/ReplayActor.h"

namespace game {

GhostRun::GhostRun(replay::Recording run) : m_run(std::move(run)) {}

GhostRun::~GhostRun() = default;

bool GhostRun::Start(Ogre::SceneManager& scene, std::string& reason) {
    m_actor = std::make_unique<ReplayActor>(scene, ReplayActor::kGhost);
    if (!m_actor->Build(m_run.parts(), reason)) {
        m_actor.reset();
        return false;
    }
    Update(0.0);
    return true;
}

void GhostRun::Update(double missionTime) {
    if (!m_actor)
        return;
    if (missionTime > m_run.Duration()) {
        m_actor.reset();
        return;
    }
    if (m_run.Sample(missionTime, m_poses, m_values))
        m_actor->SetPoses(m_poses);
}

void GhostRun::SetShown(bool shown) {
    if (m_actor)
        m_actor->SetVisible(shown);
}

} // namespace game
