#include "game/Trigger.h"

#include "physics/PhysicsCore.h"
#include "physics/bullet/DynamicsWorld.h"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <OGRE/OgreSceneNode.h>
#include <btBulletDynamicsCommon.h>

#include <iostream>

namespace game {

namespace {
const short kTriggerGroup = btBroadphaseProxy::SensorTrigger;          // 16
const short kTriggerMask = ~static_cast<short>(btBroadphaseProxy::SensorTrigger); // -17

btDiscreteDynamicsWorld* physicsWorld() {
    physics::PhysicsCore* core = physics::PhysicsCore::getSingleton();
    return core && core->world() ? core->world()->getBulletDynamicsWorld() : nullptr;
}

bool isDynamicBody(const btCollisionObject* object) {
    return object->getInternalType() == btCollisionObject::CO_RIGID_BODY && !object->isStaticOrKinematicObject();
}
} // namespace

Trigger::Trigger(Ogre::SceneNode* node, unsigned short type)
    : IObject(type), m_node(node), m_ghostObject(nullptr), m_shape(nullptr) {
    Ogre::Vector3 position = Ogre::Vector3::ZERO;
    Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;
    Ogre::Vector3 scale = Ogre::Vector3::UNIT_SCALE;
    if (m_node) {
        position = m_node->_getDerivedPosition();
        orientation = m_node->_getDerivedOrientation();
        scale = m_node->getScale();
    } else {
        std::cerr << "Trigger: no scene node, the trigger sits at the origin" << std::endl;
    }

    const Ogre::Vector3 half = scale * 0.5f;
    m_shape = new btBoxShape(btVector3(half.x, half.y, half.z));
    m_ghostObject = new btGhostObject();
    m_ghostObject->setCollisionShape(m_shape);
    m_ghostObject->setCollisionFlags(btCollisionObject::CF_NO_CONTACT_RESPONSE);
    btTransform transform;
    transform.setOrigin(btVector3(position.x, position.y, position.z));
    transform.setRotation(btQuaternion(orientation.x, orientation.y, orientation.z, orientation.w));
    m_ghostObject->setWorldTransform(transform);

    if (btDiscreteDynamicsWorld* world = physicsWorld())
        world->addCollisionObject(m_ghostObject, kTriggerGroup, kTriggerMask);
    else
        std::cerr << "Trigger: no physics world, the trigger will see nothing" << std::endl;
}

Trigger::~Trigger() {
    if (m_ghostObject->getBroadphaseHandle()) {
        if (btDiscreteDynamicsWorld* world = physicsWorld())
            world->removeCollisionObject(m_ghostObject);
    }
    delete m_ghostObject;
    delete m_shape;
    m_overlaps.clear();
}

void Trigger::Activate(bool flag) {
    m_active = flag;
    if (flag)
        return;
    for (auto& entry : m_overlaps)
        OnLeave(entry.first);
    m_overlaps.clear();
}

void Trigger::Update(double) {
    if (!m_active)
        return;
    const int count = m_ghostObject->getNumOverlappingObjects();
    for (int i = 0; i < count; ++i) {
        btCollisionObject* object = m_ghostObject->getOverlappingObject(i);
        if (!isDynamicBody(object))
            continue;
        auto it = m_overlaps.find(object);
        if (it == m_overlaps.end()) {
            m_overlaps[object] = true;
            OnEnter(object);
        } else {
            it->second = true;
            OnStay(object);
        }
        // A handler may switch the trigger off, which already ended every overlap.
        if (!m_active)
            return;
    }
    for (auto it = m_overlaps.begin(); it != m_overlaps.end();) {
        if (it->second) {
            it->second = false;
            ++it;
        } else {
            btCollisionObject* object = it->first;
            it = m_overlaps.erase(it);
            OnLeave(object);
            if (!m_active)
                return;
        }
    }
}

Ogre::Vector3 Trigger::GetPosition() const {
    return m_node ? m_node->_getDerivedPosition() : Ogre::Vector3::ZERO;
}

} // namespace game

