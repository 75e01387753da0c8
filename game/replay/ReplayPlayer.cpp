#include "replay/ReplayPlayer.h"

#include "replay/ReplayActor.h"
#include "replay/RunRecorder.h"

#include <algorithm>

namespace game {

namespace {
const size_t kNormalSpeed = 2;
}

const std::vector<double>& ReplayPlayer::Speeds() {
    static const std::vector<double> speeds = {0.25, 0.5, 1.0, 2.0, 4.0};
    return speeds;
}

ReplayPlayer::ReplayPlayer(replay::Recording run) : m_run(std::move(run)), m_speedIndex(kNormalSpeed) {}

ReplayPlayer::~ReplayPlayer() = default;

bool ReplayPlayer::Start(Ogre::SceneManager& scene, std::string& reason) {
    m_actor = std::make_unique<ReplayActor>(scene, ReplayActor::kSolid);
    if (!m_actor->Build(m_run.parts(), reason)) {
        m_actor.reset();
        return false;
    }
    m_time = 0.0;
    Show();
    return true;
}

void ReplayPlayer::Update(double seconds) {
    if (m_paused || !m_actor)
        return;
    m_time = std::min(m_time + seconds * speed(), m_run.Duration());
    Show();
}

void ReplayPlayer::Slower() {
    if (m_speedIndex > 0)
        --m_speedIndex;
}

void ReplayPlayer::Faster() {
    if (m_speedIndex + 1 < Speeds().size())
        ++m_speedIndex;
}

uint32_t ReplayPlayer::score() const {
    if (finished())
        return m_run.score();
    return m_run.MarkValue(RunRecorder::kScoreMark, m_time, 0);
}

float ReplayPlayer::value(const std::string& name) const {
    const int index = m_run.ValueIndex(name);
    return index >= 0 && static_cast<size_t>(index) < m_values.size() ? m_values[index] : 0.0f;
}

void ReplayPlayer::Show() {
    if (m_run.Sample(m_time, m_poses, m_values) && m_actor)
        m_actor->SetPoses(m_poses);
}

} // namespace game
