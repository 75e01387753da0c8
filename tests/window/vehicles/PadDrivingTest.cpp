// A game controller (SDL's virtual joystick) drives a real vehicle in the
// airport: analog steering and force through the bindings, released on
// letting go and on unplugging.
#include "VehicleWorld.h"

#include "support/VirtualPad.h"

#include <event/Manager.h>
#include <game/Vehicle.h>
#include <input/GamePad.h>

#include <gtest/gtest.h>

#include <memory>

#ifdef KB_TEST_SDL2
namespace vehicletest {
namespace {

class PadDriving : public ::testing::Test {
protected:
    void SetUp() override {
        world = &VehicleWorld::get();
        if (!world->ready)
            GTEST_SKIP() << "no window or no airport scene";
        pad = std::make_unique<input::GamePad>();
        ASSERT_TRUE(pad->Available());
    }
    void TearDown() override {
        pad.reset();
        if (event::Manager* events = event::Manager::getSingleton())
            events->Tick();
    }
    // One pass of the main loop: capture, deliver, update, step.
    void Run(game::Vehicle& vehicle, double seconds) {
        for (double t = 0; t < seconds; t += kStep) {
            pad->Poll();
            event::Manager::getSingleton()->Tick();
            world->Step(vehicle);
        }
    }

    VehicleWorld* world = nullptr;
    std::unique_ptr<input::GamePad> pad;
};

TEST_F(PadDriving, StickAndTriggersDriveAnalogAndLettingGoStops) {
    std::unique_ptr<game::Vehicle> vehicle = world->Spawn(Kinds().front(), "normal");
    vehicle->Activate(true);
    VirtualPad virtualPad;
    ASSERT_TRUE(virtualPad.ready());
    Run(*vehicle, 0.5);
    ASSERT_TRUE(pad->Connected()) << "a pad plugged in while playing works at once";
    EXPECT_FLOAT_EQ(vehicle->engine_force(), 0.0f);

    // Half the right trigger: about half the force.
    virtualPad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, VirtualPad::HalfTrigger());
    Run(*vehicle, 0.2);
    EXPECT_NEAR(vehicle->engine_force() / vehicle->max_engine_force(), 0.5f, 0.1f);
    virtualPad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    Run(*vehicle, 2.0);
    EXPECT_FLOAT_EQ(vehicle->engine_force(), vehicle->max_engine_force());

    // The left stick held left turns left (facing +z, left is +x).
    const Ogre::Vector3 before = vehicle->GetPosition();
    virtualPad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    Run(*vehicle, 1.5);
    EXPECT_FLOAT_EQ(vehicle->steering(), vehicle->steering_clamp());
    EXPECT_GT(Heading(*vehicle).x, 0.2f);
    EXPECT_GT(vehicle->GetPosition().x, before.x + 1.0f);
    // Half way the wheels stop part way, not at the clamp.
    virtualPad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -16384);
    Run(*vehicle, 1.0);
    EXPECT_GT(vehicle->steering(), 0.1f * vehicle->steering_clamp());
    EXPECT_LT(vehicle->steering(), 0.6f * vehicle->steering_clamp());
    // Within the dead zone the stick is at rest and the wheels come back.
    virtualPad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 3000);
    Run(*vehicle, 1.5);
    EXPECT_FLOAT_EQ(vehicle->steering(), 0.0f);

    // Letting go of the trigger stops the force.
    virtualPad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    Run(*vehicle, 0.1);
    EXPECT_FLOAT_EQ(vehicle->engine_force(), 0.0f);

    // The left trigger reverses, and unplugging the pad while it is held stops that.
    virtualPad.Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    virtualPad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Run(*vehicle, 0.5);
    EXPECT_LT(vehicle->engine_force(), 0.0f);
    EXPECT_LT(vehicle->steering(), 0.0f);
    virtualPad.Unplug();
    Run(*vehicle, 0.1);
    EXPECT_FALSE(pad->Connected());
    EXPECT_FLOAT_EQ(vehicle->engine_force(), 0.0f);
    Run(*vehicle, 1.5);
    EXPECT_FLOAT_EQ(vehicle->steering(), 0.0f);
}

} // namespace
} // namespace vehicletest
#endif
