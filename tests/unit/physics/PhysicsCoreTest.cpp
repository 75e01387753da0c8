#include "unit/physics/HeadlessOgre.h"
#include "unit/physics/PhysicsTestSupport.h"

#include "physics/PhysicsCore.h"
#include "physics/bullet/BoxCollisionShape.h"
#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/RigidBody.h"

#include <BulletCollision/CollisionShapes/btHeightfieldTerrainShape.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using kbtest::bulletWorld;
using kbtest::castDown;

int g_ticks = 0;
void countTick(btDynamicsWorld*, btScalar) {
    ++g_ticks;
}

// Bullet-only: no scene manager behind the world.
class PhysicsCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_core = std::make_unique<physics::PhysicsCore>();
        ASSERT_TRUE(m_core->Init(nullptr));
    }

    btRigidBody* terrainBody() const {
        const btCollisionObjectArray& objects = bulletWorld()->getCollisionObjectArray();
        for (int i = 0; i < objects.size(); ++i)
            if (objects[i]->getCollisionShape()->getShapeType() == TERRAIN_SHAPE_PROXYTYPE)
                return btRigidBody::upcast(objects[i]);
        return nullptr;
    }

    // A width x depth page whose heights rise from `low` at the first sample to `high` at the last.
    float* rampHeights(int width, int depth, float low, float high) {
        float* heights = new float[width * depth];
        for (int i = 0; i < width * depth; ++i)
            heights[i] = low + (high - low) * i / float(width * depth - 1);
        return heights;
    }

    std::unique_ptr<physics::PhysicsCore> m_core;
};

TEST_F(PhysicsCoreTest, WorldIsBuiltOnceWithTheSweepAndPruneBroadphaseAndEarthGravity) {
    EXPECT_EQ(physics::PhysicsCore::getSingleton(), m_core.get());
    OgreBulletDynamics::DynamicsWorld* world = m_core->world();
    ASSERT_NE(world, nullptr);
    EXPECT_NE(dynamic_cast<bt32BitAxisSweep3*>(world->getBulletBroadphase()), nullptr);
    EXPECT_EQ(world->getMaxHandles(), 16384u);
    EXPECT_NE(dynamic_cast<btSequentialImpulseConstraintSolver*>(bulletWorld()->getConstraintSolver()), nullptr);
    const btVector3 g = bulletWorld()->getGravity();
    EXPECT_FLOAT_EQ(g.x(), 0.0f);
    EXPECT_FLOAT_EQ(g.y(), -9.81f);
    EXPECT_FLOAT_EQ(g.z(), 0.0f);
    ASSERT_NE(bulletWorld()->getDebugDrawer(), nullptr);
    EXPECT_TRUE(bulletWorld()->getDebugDrawer()->getDebugMode() & btIDebugDraw::DBG_DrawWireframe);

    // A second Init keeps the world.
    EXPECT_TRUE(m_core->Init(nullptr));
    EXPECT_EQ(m_core->world(), world);
}

TEST_F(PhysicsCoreTest, DestructionReleasesTheSingleton) {
    m_core.reset();
    EXPECT_EQ(physics::PhysicsCore::getSingleton(), nullptr);
}

TEST_F(PhysicsCoreTest, UpdateTakesTheFixedStepsTheTimeCallsForUpToAQuarterSecond) {
    g_ticks = 0;
    bulletWorld()->setInternalTickCallback(countTick);
    auto* body = new OgreBulletDynamics::RigidBody("faller", m_core->world());
    body->setShape(nullptr, new OgreBulletCollisions::BoxCollisionShape(Ogre::Vector3(0.5f)), 0.0f, 0.5f, 1.0f,
                   Ogre::Vector3(0, 1000, 0));

    m_core->Update(0.05); // three steps' worth of time
    EXPECT_EQ(g_ticks, 3);
    EXPECT_NEAR(body->getLinearVelocity().y, -3.0f * 9.81f / 60.0f, 1e-4f);

    m_core->Update(0.01); // less than a step: Bullet only interpolates
    EXPECT_EQ(g_ticks, 3);
    m_core->Update(0.01); // the time left over adds up to a step
    EXPECT_EQ(g_ticks, 4);

    // A stall of a second is not made up: a quarter of a second is stepped.
    m_core->Update(1.0);
    EXPECT_EQ(g_ticks, 4 + 15);
    EXPECT_NEAR(body->getLinearVelocity().y, -19.0f * 9.81f / 60.0f, 1e-3f);
}

TEST_F(PhysicsCoreTest, TerrainPageSitsAtItsTrueWorldHeight) {
    const int size = 5;
    m_core->AddTerrain(size, size, rampHeights(size, size, 10.0f, 30.0f), 10.0f, 30.0f,
                       Ogre::Vector3(500.0f, 0.0f, -500.0f), 2.0f, "page");
    btRigidBody* body = terrainBody();
    ASSERT_NE(body, nullptr);
    const btVector3& origin = body->getWorldTransform().getOrigin();
    EXPECT_FLOAT_EQ(origin.x(), 500.0f);
    EXPECT_FLOAT_EQ(origin.y(), 20.0f);
    EXPECT_FLOAT_EQ(origin.z(), -500.0f);
    EXPECT_TRUE(body->isStaticObject());
    EXPECT_FLOAT_EQ(body->getInvMass(), 0.0f);

    const btVector3 scaling = body->getCollisionShape()->getLocalScaling();
    EXPECT_FLOAT_EQ(scaling.x(), 2.0f);
    EXPECT_FLOAT_EQ(scaling.y(), 1.0f);
    EXPECT_FLOAT_EQ(scaling.z(), 2.0f);

    // Samples are 2 apart around (500, -500); sample k (row k / 5, column k % 5)
    // is at height 10 + 20 k / 24, so the last one, at the +x +z corner, is the highest.
    float height = 0.0f;
    ASSERT_TRUE(castDown(503.98f, -496.02f, height));
    EXPECT_NEAR(height, 30.0f, 0.1f);
    ASSERT_TRUE(castDown(496.02f, -503.98f, height));
    EXPECT_NEAR(height, 10.0f, 0.1f);
    ASSERT_TRUE(castDown(500.0f, -500.0f, height)); // sample 12
    EXPECT_NEAR(height, 20.0f, 1e-3f);
    ASSERT_TRUE(castDown(502.0f, -498.0f, height)); // sample 18
    EXPECT_NEAR(height, 25.0f, 1e-3f);
}

TEST_F(PhysicsCoreTest, TerrainNameHasNoEffect) {
    const int size = 3;
    m_core->AddTerrain(size, size, rampHeights(size, size, 0.0f, 4.0f), 0.0f, 4.0f, Ogre::Vector3(0, 0, 0), 1.0f,
                       "one name");
    m_core->AddTerrain(size, size, rampHeights(size, size, 0.0f, 4.0f), 0.0f, 4.0f, Ogre::Vector3(10, 0, 0), 1.0f,
                       "one name");
    float a = 0.0f, b = 0.0f;
    ASSERT_TRUE(castDown(0.5f, 0.5f, a));
    ASSERT_TRUE(castDown(10.5f, 0.5f, b));
    EXPECT_FLOAT_EQ(a, b);
}

TEST_F(PhysicsCoreTest, SphereComesToRestOnTheHeightField) {
    const int size = 33;
    float* heights = new float[size * size];
    // A gentle bowl between heights 5 and 7, sample spacing 2.
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            const float dx = (i - 16) / 16.0f, dz = (j - 16) / 16.0f;
            heights[j * size + i] = 5.0f + (dx * dx + dz * dz);
        }
    m_core->AddTerrain(size, size, heights, 5.0f, 7.0f, Ogre::Vector3(100.0f, 0.0f, 100.0f), 2.0f, "bowl");

    btRigidBody* sphere = kbtest::addSphere(btVector3(104.0f, 20.0f, 98.0f));
    for (int i = 0; i < 600; ++i)
        m_core->Update(1.0 / 60.0);
    const btVector3 at = sphere->getWorldTransform().getOrigin();
    EXPECT_LT(sphere->getLinearVelocity().length(), 0.2f);
    kbtest::removeSphere(sphere); // so that the ray meets the ground, not the sphere
    float ground = 0.0f;
    ASSERT_TRUE(castDown(at.x(), at.z(), ground));
    EXPECT_GT(ground, 4.99f);
    EXPECT_LT(ground, 7.01f);
    // Resting on a slope, the contact is off-centre: the sphere's lowest point is near the ground below it.
    EXPECT_NEAR(at.y() - 0.5f, ground, 0.05f);
}

TEST_F(PhysicsCoreTest, CallsBeforeInitAreHarmless) {
    m_core.reset();
    physics::PhysicsCore fresh;
    fresh.Update(0.1);
    fresh.AddTerrain(2, 2, new float[4](), 0.0f, 0.0f, Ogre::Vector3::ZERO, 1.0f, "early");
    fresh.AddStaticEntity(nullptr, nullptr);
    EXPECT_EQ(fresh.world(), nullptr);
}

// Static meshes need entities, so a headless rendering root is up for these.
class PhysicsCoreMeshTest : public kbtest::OgreTest {
protected:
    void SetUp() override {
        kbtest::OgreTest::SetUp();
        m_core = std::make_unique<physics::PhysicsCore>();
        ASSERT_TRUE(m_core->Init(m_scene));
    }
    void TearDown() override {
        m_core.reset();
        kbtest::OgreTest::TearDown();
    }

    Ogre::SceneNode* plate(const std::string& name, const Ogre::Vector3& at, const Ogre::Vector3& scale) {
        kbtest::HeadlessOgre::boxMesh("plate.mesh", Ogre::Vector3(1.0f, 0.5f, 1.0f));
        Ogre::SceneNode* node = m_scene->getRootSceneNode()->createChildSceneNode(name, at);
        node->setScale(scale);
        Ogre::Entity* entity = m_scene->createEntity(name, "plate.mesh");
        node->attachObject(entity);
        m_core->AddStaticEntity(entity, node);
        return node;
    }

    std::unique_ptr<physics::PhysicsCore> m_core;
};

TEST_F(PhysicsCoreMeshTest, StaticMeshIsScaledLikeItsNodeAndPlacedAtIt) {
    plate("apron", Ogre::Vector3(10.0f, 5.0f, -20.0f), Ogre::Vector3(2.0f, 1.0f, 2.0f));
    OgreBulletDynamics::RigidBody* body = m_core->world()->findRigidBody("apron");
    ASSERT_NE(body, nullptr);
    EXPECT_TRUE(body->isStaticObject());
    EXPECT_TRUE(body->isDebugDisplayEnabled());
    btRigidBody* bullet = body->getBulletRigidBody();
    EXPECT_FLOAT_EQ(bullet->getRestitution(), 0.6f);
    EXPECT_FLOAT_EQ(bullet->getFriction(), 0.6f);
    EXPECT_EQ(bullet->getCollisionShape()->getShapeType(), TRIANGLE_MESH_SHAPE_PROXYTYPE);

    btVector3 lo, hi;
    bullet->getCollisionShape()->getAabb(btTransform::getIdentity(), lo, hi);
    // Twice as wide in x and z as the mesh (half size 1), unchanged in y (half size 0.5).
    EXPECT_NEAR(hi.x() - lo.x(), 4.0f, 0.1f);
    EXPECT_NEAR(hi.y() - lo.y(), 1.0f, 0.1f);
    EXPECT_NEAR(hi.z() - lo.z(), 4.0f, 0.1f);

    const btVector3& origin = bullet->getWorldTransform().getOrigin();
    EXPECT_FLOAT_EQ(origin.x(), 10.0f);
    EXPECT_FLOAT_EQ(origin.y(), 5.0f);
    EXPECT_FLOAT_EQ(origin.z(), -20.0f);

    float top = 0.0f;
    ASSERT_TRUE(castDown(11.8f, -21.8f, top)); // only inside the scaled plate
    EXPECT_NEAR(top, 5.5f, 1e-3f);
}

TEST_F(PhysicsCoreMeshTest, StaticBodyTakesTheNodesWorldTransform) {
    Ogre::SceneNode* parent = m_scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(100, 0, 0));
    parent->yaw(Ogre::Degree(90));
    kbtest::HeadlessOgre::boxMesh("plate.mesh", Ogre::Vector3(1.0f, 0.5f, 1.0f));
    Ogre::SceneNode* node = parent->createChildSceneNode("child", Ogre::Vector3(0, 2, 5));
    Ogre::Entity* entity = m_scene->createEntity("child", "plate.mesh");
    node->attachObject(entity);
    m_core->AddStaticEntity(entity, node);

    const btTransform& t = m_core->world()->findRigidBody("child")->getBulletRigidBody()->getWorldTransform();
    const Ogre::Vector3 expected = node->_getDerivedPosition();
    EXPECT_NEAR(t.getOrigin().x(), expected.x, 1e-4f);
    EXPECT_NEAR(t.getOrigin().y(), expected.y, 1e-4f);
    EXPECT_NEAR(t.getOrigin().z(), expected.z, 1e-4f);
    EXPECT_NEAR(expected.x, 105.0f, 1e-4f); // yawed parent: local +z became world +x
    const btQuaternion q = t.getRotation();
    const Ogre::Quaternion o = node->_getDerivedOrientation();
    EXPECT_NEAR(std::abs(q.w() * o.w + q.x() * o.x + q.y() * o.y + q.z() * o.z), 1.0f, 1e-4f);
}

TEST_F(PhysicsCoreMeshTest, SphereComesToRestOnAScaledStaticMesh) {
    plate("deck", Ogre::Vector3(0.0f, 3.0f, 0.0f), Ogre::Vector3(4.0f, 1.0f, 4.0f));
    // Outside the unscaled plate (half size 1), inside the scaled one (half size 4).
    btRigidBody* sphere = kbtest::addSphere(btVector3(2.5f, 10.0f, -2.5f));
    for (int i = 0; i < 400; ++i)
        m_core->Update(1.0 / 60.0);
    const btVector3 at = sphere->getWorldTransform().getOrigin();
    kbtest::removeSphere(sphere);
    float ground = 0.0f;
    ASSERT_TRUE(castDown(at.x(), at.z(), ground));
    EXPECT_NEAR(ground, 3.5f, 1e-3f);
    EXPECT_NEAR(at.y(), 4.0f, 0.05f);
    EXPECT_NEAR(at.x(), 2.5f, 0.1f);
}

} // namespace
