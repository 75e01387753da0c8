#pragma once

#include <replay/Recording.h>

#include <string>
#include <vector>

namespace Ogre {
class Entity;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace game {

// The vehicles of a recording, drawn and nothing else: one entity per part
// on a node of its own, no physics body, no sound, no query flags (no ray or
// trigger finds it). Solid for a watched replay, translucent as a ghost.
class ReplayActor {
public:
    enum EStyle { kSolid, kGhost };
    // Ghost material: the part's own colour, this opaque.
    static const float kGhostAlpha;

    ReplayActor(Ogre::SceneManager& scene, EStyle style);
    ~ReplayActor();

    ReplayActor(const ReplayActor&) = delete;
    ReplayActor& operator=(const ReplayActor&) = delete;

    // False, with `reason`, when a part's mesh is unknown; nothing is built then.
    bool Build(const std::vector<replay::Recording::Part>& parts, std::string& reason);
    void SetPoses(const std::vector<replay::Recording::Pose>& poses);
    void SetVisible(bool visible);

    bool visible() const { return m_visible; }
    // The first part: the first vehicle's chassis, for the camera.
    Ogre::Entity* chassis_entity() const { return m_entities.empty() ? nullptr : m_entities.front(); }
    const std::vector<Ogre::SceneNode*>& nodes() const { return m_nodes; }
    const std::vector<Ogre::Entity*>& entities() const { return m_entities; }

private:
    void Destroy();
    void Dress(Ogre::Entity& entity, const replay::Recording::Part& part);

    Ogre::SceneManager& m_scene;
    EStyle m_style;
    std::vector<Ogre::SceneNode*> m_nodes;
    std::vector<Ogre::Entity*> m_entities;
    bool m_visible = true;
};

} // namespace game
