// What the player sees from the vehicle camera: in the main view the vehicle
// takes at most a fifth of the picture and the road from 5 m ahead of its
// bumper to the horizon shows; the hood view looks out of the cab at the road.
// Each view is drawn twice, with and without the vehicle, and the pictures
// compared.
#include "VehicleWorld.h"

#include "display/VehicleCam.h"
#include "display/cam/CameraManager.h"
#include "game/BaggageCart.h"
#include "game/BaggageCartTrailer.h"
#include "game/Vehicle.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace vehicletest {
namespace {

using display::cam::CameraManager;
using display::cam::VehicleCam;

// Every entity the vehicle shows: chassis and wheels, its trailer's too.
std::vector<Ogre::Entity*> Entities(const game::Vehicle& vehicle) {
    std::vector<Ogre::Entity*> entities;
    std::vector<const game::Vehicle*> parts = {&vehicle};
    if (const auto* cart = dynamic_cast<const game::BaggageCart*>(&vehicle))
        if (cart->trailer())
            parts.push_back(cart->trailer());
    for (const game::Vehicle* part : parts) {
        entities.push_back(part->chassis_entity());
        for (unsigned int i = 0; i < part->num_wheels(); ++i)
            entities.push_back(part->wheel_entity(i));
    }
    return entities;
}

// A vehicle camera of this test's own: the camera tests file theirs under
// the game's identifier.
const unsigned int kChaseCameraId = 30;

class ChaseViews : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!VehicleWorld::get().ready || s_camera)
            return;
        s_camera = new VehicleCam(kChaseCameraId);
        s_camera->InitCamera();
        CameraManager::getSingleton()->AddCamera(kChaseCameraId, s_camera);
    }
    void SetUp() override {
        world = &VehicleWorld::get();
        if (!world->ready)
            GTEST_SKIP() << "no window or no airport scene";
    }
    void TearDown() override {
        VehicleWorld::Key(OIS::KC_UP, false);
        if (s_camera)
            s_camera->AttachToVehicle(nullptr);
        CameraManager::getSingleton()->SwitchCamera(1);
    }

    Ogre::Image Grab() {
        for (int frame = 0; frame < 2; ++frame)
            world->window->render();
        Ogre::RenderWindow* window = world->window->window;
        Ogre::Image shot(Ogre::PF_BYTE_RGBA, window->getWidth(), window->getHeight());
        Ogre::PixelBox box = shot.getPixelBox();
        window->copyContentsToMemory(box, box);
        return shot;
    }

    // The current view drawn with the vehicle and without it.
    struct Pair {
        Ogre::Image with, without;
        bool Differs(size_t x, size_t y) const {
            const Ogre::ColourValue a = with.getColourAt(x, y, 0), b = without.getColourAt(x, y, 0);
            return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b) > 0.06f;
        }
        float Share() const {
            size_t differ = 0;
            for (size_t y = 0; y < with.getHeight(); ++y)
                for (size_t x = 0; x < with.getWidth(); ++x)
                    differ += Differs(x, y) ? 1 : 0;
            return static_cast<float>(differ) / static_cast<float>(with.getWidth() * with.getHeight());
        }
    };
    Pair Draw(const game::Vehicle& vehicle) {
        const std::vector<Ogre::Entity*> entities = Entities(vehicle);
        // The vehicle itself, not its shadow on the ground.
        for (Ogre::Entity* e : entities)
            e->setCastShadows(false);
        Pair pair;
        pair.with = Grab();
        for (Ogre::Entity* e : entities)
            e->setVisible(false);
        pair.without = Grab();
        for (Ogre::Entity* e : entities) {
            e->setVisible(true);
            e->setCastShadows(true);
        }
        return pair;
    }

    // Where a point in the chassis' frame (y = 0 on the ground) lands in the
    // picture, in pixels; false when it is outside.
    bool Project(const game::Vehicle& vehicle, const Ogre::Vector3& local, const Ogre::Image& image, size_t& x,
                 size_t& y, float* ndcY = nullptr) {
        Ogre::SceneNode* node = vehicle.chassis_entity()->getParentSceneNode();
        const Ogre::Vector3 at = node->_getFullTransform() * local;
        Ogre::Camera* camera = s_camera->camera();
        const Ogre::Vector3 eye = camera->getViewMatrix() * at;
        if (eye.z >= 0.f)
            return false;
        const Ogre::Vector3 ndc = camera->getProjectionMatrix() * eye;
        if (ndcY)
            *ndcY = ndc.y;
        if (std::fabs(ndc.x) > 1.f || std::fabs(ndc.y) > 1.f)
            return false;
        x = static_cast<size_t>((ndc.x + 1.f) * 0.5f * static_cast<float>(image.getWidth() - 1));
        y = static_cast<size_t>((1.f - ndc.y) * 0.5f * static_cast<float>(image.getHeight() - 1));
        return true;
    }

    // The ground at `local` shows: in the picture and not covered by the vehicle.
    void ExpectGroundShows(const game::Vehicle& vehicle, const Pair& pair, const Ogre::Vector3& local) {
        size_t x = 0, y = 0;
        ASSERT_TRUE(Project(vehicle, local, pair.with, x, y)) << "outside the picture: " << local;
        int covered = 0;
        const long w = static_cast<long>(pair.with.getWidth()), h = static_cast<long>(pair.with.getHeight());
        for (long dy = -2; dy <= 2; ++dy)
            for (long dx = -2; dx <= 2; ++dx) {
                const long px = std::max(0L, std::min(w - 1, static_cast<long>(x) + dx));
                const long py = std::max(0L, std::min(h - 1, static_cast<long>(y) + dy));
                covered += pair.Differs(static_cast<size_t>(px), static_cast<size_t>(py)) ? 1 : 0;
            }
        EXPECT_EQ(covered, 0) << "the vehicle hides the ground at " << local;
    }

    // With $KB_VEHICLE_SHOTS set, the normal variants' views go to that folder.
    static void Save(Pair& pair, const Kind& kind, const std::string& variant, const char* view) {
        const char* folder = std::getenv("KB_VEHICLE_SHOTS");
        if (folder && variant == "normal")
            pair.with.save(std::string(folder) + "/chase-" + kind.name + "-" + view + ".png");
    }

    static inline VehicleCam* s_camera = nullptr;
    VehicleWorld* world = nullptr;
};

TEST_F(ChaseViews, MainViewShowsTheRoadAheadAndTheHoodViewLooksOutOfTheCab) {
    for (const Kind& kind : Kinds())
        for (const std::string& variant : Variants()) {
            SCOPED_TRACE(kind.name + " " + variant);
            std::unique_ptr<game::Vehicle> vehicle = world->Spawn(kind, variant);
            s_camera->AttachToVehicle(vehicle.get());
            CameraManager::getSingleton()->SwitchCamera(kChaseCameraId);
            // Out of the depot onto the apron, then at rest.
            vehicle->Activate(true);
            VehicleWorld::Key(OIS::KC_UP, true);
            world->Run(*vehicle, 3.0);
            VehicleWorld::Key(OIS::KC_UP, false);
            world->Run(*vehicle, 4.0);
            vehicle->Activate(false);
            ASSERT_GT(Upright(*vehicle), 0.9f);
            const float front = vehicle->chassis_entity()->getBoundingBox().getMaximum().z;

            s_camera->SelectView(0);
            Pair main = Draw(*vehicle);
            const float share = main.Share();
            std::printf("%s %s: main view %.1f %% of the picture", kind.name.c_str(), variant.c_str(), share * 100.f);
            EXPECT_LE(share, 0.2f) << "main view";
            EXPECT_GE(share, 0.02f) << "main view: the vehicle should still be seen";
            for (float side : {-1.f, 0.f, 1.f})
                ExpectGroundShows(*vehicle, main, Ogre::Vector3(side, 0.f, front + 5.f));
            // The horizon is in the picture, near its top.
            size_t x = 0, y = 0;
            float horizon = 0.f;
            EXPECT_TRUE(Project(*vehicle, Ogre::Vector3(0.f, 0.f, front + 3000.f), main.with, x, y, &horizon))
                << "the horizon is above the picture";
            EXPECT_GT(horizon, 0.6f) << "the horizon sits too low";
            Save(main, kind, variant, "main");

            // From the cab: the road ahead through the windscreen, the cab's
            // dashboard and frame around it.
            s_camera->SelectView(1);
            Pair hood = Draw(*vehicle);
            const float cab = hood.Share();
            std::printf(", hood view %.1f %%\n", cab * 100.f);
            Save(hood, kind, variant, "hood");
            EXPECT_GE(cab, 0.03f) << "hood view shows nothing of the cab";
            EXPECT_LE(cab, 0.45f) << "hood view: the cab hides the road";
            ExpectGroundShows(*vehicle, hood, Ogre::Vector3(0.f, 0.f, front + 10.f));
            const Ogre::AxisAlignedBox box = vehicle->chassis_entity()->getBoundingBox();
            const Ogre::Vector3 seat = s_camera->camera_anchor()->getPosition();
            EXPECT_TRUE(seat.x > box.getMinimum().x && seat.x < box.getMaximum().x && seat.z > box.getMinimum().z &&
                        seat.z < box.getMaximum().z)
                << "the hood camera is not in the cab: " << seat;
            s_camera->AttachToVehicle(nullptr);
        }
}

} // namespace
} // namespace vehicletest
