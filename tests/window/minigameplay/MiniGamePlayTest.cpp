// Each mini-game in the real program: the game with its window, GUI, airport
// and missions; the player parks at the mission's stand, confirms with Space,
// plays the game the mission pushed and the mission goes on once it is won.
// With KB_SHOT_DIR set, a picture of each panel during play is saved there.

#include "application/GameState.h"
#include "application/Main.h"
#include "application/MainMenuState.h"
#include "event/TriggerEvent.h"
#include "game/CateringTruck.h"
#include "game/GameCore.h"
#include "game/MiniGameTrigger.h"
#include "game/MissionData.h"
#include "minigames/BaggageState.h"
#include "minigames/CateringState.h"
#include "minigames/PumpState.h"
#include "minigames/RepairState.h"

#include <display/Core.h>
#include <event/ApplicationStateEvent.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <game/Vehicle.h>
#include <physics/bullet/RigidBody.h>
#include <physics/bullet/WheeledRigidBody.h>

#include <MyGUI.h>
#include <OGRE/Ogre.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

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

class MiniGamePlay : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (Program::app)
            return;
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
        app = Program::app;
        events = event::Manager::getSingleton();
        core = game::GameCore::getSingleton();
        ASSERT_NE(core, nullptr);
    }

    void TearDown() override {
        if (app->StackSize() > 1) {
            events->QueueEvent(new event::ApplicationStateEvent(event::ApplicationStateEvent::POP_STATE, "MainMenu"));
            events->Tick();
        }
        EXPECT_EQ(app->StackSize(), 1u);
    }

    // Starts the mission, drives through its waypoints, parks at the stand
    // and confirms: the mission pushes its mini-game.
    application::IApplicationState* parkAndConfirm(int mission) {
        core->set_mission_number(mission);
        EXPECT_TRUE(app->PushState("GameState"));
        game::MissionData* data = core->mission_data();
        game::MiniGameTrigger* parking = nullptr;
        while (data && !data->IsComplete() && !parking) {
            game::Trigger* trigger = data->trigger(data->steps()[data->current_step()].name);
            parking = dynamic_cast<game::MiniGameTrigger*>(trigger);
            if (!parking)
                events->Fire(event::TriggerEvent(trigger));
        }
        EXPECT_NE(parking, nullptr);
        if (!parking)
            return nullptr;
        teleport(core->current_vehicle(), parking->GetPosition());
        step(5);
        press(OIS::KC_SPACE);
        release(OIS::KC_SPACE);
        step(2);
        return app->CurrentState();
    }

    void teleport(game::Vehicle* vehicle, const Ogre::Vector3& at) {
        btRigidBody* body = vehicle->chassis_body()->getBulletRigidBody();
        btTransform transform = body->getWorldTransform();
        transform.setOrigin(btVector3(at.x, at.y + 1.0f, at.z));
        body->setWorldTransform(transform);
        body->setLinearVelocity(btVector3(0, 0, 0));
        body->setAngularVelocity(btVector3(0, 0, 0));
    }

    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            events->Tick();
            if (app->CurrentState())
                app->CurrentState()->Update(kFrame);
        }
    }
    void press(OIS::KeyCode key) {
        events->QueueEvent(new event::KeyEvent(event::KeyEvent::KEY_PRESSED, key));
        events->Tick();
    }
    void release(OIS::KeyCode key) {
        events->QueueEvent(new event::KeyEvent(event::KeyEvent::KEY_RELEASED, key));
        events->Tick();
    }
    // Draws a few frames (the panel has slid in) and saves the picture when asked to.
    void shoot(const std::string& name) {
        display::Core* display = display::Core::getSingleton();
        for (int i = 0; i < 4; ++i) {
            MyGUI::Gui::getInstance().frameEvent(0.2f);
            display->OnDraw(kFrame);
        }
        if (const char* dir = std::getenv("KB_SHOT_DIR"))
            display->getRenderWindow()->writeContentsToFile(std::string(dir) + "/minigame_" + name + ".png");
    }
    // The mission moved past the mini-game and the game state is current again.
    void expectMissionGoesOn(size_t miniGameStep) {
        step(3);
        EXPECT_TRUE(dynamic_cast<application::GameState*>(app->CurrentState()) != nullptr);
        EXPECT_GT(core->mission_data()->current_step(), miniGameStep);
    }

    application::Main* app = nullptr;
    event::Manager* events = nullptr;
    game::GameCore* core = nullptr;
};

TEST_F(MiniGamePlay, CateringRaisesTheRealContainer) {
    auto* state = dynamic_cast<application::CateringState*>(parkAndConfirm(1));
    ASSERT_NE(state, nullptr) << "mission 1 pushes the catering game";
    const size_t stepIndex = core->mission_data()->current_step();
    auto* truck = dynamic_cast<game::CateringTruck*>(core->current_vehicle());
    ASSERT_NE(truck, nullptr);
    EXPECT_EQ(state->truck(), truck);
    press(OIS::KC_UP);
    step(70); // 0.875
    release(OIS::KC_UP);
    EXPECT_GT(truck->container_height(), 0.0f);
    shoot("catering_lift");
    press(OIS::KC_SPACE);
    ASSERT_EQ(state->phase(), application::CateringState::kLoad);
    OIS::KeyCode next = OIS::KC_RIGHT;
    for (int i = 0; i < 400 && state->phase() == application::CateringState::kLoad; ++i) {
        press(next);
        next = next == OIS::KC_RIGHT ? OIS::KC_LEFT : OIS::KC_RIGHT;
        step();
        if (i == 60)
            shoot("catering_load");
    }
    press(OIS::KC_DOWN);
    for (int i = 0; i < 200 && app->CurrentState() == state; ++i)
        step();
    release(OIS::KC_DOWN);
    EXPECT_EQ(truck->container_height(), 0.0f);
    expectMissionGoesOn(stepIndex);
}

TEST_F(MiniGamePlay, PumpIsWonByFillingPastTheTarget) {
    auto* state = dynamic_cast<application::PumpState*>(parkAndConfirm(2));
    ASSERT_NE(state, nullptr) << "mission 2 pushes the pump game";
    const size_t stepIndex = core->mission_data()->current_step();
    press(OIS::KC_UP);
    for (int i = 0; i < 60 * 12 && state->amount() < 1000.0; ++i) {
        step();
        if (i == 300)
            shoot("pump");
    }
    release(OIS::KC_UP);
    for (int i = 0; i < 200 && app->CurrentState() == state; ++i)
        step();
    expectMissionGoesOn(stepIndex);
}

// The cart's trailer is not moved with the cart, so the stand cannot be
// reached by teleporting; the game is pushed by name, as the mission data does.
TEST_F(MiniGamePlay, BaggageIsWonByAlternatingArrowsOverTheApron) {
    core->set_mission_number(3);
    ASSERT_TRUE(app->PushState("GameState"));
    events->Fire(event::ApplicationStateEvent(event::ApplicationStateEvent::PUSH_STATE, "BaggageState"));
    auto* state = dynamic_cast<application::BaggageState*>(app->CurrentState());
    ASSERT_NE(state, nullptr) << "the game core registered the baggage game";
    OIS::KeyCode next = OIS::KC_RIGHT;
    for (int i = 0; i < 300 && !state->ResultSent(); ++i) {
        press(next);
        next = next == OIS::KC_RIGHT ? OIS::KC_LEFT : OIS::KC_RIGHT;
        step();
        if (i == 50)
            shoot("baggage");
    }
    EXPECT_TRUE(state->ResultSent());
    events->Fire(event::ApplicationStateEvent(event::ApplicationStateEvent::POP_STATE, ""));
    EXPECT_TRUE(dynamic_cast<application::GameState*>(app->CurrentState()) != nullptr);
}

TEST_F(MiniGamePlay, RepairEndsAfterItsFifteenSeconds) {
    auto* state = dynamic_cast<application::RepairState*>(parkAndConfirm(4));
    ASSERT_NE(state, nullptr) << "mission 4 pushes the repair game";
    const size_t stepIndex = core->mission_data()->current_step();
    for (int i = 0; i < 60 * 16 && app->CurrentState() == state; ++i) {
        step();
        if (i == 100) {
            press(OIS::KC_SPACE);
            shoot("repair");
        }
    }
    expectMissionGoesOn(stepIndex);
}

} // namespace
