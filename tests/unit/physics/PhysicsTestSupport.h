#pragma once

#include "physics/PhysicsCore.h"
#include "physics/bullet/DynamicsWorld.h"

#include <btBulletDynamicsCommon.h>

namespace kbtest {

inline btDiscreteDynamicsWorld* bulletWorld() {
    return physics::PhysicsCore::getSingleton()->world()->getBulletDynamicsWorld();
}

// Height of the first surface straight below (x, from, z), or false when none.
inline bool castDown(float x, float z, float& height, float from = 1000.0f) {
    const btVector3 a(x, from, z), b(x, -1000.0f, z);
    btCollisionWorld::ClosestRayResultCallback hit(a, b);
    bulletWorld()->rayTest(a, b, hit);
    if (!hit.hasHit())
        return false;
    height = hit.m_hitPointWorld.y();
    return true;
}

// A free Bullet sphere; the caller deletes it with removeSphere.
inline btRigidBody* addSphere(const btVector3& at, float radius = 0.5f) {
    auto* shape = new btSphereShape(radius);
    btVector3 inertia;
    shape->calculateLocalInertia(1.0f, inertia);
    btTransform t;
    t.setIdentity();
    t.setOrigin(at);
    btRigidBody::btRigidBodyConstructionInfo info(1.0f, new btDefaultMotionState(t), shape, inertia);
    info.m_friction = 0.8f;
    info.m_rollingFriction = 0.05f;
    auto* body = new btRigidBody(info);
    bulletWorld()->addRigidBody(body);
    return body;
}

inline void removeSphere(btRigidBody* body) {
    bulletWorld()->removeRigidBody(body);
    delete body->getMotionState();
    delete body->getCollisionShape();
    delete body;
}

} // namespace kbtest
