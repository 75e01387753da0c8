// The vehicle's configuration reading and its key and steering rules, without
// physics: a vehicle that was never built still keeps its controls.
#include "unit/physics/HeadlessOgre.h"
#include "support/TempDir.h"

#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "event/MouseEvent.h"
#include "game/Vehicle.h"
#include "sound/Sound.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <dirent.h>
#include <cmath>
#include <iostream>
#include <limits>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

const double kStep = 1.0 / 60.0;

// Captures what is written to stderr while it lives.
class StderrCapture {
public:
    StderrCapture() : m_old(std::cerr.rdbuf(m_text.rdbuf())) {}
    ~StderrCapture() { std::cerr.rdbuf(m_old); }
    std::string text() const { return m_text.str(); }
    int lines() const {
        int n = 0;
        for (char c : m_text.str())
            n += c == '\n';
        return n;
    }

private:
    std::stringstream m_text;
    std::streambuf* m_old;
};

std::set<std::string> listing(const std::string& folder) {
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir))
            names.insert(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

class VehicleConfig : public ::testing::Test {
protected:
    void SetUp() override {
        // The vehicle's sounds look for their files here; they stay silent without them.
        m_quiet.reset(new StderrCapture());
        m_vehicle.reset(new game::Vehicle(nullptr, 2));
        m_quiet.reset();
    }
    std::string write(const std::string& name, const std::string& text) {
        const std::string path = m_dir.file(name);
        TempDir::write(path, text);
        return path;
    }

    TempDir m_dir;
    std::unique_ptr<StderrCapture> m_quiet;
    std::unique_ptr<game::Vehicle> m_vehicle;
};

TEST_F(VehicleConfig, StartsAtTheTableDefaults) {
    const game::Vehicle& v = *m_vehicle;
    EXPECT_EQ(v.num_wheels(), 4u);
    EXPECT_EQ(v.num_powered_wheels(), 2u);
    EXPECT_EQ(v.weight(), 500);
    EXPECT_FLOAT_EQ(v.max_engine_force(), 1000.0f);
    EXPECT_FLOAT_EQ(v.steering_increment(), 0.01f);
    EXPECT_FLOAT_EQ(v.steering_clamp(), 0.8f);
    EXPECT_FLOAT_EQ(v.wheel_friction(), 1e30f);
    EXPECT_FLOAT_EQ(v.friction_slip(), 10.5f);
    EXPECT_FLOAT_EQ(v.suspension_stiffness(), 50.0f);
    EXPECT_FLOAT_EQ(v.suspension_damping(), 5.0f);
    EXPECT_FLOAT_EQ(v.suspension_compression(), 2.4f);
    EXPECT_FLOAT_EQ(v.suspension_rest_length(), 0.6f);
    EXPECT_FLOAT_EQ(v.suspension_max_travel_cm(), 150.0f);
    EXPECT_FLOAT_EQ(v.roll_influence(), 0.01f);
    EXPECT_EQ(v.connection_height(), Ogre::Vector3(0, -1, 0));
    EXPECT_EQ(v.chassis_shift(), Ogre::Vector3(0, -1, 0));
    EXPECT_STREQ(m_vehicle->Name(), "Vehicle");
    EXPECT_FALSE(v.ready());
}

TEST_F(VehicleConfig, ReadsNestedKeysFirstOccurrenceAnyRootName) {
    const std::string path = write("car.xml",
                                   "<anything><driving><num_wheels>6</num_wheels>"
                                   "<engine><max_engine_force>2500.5</max_engine_force></engine></driving>"
                                   "<max_engine_force>1</max_engine_force>"
                                   "<weight>1200</weight><steering_clamp>0.4</steering_clamp>"
                                   "<connection_height>-0.25</connection_height><chassis_shift>0.3</chassis_shift>"
                                   "<unknown_key>7</unknown_key></anything>");
    StderrCapture err;
    EXPECT_TRUE(m_vehicle->Load(path));
    EXPECT_EQ(err.text(), "");
    EXPECT_EQ(m_vehicle->num_wheels(), 6u);
    EXPECT_FLOAT_EQ(m_vehicle->max_engine_force(), 2500.5f);
    EXPECT_EQ(m_vehicle->weight(), 1200);
    EXPECT_FLOAT_EQ(m_vehicle->steering_clamp(), 0.4f);
    EXPECT_EQ(m_vehicle->connection_height(), Ogre::Vector3(0, -0.25f, 0));
    EXPECT_EQ(m_vehicle->chassis_shift(), Ogre::Vector3(0, 0.3f, 0));
    // Keys not in the file keep their defaults.
    EXPECT_EQ(m_vehicle->num_powered_wheels(), 2u);
    EXPECT_FLOAT_EQ(m_vehicle->friction_slip(), 10.5f);
}

TEST_F(VehicleConfig, EmptyKeysTakeTheDefault) {
    const std::string path = write("empty.xml",
                                   "<v><weight></weight><max_engine_force>  </max_engine_force>"
                                   "<steering_increment/><roll_influence>0.2</roll_influence></v>");
    StderrCapture err;
    EXPECT_TRUE(m_vehicle->Load(path));
    EXPECT_EQ(err.text(), "");
    EXPECT_EQ(m_vehicle->weight(), 500);
    EXPECT_FLOAT_EQ(m_vehicle->max_engine_force(), 1000.0f);
    EXPECT_FLOAT_EQ(m_vehicle->steering_increment(), 0.01f);
    EXPECT_FLOAT_EQ(m_vehicle->roll_influence(), 0.2f);
}

TEST_F(VehicleConfig, BadNumbersKeepTheDefaultWithOneLineEach) {
    const std::string path = write("bad.xml",
                                   "<v><max_engine_force>fast</max_engine_force><steering_clamp>nan</steering_clamp>"
                                   "<friction_slip>inf</friction_slip><num_wheels>many</num_wheels>"
                                   "<suspension_damping>1e60</suspension_damping></v>");
    StderrCapture err;
    EXPECT_TRUE(m_vehicle->Load(path));
    EXPECT_EQ(err.lines(), 5) << err.text();
    EXPECT_NE(err.text().find("Vehicle: " + path + ": \"max_engine_force\" is not a number"), std::string::npos);
    EXPECT_FLOAT_EQ(m_vehicle->max_engine_force(), 1000.0f);
    EXPECT_FLOAT_EQ(m_vehicle->steering_clamp(), 0.8f);
    EXPECT_FLOAT_EQ(m_vehicle->friction_slip(), 10.5f);
    EXPECT_FLOAT_EQ(m_vehicle->suspension_damping(), 5.0f);
    EXPECT_EQ(m_vehicle->num_wheels(), 4u);
}

TEST_F(VehicleConfig, ValuesThatBreakThePhysicsAreClamped) {
    const std::string path = write("clamp.xml",
                                   "<v><num_wheels>2</num_wheels><num_powered_wheels>5</num_powered_wheels>"
                                   "<weight>0</weight><steering_increment>-1</steering_increment>"
                                   "<steering_clamp>-0.5</steering_clamp></v>");
    StderrCapture err;
    EXPECT_TRUE(m_vehicle->Load(path));
    EXPECT_EQ(err.lines(), 4) << err.text();
    EXPECT_EQ(m_vehicle->num_wheels(), 2u);
    EXPECT_EQ(m_vehicle->num_powered_wheels(), 2u);
    EXPECT_EQ(m_vehicle->weight(), 500);
    EXPECT_FLOAT_EQ(m_vehicle->steering_increment(), 0.0f);
    EXPECT_FLOAT_EQ(m_vehicle->steering_clamp(), 0.0f);

    const std::string negative = write("negative.xml", "<v><weight>-20</weight><num_wheels>-4</num_wheels></v>");
    StderrCapture err2;
    m_vehicle->Load(negative);
    EXPECT_EQ(err2.lines(), 2) << err2.text();
    EXPECT_EQ(m_vehicle->weight(), 500);
    EXPECT_EQ(m_vehicle->num_wheels(), 4u);
}

TEST_F(VehicleConfig, UnreadableFilesChangeNothingAndWriteNothing) {
    const std::string good = write("good.xml", "<v><weight>900</weight></v>");
    m_vehicle->Load(good);
    const std::string broken = write("broken.xml", "<v><weight>100</weight><oops></v>");
    const std::string truncated = write("truncated.xml", "<v><weight>100</weight><x a=\"\xc3");
    const std::set<std::string> before = listing(m_dir.path());
    for (const std::string& path : {m_dir.file("missing.xml"), broken, truncated, m_dir.path()}) {
        SCOPED_TRACE(path);
        StderrCapture err;
        EXPECT_TRUE(m_vehicle->Load(path));
        EXPECT_EQ(err.lines(), 1) << err.text();
        EXPECT_EQ(err.text().rfind("Vehicle: ", 0), 0u) << err.text();
        EXPECT_EQ(m_vehicle->weight(), 900);
    }
    EXPECT_EQ(listing(m_dir.path()), before);
    EXPECT_EQ(TempDir::read(broken), "<v><weight>100</weight><oops></v>");
}

TEST_F(VehicleConfig, TheShippedConfigurationsLoadCleanAndStayUntouched) {
    const std::string folder = "../assets/config/";
    for (const char* variant : {"normal", "upgraded"}) {
        const std::set<std::string> before = listing(folder + variant);
        ASSERT_FALSE(before.empty()) << "no generated assets in " << folder << variant;
        for (const char* file : {"catering_truck.xml", "fueltruck.xml", "baggage_cart.xml", "baggage_cart_trailer.xml"}) {
            SCOPED_TRACE(std::string(variant) + "/" + file);
            const std::string path = folder + variant + "/" + file;
            const std::string text = TempDir::read(path);
            std::unique_ptr<game::Vehicle> vehicle;
            {
                StderrCapture quiet;
                vehicle.reset(new game::Vehicle(nullptr, 2));
            }
            StderrCapture err;
            EXPECT_TRUE(vehicle->Load(path));
            EXPECT_EQ(err.text(), "");
            EXPECT_GT(vehicle->weight(), 0);
            EXPECT_LE(vehicle->num_powered_wheels(), vehicle->num_wheels());
            EXPECT_LT(vehicle->wheel_friction(), 1e3f); // the file's own value, not the default
            EXPECT_EQ(TempDir::read(path), text);
        }
        // A variant without the file is reported, not created.
        std::unique_ptr<game::Vehicle> vehicle;
        {
            StderrCapture quiet;
            vehicle.reset(new game::Vehicle(nullptr, 2));
        }
        StderrCapture err;
        vehicle->Load(folder + variant + "/no_such_vehicle.xml");
        EXPECT_EQ(err.lines(), 1);
        EXPECT_EQ(listing(folder + variant), before);
    }
}

// Key and steering rules with increment 0.5, clamp 0.8 and force 1000.
class VehicleControls : public VehicleConfig {
protected:
    void SetUp() override {
        VehicleConfig::SetUp();
        m_vehicle->Load(write("controls.xml", "<v><steering_increment>0.5</steering_increment>"
                                              "<steering_clamp>0.8</steering_clamp>"
                                              "<max_engine_force>1000</max_engine_force></v>"));
    }
    void key(OIS::KeyCode code, bool pressed) {
        const event::KeyEvent event(pressed ? event::KeyEvent::KEY_PRESSED : event::KeyEvent::KEY_RELEASED, code);
        EXPECT_FALSE(m_vehicle->HandleEvent(event));
    }
    void run(double seconds) {
        for (int i = 0; i < static_cast<int>(std::lround(seconds / kStep)); ++i)
            m_vehicle->Update(kStep);
    }
};

TEST_F(VehicleControls, SteeringFollowsTheHeldKeyUpToTheClamp) {
    key(OIS::KC_LEFT, true);
    run(1.0);
    EXPECT_NEAR(m_vehicle->steering(), 0.5f, 1e-4f);
    run(1.0);
    EXPECT_FLOAT_EQ(m_vehicle->steering(), 0.8f);
    key(OIS::KC_LEFT, false);
    key(OIS::KC_RIGHT, true);
    run(4.0);
    EXPECT_FLOAT_EQ(m_vehicle->steering(), -0.8f);
    // Both keys held: left wins.
    key(OIS::KC_LEFT, true);
    run(0.5);
    EXPECT_NEAR(m_vehicle->steering(), -0.55f, 1e-4f);
}

TEST_F(VehicleControls, ReleasedSteeringReturnsToStraightWithoutOvershoot) {
    key(OIS::KC_LEFT, true);
    run(0.6);
    key(OIS::KC_LEFT, false);
    ASSERT_NEAR(m_vehicle->steering(), 0.3f, 1e-4f);
    run(0.5);
    EXPECT_GT(m_vehicle->steering(), 0.0f);
    run(0.1);
    EXPECT_NEAR(m_vehicle->steering(), 0.0f, 1e-6f);
    // A step longer than what is left stops exactly at straight.
    m_vehicle->Update(10.0);
    EXPECT_EQ(m_vehicle->steering(), 0.0f);
    key(OIS::KC_RIGHT, true);
    m_vehicle->Update(0.25);
    key(OIS::KC_RIGHT, false);
    m_vehicle->Update(0.7);
    EXPECT_EQ(m_vehicle->steering(), 0.0f);
}

TEST_F(VehicleControls, EngineForceAndSoundsFollowTheKeys) {
    sound::Sound* drive = m_vehicle->drive_sound();
    sound::Sound* slowdown = m_vehicle->slowdown_sound();
    key(OIS::KC_UP, true);
    EXPECT_FLOAT_EQ(m_vehicle->engine_force(), 1000.0f);
    EXPECT_TRUE(drive->IsPlaying());
    EXPECT_FALSE(slowdown->IsPlaying());
    key(OIS::KC_DOWN, true);
    EXPECT_FLOAT_EQ(m_vehicle->engine_force(), -500.0f);
    EXPECT_TRUE(slowdown->IsPlaying());
    // Releasing Up while Down is held stops the force all the same.
    key(OIS::KC_UP, false);
    EXPECT_FLOAT_EQ(m_vehicle->engine_force(), 0.0f);
    EXPECT_FALSE(drive->IsPlaying());
    EXPECT_TRUE(slowdown->IsPlaying());
    key(OIS::KC_DOWN, false);
    EXPECT_FLOAT_EQ(m_vehicle->engine_force(), 0.0f);

    // Other keys and other events change nothing.
    key(OIS::KC_SPACE, true);
    key(OIS::KC_A, true);
    const event::MouseEvent mouse(event::MouseEvent::MOUSE_MOVED, event::MouseEvent::MOUSE_BUTTON_NONE, {});
    EXPECT_FALSE(m_vehicle->HandleEvent(mouse));
    run(1.0);
    EXPECT_EQ(m_vehicle->steering(), 0.0f);
    EXPECT_EQ(m_vehicle->engine_force(), 0.0f);

    key(OIS::KC_UP, true);
    key(OIS::KC_LEFT, true);
    run(0.5);
    m_vehicle->Reset();
    EXPECT_EQ(m_vehicle->engine_force(), 0.0f);
    EXPECT_EQ(m_vehicle->steering(), 0.0f);
    EXPECT_FALSE(drive->IsPlaying());
    EXPECT_FALSE(slowdown->IsPlaying());
    run(0.5); // the steering flags went with the reset
    EXPECT_EQ(m_vehicle->steering(), 0.0f);
}

TEST_F(VehicleControls, ListensOnlyWhileActiveAndNotAfterItsEnd) {
    event::Manager events;
    const event::KeyEvent up(event::KeyEvent::KEY_PRESSED, OIS::KC_UP);
    events.Fire(up);
    EXPECT_EQ(m_vehicle->engine_force(), 0.0f);
    m_vehicle->Activate(true);
    m_vehicle->Activate(true); // once only
    events.Fire(up);
    EXPECT_FLOAT_EQ(m_vehicle->engine_force(), 1000.0f);
    m_vehicle->Activate(false);
    EXPECT_EQ(m_vehicle->engine_force(), 0.0f);
    events.Fire(up);
    EXPECT_EQ(m_vehicle->engine_force(), 0.0f);
    EXPECT_FALSE(m_vehicle->isActive()); // the object flag is not the key switch

    // A deleted vehicle is no longer called, neither at once nor from the queue.
    m_vehicle->Activate(true);
    events.QueueEvent(new event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_LEFT));
    m_vehicle.reset();
    events.Fire(up);
    events.Tick();
    SUCCEED();
}

class VehicleSpawnNode : public kbtest::OgreTest {};

TEST_F(VehicleSpawnNode, PointsBackToTheVehicleUntilItGoes) {
    Ogre::SceneNode* node = m_scene->getRootSceneNode()->createChildSceneNode("spawn_test");
    std::unique_ptr<game::Vehicle> first;
    std::unique_ptr<game::Vehicle> second;
    {
        StderrCapture quiet;
        first.reset(new game::Vehicle(node, 2));
    }
    const Ogre::Any& any = node->getUserObjectBindings().getUserAny();
    ASSERT_TRUE(any.has_value());
    EXPECT_EQ(Ogre::any_cast<game::Vehicle*>(any), first.get());
    EXPECT_EQ(first->spawn_node(), node);
    first.reset();
    EXPECT_FALSE(node->getUserObjectBindings().getUserAny().has_value());

    // A later vehicle on the node keeps its pointer when an older one goes.
    {
        StderrCapture quiet;
        first.reset(new game::Vehicle(node, 2));
        second.reset(new game::Vehicle(node, 2));
    }
    EXPECT_EQ(second->id(), first->id() + 1);
    first.reset();
    EXPECT_EQ(Ogre::any_cast<game::Vehicle*>(node->getUserObjectBindings().getUserAny()), second.get());
    second.reset();
    EXPECT_FALSE(node->getUserObjectBindings().getUserAny().has_value());
}

} // namespace
