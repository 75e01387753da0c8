#pragma once

#include "base/Export.h"
#include "game/IObject.h"

#include <OGRE/OgreVector.h>

#include <map>

class btBoxShape;
class btCollisionObject;
class btGhostObject;

namespace Ogre {
class SceneNode;
}

namespace game {

// An invisible box in the physics world, placed and sized by its scene node,
// that reports dynamic bodies entering, staying in and leaving it.
class DW_API Trigger : public IObject {
public:
    Trigger(Ogre::SceneNode* node, unsigned short type);
    virtual ~Trigger();

    Trigger(const Trigger&) = delete;
    Trigger& operator=(const Trigger&) = delete;

    // Deactivation ends every current overlap with a leave.
    void Activate(bool flag) override;
    void Update(double seconds) override;

    virtual void OnEnter(btCollisionObject* object) = 0;
    virtual void OnStay(btCollisionObject* object) = 0;
    virtual void OnLeave(btCollisionObject* object) = 0;

    Ogre::Vector3 GetPosition() const;

    Ogre::SceneNode* scene_node() const { return m_node; }
    btGhostObject* ghost_object() const { return m_ghostObject; }

protected:
    Ogre::SceneNode* m_node;
    btGhostObject* m_ghostObject;
    // Bodies inside; true once seen in the current update.
    std::map<btCollisionObject*, bool> m_overlaps;

private:
    btBoxShape* m_shape;
};

} // namespace game
