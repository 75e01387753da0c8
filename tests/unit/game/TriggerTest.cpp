#include "unit/physics/HeadlessOgre.h"

#include "game/IObject.h"
#include "game/Trigger.h"
#include "physics/PhysicsCore.h"
#include "physics/bullet/BoxCollisionShape.h"
#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/RigidBody.h"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records every notification as "enter:<name>", "stay:<name>", "leave:<name>".
class RecordingTrigger : public game::Trigger {
public:
    RecordingTrigger(Ogre::SceneNode* node, unsigned short type) : game::Trigger(node, type) {}

    void OnEnter(btCollisionObject* object) override { log.push_back("enter:" + name(object)); }
    void OnStay(btCollisionObject* object) override { log.push_back("stay:" + name(object)); }
    void OnLeave(btCollisionObject* object) override { log.push_back("leave:" + name(object)); }

    int count(const std::string& entry) const {
        int n = 0;
        for (const std::string& e : log)
            n += e == entry;
        return n;
    }

    std::vector<std::string> log;

private:
    static std::string name(btCollisionObject* object) {
        auto* body = static_cast<OgreBulletDynamics::RigidBody*>(btRigidBody::upcast(object)->getMotionState());
        return body ? body->getName() : "?";
    }
};

class PlainObject : public game::IObject {
public:
    explicit PlainObject(unsigned short type) : game::IObject(type) {}
    void Activate(bool flag) override { m_active = flag; }
};

class TriggerTest : public kbtest::OgreTest {
protected:
    void SetUp() override {
        kbtest::OgreTest::SetUp();
        m_core = std::make_unique<physics::PhysicsCore>();
        ASSERT_TRUE(m_core->Init(m_scene));
        m_core->world()->setGravity(Ogre::Vector3::ZERO); // bodies stay where they are put
    }
    void TearDown() override {
        m_triggers.clear();
        m_core.reset();
        kbtest::OgreTest::TearDown();
    }

    RecordingTrigger* trigger(const Ogre::Vector3& at, const Ogre::Vector3& scale) {
        Ogre::SceneNode* node = m_scene->getRootSceneNode()->createChildSceneNode(at);
        node->setScale(scale);
        m_triggers.push_back(std::make_unique<RecordingTrigger>(node, 1));
        return m_triggers.back().get();
    }

    OgreBulletDynamics::RigidBody* body(const std::string& name, const Ogre::Vector3& at, float mass = 1.0f) {
        auto* b = new OgreBulletDynamics::RigidBody(name, m_core->world());
        b->setShape(nullptr, new OgreBulletCollisions::BoxCollisionShape(Ogre::Vector3(0.5f)), 0.0f, 0.0f, mass, at);
        b->getBulletRigidBody()->setActivationState(DISABLE_DEACTIVATION);
        return b;
    }

    void moveTo(OgreBulletDynamics::RigidBody* b, const Ogre::Vector3& at) {
        btTransform t = b->getBulletRigidBody()->getWorldTransform();
        t.setOrigin(btVector3(at.x, at.y, at.z));
        b->getBulletRigidBody()->setWorldTransform(t);
    }

    // As in the game: triggers update first, then the world steps.
    void frame(RecordingTrigger* t) {
        t->Update(1.0 / 60.0);
        m_core->Update(1.0 / 60.0);
    }

    std::unique_ptr<physics::PhysicsCore> m_core;
    std::vector<std::unique_ptr<RecordingTrigger>> m_triggers;
};

TEST_F(TriggerTest, BoxIsShapedAndPlacedByItsNodeAndJoinsTheSensorGroup) {
    Ogre::SceneNode* node = m_scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(3, 1, -7));
    node->setScale(4, 2, 6);
    node->yaw(Ogre::Degree(30));
    RecordingTrigger t(node, 0);
    btGhostObject* ghost = t.ghost_object();
    ASSERT_NE(ghost, nullptr);
    const btVector3 half = static_cast<btBoxShape*>(ghost->getCollisionShape())->getHalfExtentsWithMargin();
    EXPECT_NEAR(half.x(), 2.0f, 1e-5f);
    EXPECT_NEAR(half.y(), 1.0f, 1e-5f);
    EXPECT_NEAR(half.z(), 3.0f, 1e-5f);
    EXPECT_EQ(ghost->getCollisionFlags() & btCollisionObject::CF_NO_CONTACT_RESPONSE,
              int(btCollisionObject::CF_NO_CONTACT_RESPONSE));
    EXPECT_EQ(ghost->getBroadphaseHandle()->m_collisionFilterGroup, 16);
    EXPECT_EQ(ghost->getBroadphaseHandle()->m_collisionFilterMask, -17);
    const btVector3& origin = ghost->getWorldTransform().getOrigin();
    EXPECT_FLOAT_EQ(origin.x(), 3.0f);
    EXPECT_FLOAT_EQ(origin.z(), -7.0f);
    const btQuaternion q = ghost->getWorldTransform().getRotation();
    EXPECT_NEAR(std::abs(q.y()), std::sin(Ogre::Degree(15).valueRadians()), 1e-5f);
    EXPECT_TRUE(t.GetPosition().positionEquals(Ogre::Vector3(3, 1, -7)));
    EXPECT_FALSE(t.isActive());
    EXPECT_EQ(t.type(), 0);
}

TEST_F(TriggerTest, EnterOnceStayPerUpdateLeaveOnce) {
    RecordingTrigger* t = trigger(Ogre::Vector3(0, 0, 0), Ogre::Vector3(4, 4, 4));
    t->Activate(true);
    OgreBulletDynamics::RigidBody* b = body("car", Ogre::Vector3(20, 0, 0));
    frame(t);
    frame(t);
    EXPECT_TRUE(t->log.empty());

    moveTo(b, Ogre::Vector3(0, 0, 0));
    m_core->Update(1.0 / 60.0);
    frame(t);
    frame(t);
    frame(t);
    EXPECT_EQ(t->log, (std::vector<std::string>{"enter:car", "stay:car", "stay:car"}));

    moveTo(b, Ogre::Vector3(0, 0, 30));
    m_core->Update(1.0 / 60.0);
    frame(t);
    frame(t);
    EXPECT_EQ(t->count("leave:car"), 1);
    EXPECT_EQ(t->log.back(), "leave:car");
    EXPECT_EQ(t->log.size(), 4u);
}

TEST_F(TriggerTest, BodyAlreadyInsideEntersOnTheFirstUpdateAfterActivation) {
    RecordingTrigger* t = trigger(Ogre::Vector3(10, 0, 10), Ogre::Vector3(6, 6, 6));
    body("early", Ogre::Vector3(10, 0, 10));
    m_core->Update(1.0 / 60.0);
    frame(t); // inactive: nothing reported
    EXPECT_TRUE(t->log.empty());
    t->Activate(true);
    EXPECT_TRUE(t->log.empty());
    frame(t);
    EXPECT_EQ(t->log, (std::vector<std::string>{"enter:early"}));
}

TEST_F(TriggerTest, DeactivationLeavesEveryBodyAndReactivationEntersThemAgain) {
    RecordingTrigger* t = trigger(Ogre::Vector3(0, 0, 0), Ogre::Vector3(10, 10, 10));
    body("a", Ogre::Vector3(-2, 0, 0));
    body("b", Ogre::Vector3(2, 0, 0));
    m_core->Update(1.0 / 60.0);
    t->Activate(true);
    frame(t);
    EXPECT_EQ(t->count("enter:a") + t->count("enter:b"), 2);

    t->Activate(false);
    EXPECT_EQ(t->count("leave:a"), 1);
    EXPECT_EQ(t->count("leave:b"), 1);
    frame(t);
    EXPECT_EQ(t->log.size(), 4u);

    t->Activate(true);
    frame(t);
    EXPECT_EQ(t->count("enter:a"), 2);
    EXPECT_EQ(t->count("enter:b"), 2);
    EXPECT_EQ(t->log.size(), 6u);
}

TEST_F(TriggerTest, StaticKinematicAndOtherTriggersAreIgnored) {
    RecordingTrigger* t = trigger(Ogre::Vector3(0, 0, 0), Ogre::Vector3(10, 10, 10));
    trigger(Ogre::Vector3(1, 0, 0), Ogre::Vector3(2, 2, 2));
    body("wall", Ogre::Vector3(1, 0, 0), 0.0f);
    OgreBulletDynamics::RigidBody* lift = body("lift", Ogre::Vector3(-1, 0, 0));
    btRigidBody* kinematic = lift->getBulletRigidBody();
    kinematic->setCollisionFlags(kinematic->getCollisionFlags() | btCollisionObject::CF_KINEMATIC_OBJECT);
    m_core->Update(1.0 / 60.0);
    t->Activate(true);
    frame(t);
    frame(t);
    EXPECT_GE(t->ghost_object()->getNumOverlappingObjects(), 2); // seen by the broadphase...
    EXPECT_TRUE(t->log.empty());                                  // ...but never reported
}

TEST_F(TriggerTest, DestroyedTriggerLeavesTheWorld) {
    const int before = m_core->world()->getBulletDynamicsWorld()->getNumCollisionObjects();
    trigger(Ogre::Vector3(0, 0, 0), Ogre::Vector3(1, 1, 1));
    EXPECT_EQ(m_core->world()->getBulletDynamicsWorld()->getNumCollisionObjects(), before + 1);
    m_triggers.clear();
    EXPECT_EQ(m_core->world()->getBulletDynamicsWorld()->getNumCollisionObjects(), before);
    m_core->Update(1.0 / 60.0);
}

// A handler that switches its trigger off must not upset the update walking the overlaps.
class SelfStoppingTrigger : public RecordingTrigger {
public:
    using RecordingTrigger::RecordingTrigger;
    void OnEnter(btCollisionObject* object) override {
        RecordingTrigger::OnEnter(object);
        Activate(false);
    }
};

TEST_F(TriggerTest, HandlerMayDeactivateItsTrigger) {
    Ogre::SceneNode* node = m_scene->getRootSceneNode()->createChildSceneNode();
    node->setScale(10, 10, 10);
    SelfStoppingTrigger t(node, 1);
    body("x", Ogre::Vector3(-1, 0, 0));
    body("y", Ogre::Vector3(1, 0, 0));
    m_core->Update(1.0 / 60.0);
    t.Activate(true);
    t.Update(1.0 / 60.0);
    ASSERT_EQ(t.log.size(), 2u);
    EXPECT_EQ(t.log[0].substr(0, 6), "enter:");
    EXPECT_EQ(t.log[1].substr(0, 6), "leave:");
    EXPECT_FALSE(t.isActive());
}

TEST(GameObjectTest, IdsAreConsecutiveAcrossObjectKinds) {
    kbtest::HeadlessOgre ogre;
    Ogre::SceneManager* scene = ogre.createSceneManager();
    physics::PhysicsCore core;
    core.Init(scene);

    PlainObject first(2);
    RecordingTrigger second(scene->getRootSceneNode()->createChildSceneNode(), 1);
    PlainObject third(0);
    EXPECT_EQ(second.id(), first.id() + 1);
    EXPECT_EQ(third.id(), second.id() + 1);
    EXPECT_EQ(game::IObject::last_id, third.id());
    EXPECT_GE(first.id(), 1u);

    EXPECT_FALSE(first.isActive());
    first.Activate(true);
    PlainObject copy(first);
    EXPECT_EQ(copy.id(), first.id());
    EXPECT_TRUE(copy.isActive());
    EXPECT_EQ(copy.type(), 2);
    EXPECT_EQ(game::IObject::last_id, third.id()); // copying hands out no id
}

TEST(PhysicsCoreLifetimeTest, TriggerMayOutliveThePhysicsCore) {
    kbtest::HeadlessOgre ogre;
    Ogre::SceneManager* scene = ogre.createSceneManager();
    auto core = std::make_unique<physics::PhysicsCore>();
    core->Init(scene);
    auto trigger = std::make_unique<RecordingTrigger>(scene->getRootSceneNode()->createChildSceneNode(), 1);
    trigger->Activate(true);
    core.reset();
    trigger->Update(1.0 / 60.0); // the world's end left the ghost with no overlaps
    EXPECT_TRUE(trigger->log.empty());
    trigger.reset();
    ogre.destroySceneManager(scene);
}

TEST(PhysicsCoreLifetimeTest, SceneManagerMayGoBeforeThePhysicsCore) {
    kbtest::HeadlessOgre ogre;
    Ogre::SceneManager* scene = ogre.createSceneManager();
    physics::PhysicsCore core;
    core.Init(scene);
    core.world()->setShowDebugShapes(true);
    core.Update(1.0 / 60.0);
    ogre.destroySceneManager(scene);
    core.Update(1.0 / 60.0); // the drawer no longer draws into the scene that went
    EXPECT_NE(core.world(), nullptr);
}

} // namespace
