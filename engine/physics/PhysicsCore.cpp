#include "physics/PhysicsCore.h"

#include "physics/bullet/DebugDrawer.h"
#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/RigidBody.h"
#include "physics/bullet/StaticMeshToShapeConverter.h"
#include "physics/bullet/TriangleMeshCollisionShape.h"

#include "display/Core.h"

#include <BulletCollision/CollisionShapes/btHeightfieldTerrainShape.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneNode.h>
#include <btBulletDynamicsCommon.h>

#include <iostream>

DW_SINGLETON_DEFINE(physics::PhysicsCore)

namespace physics {

namespace {
const float kWorldExtent = 100000.0f;
const unsigned int kMaxHandles = 16384;
const float kFixedStep = 1.0f / 60.0f;
// A quarter of a second; a longer stall is not made up.
const int kMaxSubSteps = 15;
const float kStaticRestitution = 0.6f;
const float kStaticFriction = 0.6f;

bool ready(const OgreBulletDynamics::DynamicsWorld* world, const char* what) {
    if (!world)
        std::cerr << "PhysicsCore::" << what << ": the physics world is not initialised" << std::endl;
    return world != nullptr;
}
} // namespace

PhysicsCore::PhysicsCore() : m_world(nullptr), m_debugDrawer(nullptr), m_gravity(0.0f, -9.81f, 0.0f) {}

PhysicsCore::~PhysicsCore() {
    if (m_world)
        m_world->setDebugDrawer(nullptr);
    delete m_debugDrawer;
    m_debugDrawer = nullptr;
    for (TerrainBody& terrain : m_terrain) {
        if (m_world)
            m_world->getBulletDynamicsWorld()->removeRigidBody(terrain.body);
        delete terrain.body;
        delete terrain.motionState;
        delete terrain.shape;
        delete[] terrain.heights;
    }
    m_terrain.clear();
    delete m_world;
    m_world = nullptr;
}

bool PhysicsCore::Init() {
    display::Core* core = display::Core::getSingleton();
    return Init(core ? core->getSceneManager() : nullptr);
}

bool PhysicsCore::Init(Ogre::SceneManager* sceneManager) {
    if (m_world)
        return true;
    const Ogre::AxisAlignedBox bounds(Ogre::Vector3(-kWorldExtent), Ogre::Vector3(kWorldExtent));
    m_world = new OgreBulletDynamics::DynamicsWorld(sceneManager, bounds, m_gravity, true, kMaxHandles);

    m_debugDrawer = new OgreBulletCollisions::DebugDrawer(sceneManager);
    m_debugDrawer->setDrawWireframe(true);
    m_world->setDebugDrawer(m_debugDrawer);

    // Triggers read their ghost objects' overlap lists.
    m_world->enableGhostObjects();
    return true;
}

void PhysicsCore::Update(double seconds) {
    if (!ready(m_world, "Update"))
        return;
    m_world->stepSimulation(static_cast<float>(seconds), kMaxSubSteps, kFixedStep);
}

void PhysicsCore::AddStaticEntity(Ogre::Entity* entity, Ogre::SceneNode* node) {
    if (!ready(m_world, "AddStaticEntity"))
        return;
    if (!entity || !node) {
        std::cerr << "PhysicsCore::AddStaticEntity: no entity or node" << std::endl;
        return;
    }
    const Ogre::Vector3& scale = node->getScale();
    Ogre::Matrix4 transform = Ogre::Matrix4::IDENTITY;
    transform[0][0] = scale.x;
    transform[1][1] = scale.y;
    transform[2][2] = scale.z;

    OgreBulletCollisions::StaticMeshToShapeConverter converter(entity, transform);
    OgreBulletCollisions::TriangleMeshCollisionShape* shape = converter.createTrimesh();
    if (!shape) {
        std::cerr << "PhysicsCore::AddStaticEntity: mesh of \"" << node->getName()
                  << "\" has no triangles, no body made" << std::endl;
        return;
    }
    auto* body = new OgreBulletDynamics::RigidBody(node->getName(), m_world);
    body->setStaticShape(node, shape, kStaticRestitution, kStaticFriction, node->_getDerivedPosition(),
                         node->_getDerivedOrientation());
    body->setDebugDisplayEnabled(true);
}

void PhysicsCore::AddTerrain(int width, int depth, float* heights, float minHeight, float maxHeight,
                             const Ogre::Vector3& position, float scale, std::string) {
    if (!ready(m_world, "AddTerrain")) {
        delete[] heights;
        return;
    }
    if (!heights || width < 2 || depth < 2) {
        std::cerr << "PhysicsCore::AddTerrain: a height field needs at least 2 x 2 samples" << std::endl;
        delete[] heights;
        return;
    }
    auto* shape = new btHeightfieldTerrainShape(width, depth, heights, 1.0f, minHeight, maxHeight, 1, PHY_FLOAT,
                                                true);
    shape->setUseDiamondSubdivision(true);
    shape->setLocalScaling(btVector3(scale, 1.0f, scale));

    auto* motionState = new btDefaultMotionState(btTransform::getIdentity(), btTransform::getIdentity());
    btRigidBody::btRigidBodyConstructionInfo info(0.0f, motionState, shape, btVector3(0, 0, 0));
    auto* body = new btRigidBody(info);
    // Bullet centres a height field on the middle of its range, so this puts
    // every sample at its own world height.
    btTransform transform;
    transform.setIdentity();
    transform.setOrigin(btVector3(position.x, (minHeight + maxHeight) * 0.5f, position.z));
    body->setWorldTransform(transform);
    m_world->getBulletDynamicsWorld()->addRigidBody(body);

    m_terrain.push_back({body, motionState, shape, heights});
}

} // namespace physics
