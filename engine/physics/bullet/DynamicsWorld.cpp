#include "physics/bullet/DynamicsWorld.h"

#include "physics/bullet/CollisionShape.h"
#include "physics/bullet/DebugDrawer.h"
#include "physics/bullet/RaycastVehicle.h"
#include "physics/bullet/RigidBody.h"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <iostream>

namespace OgreBulletDynamics {

const unsigned int DynamicsWorld::kMax16BitHandles = 32766;

DynamicsWorld::DynamicsWorld(Ogre::SceneManager* sceneManager, const Ogre::AxisAlignedBox& bounds,
                             const Ogre::Vector3& gravity, bool use32BitBroadphase, unsigned int maxHandles)
    : m_sceneManager(sceneManager), m_ghostPairCallback(nullptr), m_debugDrawer(nullptr), m_showDebugShapes(false),
      m_maxHandles(std::max(2u, maxHandles)), m_fixedStep(1.0f / 60.0f) {
    m_collisionConfiguration = new btDefaultCollisionConfiguration();
    m_dispatcher = new btCollisionDispatcher(m_collisionConfiguration);

    const Ogre::Vector3 lo = bounds.isFinite() ? bounds.getMinimum() : Ogre::Vector3(-10000.0f);
    const Ogre::Vector3 hi = bounds.isFinite() ? bounds.getMaximum() : Ogre::Vector3(10000.0f);
    const btVector3 worldMin(lo.x, lo.y, lo.z);
    const btVector3 worldMax(hi.x, hi.y, hi.z);
    if (use32BitBroadphase) {
        m_broadphase = new bt32BitAxisSweep3(worldMin, worldMax, m_maxHandles);
    } else {
        if (m_maxHandles > kMax16BitHandles) {
            std::cerr << "DynamicsWorld: " << m_maxHandles << " handles exceed the 16-bit broadphase, using "
                      << kMax16BitHandles << std::endl;
            m_maxHandles = kMax16BitHandles;
        }
        m_broadphase = new btAxisSweep3(worldMin, worldMax, static_cast<unsigned short>(m_maxHandles));
    }
    m_solver = new btSequentialImpulseConstraintSolver();
    m_world = new btDiscreteDynamicsWorld(m_dispatcher, m_broadphase, m_solver, m_collisionConfiguration);
    setGravity(gravity);
}

DynamicsWorld::~DynamicsWorld() {
    // Vehicles refer to bodies, so they go first; each removes itself from the lists.
    while (!m_vehicles.empty())
        delete m_vehicles.back();
    while (!m_bodies.empty())
        delete m_bodies.back();
    if (m_world)
        m_world->setDebugDrawer(nullptr);
    delete m_world;
    delete m_solver;
    if (m_ghostPairCallback)
        m_broadphase->getOverlappingPairCache()->setInternalGhostPairCallback(nullptr);
    delete m_broadphase;
    delete m_ghostPairCallback;
    delete m_dispatcher;
    delete m_collisionConfiguration;
}

int DynamicsWorld::stepSimulation(float elapsedTime, int maxSubSteps, float fixedTimestep) {
    if (m_debugDrawer)
        m_debugDrawer->clear();
    m_fixedStep = fixedTimestep;
    const int steps = m_world->stepSimulation(elapsedTime, maxSubSteps, fixedTimestep);
    if (m_debugDrawer && m_showDebugShapes) {
        drawDebugShapes();
        m_debugDrawer->frameEnd();
    }
    return steps;
}

void DynamicsWorld::drawDebugShapes() {
    for (RigidBody* body : m_bodies) {
        btRigidBody* bullet = body->getBulletRigidBody();
        if (!body->isDebugDisplayEnabled() || !bullet)
            continue;
        m_world->debugDrawObject(bullet->getWorldTransform(), bullet->getCollisionShape(), btVector3(1, 1, 0));
    }
}

void DynamicsWorld::setGravity(const Ogre::Vector3& gravity) {
    m_world->setGravity(btVector3(gravity.x, gravity.y, gravity.z));
}

Ogre::Vector3 DynamicsWorld::getGravity() const {
    const btVector3 g = m_world->getGravity();
    return Ogre::Vector3(g.x(), g.y(), g.z());
}

void DynamicsWorld::enableGhostObjects() {
    if (m_ghostPairCallback)
        return;
    m_ghostPairCallback = new btGhostPairCallback();
    m_broadphase->getOverlappingPairCache()->setInternalGhostPairCallback(m_ghostPairCallback);
}

void DynamicsWorld::setDebugDrawer(OgreBulletCollisions::DebugDrawer* drawer) {
    if (m_debugDrawer && m_debugDrawer != drawer)
        m_debugDrawer->clear();
    m_debugDrawer = drawer;
    m_world->setDebugDrawer(drawer);
}

void DynamicsWorld::registerRigidBody(RigidBody* body) {
    if (body && std::find(m_bodies.begin(), m_bodies.end(), body) == m_bodies.end())
        m_bodies.push_back(body);
}

void DynamicsWorld::addRigidBody(RigidBody* body, short collisionGroup, short collisionMask) {
    if (!body || !body->getBulletRigidBody())
        return;
    if (body->getBulletRigidBody()->getBroadphaseHandle())
        m_world->removeRigidBody(body->getBulletRigidBody());
    // Group and mask 0 mean Bullet's defaults for static and dynamic bodies.
    if (collisionGroup == 0 && collisionMask == 0)
        m_world->addRigidBody(body->getBulletRigidBody());
    else
        m_world->addRigidBody(body->getBulletRigidBody(), collisionGroup, collisionMask);
    if (std::find(m_bodies.begin(), m_bodies.end(), body) == m_bodies.end())
        m_bodies.push_back(body);
}

void DynamicsWorld::removeRigidBody(RigidBody* body) {
    auto it = std::find(m_bodies.begin(), m_bodies.end(), body);
    if (it != m_bodies.end())
        m_bodies.erase(it);
    // A body taken out of Bullet's world directly has no broadphase handle any more.
    if (body && body->getBulletRigidBody() && body->getBulletRigidBody()->getBroadphaseHandle())
        m_world->removeRigidBody(body->getBulletRigidBody());
}

void DynamicsWorld::addVehicle(RaycastVehicle* vehicle) {
    if (!vehicle || std::find(m_vehicles.begin(), m_vehicles.end(), vehicle) != m_vehicles.end())
        return;
    m_vehicles.push_back(vehicle);
    m_world->addVehicle(vehicle->getBulletVehicle());
}

void DynamicsWorld::removeVehicle(RaycastVehicle* vehicle) {
    auto it = std::find(m_vehicles.begin(), m_vehicles.end(), vehicle);
    if (it == m_vehicles.end())
        return;
    m_vehicles.erase(it);
    m_world->removeVehicle(vehicle->getBulletVehicle());
}

RigidBody* DynamicsWorld::findRigidBody(const std::string& name) const {
    for (RigidBody* body : m_bodies)
        if (body->getName() == name)
            return body;
    return nullptr;
}

} // namespace OgreBulletDynamics
