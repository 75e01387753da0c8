// The game core in the real program setting: the application with its
// window, GUI and states, the airport scene, real vehicles and triggers.

#include "application/GameState.h"
#include "application/Main.h"
#include "application/MainMenuState.h"
#include "event/MissionEndedEvent.h"
#include "event/ScoreEvent.h"
#include "event/TriggerEvent.h"
#include "game/BaggageCart.h"
#include "game/BaggageCartTrailer.h"
#include "game/GameCore.h"
#include "game/MiniGameTrigger.h"
#include "game/MissionData.h"
#include "game/WaypointTrigger.h"
#include "replay/GhostRun.h"
#include "replay/ReplayActor.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayStore.h"
#include "replay/RunRecorder.h"
#include "support/TempDir.h"
#include "ui/HUDScore.h"
#include "ui/ReplayBar.h"

#include <base/Config.h>
#include <replay/Recording.h>
#include <replay/ReplayFile.h>

#include <base/UserData.h>
#include <display/Core.h>
#include <display/cam/BaseCamera.h>
#include <display/cam/CameraManager.h>
#include <event/ApplicationStateEvent.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <file/System.h>
#include <game/Vehicle.h>
#include <physics/PhysicsCore.h>
#include <physics/bullet/BoxCollisionShape.h>
#include <physics/bullet/DynamicsWorld.h>
#include <physics/bullet/RigidBody.h>
#include <physics/bullet/WheeledRigidBody.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/Ogre.h>
#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sys/stat.h>

namespace {

const double kFrame = 1.0 / 60.0;

class Program : public ::testing::Environment {
public:
    static application::Main* app;

    void TearDown() override {
        delete app;
        app = nullptr;
    }
};
application::Main* Program::app = nullptr;

// Counts the points the mission hands out, to see that nothing is scored.
class ScoreWatch : public event::IListener {
public:
    ScoreWatch() { event::Manager::getSingleton()->AddListener(*this, event::ScoreEvent::kEventType); }
    ~ScoreWatch() { event::Manager::getSingleton()->RemoveListener(*this, event::ScoreEvent::kEventType); }
    const char* Name() override { return "ScoreWatch"; }
    bool HandleEvent(const event::IEvent& event) override {
        ++events;
        return false;
    }
    int events = 0;
};

class GameCoreWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (Program::app)
            return;
        // A windowed 1024 x 768 game, as a prepared settings file says.
        const std::string home = std::string(std::getenv("XDG_DATA_HOME")) + "/brightmoor/kestrelby";
        std::system(("mkdir -p '" + home + "'").c_str());
        std::ofstream(home + "/config.xml") << "<?xml version=\"1.0\" ?>\n<root>\n"
                                               "<Display fullscreen=\"false\" width=\"1024\" height=\"768\" />\n"
                                               "</root>\n";
        ::testing::AddGlobalTestEnvironment(new Program);
        Program::app = new application::Main();
        if (!Program::app->Init()) {
            ADD_FAILURE() << "the game did not start: " << Program::app->failure();
            return;
        }
        Program::app->AddState("MainMenu", new application::MainMenuState());
        Program::app->ChangeState("MainMenu");
    }

    void SetUp() override {
        ASSERT_NE(Program::app, nullptr);
        ASSERT_EQ(Program::app->StackSize(), 1u);
        app = Program::app;
        events = event::Manager::getSingleton();
        core = game::GameCore::getSingleton();
        ASSERT_NE(core, nullptr) << "the main menu registers the game state, which makes the game core";
    }

    void TearDown() override {
        // Back to the menu the way the in-game menu's quit button goes.
        if (app->StackSize() > 1) {
            events->QueueEvent(
                new event::ApplicationStateEvent(event::ApplicationStateEvent::POP_STATE, "MainMenu"));
            events->Tick();
        }
        EXPECT_EQ(app->StackSize(), 1u);
    }

    application::GameState* play(int mission) {
        core->set_mission_number(mission);
        EXPECT_TRUE(app->PushState("GameState"));
        return dynamic_cast<application::GameState*>(app->CurrentState());
    }

    // One pass of game logic as the main loop runs it, without drawing.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            events->Tick();
            if (app->CurrentState())
                app->CurrentState()->Update(kFrame);
        }
    }

    void key(event::KeyEvent::EKeyEventType type, OIS::KeyCode code) {
        events->QueueEvent(new event::KeyEvent(type, code));
        events->Tick();
    }

    // Reaches every step before the first parking area; returns its trigger.
    game::MiniGameTrigger* driveToParking() {
        game::MissionData* mission = core->mission_data();
        while (!mission->IsComplete()) {
            const auto& current = mission->steps()[mission->current_step()];
            game::Trigger* trigger = mission->trigger(current.name);
            if (auto* parking = dynamic_cast<game::MiniGameTrigger*>(trigger))
                return parking;
            events->Fire(event::TriggerEvent(trigger));
        }
        return nullptr;
    }

    void teleport(game::Vehicle* vehicle, const Ogre::Vector3& at) {
        btRigidBody* body = vehicle->chassis_body()->getBulletRigidBody();
        btTransform transform = body->getWorldTransform();
        transform.setOrigin(btVector3(at.x, at.y + 1.0f, at.z));
        body->setWorldTransform(transform);
        body->setLinearVelocity(btVector3(0, 0, 0));
        body->setAngularVelocity(btVector3(0, 0, 0));
    }

    unsigned int currentCamera() const {
        return display::cam::CameraManager::getSingleton()->getCurrentCamera()->camera_id();
    }

    application::Main* app = nullptr;
    event::Manager* events = nullptr;
    game::GameCore* core = nullptr;
};

TEST_F(GameCoreWindowTest, TheSameMissionStartsTwiceWithTheWorldBuiltOnce) {
    std::vector<std::string> firstRun;
    physics::PhysicsCore* physics = nullptr;
    for (int run = 0; run < 2; ++run) {
        application::GameState* state = play(1);
        ASSERT_NE(state, nullptr);
        ASSERT_TRUE(core->IsBuilt());
        if (run == 0)
            physics = physics::PhysicsCore::getSingleton();
        // The world, its physics and cameras are made once.
        EXPECT_EQ(physics::PhysicsCore::getSingleton(), physics);

        game::MissionData* mission = core->mission_data();
        ASSERT_TRUE(mission->IsPlayable());
        EXPECT_EQ(core->vehicles().size(), 1u);
        ASSERT_NE(core->current_vehicle(), nullptr);
        EXPECT_EQ(currentCamera(), 3u);
        EXPECT_GT(core->objects().size(), 1u);
        // The first step's waypoint stands where the scene put it, unturned and shown.
        auto* waypoint = dynamic_cast<game::WaypointTrigger*>(mission->trigger(mission->steps()[0].name));
        ASSERT_NE(waypoint, nullptr);
        ASSERT_NE(waypoint->marker(), nullptr);
        EXPECT_TRUE(waypoint->marker()->isVisible());
        EXPECT_TRUE(waypoint->scene_node()->getOrientation().equals(
            waypoint->scene_node()->getInitialOrientation(), Ogre::Degree(0.01f)));
        EXPECT_TRUE(waypoint->scene_node()->getScale().positionEquals(waypoint->scene_node()->getInitialScale()));
        EXPECT_GT(core->GetTargetDistance(), 0.0);

        std::vector<std::string> names;
        for (const auto& s : mission->steps())
            names.push_back(s.name);
        if (run == 0)
            firstRun = names;
        else
            EXPECT_EQ(names, firstRun);

        // Spin the waypoint and drive a little before leaving.
        key(event::KeyEvent::KEY_PRESSED, OIS::KC_UP);
        step(30);
        key(event::KeyEvent::KEY_RELEASED, OIS::KC_UP);
        EXPECT_FALSE(waypoint->scene_node()->getOrientation().equals(
            waypoint->scene_node()->getInitialOrientation(), Ogre::Degree(1.0f)));

        app->PopState();
        EXPECT_TRUE(core->objects().empty());
        EXPECT_TRUE(core->vehicles().empty());
        EXPECT_EQ(core->current_vehicle(), nullptr);
        EXPECT_EQ(core->GetTargetDistance(), 0.0);
        EXPECT_TRUE(core->GetTargetDirection() == Ogre::Quaternion::IDENTITY);
        EXPECT_EQ(currentCamera(), 2u);
    }
}

TEST_F(GameCoreWindowTest, TheTargetDirectionTurnsTheNoseOntoTheTarget) {
    ASSERT_NE(play(1), nullptr);
    game::Vehicle* vehicle = core->current_vehicle();
    ASSERT_NE(vehicle, nullptr);
    btRigidBody* body = vehicle->chassis_body()->getBulletRigidBody();
    // The HUD arrow is the vehicle's nose (+z of the model) turned by this rotation.
    for (float yaw : {0.0f, 90.0f, 200.0f, -45.0f}) {
        btTransform transform = body->getWorldTransform();
        transform.setRotation(btQuaternion(btVector3(0, 1, 0), Ogre::Degree(yaw).valueRadians()));
        body->setWorldTransform(transform);
        step(1);
        const Ogre::Vector3 nose = vehicle->chassis_body()->getWorldOrientation() * Ogre::Vector3::UNIT_Z;
        Ogre::Vector3 toTarget = core->mission_data()->GetTargetPosition() - vehicle->GetPosition();
        toTarget.y = 0;
        Ogre::Vector3 arrow = core->GetTargetDirection() * nose;
        arrow.y = 0;
        EXPECT_GT(arrow.normalisedCopy().dotProduct(toTarget.normalisedCopy()), 0.99f) << "yaw " << yaw;
    }
    // The target straight behind, below the chassis: the arrow turns a half
    // turn round the vertical, never over onto its back (which showed a
    // target behind as ahead).
    const Ogre::Vector3 toTarget = core->mission_data()->GetTargetPosition() - vehicle->GetPosition();
    ASSERT_GT(std::abs(toTarget.y), 0.1f);
    btTransform transform = body->getWorldTransform();
    transform.setRotation(btQuaternion(btVector3(0, 1, 0), std::atan2(-toTarget.x, -toTarget.z) + 0.01f));
    body->setWorldTransform(transform);
    step(1);
    const Ogre::Quaternion direction = core->GetTargetDirection();
    EXPECT_GT((direction * Ogre::Vector3::UNIT_Y).y, 0.99f);
    EXPECT_GT(std::abs(direction.getYaw(true).valueDegrees()), 170.f);
}

TEST_F(GameCoreWindowTest, ClearingWhileParkedInAZoneLeavesNothingBehind) {
    ASSERT_NE(play(1), nullptr);
    game::MiniGameTrigger* parking = driveToParking();
    ASSERT_NE(parking, nullptr);
    ASSERT_TRUE(parking->isActive());
    teleport(core->current_vehicle(), parking->GetPosition());
    step(5);
    ASSERT_TRUE(parking->IsListening());

    // Space while the in-game menu covers the game neither scores nor reaches.
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_ESCAPE);
    ASSERT_EQ(app->StackSize(), 3u);
    EXPECT_TRUE(core->IsPaused());
    {
        ScoreWatch scores;
        const size_t stepBefore = core->mission_data()->current_step();
        key(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE);
        events->Tick();
        EXPECT_EQ(scores.events, 0);
        EXPECT_TRUE(parking->isActive());
        EXPECT_EQ(core->mission_data()->current_step(), stepBefore);
    }

    // Quit to the main menu while parked: the zone lets go first, then goes.
    events->QueueEvent(new event::ApplicationStateEvent(event::ApplicationStateEvent::POP_STATE, "MainMenu"));
    events->Tick();
    EXPECT_EQ(app->StackSize(), 1u);
    EXPECT_TRUE(core->objects().empty());
    EXPECT_TRUE(core->vehicles().empty());
    ScoreWatch scores;
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE);
    events->Tick();
    EXPECT_EQ(scores.events, 0);
    // Space pressed the main menu's focused button; the window it opened must
    // not stay over the next test's game.
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_SPACE);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_ESCAPE);
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_ESCAPE);
    step(90);
}

TEST_F(GameCoreWindowTest, ParkingIsConfirmedWithSpaceWhileTheGameRuns) {
    ASSERT_NE(play(1), nullptr);
    game::MiniGameTrigger* parking = driveToParking();
    ASSERT_NE(parking, nullptr);
    const size_t parkingStep = core->mission_data()->current_step();
    teleport(core->current_vehicle(), parking->GetPosition());
    step(5);
    ASSERT_TRUE(parking->IsListening());
    EXPECT_GT(parking->perfection(), 0);
    const uint32_t before = core->mission_data()->score();
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE);
    step(2);
    EXPECT_FALSE(parking->isActive());
    EXPECT_FALSE(parking->IsListening());
    EXPECT_GT(core->mission_data()->current_step(), parkingStep);
    EXPECT_GT(core->mission_data()->score(), before);
}

// Lays the vehicle on its roof at `at`, nose along `heading` (radians about the vertical).
void overturn(game::Vehicle* vehicle, const Ogre::Vector3& at, float heading) {
    const Ogre::Quaternion yaw(Ogre::Radian(heading), Ogre::Vector3::UNIT_Y);
    const Ogre::Quaternion roof = yaw * Ogre::Quaternion(Ogre::Radian(Ogre::Math::PI), Ogre::Vector3::UNIT_Z);
    btRigidBody* body = vehicle->chassis_body()->getBulletRigidBody();
    btTransform transform;
    transform.setIdentity();
    transform.setOrigin(btVector3(at.x, at.y + 2.0f, at.z));
    transform.setRotation(btQuaternion(roof.x, roof.y, roof.z, roof.w));
    body->setWorldTransform(transform);
    body->setLinearVelocity(btVector3(0, 0, 0));
    body->setAngularVelocity(btVector3(0, 0, 0));
}

float headingOf(const game::Vehicle* vehicle) {
    const Ogre::Vector3 nose = -vehicle->GetDirection();
    return std::atan2(nose.x, nose.z);
}

TEST_F(GameCoreWindowTest, RPutsAnOverturnedVehicleBackOnItsWheelsWhereItLay) {
    // The fuel truck alone, and the baggage cart with its trailer.
    for (int mission : {2, 3}) {
        SCOPED_TRACE(mission);
        ASSERT_NE(play(mission), nullptr);
        game::Vehicle* vehicle = core->current_vehicle();
        ASSERT_NE(vehicle, nullptr);
        step(60);
        const Ogre::Vector3 at = vehicle->GetPosition() + Ogre::Vector3(6, 0, 9);
        const float heading = 0.8f;
        overturn(vehicle, at, heading);
        step(180);
        ASSERT_LT(vehicle->GetUp().y, -0.5f) << "it lies on its roof";
        const Ogre::Vector3 lay = vehicle->GetPosition();
        // A trailer may have dragged it round: the heading is the one it lies at.
        const float layHeading = headingOf(vehicle);

        key(event::KeyEvent::KEY_PRESSED, OIS::KC_R);
        key(event::KeyEvent::KEY_RELEASED, OIS::KC_R);
        step(180);
        EXPECT_GT(vehicle->GetUp().y, 0.98f);
        Ogre::Vector3 moved = vehicle->GetPosition() - lay;
        moved.y = 0;
        EXPECT_LT(moved.length(), 1.0f) << "back on its wheels where it lay";
        // The heading it had on its roof, within a few degrees; it stands still.
        EXPECT_NEAR(std::remainder(headingOf(vehicle) - layHeading, 2 * Ogre::Math::PI), 0.0f, 0.1f);
        EXPECT_LT(vehicle->GetVelocity().length(), 0.2f);

        if (auto* cart = dynamic_cast<game::BaggageCart*>(vehicle)) {
            ASSERT_NE(cart->trailer(), nullptr);
            EXPECT_GT(cart->trailer()->GetUp().y, 0.98f) << "the trailer comes back with it";
            EXPECT_LT(cart->trailer()->GetPosition().distance(cart->GetPosition()), game::BaggageCart::kTrailerDistance + 1.0f);
        }
        // Driving on works as before.
        key(event::KeyEvent::KEY_PRESSED, OIS::KC_UP);
        step(120);
        key(event::KeyEvent::KEY_RELEASED, OIS::KC_UP);
        EXPECT_GT(vehicle->GetPosition().distance(lay), 2.0f);

        // After the mission's end the key does nothing. Laid over where it
        // stands, so that a trailer close behind does not drag it round.
        overturn(vehicle, vehicle->GetPosition(), headingOf(vehicle));
        step(180);
        ASSERT_LT(vehicle->GetUp().y, -0.5f) << "it lies on its roof again";
        events->QueueEvent(new event::MissionEndedEvent(mission, 1, 0));
        step(120);
        key(event::KeyEvent::KEY_PRESSED, OIS::KC_R);
        step(60);
        EXPECT_LT(vehicle->GetUp().y, -0.5f);
        TearDown();
    }
}

TEST_F(GameCoreWindowTest, VSwitchesVehiclesInIdOrderAndWrapsAround) {
    ASSERT_NE(play(-1), nullptr);
    ASSERT_EQ(core->vehicles().size(), 3u);
    std::vector<uint32_t> ids;
    for (const auto& entry : core->vehicles())
        ids.push_back(entry.first);
    EXPECT_EQ(core->current_vehicle()->id(), ids[0]);

    for (size_t i = 1; i <= ids.size(); ++i) {
        key(event::KeyEvent::KEY_PRESSED, OIS::KC_V);
        EXPECT_EQ(core->current_vehicle()->id(), ids[i % ids.size()]);
    }
    // Only the current vehicle takes the throttle.
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_UP);
    for (const auto& entry : core->vehicles())
        EXPECT_EQ(entry.second->engine_force() > 0.0f, entry.second.get() == core->current_vehicle());
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_UP);
}

TEST_F(GameCoreWindowTest, AfterTheEndTheVehicleStaysParkedAndNoMenuComesUp) {
    ASSERT_NE(play(2), nullptr);
    game::Vehicle* vehicle = core->current_vehicle();
    ASSERT_NE(vehicle, nullptr);
    events->QueueEvent(new event::MissionEndedEvent(2, 1234, 0));
    events->Tick();
    ASSERT_TRUE(dynamic_cast<application::GameState*>(app->CurrentState())->IsMissionEnded());

    key(event::KeyEvent::KEY_PRESSED, OIS::KC_V);
    EXPECT_EQ(core->current_vehicle(), vehicle);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_UP);
    EXPECT_EQ(vehicle->engine_force(), 0.0f);
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_UP);

    // Escape brings up no in-game menu over the end window; without one it leads back to the menu.
    const bool endWindow = ui::Manager::getSingleton()->GetDialog(base::StringHash("MissionEnd")) != nullptr;
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_ESCAPE);
    EXPECT_NE(app->StackSize(), 3u);
    events->Tick();
    EXPECT_EQ(app->StackSize(), endWindow ? 2u : 1u);
}

TEST_F(GameCoreWindowTest, LongFramesAreClampedAndThePhysicsKeepsUpWithTheClock) {
    ASSERT_NE(play(3), nullptr);
    game::MissionData* mission = core->mission_data();
    const double limit = mission->remaining_time();
    // The loading time arrives as one long frame: it costs at most a tenth of a second.
    app->CurrentState()->Update(4.0);
    EXPECT_NEAR(mission->remaining_time(), limit - application::GameState::kMaxFrameSeconds, 1e-9);

    // A falling box: a second of game time in frames of a tenth is sixty
    // physics steps, give or take the step the clock is part way into.
    auto* box = new OgreBulletDynamics::RigidBody("falling_box", physics::PhysicsCore::getSingleton()->world());
    box->setShape(nullptr, new OgreBulletCollisions::BoxCollisionShape(Ogre::Vector3(0.5f)), 0.0f, 0.0f, 1.0f,
                  Ogre::Vector3(0, 500, 0));
    box->getBulletRigidBody()->setActivationState(DISABLE_DEACTIVATION);
    const btVector3 gravity = box->getBulletRigidBody()->getGravity();
    for (int frame = 0; frame < 10; ++frame)
        app->CurrentState()->Update(0.1);
    EXPECT_NEAR(box->getBulletRigidBody()->getLinearVelocity().y(), gravity.y() * 1.0, -gravity.y() / 60.0 + 1e-3);
}

TEST_F(GameCoreWindowTest, AMissionThatCannotBeLoadedSendsThePlayerBackWithAMessage) {
    base::UserData* user = base::UserData::getSingleton();
    const int progress = user->GetInt("mission", "progress", 1);
    ASSERT_NE(play(997), nullptr);
    EXPECT_FALSE(core->mission_data()->IsPlayable());
    EXPECT_EQ(core->current_vehicle(), nullptr);
    EXPECT_EQ(currentCamera(), 2u);
    EXPECT_GT(ui::Manager::getSingleton()->QueuedMessageBoxes(), 0u);
    step(3);
    EXPECT_EQ(app->StackSize(), 1u);
    EXPECT_EQ(user->GetInt("mission", "progress", 1), progress);
}

} // namespace

namespace {

// Pictures for the README: a mission in progress at a spinning waypoint, and
// the parking area with its precision display. Only when KB_README_SHOTS
// names a folder.
TEST_F(GameCoreWindowTest, ScreenshotsOfAMissionInProgress) {
    const char* folder = std::getenv("KB_README_SHOTS");
    if (!folder)
        GTEST_SKIP() << "KB_README_SHOTS is not set";
    Ogre::RenderWindow* window = display::Core::getSingleton()->getRenderWindow();
    auto frames = [&](int count) {
        for (int i = 0; i < count; ++i)
            app->RunIteration(1000000.0 / 60.0);
    };

    ASSERT_NE(play(1), nullptr);
    game::MissionData* mission = core->mission_data();
    game::Trigger* waypoint = mission->trigger(mission->steps()[0].name);
    ASSERT_NE(waypoint, nullptr);
    teleport(core->current_vehicle(), waypoint->GetPosition() + Ogre::Vector3(3, 0, 34));
    events->Fire(event::ScoreEvent(850, event::ScoreEvent::kIncrement));
    frames(40);
    window->writeContentsToFile(std::string(folder) + "/mission-waypoint.png");

    game::MiniGameTrigger* parking = driveToParking();
    ASSERT_NE(parking, nullptr);
    teleport(core->current_vehicle(), parking->GetPosition() + Ogre::Vector3(0.4f, 0, 0.6f));
    frames(40);
    EXPECT_TRUE(parking->IsListening());
    window->writeContentsToFile(std::string(folder) + "/mission-parking.png");
}

} // namespace

namespace {

// Frames drawn at 40 a second while the physics steps at 60: each frame
// covers one or two steps, yet the drawn vehicle must advance evenly.
TEST_F(GameCoreWindowTest, AtFortyFramesASecondTheDrawnVehicleAdvancesEvenly) {
    const double kFrameMicroseconds = 1000000.0 / 40.0;
    const int kFrames = 40;
    ASSERT_NE(play(1), nullptr);
    game::Vehicle* vehicle = core->current_vehicle();
    ASSERT_NE(vehicle, nullptr);
    // Full throttle until the chassis damping holds the speed steady.
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_UP);
    step(300);
    const float speed = vehicle->GetVelocity().length();

    Ogre::SceneNode* drawn = vehicle->chassis_body()->getSceneNode();
    std::vector<double> advances;
    Ogre::Vector3 last = drawn->_getDerivedPosition();
    for (int i = 0; i < kFrames; ++i) {
        app->RunIteration(kFrameMicroseconds);
        const Ogre::Vector3 now = drawn->_getDerivedPosition();
        advances.push_back(now.distance(last));
        last = now;
    }
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_UP);
    double mean = 0.0;
    for (double a : advances)
        mean += a;
    mean /= advances.size();
    double variance = 0.0;
    for (double a : advances)
        variance += (a - mean) * (a - mean);
    const double cv = std::sqrt(variance / advances.size()) / mean;
    std::cout << "drawn advance per frame at 40 frames/s: mean " << mean << " m, coefficient of variation "
              << cv * 100.0 << " %" << std::endl;
    // It drives straight on at a steady speed: a frame's share of it each frame.
    EXPECT_GT(speed, 5.0f);
    EXPECT_NEAR(vehicle->GetVelocity().length(), speed, 0.03f * speed);
    EXPECT_NEAR(mean, speed / 40.0, 0.05 * speed / 40.0);
    EXPECT_LT(cv, 0.05);
}

// A best run made to measure for the ghost tests: the mission's own vehicle
// parts, driven in a straight line through the first waypoint in 2 s.
replay::Recording throughTheWaypoint(game::GameCore& core, const Ogre::Vector3& waypoint, uint32_t score) {
    replay::Recording run;
    run.set_mission(core.mission_number());
    run.set_variant(core.vehicle_variant());
    run.set_score(score);
    for (Ogre::Entity* entity : game::RunRecorder::CollectParts(core)) {
        replay::Recording::Part part;
        part.mesh = entity->getMesh()->getName();
        for (unsigned int i = 0; i < entity->getNumSubEntities(); ++i)
            part.materials.push_back(entity->getSubEntity(i)->getMaterialName());
        run.parts().push_back(part);
    }
    for (int f = 0; f <= 40; ++f) {
        replay::Recording::Frame frame;
        frame.time = f * 0.05;
        const Ogre::Vector3 at = waypoint + Ogre::Vector3(0, 0.6f, 20.0f - f * 1.0f);
        for (size_t p = 0; p < run.parts().size(); ++p)
            frame.poses.push_back({{at.x + p * 0.5f, at.y, at.z}, {1, 0, 0, 0}});
        run.frames().push_back(frame);
    }
    run.marks().push_back({1.0, game::RunRecorder::kScoreMark, score / 2});
    return run;
}

size_t worldObjects() {
    return physics::PhysicsCore::getSingleton()->world()->getBulletDynamicsWorld()->getNumCollisionObjects();
}

TEST_F(GameCoreWindowTest, TheGhostFollowsTheBestRunAndNoBodyOrTriggerSeesIt) {
    base::Config* config = base::Config::getSingleton();
    config->setBool("ui", "ghost", false);
    application::GameState* state = play(1);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->ghost(), nullptr) << "the option is off";
    const size_t withoutGhost = worldObjects();
    game::MissionData* mission = core->mission_data();
    game::Trigger* waypoint = mission->trigger(mission->steps()[0].name);
    ASSERT_NE(waypoint, nullptr);
    const replay::Recording best = throughTheWaypoint(*core, waypoint->GetPosition(), 4000000000u);
    ASSERT_TRUE(game::ReplayStore::Keep(best));
    TearDown();

    config->setBool("ui", "ghost", true);
    state = play(1);
    ASSERT_NE(state, nullptr);
    ASSERT_NE(state->ghost(), nullptr);
    game::ReplayActor* ghost = state->ghost()->actor();
    ASSERT_NE(ghost, nullptr);
    ASSERT_EQ(ghost->nodes().size(), best.parts().size());
    EXPECT_EQ(worldObjects(), withoutGhost) << "the ghost brought a body";
    for (Ogre::Entity* entity : ghost->entities()) {
        EXPECT_EQ(entity->getQueryFlags(), 0u);
        EXPECT_FALSE(entity->getCastShadows());
    }
    // The player stays far off; the ghost drives through the active waypoint.
    waypoint = mission->trigger(mission->steps()[0].name);
    ASSERT_NE(waypoint, nullptr);
    teleport(core->current_vehicle(), waypoint->GetPosition() + Ogre::Vector3(80, 0, 80));
    std::vector<replay::Recording::Pose> poses;
    std::vector<float> values;
    bool passedThrough = false;
    for (int f = 0; f < 118; ++f) {
        step();
        ASSERT_NE(state->ghost()->actor(), nullptr) << "gone early, at " << state->mission_clock() << " s";
        ASSERT_TRUE(best.Sample(state->mission_clock(), poses, values));
        const Ogre::Vector3 shown = ghost->nodes()[0]->getPosition();
        EXPECT_NEAR(shown.x, poses[0].position[0], 1e-4);
        EXPECT_NEAR(shown.z, poses[0].position[2], 1e-4);
        passedThrough |= shown.distance(waypoint->GetPosition()) < 1.0f;
        // The trigger's box touches the ground; nothing that moves may be in it.
        btGhostObject* box = waypoint->ghost_object();
        for (int i = 0; i < box->getNumOverlappingObjects(); ++i)
            EXPECT_TRUE(box->getOverlappingObject(i)->isStaticObject()) << "at " << state->mission_clock() << " s";
        EXPECT_EQ(mission->current_step(), 0u);
        EXPECT_EQ(worldObjects(), withoutGhost);
    }
    EXPECT_TRUE(passedThrough);
    step(6);
    EXPECT_EQ(state->ghost()->actor(), nullptr) << "the ghost stays after its run ended";
}

TEST_F(GameCoreWindowTest, AWatchedReplayPlaysPausesChangesSpeedAndStoresNothing) {
    base::UserData* user = base::UserData::getSingleton();
    const std::string highscore = user->GetString("mission1", "highscore", "");
    const int progress = user->GetInt("mission", "progress", 1);
    ASSERT_NE(play(1), nullptr);
    const replay::Recording run = throughTheWaypoint(*core, core->current_vehicle()->GetPosition(), 777);
    TearDown();
    TempDir dir;
    std::string why;
    ASSERT_TRUE(replay::ReplayFile::Save(dir.file("run.kbreplay"), run, why)) << why;

    core->set_replay_file(dir.file("run.kbreplay"));
    application::GameState* state = play(1);
    ASSERT_NE(state, nullptr);
    game::ReplayPlayer* player = state->replay_player();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(core->current_vehicle(), nullptr) << "a watched run has no vehicle of its own";
    EXPECT_EQ(currentCamera(), 3u);
    step(30);
    EXPECT_NEAR(player->time(), 0.5, 1e-9);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE);
    step(30);
    EXPECT_NEAR(player->time(), 0.5, 1e-9) << "paused";
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_RIGHT);
    EXPECT_EQ(player->speed(), 2.0);
    step(30);
    EXPECT_NEAR(player->time(), 1.5, 1e-9);
    ASSERT_NE(state->replay_bar(), nullptr);
    EXPECT_EQ(state->replay_bar()->speed_text()->getCaption().asUTF8(), ui::ReplayBar::FormatSpeed(2.0));
    for (int i = 0; i < 6; ++i)
        key(event::KeyEvent::KEY_PRESSED, OIS::KC_LEFT);
    EXPECT_EQ(player->speed(), 0.25);
    EXPECT_EQ(state->hud_score()->text()->getCaption().asUTF8(), "388");
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_RIGHT);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_RIGHT);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_RIGHT);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_RIGHT);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_RIGHT);
    EXPECT_EQ(player->speed(), 4.0);
    step(20);
    EXPECT_TRUE(player->finished());
    EXPECT_EQ(state->hud_score()->text()->getCaption().asUTF8(), "777");
    const Ogre::Vector3 end = player->actor()->nodes()[0]->getPosition();
    EXPECT_NEAR(end.z, run.frames().back().poses[0].position[2], 0.01);

    key(event::KeyEvent::KEY_RELEASED, OIS::KC_ESCAPE);
    events->Tick();
    EXPECT_EQ(app->StackSize(), 1u);
    EXPECT_EQ(user->GetString("mission1", "highscore", ""), highscore);
    EXPECT_EQ(user->GetInt("mission", "progress", 1), progress);
}

TEST_F(GameCoreWindowTest, AReplayOfAnotherMissionIsNotPlayed) {
    ASSERT_NE(play(1), nullptr);
    const replay::Recording run = throughTheWaypoint(*core, core->current_vehicle()->GetPosition(), 5);
    TearDown();
    TempDir dir;
    std::string why;
    ASSERT_TRUE(replay::ReplayFile::Save(dir.file("run.kbreplay"), run, why)) << why;
    core->set_replay_file(dir.file("run.kbreplay"));
    testing::internal::CaptureStderr();
    application::GameState* state = play(2);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->replay_player(), nullptr);
    EXPECT_NE(said.find("a run of mission 1, not of mission 2"), std::string::npos) << said;
    step(3);
    EXPECT_EQ(app->StackSize(), 1u);
}

} // namespace

namespace {

// The player's vehicle as it stands, `side` metres to its right and moving
// ahead at 3 m/s for 4 s: a run to show as a ghost or to watch.
replay::Recording besideThePlayer(game::GameCore& core, float side, uint32_t score) {
    replay::Recording run = throughTheWaypoint(core, Ogre::Vector3::ZERO, score);
    const std::vector<Ogre::Entity*> parts = game::RunRecorder::CollectParts(core);
    const game::Vehicle* vehicle = core.current_vehicle();
    // The airport's vehicle meshes face +z: the way they drive is against GetDirection.
    const Ogre::Vector3 ahead = -vehicle->GetDirection();
    const Ogre::Vector3 right = ahead.crossProduct(Ogre::Vector3::UNIT_Y).normalisedCopy();
    run.frames().clear();
    for (int f = 0; f <= 80; ++f) {
        replay::Recording::Frame frame;
        frame.time = f * 0.05;
        for (Ogre::Entity* entity : parts) {
            Ogre::SceneNode* node = entity->getParentSceneNode();
            const Ogre::Vector3 at = node->_getDerivedPosition() + right * side + ahead * (3.0f * frame.time);
            const Ogre::Quaternion q = node->_getDerivedOrientation();
            frame.poses.push_back({{at.x, at.y, at.z}, {q.w, q.x, q.y, q.z}});
        }
        run.frames().push_back(frame);
    }
    return run;
}

// Pictures for the README: the ghost beside the player's vehicle, and a
// replay being watched at double speed. Only when KB_README_SHOTS names a folder.
TEST_F(GameCoreWindowTest, ScreenshotsOfTheGhostAndAWatchedReplay) {
    const char* folder = std::getenv("KB_README_SHOTS");
    if (!folder)
        GTEST_SKIP() << "KB_README_SHOTS is not set";
    Ogre::RenderWindow* window = display::Core::getSingleton()->getRenderWindow();
    auto frames = [&](int count) {
        for (int i = 0; i < count; ++i)
            app->RunIteration(1000000.0 / 60.0);
    };
    base::Config::getSingleton()->setBool("ui", "ghost", true);
    ASSERT_NE(play(1), nullptr);
    frames(30);
    const replay::Recording ghost = besideThePlayer(*core, 3.5f, 4000000001u);
    ASSERT_TRUE(game::ReplayStore::Keep(ghost));
    TearDown();

    ASSERT_NE(play(1), nullptr);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_UP);
    frames(50);
    window->writeContentsToFile(std::string(folder) + "/ghost.png");
    // Driven on and ended: the run just played is the last one kept.
    frames(70);
    key(event::KeyEvent::KEY_RELEASED, OIS::KC_UP);
    events->QueueEvent(new event::MissionEndedEvent(1, 1850, 0));
    events->Tick();
    TearDown();

    core->set_replay_file(game::ReplayStore::LastPath(1, core->vehicle_variant()));
    ASSERT_NE(play(1), nullptr);
    key(event::KeyEvent::KEY_PRESSED, OIS::KC_RIGHT);
    frames(45);
    window->writeContentsToFile(std::string(folder) + "/replay-watch.png");
}

} // namespace
