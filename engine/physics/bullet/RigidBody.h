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
// state: the node shows Bullet's transform interpolated to the frame, while
// the game's logic reads the pose of the last step, which does not depend on
// how the frames fall between the steps.
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
    // The pose Bullet hands the motion state when a frame falls exactly on a
    // step: the same for any frame rate, so logic that reads it stays
    // repeatable. The node shows where the body is between two steps.
    const Ogre::Vector3& getSteppedPosition() const { return m_steppedPosition; }
    const Ogre::Quaternion& getSteppedOrientation() const { return m_steppedOrientation; }
    // Puts body, stepped pose and node at the transform at once (a reset or
    // a teleport), without waiting for the next step.
    void setPose(const btTransform& transform);
    bool isStaticObject() const;

    // Marks the body for the world's debug shape drawing.
    void setDebugDisplayEnabled(bool enabled) { m_debugDisplay = enabled; }
    bool isDebugDisplayEnabled() const { return m_debugDisplay; }

    const Ogre::String& getName() const { return m_name; }
    Ogre::SceneNode* getSceneNode() const { return m_node; }
    OgreBulletCollisions::CollisionShape* getShape() const { return m_shape; }
    btRigidBody* getBulletRigidBody() const { return m_body; }
    DynamicsWorld* getDynamicsWorld() const { return m_world; }

    // btMotionState: Bullet reads the start transform and hands over the
    // transform interpolated to the frame after each stepSimulation.
    void getWorldTransform(btTransform& worldTransform) const override;
    void setWorldTransform(const btTransform& worldTransform) override;

protected:
    void createBody(Ogre::SceneNode* node, OgreBulletCollisions::CollisionShape* shape, float restitution,
                    float friction, float mass, const Ogre::Vector3& position, const Ogre::Quaternion& orientation);
    void destroyBody();
    // Moves the node to the transform.
    virtual void placeNode(const btTransform& transform);

    Ogre::String m_name;
    DynamicsWorld* m_world;
    short m_collisionGroup;
    short m_collisionMask;
    Ogre::SceneNode* m_node;
    OgreBulletCollisions::CollisionShape* m_shape;
    btRigidBody* m_body;
    // Last transform handed to the motion state, interpolated to the frame.
    btTransform m_transform;
    Ogre::Vector3 m_steppedPosition;
    Ogre::Quaternion m_steppedOrientation;
    bool m_debugDisplay;
};

} // namespace OgreBulletDynamics
