#include "replay/RunRecorder.h"

#include "game/BaggageCart.h"
#include "game/BaggageCartTrailer.h"
#include "game/GameCore.h"
#include "game/MissionData.h"

#include <game/Vehicle.h>

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubEntity.h>

namespace game {

// 20 poses a second: 50 ms apart a blend is smooth and a wheel at full
// speed turns well under half a revolution between two of them.
const double RunRecorder::kSampleSeconds = 1.0 / 20.0;

namespace {
void addVehicle(const Vehicle& vehicle, std::vector<Ogre::Entity*>& parts) {
    if (!vehicle.chassis_entity())
        return;
    parts.push_back(vehicle.chassis_entity());
    for (unsigned int i = 0; i < vehicle.num_wheels(); ++i) {
        if (Ogre::Entity* wheel = vehicle.wheel_entity(i))
            parts.push_back(wheel);
    }
}

replay::Recording::Pose poseOf(const Ogre::Entity& entity) {
    replay::Recording::Pose pose{};
    Ogre::SceneNode* node = entity.getParentSceneNode();
    if (!node) {
        pose.orientation[0] = 1.0f;
        return pose;
    }
    const Ogre::Vector3 p = node->_getDerivedPosition();
    Ogre::Quaternion q = node->_getDerivedOrientation();
    q.normalise();
    pose.position[0] = p.x;
    pose.position[1] = p.y;
    pose.position[2] = p.z;
    pose.orientation[0] = q.w;
    pose.orientation[1] = q.x;
    pose.orientation[2] = q.y;
    pose.orientation[3] = q.z;
    return pose;
}
} // namespace

const std::vector<std::string>& RunRecorder::ValueNames() {
    static const std::vector<std::string> names = {"speed", "time", "distance", "dir_w", "dir_x", "dir_y", "dir_z"};
    return names;
}

std::vector<Ogre::Entity*> RunRecorder::CollectParts(const GameCore& core) {
    std::vector<Ogre::Entity*> parts;
    for (const auto& entry : core.vehicles()) {
        addVehicle(*entry.second, parts);
        if (const auto* cart = dynamic_cast<const BaggageCart*>(entry.second.get())) {
            if (cart->trailer())
                addVehicle(*cart->trailer(), parts);
        }
    }
    return parts;
}

void RunRecorder::Begin(const GameCore& core, const std::string& gameVersion) {
    m_recording = replay::Recording();
    m_parts = CollectParts(core);
    m_active = !m_parts.empty() && core.mission_data();
    m_time = 0.0;
    m_nextSample = 0.0;
    m_lastScore = 0;
    m_lastStep = 0;
    if (!m_active)
        return;
    m_recording.set_mission(core.mission_number());
    m_recording.set_variant(core.vehicle_variant());
    m_recording.set_game_version(gameVersion);
    m_recording.value_names() = ValueNames();
    for (Ogre::Entity* entity : m_parts) {
        replay::Recording::Part part;
        part.mesh = entity->getMesh()->getName();
        for (unsigned int i = 0; i < entity->getNumSubEntities(); ++i)
            part.materials.push_back(entity->getSubEntity(i)->getMaterialName());
        m_recording.parts().push_back(part);
    }
    m_lastStep = core.mission_data()->current_step();
    TakeFrame(core);
    m_nextSample = kSampleSeconds;
}

void RunRecorder::Update(const GameCore& core, double seconds) {
    if (!m_active)
        return;
    m_time += seconds;
    const MissionData* mission = core.mission_data();
    if (mission->score() != m_lastScore) {
        m_lastScore = mission->score();
        m_recording.marks().push_back({m_time, kScoreMark, m_lastScore});
    }
    if (mission->current_step() != m_lastStep) {
        m_lastStep = mission->current_step();
        m_recording.marks().push_back({m_time, kStepMark, static_cast<uint32_t>(m_lastStep)});
    }
    // Passes are not sample-aligned; the pose of the pass that reaches a
    // sample time is kept with that pass's own time, so nothing is guessed.
    if (m_time + 1e-9 >= m_nextSample) {
        TakeFrame(core);
        while (m_nextSample <= m_time + 1e-9)
            m_nextSample += kSampleSeconds;
    }
}

void RunRecorder::Finish(const GameCore& core, uint32_t score) {
    if (!m_active)
        return;
    // The end pose is the last frame, taken now even if one was taken this pass.
    if (!m_recording.frames().empty() && !(m_recording.frames().back().time < m_time))
        m_recording.frames().pop_back();
    TakeFrame(core);
    if (score != m_lastScore)
        m_recording.marks().push_back({m_time, kScoreMark, score});
    m_recording.set_score(score);
    m_active = false;
}

void RunRecorder::TakeFrame(const GameCore& core) {
    replay::Recording::Frame frame;
    frame.time = m_time;
    for (Ogre::Entity* entity : m_parts)
        frame.poses.push_back(poseOf(*entity));
    const Vehicle* vehicle = core.current_vehicle();
    const MissionData* mission = core.mission_data();
    const Ogre::Quaternion direction = core.GetTargetDirection();
    frame.values = {vehicle ? static_cast<float>(vehicle->GetVelocity().length()) : 0.0f,
                    static_cast<float>(mission->remaining_time()),
                    static_cast<float>(core.GetTargetDistance()),
                    static_cast<float>(direction.w),
                    static_cast<float>(direction.x),
                    static_cast<float>(direction.y),
                    static_cast<float>(direction.z)};
    m_recording.frames().push_back(frame);
}

} // namespace game
