#include "physics/bullet/RaycastVehicle.h"

#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/VehicleRayCaster.h"
#include "physics/bullet/VehicleTuning.h"
#include "physics/bullet/WheeledRigidBody.h"

#include <OGRE/OgreSceneNode.h>
#include <btBulletDynamicsCommon.h>

#include <iostream>

namespace OgreBulletDynamics {

namespace {
btVector3 toBullet(const Ogre::Vector3& v) {
    return btVector3(v.x, v.y, v.z);
}
} // namespace

RaycastVehicle::RaycastVehicle(WheeledRigidBody* body, VehicleTuning* tuning, VehicleRayCaster* rayCaster)
    : m_chassis(body), m_tuning(tuning), m_world(body ? body->getDynamicsWorld() : nullptr), m_vehicle(nullptr) {
    if (!body || !body->getBulletRigidBody() || !tuning || !rayCaster) {
        std::cerr << "RaycastVehicle: needs a chassis body with a shape, a tuning and a ray caster" << std::endl;
        m_chassis = nullptr;
        return;
    }
    m_vehicle = new btRaycastVehicle(*tuning->getBulletTuning(), body->getBulletRigidBody(),
                                     rayCaster->getBulletVehicleRayCaster());
    body->setVehicle(this);
    if (m_world)
        m_world->addVehicle(this);
}

RaycastVehicle::~RaycastVehicle() {
    if (m_world)
        m_world->removeVehicle(this);
    if (m_chassis)
        m_chassis->setVehicle(nullptr);
    delete m_vehicle;
}

void RaycastVehicle::chassisDestroyed() {
    m_chassis = nullptr;
}

void RaycastVehicle::setCoordinateSystem(int rightIndex, int upIndex, int forwardIndex) {
    if (m_vehicle)
        m_vehicle->setCoordinateSystem(rightIndex, upIndex, forwardIndex);
}

void RaycastVehicle::addWheel(Ogre::SceneNode* node, const Ogre::Vector3& connectionPoint,
                              const Ogre::Vector3& wheelDirection, const Ogre::Vector3& wheelAxle,
                              float suspensionRestLength, float wheelRadius, bool isFrontWheel, float wheelFriction,
                              float rollInfluence) {
    if (!m_vehicle)
        return;
    btWheelInfo& wheel =
        m_vehicle->addWheel(toBullet(connectionPoint), toBullet(wheelDirection), toBullet(wheelAxle),
                            suspensionRestLength, wheelRadius, *m_tuning->getBulletTuning(), isFrontWheel);
    wheel.m_frictionSlip = wheelFriction;
    wheel.m_rollInfluence = rollInfluence;
    m_wheelNodes.push_back(node);
}

bool RaycastVehicle::validWheel(int wheel) const {
    return m_vehicle && wheel >= 0 && wheel < m_vehicle->getNumWheels();
}

void RaycastVehicle::applyEngineForce(float force, int wheel) {
    if (validWheel(wheel))
        m_vehicle->applyEngineForce(force, wheel);
}

void RaycastVehicle::setSteeringValue(float steering, int wheel) {
    if (validWheel(wheel))
        m_vehicle->setSteeringValue(steering, wheel);
}

void RaycastVehicle::setBrake(float brake, int wheel) {
    if (validWheel(wheel))
        m_vehicle->setBrake(brake, wheel);
}

void RaycastVehicle::updateWheels() {
    if (!m_vehicle || !m_chassis)
        return;
    for (int i = 0; i < m_vehicle->getNumWheels(); ++i) {
        // Uses the chassis' interpolated transform, so wheels and chassis agree on screen.
        m_vehicle->updateWheelTransform(i, true);
        Ogre::SceneNode* node = m_wheelNodes[i];
        if (!node)
            continue;
        const btTransform& t = m_vehicle->getWheelInfo(i).m_worldTransform;
        const btVector3& p = t.getOrigin();
        const btQuaternion q = t.getRotation();
        node->_setDerivedPosition(Ogre::Vector3(p.x(), p.y(), p.z()));
        node->_setDerivedOrientation(Ogre::Quaternion(q.w(), q.x(), q.y(), q.z()));
    }
}

int RaycastVehicle::getNumWheels() const {
    return m_vehicle ? m_vehicle->getNumWheels() : 0;
}

float RaycastVehicle::getCurrentSpeedKmHour() const {
    return m_vehicle ? m_vehicle->getCurrentSpeedKmHour() : 0.0f;
}

} // namespace OgreBulletDynamics
