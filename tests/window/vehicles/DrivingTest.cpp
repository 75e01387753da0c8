// Every airport vehicle in both variants, spawned on its node of the airport
// scene and driven with the arrow keys at the game's fixed step.
#include "VehicleWorld.h"

#include "game/BaggageCart.h"
#include "game/BaggageCartTrailer.h"
#include "game/CateringTruck.h"
#include "game/FuelTruck.h"
#include "physics/PhysicsCore.h"
#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/RaycastVehicle.h"
#include "physics/bullet/WheeledRigidBody.h"

#include <OGRE/Ogre.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace vehicletest {
namespace {

class Driving : public ::testing::Test {
protected:
    void SetUp() override {
        world = &VehicleWorld::get();
        if (!world->ready)
            GTEST_SKIP() << "no window or no airport scene";
    }
    void TearDown() override {
        // Nothing held over to the next test.
        for (int key : {OIS::KC_UP, OIS::KC_DOWN, OIS::KC_LEFT, OIS::KC_RIGHT})
            VehicleWorld::Key(key, false);
    }
    btDiscreteDynamicsWorld* bullet() const { return world->physics->world()->getBulletDynamicsWorld(); }

    VehicleWorld* world = nullptr;
};

TEST_F(Driving, RestsOnAllWheelsAtItsSpawnWithWheelsPlacedAtOnce) {
    for (const Kind& kind : Kinds()) {
        for (const std::string& variant : Variants()) {
            SCOPED_TRACE(kind.name + " " + variant);
            std::unique_ptr<game::Vehicle> vehicle = world->Spawn(kind, variant);
            ASSERT_TRUE(vehicle->ready());
            const Ogre::Vector3 spawn = world->window->scene->getSceneNode(kind.spawn)->_getDerivedPosition();
            // Before any step every wheel is already under the chassis.
            for (unsigned int i = 0; i < vehicle->num_wheels(); ++i) {
                const Ogre::Vector3 wheel = vehicle->wheel_node(i)->_getDerivedPosition();
                EXPECT_LT(wheel.distance(vehicle->GetPosition()), 4.0f) << "wheel " << i;
                EXPECT_GT(wheel.length(), 10.0f) << "wheel " << i << " at the origin";
            }
            world->Run(*vehicle, 2.0);
            // Every wheel carries part of the weight.
            const btRaycastVehicle* rv = vehicle->raycast_vehicle()->getBulletVehicle();
            for (int i = 0; i < rv->getNumWheels(); ++i)
                EXPECT_GT(rv->getWheelInfo(i).m_wheelsSuspensionForce, 0.0f) << "wheel " << i;
            EXPECT_GT(Upright(*vehicle), 0.99f);
            EXPECT_LT(vehicle->GetVelocity().length(), 0.3f);
            EXPECT_LT(vehicle->GetPosition().distance(spawn), 0.5f);
            // Spawned facing the world's forward axis, whatever the node says.
            EXPECT_GT(Heading(*vehicle).z, 0.99f);
            if (auto* cart = dynamic_cast<game::BaggageCart*>(vehicle.get())) {
                const btRaycastVehicle* trailer = cart->trailer()->raycast_vehicle()->getBulletVehicle();
                for (int i = 0; i < trailer->getNumWheels(); ++i)
                    EXPECT_GT(trailer->getWheelInfo(i).m_wheelsSuspensionForce, 0.0f) << "trailer wheel " << i;
                EXPECT_LT(CouplingGap(*vehicle), 0.1f);
            }
        }
    }
}

TEST_F(Driving, UpDrivesForwardStraightAndUpright) {
    for (const Kind& kind : Kinds()) {
        for (const std::string& variant : Variants()) {
            SCOPED_TRACE(kind.name + " " + variant);
            std::unique_ptr<game::Vehicle> vehicle = world->Spawn(kind, variant);
            vehicle->Activate(true);
            world->Run(*vehicle, 1.0);
            const Ogre::Vector3 start = vehicle->GetPosition();
            VehicleWorld::Key(OIS::KC_UP, true);
            EXPECT_GT(world->Run(*vehicle, 5.0), 0.95f);
            const Ogre::Vector3 moved = vehicle->GetPosition() - start;
            EXPECT_GT(moved.z, 20.0f);
            EXPECT_LT(std::fabs(moved.x), 1.0f);
            EXPECT_LT(CouplingGap(*vehicle), 0.3f);
            // The forward axis of the interface points against the motion: the
            // vehicles face +z, GetDirection is the node's -z.
            EXPECT_LT(vehicle->GetDirection().dotProduct(vehicle->GetVelocity().normalisedCopy()), -0.95f);
            // Only the powered wheels are driven and steered.
            const btRaycastVehicle* rv = vehicle->raycast_vehicle()->getBulletVehicle();
            for (int i = 0; i < rv->getNumWheels(); ++i) {
                const bool powered = i < static_cast<int>(vehicle->num_powered_wheels());
                EXPECT_FLOAT_EQ(rv->getWheelInfo(i).m_engineForce, powered ? vehicle->max_engine_force() : 0.0f);
            }
            VehicleWorld::Key(OIS::KC_UP, false);
            EXPECT_FLOAT_EQ(vehicle->engine_force(), 0.0f);
        }
    }
}

TEST_F(Driving, FullThrottleGripsAndTheUpgradedSetIsFaster) {
    const std::map<std::string, float> damping = {{"CateringTruck", 0.6f}, {"FuelTruck", 0.8f}, {"BaggageCart", 0.6f}};
    for (const Kind& kind : Kinds()) {
        float topSpeed[2] = {0, 0};
        for (size_t v = 0; v < Variants().size(); ++v) {
            SCOPED_TRACE(kind.name + " " + Variants()[v]);
            std::unique_ptr<game::Vehicle> vehicle = world->Spawn(kind, Variants()[v]);
            vehicle->Activate(true);
            world->Run(*vehicle, 1.0);
            const float start = vehicle->GetPosition().z;
            VehicleWorld::Key(OIS::KC_UP, true);
            float skid = 0;
            int samples = 0;
            const btRaycastVehicle* rv = vehicle->raycast_vehicle()->getBulletVehicle();
            float leastTravelLeft = 1.0f;
            for (int step = 0; step < 60; ++step) {
                world->Step(*vehicle);
                for (int i = 0; i < rv->getNumWheels(); ++i, ++samples) {
                    const btWheelInfo& wheel = rv->getWheelInfo(i);
                    skid += static_cast<float>(wheel.m_skidInfo);
                    leastTravelLeft = std::min(leastTravelLeft, static_cast<float>(wheel.m_raycastInfo.m_suspensionLength -
                        (wheel.getSuspensionRestLength() - wheel.m_maxSuspensionTravelCm * 0.01)));
                }
            }
            // The wheels keep their grip pulling away, and the load thrown onto
            // the rear axle does not put it on its stops.
            EXPECT_GT(skid / static_cast<float>(samples), 0.9f);
            EXPECT_GT(leastTravelLeft, 0.02f);
            // Against what full grip would give under the chassis damping:
            // x = a / k (1 - (1 - e^-k) / k) after one second.
            float mass = vehicle->weight();
            if (auto* cart = dynamic_cast<game::BaggageCart*>(vehicle.get()))
                mass += cart->trailer()->weight();
            const float a = vehicle->max_engine_force() * float(vehicle->num_powered_wheels()) / mass;
            const float k = -std::log(1.0f - damping.at(kind.name));
            const float ideal = a / k * (1.0f - (1.0f - std::exp(-k)) / k);
            EXPECT_GT(vehicle->GetPosition().z - start, 0.7f * ideal);
            world->Run(*vehicle, 5.0);
            topSpeed[v] = vehicle->GetVelocity().length();
            EXPECT_GT(topSpeed[v], 6.0f);
            VehicleWorld::Key(OIS::KC_UP, false);
        }
        EXPECT_GT(topSpeed[1], topSpeed[0] * 1.1f) << kind.name;
    }
}

TEST_F(Driving, LeftTurnsLeftAndFullLockAtTopSpeedStaysUpright) {
    for (const Kind& kind : Kinds()) {
        for (const std::string& variant : Variants()) {
            SCOPED_TRACE(kind.name + " " + variant);
            std::unique_ptr<game::Vehicle> vehicle = world->Spawn(kind, variant);
            vehicle->Activate(true);
            world->Run(*vehicle, 0.5);
            VehicleWorld::Key(OIS::KC_UP, true);
            world->Run(*vehicle, 2.0);
            // Facing +z with y up, the left-hand side is +x.
            const Ogre::Vector3 before = vehicle->GetPosition();
            VehicleWorld::Key(OIS::KC_LEFT, true);
            world->Run(*vehicle, 1.5);
            EXPECT_GT(vehicle->steering(), 0.0f);
            EXPECT_GT(Heading(*vehicle).x, 0.2f);
            EXPECT_GT(vehicle->GetPosition().x, before.x + 1.0f);
            const btRaycastVehicle* rv = vehicle->raycast_vehicle()->getBulletVehicle();
            for (int i = 0; i < rv->getNumWheels(); ++i) {
                const bool powered = i < static_cast<int>(vehicle->num_powered_wheels());
                EXPECT_FLOAT_EQ(rv->getWheelInfo(i).m_steering, powered ? vehicle->steering() : 0.0f);
            }
            VehicleWorld::Key(OIS::KC_LEFT, false);
            // Straighten out, reach top speed on open ground, then full lock each way.
            world->Run(*vehicle, 3.0);
            const float speed = vehicle->GetVelocity().length();
            EXPECT_GT(speed, 6.0f);
            VehicleWorld::Key(OIS::KC_LEFT, true);
            EXPECT_GT(world->Run(*vehicle, 3.0), 0.8f);
            EXPECT_FLOAT_EQ(vehicle->steering(), vehicle->steering_clamp());
            VehicleWorld::Key(OIS::KC_LEFT, false);
            VehicleWorld::Key(OIS::KC_RIGHT, true);
            EXPECT_GT(world->Run(*vehicle, 3.0), 0.8f);
            EXPECT_FLOAT_EQ(vehicle->steering(), -vehicle->steering_clamp());
            EXPECT_LT(CouplingGap(*vehicle), 0.3f);
        }
    }
}

TEST_F(Driving, DownReversesAndTheTrailerStaysHitched) {
    for (const Kind& kind : Kinds()) {
        for (const std::string& variant : Variants()) {
            SCOPED_TRACE(kind.name + " " + variant);
            std::unique_ptr<game::Vehicle> vehicle = world->Spawn(kind, variant);
            vehicle->Activate(true);
            world->Run(*vehicle, 0.5);
            VehicleWorld::Key(OIS::KC_UP, true);
            world->Run(*vehicle, 3.0);
            VehicleWorld::Key(OIS::KC_UP, false);
            world->Run(*vehicle, 4.0);
            const Ogre::Vector3 start = vehicle->GetPosition();
            VehicleWorld::Key(OIS::KC_DOWN, true);
            EXPECT_FLOAT_EQ(vehicle->engine_force(), -0.5f * vehicle->max_engine_force());
            EXPECT_GT(world->Run(*vehicle, 4.0), 0.8f);
            EXPECT_LT(vehicle->GetPosition().z, start.z - 2.0f);
            EXPECT_GT(vehicle->GetDirection().dotProduct(vehicle->GetVelocity().normalisedCopy()), 0.8f);
            EXPECT_LT(CouplingGap(*vehicle), 0.3f);
        }
    }
}

TEST_F(Driving, UpgradedMaterialOnlyOnItsSubEntity) {
    const std::map<std::string, std::pair<unsigned int, std::string>> variantMaterial = {
        {"CateringTruck", {3, "mat_vec_color11"}}, {"FuelTruck", {0, "mat_vec_tank10"}},
        {"BaggageCart", {4, "mat_vec_color22"}}};
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        std::unique_ptr<game::Vehicle> normal = world->Spawn(kind, "normal");
        std::unique_ptr<game::Vehicle> upgraded = world->Spawn(kind, "upgraded");
        Ogre::Entity* a = normal->chassis_entity();
        Ogre::Entity* b = upgraded->chassis_entity();
        ASSERT_EQ(a->getNumSubEntities(), b->getNumSubEntities());
        const auto& expected = variantMaterial.at(kind.name);
        for (unsigned int i = 0; i < a->getNumSubEntities(); ++i) {
            const std::string& na = a->getSubEntity(i)->getMaterialName();
            const std::string& nb = b->getSubEntity(i)->getMaterialName();
            // Shadow-receiving copies of their materials, both variants.
            EXPECT_EQ(na.rfind("PSSMMaterial/", 0), 0u) << na;
            if (i == expected.first)
                EXPECT_EQ(nb, "PSSMMaterial/" + expected.second);
            else
                EXPECT_EQ(na, nb) << "sub-entity " << i;
        }
        EXPECT_NE(a->getSubEntity(expected.first)->getMaterialName(),
                  b->getSubEntity(expected.first)->getMaterialName());
        // The upgraded set drives faster.
        EXPECT_GT(upgraded->max_engine_force(), normal->max_engine_force());
    }
}

TEST_F(Driving, TrailerCarriesTheOnlyBodyPointerAndKeepsItsMaterials) {
    std::unique_ptr<game::Vehicle> vehicle = world->Spawn(Kinds()[2], "upgraded");
    auto* cart = dynamic_cast<game::BaggageCart*>(vehicle.get());
    ASSERT_NE(cart, nullptr);
    ASSERT_NE(cart->trailer(), nullptr);
    btRigidBody* trailerBody = cart->trailer()->chassis_body()->getBulletRigidBody();
    EXPECT_EQ(trailerBody->getUserPointer(), cart->trailer());
    int withPointer = 0;
    for (int i = 0; i < bullet()->getNumCollisionObjects(); ++i)
        withPointer += bullet()->getCollisionObjectArray()[i]->getUserPointer() != nullptr;
    EXPECT_EQ(withPointer, 1);
    EXPECT_EQ(cart->trailer()->chassis_body()->getName(), "carChassistrailer" + std::to_string(cart->trailer()->id()));
    EXPECT_EQ(cart->chassis_body()->getName(), "carChassis" + std::to_string(cart->id()));
    Ogre::Entity* trailer = cart->trailer()->chassis_entity();
    for (unsigned int i = 0; i < trailer->getNumSubEntities(); ++i)
        EXPECT_NE(trailer->getSubEntity(i)->getMaterialName().rfind("PSSMMaterial/", 0), 0u);
    // The trailer starts 5 units behind the cart.
    EXPECT_NEAR(cart->GetPosition().z - cart->trailer()->GetPosition().z, game::BaggageCart::kTrailerDistance, 0.01f);
}

TEST_F(Driving, ContainerLevelClampsBetweenRestAndTop) {
    std::unique_ptr<game::Vehicle> vehicle = world->Spawn(Kinds()[0], "normal");
    auto* truck = dynamic_cast<game::CateringTruck*>(vehicle.get());
    ASSERT_NE(truck, nullptr);
    ASSERT_NE(truck->container_bone(), nullptr);
    EXPECT_TRUE(truck->container_bone()->isManuallyControlled());
    truck->SetContainerLevel(0.5);
    EXPECT_NEAR(truck->container_height(), 0.45f, 1e-5f);
    truck->SetContainerLevel(1.5);
    EXPECT_NEAR(truck->container_height(), 0.9f, 1e-5f);
    truck->SetContainerLevel(-1.0);
    EXPECT_NEAR(truck->container_height(), 0.0f, 1e-5f);
    truck->SetContainerLevel(1.0);
    truck->SetContainerLevel(std::numeric_limits<double>::quiet_NaN());
    EXPECT_NEAR(truck->container_height(), 0.0f, 1e-5f);
    // Whatever moved the bone, the update keeps it in range.
    truck->container_bone()->translate(0, 5, 0);
    world->Step(*truck);
    EXPECT_NEAR(truck->container_height(), 0.9f, 1e-5f);
    truck->container_bone()->translate(0, -9, 0);
    world->Step(*truck);
    EXPECT_NEAR(truck->container_height(), 0.0f, 1e-5f);
}

TEST_F(Driving, DeletingADrivingVehicleLeavesNothingBehind) {
    Ogre::SceneManager* scene = world->window->scene;
    auto entities = [scene]() {
        size_t n = 0;
        for (auto it = scene->getMovableObjectIterator("Entity"); it.hasMoreElements(); it.moveNext())
            ++n;
        return n;
    };
    const int objects = bullet()->getNumCollisionObjects();
    const int constraints = bullet()->getNumConstraints();
    const size_t bodies = world->physics->world()->getRigidBodies().size();
    const size_t nodes = scene->getRootSceneNode()->numChildren();
    const size_t entityCount = entities();
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        Ogre::SceneNode* spawn = scene->getSceneNode(kind.spawn);
        std::unique_ptr<game::Vehicle> vehicle = world->Spawn(kind, "normal");
        EXPECT_GT(bullet()->getNumCollisionObjects(), objects);
        vehicle->Activate(true);
        VehicleWorld::Key(OIS::KC_UP, true);
        VehicleWorld::Key(OIS::KC_LEFT, true);
        world->Run(*vehicle, 1.0);
        vehicle.reset();
        // Keys after the end reach nobody; the world steps on without it.
        VehicleWorld::Key(OIS::KC_UP, false);
        VehicleWorld::Key(OIS::KC_LEFT, false);
        VehicleWorld::Key(OIS::KC_DOWN, true);
        VehicleWorld::Key(OIS::KC_DOWN, false);
        world->physics->Update(kStep);
        EXPECT_EQ(bullet()->getNumCollisionObjects(), objects);
        EXPECT_EQ(bullet()->getNumConstraints(), constraints);
        EXPECT_EQ(world->physics->world()->getRigidBodies().size(), bodies);
        EXPECT_EQ(scene->getRootSceneNode()->numChildren(), nodes);
        EXPECT_EQ(entities(), entityCount);
        EXPECT_FALSE(spawn->getUserObjectBindings().getUserAny().has_value());
    }
}

} // namespace
} // namespace vehicletest
