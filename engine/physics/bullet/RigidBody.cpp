#include "physics/bullet/RigidBody.h"

#include "physics/bullet/CollisionShape.h"
#include "physics/bullet/DynamicsWorld.h"

#include <LinearMath/btTransformUtil.h>
#include <OGRE/OgreSceneNode.h>
#include <btBulletDynamicsCommon.h>

namespace OgreBulletDynamics {

RigidBody::RigidBody(const Ogre::String& name, DynamicsWorld* world, short collisionGroup, short collisionMask)
    : m_name(name), m_world(world), m_collisionGroup(collisionGroup), m_collisionMask(collisionMask),
      m_node(nullptr), m_shape(nullptr), m_body(nullptr), m_steppedPosition(Ogre::Vector3::ZERO),
      m_steppedOrientation(Ogre::Quaternion::IDENTITY), m_debugDisplay(false) {
    m_transform.setIdentity();
    if (m_world)
        m_world->registerRigidBody(this);
}

RigidBody::~RigidBody() {
    destroyBody();
    if (m_world)
        m_world->removeRigidBody(this);
}

void RigidBody::destroyBody() {
    if (!m_body)
        return;
    if (m_world)
        m_world->removeRigidBody(this);
    delete m_body;
    m_body = nullptr;
    delete m_shape;
    m_shape = nullptr;
}

void RigidBody::setShape(Ogre::SceneNode* node, OgreBulletCollisions::CollisionShape* shape, float bodyRestitution,
                         float bodyFriction, float bodyMass, const Ogre::Vector3& position,
                         const Ogre::Quaternion& orientation) {
    createBody(node, shape, bodyRestitution, bodyFriction, bodyMass, position, orientation);
    if (m_node && m_body && !m_body->isStaticObject()) {
        m_node->_setDerivedPosition(position);
        m_node->_setDerivedOrientation(orientation);
    }
}

void RigidBody::setStaticShape(Ogre::SceneNode* node, OgreBulletCollisions::CollisionShape* shape,
                               float bodyRestitution, float bodyFriction, const Ogre::Vector3& position,
                               const Ogre::Quaternion& orientation) {
    createBody(node, shape, bodyRestitution, bodyFriction, 0.0f, position, orientation);
}

void RigidBody::createBody(Ogre::SceneNode* node, OgreBulletCollisions::CollisionShape* shape, float restitution,
                           float friction, float mass, const Ogre::Vector3& position,
                           const Ogre::Quaternion& orientation) {
    if (shape == m_shape)
        m_shape = nullptr; // the same shape again must survive the old body
    destroyBody();
    m_node = node;
    m_shape = shape;
    if (!m_shape || !m_shape->getBulletShape())
        return;

    m_transform.setOrigin(btVector3(position.x, position.y, position.z));
    m_transform.setRotation(btQuaternion(orientation.x, orientation.y, orientation.z, orientation.w));
    m_steppedPosition = position;
    m_steppedOrientation = orientation;

    btVector3 inertia(0, 0, 0);
    if (mass > 0.0f)
        m_shape->getBulletShape()->calculateLocalInertia(mass, inertia);
    btRigidBody::btRigidBodyConstructionInfo info(mass, this, m_shape->getBulletShape(), inertia);
    info.m_restitution = restitution;
    info.m_friction = friction;
    m_body = new btRigidBody(info);
    if (m_world)
        m_world->addRigidBody(this, m_collisionGroup, m_collisionMask);
}

void RigidBody::setDamping(float linearDamping, float angularDamping) {
    if (m_body)
        m_body->setDamping(linearDamping, angularDamping);
}

void RigidBody::setLinearVelocity(const Ogre::Vector3& velocity) {
    if (!m_body)
        return;
    m_body->activate(true);
    m_body->setLinearVelocity(btVector3(velocity.x, velocity.y, velocity.z));
}

Ogre::Vector3 RigidBody::getLinearVelocity() const {
    if (!m_body)
        return Ogre::Vector3::ZERO;
    const btVector3& v = m_body->getLinearVelocity();
    return Ogre::Vector3(v.x(), v.y(), v.z());
}

Ogre::Vector3 RigidBody::getWorldPosition() const {
    const btVector3& p = m_body ? m_body->getWorldTransform().getOrigin() : m_transform.getOrigin();
    return Ogre::Vector3(p.x(), p.y(), p.z());
}

Ogre::Quaternion RigidBody::getWorldOrientation() const {
    const btQuaternion q = m_body ? m_body->getWorldTransform().getRotation() : m_transform.getRotation();
    return Ogre::Quaternion(q.w(), q.x(), q.y(), q.z());
}

bool RigidBody::isStaticObject() const {
    return m_body && m_body->isStaticObject();
}

void RigidBody::getWorldTransform(btTransform& worldTransform) const {
    worldTransform = m_transform;
}

void RigidBody::setWorldTransform(const btTransform& worldTransform) {
    m_transform = worldTransform;
    btTransform stepped = worldTransform;
    if (m_body && m_world) {
        // What Bullet itself hands over when no time is left after a step:
        // with its latency interpolation, the pose one step back along the
        // last step's motion.
        const btDiscreteDynamicsWorld* world = m_world->getBulletDynamicsWorld();
        const btScalar back = world->getLatencyMotionStateInterpolation() ? -m_world->getFixedStep() : btScalar(0);
        btTransformUtil::integrateTransform(m_body->getInterpolationWorldTransform(),
                                            m_body->getInterpolationLinearVelocity(),
                                            m_body->getInterpolationAngularVelocity(), back, stepped);
    }
    const btVector3& p = stepped.getOrigin();
    const btQuaternion q = stepped.getRotation();
    m_steppedPosition = Ogre::Vector3(p.x(), p.y(), p.z());
    m_steppedOrientation = Ogre::Quaternion(q.w(), q.x(), q.y(), q.z());
    placeNode(worldTransform);
}

void RigidBody::setPose(const btTransform& transform) {
    m_transform = transform;
    const btVector3& p = transform.getOrigin();
    const btQuaternion q = transform.getRotation();
    m_steppedPosition = Ogre::Vector3(p.x(), p.y(), p.z());
    m_steppedOrientation = Ogre::Quaternion(q.w(), q.x(), q.y(), q.z());
    placeNode(transform);
}

void RigidBody::placeNode(const btTransform& transform) {
    if (!m_node)
        return;
    const btVector3& p = transform.getOrigin();
    const btQuaternion q = transform.getRotation();
    m_node->_setDerivedPosition(Ogre::Vector3(p.x(), p.y(), p.z()));
    m_node->_setDerivedOrientation(Ogre::Quaternion(q.w(), q.x(), q.y(), q.z()));
}

} // namespace OgreBulletDynamics
