#pragma once

#include <game/Trigger.h>

#include <string>

namespace Ogre {
class Entity;
}

namespace game {

// A spinning marker the player drives through; reaching it reports the
// trigger once and switches it off.
class WaypointTrigger : public Trigger {
public:
    static const unsigned short kObjectType;
    static const float kSpinSpeed;
    static const char* const kMesh;

    explicit WaypointTrigger(Ogre::SceneNode* node);
    virtual ~WaypointTrigger();

    // Shows the marker exactly while active.
    void Activate(bool flag) override;
    void Update(double seconds) override;
    void OnEnter(btCollisionObject* object) override;
    void OnStay(btCollisionObject* object) override {}
    void OnLeave(btCollisionObject* object) override {}

    const std::string& name() const { return m_name; }
    Ogre::Entity* marker() const { return m_marker; }

private:
    std::string m_name;
    Ogre::Entity* m_marker = nullptr;
};

} // namespace game
