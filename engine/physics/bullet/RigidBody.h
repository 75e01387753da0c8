#pragma once

#include "base/Export.h"

#include <LinearMath/btMotionState.h>
#include <LinearMath/btTransform.h>
#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreString.h>
#include <OGRE/OgreVector.h>

class btRigidBody;

namespace Ogre {
class SceneNode;
}

namespace OgreBulletCollisions {
class CollisionShape;
}

namespace OgreBulletDynamics {

class DynamicsWorld;

// A Bullet rigid body bound to an Ogre scene node: it starts at the transform
// it is given and, when it moves, takes the node along. It is its own motion
// state, so Bullet's interpolated transform reaches the node every step.
// The body owns its shape; the world deletes the bodies still alive at its end.
class DW_API RigidBody : public btMotionState {
public:
    // Group and mask 0 take Bullet's default filtering.
    RigidBody(const Ogre::String& name, DynamicsWorld* world, short collisionGroup = 0, short collisionMask = 0);
    virtual ~RigidBody();

    RigidBody(const RigidBody&) = delete;
    RigidBody& operator=(const RigidBody&) = delete;

    // A dynamic body (a static one for mass 0) at the given world transform;
    // the node is moved there too.
    void setShape(Ogre::SceneNode* node, OgreBulletCollisions::CollisionShape* shape, float bodyRestitution,
                  float bodyFriction, float bodyMass, const Ogre::Vector3& position = Ogre::Vector3::ZERO,
                  const Ogre::Quaternion& orientation = Ogre::Quaternion::IDENTITY);
    // A body that never moves; the node keeps its own transform.
    void setStaticShape(Ogre::SceneNode* node, OgreBulletCollisions::CollisionShape* shape, float bodyRestitution,
                        float bodyFriction, const Ogre::Vector3& position = Ogre::Vector3::ZERO,
                        const Ogre::Quaternion& orientation = Ogre::Quaternion::IDENTITY);

    void setDamping(float linearDamping, float angularDamping);
    void setLinearVelocity(const Ogre::Vector3& velocity);
    Ogre::Vector3 getLinearVelocity() const;
    Ogre::Vector3 getWorldPosition() const;
    Ogre::Quaternion getWorldOrientation() const;
    bool isStaticObject() const;

    // Marks the body for the world's debug shape drawing.
    void setDebugDisplayEnabled(bool enabled) { m_debugDisplay = enabled; }
    bool isDebugDisplayEnabled() const { return m_debugDisplay; }

    const Ogre::String& getName() const { return m_name; }
    Ogre::SceneNode* getSceneNode() const { return m_node; }
    OgreBulletCollisions::CollisionShape* getShape() const { return m_shape; }
    btRigidBody* getBulletRigidBody() const { return m_body; }
    DynamicsWorld* getDynamicsWorld() const { return m_world; }

    // btMotionState
    void getWorldTransform(btTransform& worldTransform) const override;
    void setWorldTransform(const btTransform& worldTransform) override;

protected:
    void createBody(Ogre::SceneNode* node, OgreBulletCollisions::CollisionShape* shape, float restitution,
                    float friction, float mass, const Ogre::Vector3& position, const Ogre::Quaternion& orientation);
    void destroyBody();

    Ogre::String m_name;
    DynamicsWorld* m_world;
    short m_collisionGroup;
    short m_collisionMask;
    Ogre::SceneNode* m_node;
    OgreBulletCollisions::CollisionShape* m_shape;
    btRigidBody* m_body;
    btTransform m_transform;
    bool m_debugDisplay;
};

} // namespace OgreBulletDynamics
