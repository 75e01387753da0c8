#include "unit/physics/HeadlessOgre.h"

#include "physics/bullet/BoxCollisionShape.h"
#include "physics/bullet/DebugDrawer.h"
#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/RaycastVehicle.h"
#include "physics/bullet/RigidBody.h"
#include "physics/bullet/StaticMeshToShapeConverter.h"
#include "physics/bullet/TriangleMeshCollisionShape.h"
#include "physics/bullet/VehicleRayCaster.h"
#include "physics/bullet/VehicleTuning.h"
#include "physics/bullet/WheeledRigidBody.h"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using namespace OgreBulletDynamics;
using OgreBulletCollisions::BoxCollisionShape;

class BulletAdapterTest : public kbtest::OgreTest {
protected:
    void SetUp() override {
        kbtest::OgreTest::SetUp();
        m_world = std::make_unique<DynamicsWorld>(
            m_scene, Ogre::AxisAlignedBox(Ogre::Vector3(-1000.0f), Ogre::Vector3(1000.0f)),
            Ogre::Vector3(0, -9.81f, 0));
    }
    void TearDown() override {
        m_world.reset();
        kbtest::OgreTest::TearDown();
    }

    // A static ground box whose top is at y = 0.
    RigidBody* ground() {
        auto* body = new RigidBody("ground", m_world.get());
        body->setStaticShape(nullptr, new BoxCollisionShape(Ogre::Vector3(200.0f, 1.0f, 200.0f)), 0.1f, 1.0f,
                             Ogre::Vector3(0, -1, 0));
        return body;
    }

    void step(int count) {
        for (int i = 0; i < count; ++i)
            m_world->stepSimulation(1.0f / 60.0f, 1, 1.0f / 60.0f);
    }

    int bulletObjects() const { return m_world->getBulletDynamicsWorld()->getNumCollisionObjects(); }

    std::unique_ptr<DynamicsWorld> m_world;
};

TEST_F(BulletAdapterTest, BodyStartsAtItsTransformAndCarriesItsNode) {
    Ogre::SceneNode* parent = m_scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(5, 0, 0));
    Ogre::SceneNode* node = parent->createChildSceneNode();
    auto* body = new RigidBody("box", m_world.get());
    body->setShape(node, new BoxCollisionShape(Ogre::Vector3(0.5f)), 0.0f, 0.5f, 10.0f, Ogre::Vector3(1, 20, 2));

    // The node is moved to the body at once, in world terms despite its parent.
    EXPECT_TRUE(node->_getDerivedPosition().positionEquals(Ogre::Vector3(1, 20, 2), 1e-4f));
    step(30);
    const Ogre::Vector3 fallen = node->_getDerivedPosition();
    EXPECT_LT(fallen.y, 19.0f);
    EXPECT_NEAR(fallen.x, 1.0f, 1e-4f);
    EXPECT_LT(fallen.distance(body->getWorldPosition()), 0.2f); // the node shows the interpolated state
    EXPECT_FALSE(body->isStaticObject());
    EXPECT_LT(body->getLinearVelocity().y, -1.0f);
}

// Frames of 1/40 s over steps of 1/60 s: one or two steps a frame.
TEST_F(BulletAdapterTest, TheNodeMovesEvenlyBetweenStepsWhileTheSteppedPoseMovesByWholeSteps) {
    const float step = 1.0f / 60.0f;
    Ogre::SceneNode* node = m_scene->getRootSceneNode()->createChildSceneNode();
    auto* body = new RigidBody("glider", m_world.get());
    body->setShape(node, new BoxCollisionShape(Ogre::Vector3(0.5f)), 0.0f, 0.0f, 1.0f, Ogre::Vector3(0, 50, 0));
    body->getBulletRigidBody()->setGravity(btVector3(0, 0, 0));
    body->setLinearVelocity(Ogre::Vector3(6, 0, 0)); // 0.1 m a step, 0.15 m a frame
    m_world->stepSimulation(step, 15, step);
    float drawn = node->_getDerivedPosition().x;
    float stepped = body->getSteppedPosition().x;
    for (int frame = 0; frame < 12; ++frame) {
        m_world->stepSimulation(1.0f / 40.0f, 15, step);
        EXPECT_NEAR(node->_getDerivedPosition().x - drawn, 0.15f, 1e-3f) << "frame " << frame;
        const float jump = body->getSteppedPosition().x - stepped;
        EXPECT_TRUE(std::abs(jump - 0.1f) < 1e-3f || std::abs(jump - 0.2f) < 1e-3f) << "frame " << frame;
        // The stepped pose is one the node passed through: never ahead of it.
        EXPECT_LE(body->getSteppedPosition().x, node->_getDerivedPosition().x + 1e-4f);
        drawn = node->_getDerivedPosition().x;
        stepped = body->getSteppedPosition().x;
    }
    // A pose set directly reaches both at once.
    btTransform at = btTransform::getIdentity();
    at.setOrigin(btVector3(3, 40, 1));
    body->setPose(at);
    EXPECT_TRUE(body->getSteppedPosition().positionEquals(Ogre::Vector3(3, 40, 1)));
    EXPECT_TRUE(node->_getDerivedPosition().positionEquals(Ogre::Vector3(3, 40, 1)));
}

TEST_F(BulletAdapterTest, DampingAndDefaultFilteringReachBullet) {
    auto* body = new RigidBody("damped", m_world.get());
    body->setShape(nullptr, new BoxCollisionShape(Ogre::Vector3(1.0f)), 0.6f, 0.6f, 500.0f);
    body->setDamping(0.6f, 0.8f);
    btRigidBody* bullet = body->getBulletRigidBody();
    EXPECT_FLOAT_EQ(bullet->getLinearDamping(), 0.6f);
    EXPECT_FLOAT_EQ(bullet->getAngularDamping(), 0.8f);
    EXPECT_EQ(bullet->getBroadphaseHandle()->m_collisionFilterGroup, int(btBroadphaseProxy::DefaultFilter));
    EXPECT_EQ(bullet->getBroadphaseHandle()->m_collisionFilterMask, int(btBroadphaseProxy::AllFilter));
    EXPECT_FLOAT_EQ(1.0f / bullet->getInvMass(), 500.0f);

    RigidBody* floor = ground();
    EXPECT_EQ(floor->getBulletRigidBody()->getBroadphaseHandle()->m_collisionFilterGroup,
              int(btBroadphaseProxy::StaticFilter));

    auto* filtered = new RigidBody("filtered", m_world.get(), 4, 8);
    filtered->setShape(nullptr, new BoxCollisionShape(Ogre::Vector3(1.0f)), 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(filtered->getBulletRigidBody()->getBroadphaseHandle()->m_collisionFilterGroup, 4);
    EXPECT_EQ(filtered->getBulletRigidBody()->getBroadphaseHandle()->m_collisionFilterMask, 8);
}

TEST_F(BulletAdapterTest, DeletingABodyTakesItOutOfTheWorld) {
    auto* body = new RigidBody("short-lived", m_world.get());
    body->setShape(nullptr, new BoxCollisionShape(Ogre::Vector3(1.0f)), 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(bulletObjects(), 1);
    EXPECT_EQ(m_world->findRigidBody("short-lived"), body);
    delete body;
    EXPECT_EQ(bulletObjects(), 0);
    EXPECT_EQ(m_world->findRigidBody("short-lived"), nullptr);
    step(2);
}

TEST_F(BulletAdapterTest, WorldDeletesTheBodiesAndVehiclesLeftInIt) {
    ground();
    auto* chassis = new WheeledRigidBody("chassis", m_world.get());
    chassis->setShape(nullptr, new BoxCollisionShape(Ogre::Vector3(1, 0.5f, 2)), 0.6f, 0.6f, 500.0f,
                      Ogre::Vector3(0, 2, 0));
    VehicleTuning tuning(50.0f, 2.4f, 5.0f, 150.0f, 10.5f);
    VehicleRayCaster caster(m_world.get());
    new RaycastVehicle(chassis, &tuning, &caster);
    EXPECT_EQ(m_world->getRigidBodies().size(), 2u);
    m_world.reset(); // must neither leak nor touch freed memory (run under a sanitizer to see)
    SUCCEED();
}

TEST_F(BulletAdapterTest, SixteenBitBroadphaseIsClampedToItsHandleLimit) {
    DynamicsWorld small(nullptr, Ogre::AxisAlignedBox(Ogre::Vector3(-10.0f), Ogre::Vector3(10.0f)),
                        Ogre::Vector3::ZERO, false, 100000);
    EXPECT_EQ(small.getMaxHandles(), DynamicsWorld::kMax16BitHandles);
    EXPECT_NE(dynamic_cast<btAxisSweep3*>(small.getBulletBroadphase()), nullptr);
    DynamicsWorld wide(nullptr, Ogre::AxisAlignedBox(Ogre::Vector3(-10.0f), Ogre::Vector3(10.0f)),
                       Ogre::Vector3::ZERO, true, 100000);
    EXPECT_EQ(wide.getMaxHandles(), 100000u);
}

class VehicleAdapterTest : public BulletAdapterTest {
protected:
    void build(bool withNodes) {
        ground();
        m_bodyNode = m_scene->getRootSceneNode()->createChildSceneNode();
        m_chassis = new WheeledRigidBody("carChassis", m_world.get());
        m_chassis->setShape(m_bodyNode, new BoxCollisionShape(Ogre::Vector3(1.0f, 0.5f, 2.0f)), 0.6f, 0.6f, 500.0f,
                            Ogre::Vector3(0, 1.5f, 0));
        m_chassis->setDamping(0.6f, 0.6f);
        m_chassis->getBulletRigidBody()->setActivationState(DISABLE_DEACTIVATION);
        m_tuning = std::make_unique<VehicleTuning>(50.0f, 2.4f, 5.0f, 150.0f, 10.5f);
        m_caster = std::make_unique<VehicleRayCaster>(m_world.get());
        m_vehicle = new RaycastVehicle(m_chassis, m_tuning.get(), m_caster.get());
        m_vehicle->setCoordinateSystem(0, 1, 2);
        for (int i = 0; i < 4; ++i) {
            Ogre::SceneNode* wheel = withNodes ? m_scene->getRootSceneNode()->createChildSceneNode() : nullptr;
            m_wheels.push_back(wheel);
            const Ogre::Vector3 connection((i % 2) ? 0.9f : -0.9f, -0.3f, (i < 2) ? 1.5f : -1.5f);
            m_vehicle->addWheel(wheel, connection, Ogre::Vector3(0, -1, 0), Ogre::Vector3(-1, 0, 0), 0.6f, 0.4f,
                                i < 2, 1e30f, 0.01f);
        }
    }

    Ogre::SceneNode* m_bodyNode = nullptr;
    WheeledRigidBody* m_chassis = nullptr;
    std::unique_ptr<VehicleTuning> m_tuning;
    std::unique_ptr<VehicleRayCaster> m_caster;
    RaycastVehicle* m_vehicle = nullptr;
    std::vector<Ogre::SceneNode*> m_wheels;
};

TEST_F(VehicleAdapterTest, EngineForceDrivesTheCarAlongItsForwardAxisAndWheelsFollow) {
    build(true);
    ASSERT_EQ(m_vehicle->getNumWheels(), 4);
    EXPECT_FLOAT_EQ(m_vehicle->getBulletVehicle()->getWheelInfo(0).m_frictionSlip, 1e30f);
    EXPECT_FLOAT_EQ(m_vehicle->getBulletVehicle()->getWheelInfo(0).m_rollInfluence, 0.01f);
    EXPECT_TRUE(m_vehicle->getBulletVehicle()->getWheelInfo(0).m_bIsFrontWheel);
    EXPECT_FALSE(m_vehicle->getBulletVehicle()->getWheelInfo(3).m_bIsFrontWheel);

    step(60); // settle on the suspension
    const Ogre::Vector3 start = m_bodyNode->_getDerivedPosition();
    EXPECT_GT(start.y, 0.3f);
    for (int frame = 0; frame < 120; ++frame) {
        m_vehicle->applyEngineForce(1000.0f, 0);
        m_vehicle->applyEngineForce(1000.0f, 1);
        step(1);
    }
    const Ogre::Vector3 end = m_bodyNode->_getDerivedPosition();
    EXPECT_GT(end.z - start.z, 2.0f);
    EXPECT_NEAR(end.x, start.x, 0.2f);
    EXPECT_GT(m_chassis->getLinearVelocity().z, 1.0f);
    EXPECT_GT(m_vehicle->getCurrentSpeedKmHour(), 3.0f);

    // Each wheel node sits at its wheel, near the chassis.
    for (int i = 0; i < 4; ++i) {
        const btVector3& w = m_vehicle->getBulletVehicle()->getWheelInfo(i).m_worldTransform.getOrigin();
        EXPECT_TRUE(m_wheels[i]->_getDerivedPosition().positionEquals(Ogre::Vector3(w.x(), w.y(), w.z()), 1e-3f));
        EXPECT_LT(m_wheels[i]->_getDerivedPosition().distance(end), 3.0f);
    }
}

TEST_F(VehicleAdapterTest, SteeringTurnsTheCarAndBadWheelIndicesAreIgnored) {
    build(false);
    step(60);
    for (int frame = 0; frame < 180; ++frame) {
        m_vehicle->applyEngineForce(1500.0f, 0);
        m_vehicle->applyEngineForce(1500.0f, 1);
        m_vehicle->setSteeringValue(0.4f, 0);
        m_vehicle->setSteeringValue(0.4f, 1);
        m_vehicle->applyEngineForce(1500.0f, 7);
        m_vehicle->setSteeringValue(0.4f, -1);
        step(1);
    }
    EXPECT_FLOAT_EQ(m_vehicle->getBulletVehicle()->getSteeringValue(0), 0.4f);
    EXPECT_FLOAT_EQ(m_vehicle->getBulletVehicle()->getSteeringValue(2), 0.0f);
    // Positive steering about +y turns the forward axis (+z) towards +x.
    EXPECT_GT(m_bodyNode->_getDerivedPosition().x, 1.0f);
}

TEST_F(VehicleAdapterTest, ChassisDeletedBeforeItsVehicleLeavesNothingDangling) {
    build(true);
    step(5);
    m_world->removeRigidBody(m_chassis);
    delete m_chassis;
    EXPECT_EQ(m_vehicle->getChassis(), nullptr);
    step(5);
    m_vehicle->updateWheels();
    delete m_vehicle;
    step(1);
}

TEST_F(BulletAdapterTest, ConverterReadsOwnAndSharedVertexDataWithTheTransform) {
    kbtest::HeadlessOgre::boxMesh("converter_box.mesh", Ogre::Vector3(1.0f, 2.0f, 3.0f));
    Ogre::Entity* box = m_scene->createEntity("converter_box.mesh");
    Ogre::Matrix4 scale = Ogre::Matrix4::IDENTITY;
    scale.setScale(Ogre::Vector3(2.0f, 1.0f, 0.5f));
    OgreBulletCollisions::StaticMeshToShapeConverter converter(box, scale);
    EXPECT_EQ(converter.getTriangleCount(), 12u);
    Ogre::AxisAlignedBox bounds;
    for (const Ogre::Vector3& v : converter.getVertices())
        bounds.merge(v);
    EXPECT_TRUE(bounds.getMaximum().positionEquals(Ogre::Vector3(2.0f, 2.0f, 1.5f), 1e-5f));

    // Shared vertices, and one index that points past them and is dropped.
    if (!Ogre::MeshManager::getSingleton().resourceExists("shared_tris.mesh"))
        kbtest::HeadlessOgre::buildMesh("shared_tris.mesh", {0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 1},
                                        {0, 1, 2, 1, 3, 2, 0, 9, 1}, Ogre::Vector3(1.0f), true);
    Ogre::Entity* shared = m_scene->createEntity("shared_tris.mesh");
    OgreBulletCollisions::StaticMeshToShapeConverter sharedConverter(shared);
    EXPECT_EQ(sharedConverter.getTriangleCount(), 2u);
    std::unique_ptr<OgreBulletCollisions::TriangleMeshCollisionShape> shape(sharedConverter.createTrimesh());
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->getTriangleCount(), 2u);
    EXPECT_EQ(shape->getBulletShape()->getShapeType(), TRIANGLE_MESH_SHAPE_PROXYTYPE);

    OgreBulletCollisions::StaticMeshToShapeConverter empty;
    EXPECT_EQ(empty.createTrimesh(), nullptr);
}

TEST_F(BulletAdapterTest, DebugDrawerCollectsLinesOnlyWhenShapesAreShown) {
    OgreBulletCollisions::DebugDrawer drawer(m_scene);
    drawer.setDrawWireframe(true);
    EXPECT_TRUE(drawer.doesDrawWireframe());
    m_world->setDebugDrawer(&drawer);
    auto* body = new RigidBody("shown", m_world.get());
    body->setShape(nullptr, new BoxCollisionShape(Ogre::Vector3(1.0f)), 0.0f, 0.0f, 1.0f);
    body->setDebugDisplayEnabled(true);

    step(1);
    EXPECT_EQ(drawer.getLineCount(), 0u);
    m_world->setShowDebugShapes(true);
    step(1);
    EXPECT_EQ(drawer.getLineCount(), 12u); // the edges of one box
    body->setDebugDisplayEnabled(false);
    step(1);
    EXPECT_EQ(drawer.getLineCount(), 0u); // cleared before each step
    m_world->setDebugDrawer(nullptr);
}

} // namespace
