// The vehicle and debug cameras in the camera manager, on real vehicles.
#include "VehicleWorld.h"

#include "display/DebugCamera.h"
#include "display/VehicleCam.h"
#include "display/cam/CameraManager.h"
#include "event/Manager.h"
#include "event/MouseEvent.h"
#include "game/Vehicle.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>

namespace vehicletest {
namespace {

using display::cam::CameraManager;
using display::cam::DebugCamera;
using display::cam::VehicleCam;

class Cameras : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        VehicleWorld& world = VehicleWorld::get();
        if (!world.ready || s_vehicleCam)
            return;
        // As the game core files them; the manager owns them from here.
        s_debugCam = new DebugCamera(DebugCamera::kCameraId);
        s_debugCam->InitCamera();
        s_vehicleCam = new VehicleCam(VehicleCam::kCameraId);
        s_vehicleCam->InitCamera();
        CameraManager::getSingleton()->AddCamera(DebugCamera::kCameraId, s_debugCam);
        CameraManager::getSingleton()->AddCamera(VehicleCam::kCameraId, s_vehicleCam);
    }
    void SetUp() override {
        world = &VehicleWorld::get();
        if (!world->ready)
            GTEST_SKIP() << "no window or no airport scene";
    }
    void TearDown() override {
        for (int key : {OIS::KC_UP, OIS::KC_LEFT, OIS::KC_W, OIS::KC_S, OIS::KC_A, OIS::KC_D})
            VehicleWorld::Key(key, false);
        CameraManager::getSingleton()->SwitchCamera(1);
    }
    static void Mouse(float dx, float dy) {
        event::MouseEvent::SMouseState state;
        state.rel_x = dx;
        state.rel_y = dy;
        event::Manager::getSingleton()->Fire(
            event::MouseEvent(event::MouseEvent::MOUSE_MOVED, event::MouseEvent::MOUSE_BUTTON_NONE, state));
    }

    static inline DebugCamera* s_debugCam = nullptr;
    static inline VehicleCam* s_vehicleCam = nullptr;
    VehicleWorld* world = nullptr;
};

TEST_F(Cameras, FiledUnderTheirIdentifiers) {
    CameraManager* manager = CameraManager::getSingleton();
    EXPECT_TRUE(manager->SwitchCamera(2));
    EXPECT_EQ(manager->getCurrentCamera(), s_debugCam);
    EXPECT_STREQ(s_debugCam->Name(), "DebugCamera");
    EXPECT_TRUE(manager->SwitchCamera(3));
    EXPECT_EQ(manager->getCurrentCamera(), s_vehicleCam);
    EXPECT_STREQ(s_vehicleCam->Name(), "VehicleCam");
    EXPECT_EQ(s_vehicleCam->view_names(),
              (std::vector<std::string>{"camera_main", "camera_hood", "camera_wheel", "camera_side"}));
}

TEST_F(Cameras, ViewsFollowTheVehicleAtConstantDistance) {
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        std::unique_ptr<game::Vehicle> vehicle = world->Spawn(kind, "normal");
        s_vehicleCam->AttachToVehicle(vehicle.get());
        CameraManager::getSingleton()->SwitchCamera(3);
        vehicle->Activate(true);
        Ogre::SceneNode* anchor = s_vehicleCam->camera_anchor();
        EXPECT_EQ(anchor->getParent(), vehicle->chassis_entity()->getParentSceneNode());
        EXPECT_EQ(s_vehicleCam->view_index(), 0u);
        world->Run(*vehicle, 0.5);
        VehicleWorld::Key(OIS::KC_UP, true);
        for (unsigned int view = 0; view < VehicleCam::kNumViews; ++view) {
            s_vehicleCam->SelectView(view);
            const Ogre::Bone* bone = vehicle->chassis_entity()->getSkeleton()->getBone(s_vehicleCam->view_names()[view]);
            EXPECT_EQ(anchor->getPosition(), bone->getPosition());
            world->SyncNodes();
            const float distance = anchor->_getDerivedPosition().distance(vehicle->GetPosition());
            const Ogre::Vector3 start = vehicle->GetPosition();
            world->Run(*vehicle, 1.0);
            EXPECT_GT(vehicle->GetPosition().distance(start), 2.0f);
            world->SyncNodes();
            EXPECT_NEAR(anchor->_getDerivedPosition().distance(vehicle->GetPosition()), distance, 0.01f)
                << "view " << view;
        }
        VehicleWorld::Key(OIS::KC_UP, false);
        // The main view looks along the vehicle's nose.
        s_vehicleCam->SelectView(0);
        world->SyncNodes();
        const Ogre::Vector3 look = anchor->_getDerivedOrientation() * Ogre::Vector3::NEGATIVE_UNIT_Z;
        EXPECT_GT(look.dotProduct(Heading(*vehicle)), 0.9f);
        s_vehicleCam->AttachToVehicle(nullptr);
    }
}

TEST_F(Cameras, NumberKeysAndCSelectTheViewsOnlyWhileCurrent) {
    std::unique_ptr<game::Vehicle> vehicle = world->Spawn(Kinds()[1], "normal");
    s_vehicleCam->AttachToVehicle(vehicle.get());
    CameraManager::getSingleton()->SwitchCamera(3);
    const std::pair<int, unsigned int> keys[] = {{OIS::KC_2, 1}, {OIS::KC_4, 3}, {OIS::KC_3, 2}, {OIS::KC_1, 0}};
    for (const auto& key : keys) {
        VehicleWorld::Key(key.first, true);
        EXPECT_EQ(s_vehicleCam->view_index(), key.second);
        VehicleWorld::Key(key.first, false);
        EXPECT_EQ(s_vehicleCam->view_index(), key.second); // releases count for nothing
    }
    for (unsigned int press = 1; press <= 4; ++press) {
        VehicleWorld::Key(OIS::KC_C, true);
        VehicleWorld::Key(OIS::KC_C, false);
        EXPECT_EQ(s_vehicleCam->view_index(), press % 4);
    }
    EXPECT_EQ(s_vehicleCam->camera_anchor()->getPosition(),
              vehicle->chassis_entity()->getSkeleton()->getBone("camera_main")->getPosition());
    // Not current: the keys pass it by.
    CameraManager::getSingleton()->SwitchCamera(2);
    VehicleWorld::Key(OIS::KC_3, true);
    VehicleWorld::Key(OIS::KC_3, false);
    EXPECT_EQ(s_vehicleCam->view_index(), 0u);
    CameraManager::getSingleton()->SwitchCamera(1);
    VehicleWorld::Key(OIS::KC_2, false);
    s_vehicleCam->AttachToVehicle(nullptr);
}

TEST_F(Cameras, ADeletedVehicleLeavesTheCameraDetachedAndWorking) {
    std::unique_ptr<game::Vehicle> vehicle = world->Spawn(Kinds()[2], "normal");
    s_vehicleCam->AttachToVehicle(vehicle.get());
    CameraManager::getSingleton()->SwitchCamera(3);
    vehicle->Activate(true);
    VehicleWorld::Key(OIS::KC_UP, true);
    world->Run(*vehicle, 1.0);
    world->SyncNodes();
    const Ogre::Vector3 where = s_vehicleCam->camera_anchor()->_getDerivedPosition();
    vehicle.reset();
    EXPECT_EQ(s_vehicleCam->vehicle(), nullptr);
    Ogre::SceneNode* anchor = s_vehicleCam->camera_anchor();
    EXPECT_EQ(anchor->getParent(), world->window->scene->getRootSceneNode());
    EXPECT_LT(anchor->_getDerivedPosition().distance(where), 0.01f);
    // View keys now select nothing, and nothing breaks.
    VehicleWorld::Key(OIS::KC_2, true);
    VehicleWorld::Key(OIS::KC_C, true);
    VehicleWorld::Key(OIS::KC_UP, false);
    EXPECT_EQ(s_vehicleCam->view_index(), 0u);
    world->window->render();

    // Attaching to another vehicle works again; detaching on purpose too.
    vehicle = world->Spawn(Kinds()[0], "upgraded");
    s_vehicleCam->AttachToVehicle(vehicle.get());
    EXPECT_EQ(anchor->getParent(), vehicle->chassis_entity()->getParentSceneNode());
    s_vehicleCam->AttachToVehicle(nullptr);
    EXPECT_EQ(anchor->getParent(), world->window->scene->getRootSceneNode());
    vehicle.reset();
    EXPECT_EQ(anchor->getParent(), world->window->scene->getRootSceneNode());
}

TEST_F(Cameras, DebugCameraFliesWithTheKeysAndTurnsWithTheMouse) {
    CameraManager::getSingleton()->SwitchCamera(2);
    Ogre::SceneNode* anchor = s_debugCam->camera_anchor();
    EXPECT_FLOAT_EQ(s_debugCam->camera()->getFOVy().valueDegrees(), 45.0f);
    anchor->setPosition(0, 30, 250);
    anchor->setOrientation(Ogre::Quaternion::IDENTITY);
    Mouse(-100, 0); // 15 degrees to the left... and back a little
    Mouse(50, 0);
    const Ogre::Vector3 direction = anchor->getOrientation() * Ogre::Vector3::NEGATIVE_UNIT_Z;
    EXPECT_NEAR(direction.angleBetween(Ogre::Vector3::NEGATIVE_UNIT_Z).valueDegrees(), 7.5f, 0.01f);
    const Ogre::Vector3 start = anchor->getPosition();
    VehicleWorld::Key(OIS::KC_W, true);
    for (int i = 0; i < 120; ++i)
        s_debugCam->UpdateCamera(kStep);
    EXPECT_LT((anchor->getPosition() - (start + direction * 100.0f)).length(), 0.01f);
    // W and S together cancel.
    VehicleWorld::Key(OIS::KC_S, true);
    const Ogre::Vector3 held = anchor->getPosition();
    for (int i = 0; i < 60; ++i)
        s_debugCam->UpdateCamera(kStep);
    EXPECT_LT((anchor->getPosition() - held).length(), 0.01f);
    VehicleWorld::Key(OIS::KC_S, false);

    // Leaving the camera with W held lets go of it.
    CameraManager::getSingleton()->SwitchCamera(1);
    EXPECT_FALSE(s_debugCam->moving());
    VehicleWorld::Key(OIS::KC_W, false);
    VehicleWorld::Key(OIS::KC_D, true); // not current: ignored
    CameraManager::getSingleton()->SwitchCamera(2);
    const Ogre::Vector3 back = anchor->getPosition();
    for (int i = 0; i < 60; ++i)
        s_debugCam->UpdateCamera(kStep);
    EXPECT_EQ(anchor->getPosition(), back);
    VehicleWorld::Key(OIS::KC_D, false);

    // Polygon modes on 1, 2, 3 presses.
    VehicleWorld::Key(OIS::KC_2, true);
    EXPECT_EQ(s_debugCam->camera()->getPolygonMode(), Ogre::PM_WIREFRAME);
    VehicleWorld::Key(OIS::KC_3, true);
    EXPECT_EQ(s_debugCam->camera()->getPolygonMode(), Ogre::PM_POINTS);
    VehicleWorld::Key(OIS::KC_1, true);
    EXPECT_EQ(s_debugCam->camera()->getPolygonMode(), Ogre::PM_SOLID);
}

} // namespace
} // namespace vehicletest

namespace vehicletest {
namespace {

// Each vehicle driven out onto the apron, seen from its main view with
// shadows; the pictures go to the folder $KB_VEHICLE_SHOTS.
TEST_F(Cameras, MainViewPicturesOfEachVehicle) {
    // Drawing with the software renderer is slow: pictures only on request.
    const char* folder = std::getenv("KB_VEHICLE_SHOTS");
    if (!folder)
        GTEST_SKIP() << "set KB_VEHICLE_SHOTS to a folder to make the pictures";
    const std::string dir = folder;
    const std::map<std::string, std::string> files = {
        {"CateringTruck", "vehicle-catering-truck.png"}, {"FuelTruck", "vehicle-fuel-truck.png"},
        {"BaggageCart", "vehicle-baggage-cart.png"}};
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        std::unique_ptr<game::Vehicle> vehicle = world->Spawn(kind, "normal");
        s_vehicleCam->AttachToVehicle(vehicle.get());
        CameraManager::getSingleton()->SwitchCamera(3);
        vehicle->Activate(true);
        VehicleWorld::Key(OIS::KC_UP, true);
        world->Run(*vehicle, 4.0);
        VehicleWorld::Key(OIS::KC_UP, false);
        world->Run(*vehicle, 4.0);
        const Ogre::Vector3 at = vehicle->GetPosition();
        ASSERT_TRUE(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z)) << at;
        EXPECT_GT(Upright(*vehicle), 0.9f) << at;
        for (int frame = 0; frame < 3; ++frame)
            world->window->render();
        const std::string path = dir + "/" + files.at(kind.name);
        ASSERT_TRUE(world->window->screenshot(path));
        std::ifstream picture(path, std::ios::binary | std::ios::ate);
        EXPECT_GT(static_cast<long>(picture.tellg()), 20000L);
        s_vehicleCam->AttachToVehicle(nullptr);
    }
}

} // namespace
} // namespace vehicletest
