#include "game/WaypointTrigger.h"

#include "event/TriggerEvent.h"
#include "game/TriggerMarker.h"

#include <event/Manager.h>

#include <OGRE/OgreSceneNode.h>

namespace game {

const unsigned short WaypointTrigger::kObjectType = 1;
const float WaypointTrigger::kSpinSpeed = 5.0f;
const char* const WaypointTrigger::kMesh = "waypoint.mesh";

WaypointTrigger::WaypointTrigger(Ogre::SceneNode* node)
    : Trigger(node, kObjectType), m_name(node ? node->getName() : "") {
    m_marker = marker::Create(node, kMesh, true);
    marker::Bind(node, this);
}

WaypointTrigger::~WaypointTrigger() {
    marker::Destroy(m_marker);
    marker::Unbind(m_node, this);
}

void WaypointTrigger::Activate(bool flag) {
    Trigger::Activate(flag);
    marker::Show(m_node, flag);
}

void WaypointTrigger::Update(double seconds) {
    Trigger::Update(seconds);
    if (m_node)
        m_node->yaw(Ogre::Radian(kSpinSpeed * static_cast<float>(seconds)), Ogre::Node::TS_LOCAL);
}

void WaypointTrigger::OnEnter(btCollisionObject*) {
    if (event::Manager* events = event::Manager::getSingleton())
        events->QueueEvent(new event::TriggerEvent(this));
    Activate(false);
}

} // namespace game
