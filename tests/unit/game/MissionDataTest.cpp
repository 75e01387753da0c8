#include "support/TempDir.h"
#include "unit/physics/HeadlessOgre.h"

#include "event/MiniGameEvent.h"
#include "event/MissionEndedEvent.h"
#include "event/PerfectionEvent.h"
#include "event/ScoreEvent.h"
#include "event/TriggerEvent.h"
#include "game/MiniGameTrigger.h"
#include "game/MissionData.h"
#include "game/TriggerFactory.h"
#include "game/WaypointTrigger.h"

#include <base/UserData.h>
#include <event/ApplicationStateEvent.h>
#include <event/DialogEvent.h>
#include <event/IListener.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <game/IObjectManager.h>
#include <game/ISpawnFactory.h>
#include <physics/PhysicsCore.h>
#include <physics/bullet/BoxCollisionShape.h>
#include <physics/bullet/DynamicsWorld.h>
#include <physics/bullet/RigidBody.h>

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A vehicle stand-in: the spawn factory's product as the mission sees it.
class Car : public game::IObject {
public:
    Car() : game::IObject(2) {}
    void Activate(bool flag) override { m_active = flag; }
};

class CarFactory : public game::ISpawnFactory {
public:
    game::IObject* Spawn(Ogre::SceneNode* node) override {
        game::MissionData::SpawnInfo info;
        if (!node || !game::MissionData::getSingleton()->GetSpawnInfo(node->getName(), info) ||
            info.kind != game::MissionData::kSpawnVehicle)
            return nullptr;
        spawned.push_back(info.vehicle + "@" + node->getName());
        return new Car();
    }
    std::vector<std::string> spawned;
};

// Owns what it is given and logs every removal, with the state of a trigger
// at the moment it goes.
class Registry : public game::IObjectManager {
public:
    void AddObject(game::IObject* object) override { objects[object->id()].reset(object); }
    void RemoveObject(uint32_t id) override {
        auto it = objects.find(id);
        if (it == objects.end())
            return;
        std::ostringstream entry;
        entry << (it->second->type() == 2 ? "vehicle" : "trigger");
        if (auto* parking = dynamic_cast<game::MiniGameTrigger*>(it->second.get()))
            entry << (parking->isActive() ? " active" : "") << (parking->IsListening() ? " listening" : "");
        removed.push_back(entry.str());
        objects.erase(it);
    }
    void RemoveObject(game::IObject* object) override { RemoveObject(object->id()); }

    std::map<uint32_t, std::unique_ptr<game::IObject>> objects;
    std::vector<std::string> removed;
};

// Everything the mission says to the rest of the game.
class Recorder : public event::IListener {
public:
    const char* Name() override { return "Recorder"; }
    bool HandleEvent(const event::IEvent& event) override {
        const base::StringHash& type = event.event_type();
        std::ostringstream line;
        if (type == event::ScoreEvent::kEventType) {
            const auto& score = static_cast<const event::ScoreEvent&>(event);
            line << (score.kind() == event::ScoreEvent::kIncrement ? "points " : "total ") << score.value();
        } else if (type == event::MissionEndedEvent::kEventType) {
            const auto& ended = static_cast<const event::MissionEndedEvent&>(event);
            line << "ended " << ended.mission() << " " << ended.score();
        } else if (type == event::ApplicationStateEvent::kEventType) {
            const auto& request = static_cast<const event::ApplicationStateEvent&>(event);
            line << (request.type() == event::ApplicationStateEvent::PUSH_STATE ? "push " : "pop ") << request.state();
        } else if (type == event::DialogEvent::kEventType) {
            line << "dialog";
        } else if (type == event::TriggerEvent::kEventType) {
            line << "reached";
        } else if (type == event::PerfectionEvent::kEventType) {
            line << "perfection " << static_cast<const event::PerfectionEvent&>(event).perfection();
        }
        seen.push_back(line.str());
        return false;
    }
    bool saw(const std::string& line) const { return std::find(seen.begin(), seen.end(), line) != seen.end(); }
    std::vector<std::string> seen;
};

const base::StringHash* const kRecorded[] = {&event::ScoreEvent::kEventType,   &event::MissionEndedEvent::kEventType,
                                             &event::ApplicationStateEvent::kEventType, &event::DialogEvent::kEventType,
                                             &event::TriggerEvent::kEventType, &event::PerfectionEvent::kEventType};

class MissionDataTest : public kbtest::OgreTest {
protected:
    void SetUp() override {
        kbtest::OgreTest::SetUp();
        kbtest::HeadlessOgre::boxMesh(game::WaypointTrigger::kMesh, Ogre::Vector3(1));
        kbtest::HeadlessOgre::boxMesh(game::MiniGameTrigger::kMesh, Ogre::Vector3(1));
        m_events = std::make_unique<event::Manager>();
        m_user = std::make_unique<base::UserData>(m_dir.file("user_data.xml"));
        m_physics = std::make_unique<physics::PhysicsCore>();
        ASSERT_TRUE(m_physics->Init(m_scene));
        m_physics->world()->setGravity(Ogre::Vector3::ZERO);
        m_mission = std::make_unique<game::MissionData>(&m_cars, &m_triggerFactory, &m_registry, m_scene);
        m_mission->set_mission_folder(m_dir.path() + "/");
        for (const base::StringHash* type : kRecorded)
            m_events->AddListener(m_recorder, *type);

        node("gate_spawn", Ogre::Vector3(0, 0, 0), Ogre::Vector3(1));
        node("depot_spawn", Ogre::Vector3(50, 0, 0), Ogre::Vector3(1));
        node("wp_a_trigger", Ogre::Vector3(0, 0, -40), Ogre::Vector3(6, 4, 6));
        node("wp_b_trigger", Ogre::Vector3(30, 0, -40), Ogre::Vector3(6, 4, 6));
        node("stand_trigger", Ogre::Vector3(60, 0, -80), Ogre::Vector3(8, 4, 12));
    }

    void TearDown() override {
        m_mission->Clear();
        for (const base::StringHash* type : kRecorded)
            m_events->RemoveListener(m_recorder, *type);
        m_mission.reset();
        m_registry.objects.clear();
        m_physics.reset();
        m_user.reset();
        m_events.reset();
        kbtest::OgreTest::TearDown();
    }

    Ogre::SceneNode* node(const std::string& name, const Ogre::Vector3& at, const Ogre::Vector3& scale) {
        Ogre::SceneNode* n = m_scene->getRootSceneNode()->createChildSceneNode(name, at);
        n->setScale(scale);
        n->setInitialState();
        return n;
    }

    void write(int mission, const std::string& body) {
        TempDir::write(m_dir.file("mission" + std::to_string(mission) + ".xml"),
                       "<?xml version=\"1.0\"?>\n<mission>\n" + body + "</mission>\n");
    }

    // The store only writes keys that a read has created.
    void setProgress(int progress) {
        m_user->GetInt("mission", "progress", 1);
        m_user->SetInt("mission", "progress", progress);
    }

    bool start(int mission) {
        const bool loaded = m_mission->Load(mission);
        m_mission->Start();
        return loaded;
    }

    // A delivery round of the event queue followed by one game update, as the main loop does.
    void frame(double seconds = 1.0 / 60.0) {
        m_events->Tick();
        m_mission->Update(seconds);
    }

    void reach(const std::string& trigger) {
        m_events->Fire(event::TriggerEvent(m_mission->trigger(trigger)));
    }

    OgreBulletDynamics::RigidBody* body(const std::string& name, const Ogre::Vector3& at, const Ogre::Vector3& half) {
        auto* b = new OgreBulletDynamics::RigidBody(name, m_physics->world());
        b->setShape(nullptr, new OgreBulletCollisions::BoxCollisionShape(half), 0.0f, 0.0f, 1.0f, at);
        b->getBulletRigidBody()->setActivationState(DISABLE_DEACTIVATION);
        m_physics->Update(1.0 / 60.0);
        return b;
    }

    TempDir m_dir;
    std::unique_ptr<event::Manager> m_events;
    std::unique_ptr<base::UserData> m_user;
    std::unique_ptr<physics::PhysicsCore> m_physics;
    CarFactory m_cars;
    game::TriggerFactory m_triggerFactory;
    Registry m_registry;
    Recorder m_recorder;
    std::unique_ptr<game::MissionData> m_mission;
};

const char* const kPumpMission = "  <spawn type=\"vehicle\" vehicle=\"FuelTruck\" name=\"gate_spawn\"/>\n"
                                 "  <trigger type=\"waypoint\" time=\"34.7\" name=\"wp_a_trigger\"/>\n"
                                 "  <trigger type=\"mini_game\" time=\"60\" name=\"stand_trigger\"/>\n"
                                 "  <mini_game game=\"PumpState\"/>\n"
                                 "  <trigger type=\"waypoint\" time=\"20\" name=\"wp_a_trigger\"/>\n";

TEST_F(MissionDataTest, StepsFollowTheFileAndARepeatedTriggerIsMadeOnce) {
    write(4, kPumpMission);
    ASSERT_TRUE(start(4));
    ASSERT_EQ(m_mission->steps().size(), 4u);
    const std::vector<std::pair<int, std::string>> expected = {{0, "wp_a_trigger"},
                                                               {0, "stand_trigger"},
                                                               {2, "PumpState"},
                                                               {0, "wp_a_trigger"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(m_mission->steps()[i].kind, expected[i].first) << i;
        EXPECT_EQ(m_mission->steps()[i].name, expected[i].second) << i;
    }
    EXPECT_EQ(m_cars.spawned, std::vector<std::string>{"FuelTruck@gate_spawn"});
    // One car and two triggers; the second element for wp_a keeps the first record.
    EXPECT_EQ(m_registry.objects.size(), 3u);
    game::MissionData::TriggerInfo info;
    ASSERT_TRUE(m_mission->GetTriggerInfo("wp_a_trigger", info));
    EXPECT_EQ(info.type, game::MissionData::kWaypointTrigger);
    EXPECT_FLOAT_EQ(info.time, 34.7f);
    ASSERT_TRUE(m_mission->GetTriggerInfo("stand_trigger", info));
    EXPECT_EQ(info.type, game::MissionData::kMiniGameTrigger);
    EXPECT_NE(dynamic_cast<game::MiniGameTrigger*>(m_mission->trigger("stand_trigger")), nullptr);

    // Only the current step's trigger is active (and shown).
    auto* first = dynamic_cast<game::WaypointTrigger*>(m_mission->trigger("wp_a_trigger"));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isActive());
    EXPECT_TRUE(first->marker()->getVisible());
    EXPECT_FALSE(m_mission->trigger("stand_trigger")->isActive());
    EXPECT_DOUBLE_EQ(m_mission->remaining_time(), 34.7f);
    EXPECT_TRUE(m_mission->GetTargetPosition().positionEquals(Ogre::Vector3(0, 0, -40)));
}

TEST_F(MissionDataTest, AMissionIsPlayedStepByStepAndEndsWithEveryPointCounted) {
    write(2, kPumpMission);
    setProgress(2);
    ASSERT_TRUE(start(2));

    // Another trigger than the current one scores nothing and moves nothing.
    reach("stand_trigger");
    EXPECT_EQ(m_mission->current_step(), 0u);
    EXPECT_EQ(m_recorder.seen, std::vector<std::string>{"reached"});

    // 34.7 s left: 34 whole seconds at 50 points.
    reach("wp_a_trigger");
    EXPECT_TRUE(m_recorder.saw("points 1700"));
    EXPECT_EQ(m_mission->score(), 1700u);
    EXPECT_EQ(m_mission->current_step(), 1u);
    EXPECT_TRUE(m_mission->trigger("stand_trigger")->isActive());

    // The clock runs and stops at zero; reaching then is worth nothing.
    for (int i = 0; i < 70; ++i)
        frame(1.0);
    EXPECT_EQ(m_mission->remaining_time(), 0.0);
    m_recorder.seen.clear();
    reach("stand_trigger");
    EXPECT_TRUE(m_recorder.saw("points 0"));
    EXPECT_TRUE(m_recorder.saw("push PumpState"));
    EXPECT_EQ(m_mission->current_step(), 2u);
    EXPECT_TRUE(m_mission->GetTargetPosition().positionEquals(Ogre::Vector3::ZERO));

    // The pump game reports its result first, then its points: all count.
    m_events->QueueEvent(new event::MiniGameEvent(0, event::MiniGameEvent::kPump));
    m_events->QueueEvent(new event::ScoreEvent(600, event::ScoreEvent::kIncrement));
    m_events->QueueEvent(new event::ScoreEvent(4900, event::ScoreEvent::kIncrement));
    frame();
    EXPECT_TRUE(m_recorder.saw("pop "));
    EXPECT_EQ(m_mission->current_step(), 3u);
    // The second step at wp_a keeps the first record's time limit.
    EXPECT_TRUE(m_mission->trigger("wp_a_trigger")->isActive());
    EXPECT_DOUBLE_EQ(m_mission->remaining_time(), static_cast<double>(34.7f) - 1.0 / 60.0);

    m_recorder.seen.clear();
    reach("wp_a_trigger");
    EXPECT_TRUE(m_mission->IsComplete());
    EXPECT_FALSE(m_recorder.saw("dialog"));
    // Points queued in the same round as the last step (a parking score) still count.
    m_events->QueueEvent(new event::ScoreEvent(2020, event::ScoreEvent::kIncrement));
    frame();
    frame();
    const uint32_t total = 1700 + 0 + 600 + 4900 + 1700 + 2020;
    EXPECT_EQ(m_mission->score(), total);
    EXPECT_TRUE(m_recorder.saw("dialog"));
    EXPECT_TRUE(m_recorder.saw("ended 2 " + std::to_string(total)));
    EXPECT_TRUE(m_recorder.saw("total " + std::to_string(total)));
    EXPECT_EQ(m_user->GetInt("mission", "progress", 1), 3);

    // The end is announced once.
    m_recorder.seen.clear();
    frame();
    frame();
    EXPECT_FALSE(m_recorder.saw("ended 2 " + std::to_string(total)));
}

TEST_F(MissionDataTest, ProgressOnlyAdvancesFromTheHighestUnlockedMission) {
    const std::string oneStep = "  <trigger type=\"waypoint\" time=\"10\" name=\"wp_b_trigger\"/>\n";
    auto complete = [&](int mission) {
        write(mission, oneStep);
        ASSERT_TRUE(start(mission));
        reach("wp_b_trigger");
        frame();
        frame();
    };

    setProgress(3);
    complete(1);
    EXPECT_EQ(m_user->GetInt("mission", "progress", 1), 3);
    EXPECT_TRUE(m_recorder.saw("ended 1 500"));

    // A hand-edited value below 1 is the first mission.
    setProgress(-4);
    complete(1);
    EXPECT_EQ(m_user->GetInt("mission", "progress", 1), 2);

    // A free drive never writes progress nor ends with a window.
    m_recorder.seen.clear();
    setProgress(-1);
    complete(-1);
    EXPECT_TRUE(m_mission->IsComplete());
    EXPECT_EQ(m_user->GetInt("mission", "progress", 1), -1);
    EXPECT_FALSE(m_recorder.saw("dialog"));
    EXPECT_FALSE(m_recorder.saw("ended -1 500"));
}

TEST_F(MissionDataTest, BadElementsAreSkippedWithOneLineEach) {
    write(7, "  <spawn type=\"vehicle\" vehicle=\"fueltruck\" name=\"gate_spawn\"/>\n"       // unknown vehicle
             "  <spawn type=\"vehicle\" vehicle=\"FuelTruck\" name=\"nowhere_spawn\"/>\n"    // no node
             "  <spawn type=\"vehicle\" vehicle=\"CateringTruck\" name=\"depot_spawn\"/>\n"  // good
             "  <spawn type=\"vehicle\" vehicle=\"FuelTruck\" name=\"depot_spawn\"/>\n"      // same spawn again
             "  <trigger type=\"bridge\" time=\"10\" name=\"wp_a_trigger\"/>\n"              // unknown type
             "  <trigger type=\"waypoint\" time=\"-5\" name=\"wp_a_trigger\"/>\n"            // time below 0
             "  <trigger type=\"waypoint\" time=\"3601\" name=\"wp_a_trigger\"/>\n"          // time above 3600
             "  <trigger type=\"waypoint\" time=\"soon\" name=\"wp_a_trigger\"/>\n"          // no number
             "  <trigger type=\"waypoint\" name=\"wp_a_trigger\"/>\n"                        // no time
             "  <trigger type=\"waypoint\" time=\"10\" name=\"nowhere_trigger\"/>\n"         // no node
             "  <mini_game game=\"MainMenu\"/>\n"                                            // not a mini-game
             "  <mini_game game=\"pumpstate\"/>\n"                                           // nor this
             "  <trigger type=\"waypoint\" time=\"3600\" name=\"wp_b_trigger\"/>\n"          // good
             "  <mini_game game=\"RepairState\"/>\n"                                         // good
             "  <bonus points=\"100000\"/>\n");                                              // ignored
    testing::internal::CaptureStderr();
    ASSERT_TRUE(start(7));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 11) << errors;
    EXPECT_EQ(errors.find("MissionData: mission7.xml: "), 0u) << errors;

    EXPECT_EQ(m_cars.spawned, std::vector<std::string>{"CateringTruck@depot_spawn"});
    ASSERT_EQ(m_mission->steps().size(), 2u);
    EXPECT_EQ(m_mission->steps()[0].name, "wp_b_trigger");
    EXPECT_EQ(m_mission->steps()[1].name, "RepairState");
    EXPECT_EQ(m_mission->trigger("wp_a_trigger"), nullptr);
    EXPECT_EQ(m_registry.objects.size(), 2u);
}

TEST_F(MissionDataTest, AMissionThatCannotBePlayedIsNoCompletion) {
    setProgress(5);
    const std::vector<std::pair<int, std::string>> broken = {
        {5, ""},                                                           // no file at all
        {6, "<mission><trigger type=\"waypoint\" time=\"10\" name=\"wp_"}, // cut off
        {8, "  <spawn type=\"vehicle\" vehicle=\"FuelTruck\" name=\"gate_spawn\"/>\n"}, // no steps
    };
    TempDir::write(m_dir.file("mission6.xml"), broken[1].second);
    write(8, broken[2].second);
    testing::internal::CaptureStderr();
    for (const auto& mission : broken) {
        const bool loaded = start(mission.first);
        EXPECT_EQ(loaded, mission.first == 8) << mission.first;
        EXPECT_FALSE(m_mission->IsPlayable()) << mission.first;
        EXPECT_FALSE(m_mission->IsComplete()) << mission.first;
        frame();
        frame();
    }
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 3) << errors;
    EXPECT_TRUE(m_recorder.seen.empty());
    EXPECT_EQ(m_user->GetInt("mission", "progress", 1), 5);
    // Nothing of the failed files stays behind; the file without steps placed its car and took it back.
    EXPECT_EQ(m_registry.objects.size(), 1u);
    m_mission->Clear();
    EXPECT_TRUE(m_registry.objects.empty());
}

TEST_F(MissionDataTest, ClearRemovesWhatItMadeTriggersFirstAndWithoutTheirListeners) {
    write(3, kPumpMission);
    ASSERT_TRUE(start(3));
    reach("wp_a_trigger");
    auto* parking = dynamic_cast<game::MiniGameTrigger*>(m_mission->trigger("stand_trigger"));
    ASSERT_TRUE(parking && parking->isActive());

    // A car parked in the zone: the trigger listens for Space.
    body("parked", Ogre::Vector3(60, 0, -80), Ogre::Vector3(1, 1, 2));
    parking->Update(1.0 / 60.0);
    ASSERT_TRUE(parking->IsListening());

    // A spawn node whose stored value is gone or stale does not matter.
    m_scene->getSceneNode("gate_spawn")->getUserObjectBindings().setUserAny(Ogre::Any());
    m_mission->Clear();
    EXPECT_EQ(m_registry.removed, (std::vector<std::string>{"trigger", "trigger", "vehicle"}));
    EXPECT_TRUE(m_registry.objects.empty());
    EXPECT_EQ(m_mission->steps().size(), 0u);
    game::MissionData::SpawnInfo spawn;
    EXPECT_FALSE(m_mission->GetSpawnInfo("gate_spawn", spawn));

    // Space now reaches nobody, and no mission listens to triggers any more.
    m_events->Tick();
    m_recorder.seen.clear();
    m_events->Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE));
    m_events->Fire(event::ScoreEvent(100, event::ScoreEvent::kIncrement));
    m_events->Tick();
    EXPECT_EQ(m_recorder.seen, std::vector<std::string>{"points 100"});
    EXPECT_EQ(m_mission->score(), 0u);
}

TEST_F(MissionDataTest, AStartedTwiceMissionFindsItsNodesAsTheSceneLaidThemOut) {
    write(9, kPumpMission);
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(start(9)) << run;
        Ogre::SceneNode* waypoint = m_scene->getSceneNode("wp_a_trigger");
        EXPECT_TRUE(waypoint->getOrientation().equals(Ogre::Quaternion::IDENTITY, Ogre::Degree(0.01f))) << run;
        EXPECT_TRUE(waypoint->getScale().positionEquals(Ogre::Vector3(6, 4, 6))) << run;
        ASSERT_NE(m_mission->trigger("wp_a_trigger"), nullptr) << run;
        EXPECT_EQ(Ogre::any_cast<game::WaypointTrigger*>(waypoint->getUserObjectBindings().getUserAny()),
                  m_mission->trigger("wp_a_trigger"))
            << run;
        // The marker spins at 5 rad/s while the mission runs.
        m_mission->trigger("wp_a_trigger")->Update(0.1);
        EXPECT_NEAR(waypoint->getOrientation().getYaw().valueRadians(), 0.5f, 1e-4f) << run;
        m_mission->Clear();
        // The trigger took its marker and its link with it.
        EXPECT_FALSE(waypoint->getUserObjectBindings().getUserAny().has_value()) << run;
        EXPECT_EQ(waypoint->numAttachedObjects(), 0u) << run;
        EXPECT_FALSE(m_scene->hasEntity("wp_a_trigger")) << run;
    }
}

TEST_F(MissionDataTest, AMiniGameWhoseTimeRanOutIsOfferedAgain) {
    write(11, "  <mini_game game=\"BaggageState\"/>\n"
              "  <trigger type=\"waypoint\" time=\"10\" name=\"wp_b_trigger\"/>\n");
    ASSERT_TRUE(start(11));
    EXPECT_EQ(m_recorder.seen, std::vector<std::string>{"push BaggageState"});
    // The game is updated again while the step is still the mini-game: it
    // left without a result. It is pushed again.
    m_recorder.seen.clear();
    frame();
    EXPECT_EQ(m_recorder.seen, std::vector<std::string>{"push BaggageState"});
    EXPECT_EQ(m_mission->current_step(), 0u);

    // A win then moves on as usual.
    m_events->QueueEvent(new event::MiniGameEvent(0, event::MiniGameEvent::kBaggage));
    frame();
    EXPECT_EQ(m_mission->current_step(), 1u);
    // A result nobody waits for is ignored.
    m_events->QueueEvent(new event::MiniGameEvent(0, event::MiniGameEvent::kBaggage));
    frame();
    EXPECT_EQ(m_mission->current_step(), 1u);
}

TEST_F(MissionDataTest, TheScoreSaturatesInsteadOfWrapping) {
    write(12, "  <trigger type=\"waypoint\" time=\"10\" name=\"wp_b_trigger\"/>\n");
    ASSERT_TRUE(start(12));
    const uint32_t most = std::numeric_limits<uint32_t>::max();
    m_events->Fire(event::ScoreEvent(most - 10, event::ScoreEvent::kIncrement));
    m_events->Fire(event::ScoreEvent(100, event::ScoreEvent::kIncrement));
    // Totals the mission itself sends are not counted again.
    m_events->Fire(event::ScoreEvent(5, event::ScoreEvent::kTotal));
    EXPECT_EQ(m_mission->score(), most);
}

// --- The parking area, with bodies in a real physics world.

TEST_F(MissionDataTest, ParkingPrecisionIsScoredWhenConfirmedWithSpace) {
    write(13, "  <trigger type=\"mini_game\" time=\"30.5\" name=\"stand_trigger\"/>\n");
    ASSERT_TRUE(start(13));
    auto* parking = dynamic_cast<game::MiniGameTrigger*>(m_mission->trigger("stand_trigger"));
    ASSERT_NE(parking, nullptr);

    // Space outside the zone does nothing.
    m_events->Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE));
    m_events->Tick();
    EXPECT_TRUE(m_recorder.seen.empty());

    // A footprint with half extents (1, 2): half-diagonal² = 5. An offset of
    // 0.6 along x gives 101 - 0.36 * 100 / 5 = 93.8 -> 93.
    OgreBulletDynamics::RigidBody* car = body("car", Ogre::Vector3(60.6f, 0, -80), Ogre::Vector3(1, 1, 2));
    parking->Update(1.0 / 60.0);
    parking->Update(1.0 / 60.0);
    EXPECT_TRUE(parking->IsListening());
    EXPECT_EQ(parking->perfection(), 93);

    // Within a tenth of the half-diagonal (0.2 < 0.2236), but off centre: 100.
    btTransform at = car->getBulletRigidBody()->getWorldTransform();
    at.setOrigin(btVector3(60.2f, 0, -80));
    car->getBulletRigidBody()->setWorldTransform(at);
    parking->Update(1.0 / 60.0);
    EXPECT_EQ(parking->perfection(), 100);

    // A key release, or another key, is not a confirmation.
    m_events->Fire(event::KeyEvent(event::KeyEvent::KEY_RELEASED, OIS::KC_SPACE));
    m_events->Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_RETURN));
    m_events->Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE));
    EXPECT_FALSE(parking->isActive());
    EXPECT_FALSE(parking->IsListening());
    frame();
    frame();
    EXPECT_TRUE(m_recorder.saw("reached"));
    EXPECT_TRUE(m_recorder.saw("perfection 100"));
    EXPECT_TRUE(m_recorder.saw("points 2000"));
    EXPECT_TRUE(m_recorder.saw("points 5000"));
    EXPECT_TRUE(m_recorder.saw("points 1500"));
    EXPECT_EQ(m_mission->score(), 2000u + 5000u + 30u * 50u);
    EXPECT_TRUE(m_recorder.saw("ended 13 8500"));
}

TEST_F(MissionDataTest, PerfectionFormula) {
    using game::MiniGameTrigger;
    // Centred: 101, and exactly 101 gives no bonus.
    EXPECT_EQ(MiniGameTrigger::ComputePerfection(0, 0, 1, 2), 101);
    // At the half-diagonal: 1; beyond it: 0, never negative.
    EXPECT_EQ(MiniGameTrigger::ComputePerfection(1, 2, 1, 2), 1);
    EXPECT_EQ(MiniGameTrigger::ComputePerfection(3, 3, 1, 2), 0);
    // A footprint of no size, or of no number, scores 0 instead of dividing by zero.
    EXPECT_EQ(MiniGameTrigger::ComputePerfection(0, 0, 0, 0), 0);
    EXPECT_EQ(MiniGameTrigger::ComputePerfection(0.5, 0, 0, 0), 0);
    EXPECT_EQ(MiniGameTrigger::ComputePerfection(0, 0, std::nan(""), 1), 0);
}

TEST_F(MissionDataTest, CenteredParkingGivesNoBonusAndTheTrailerOpensNothing) {
    write(14, "  <trigger type=\"mini_game\" time=\"0\" name=\"stand_trigger\"/>\n");
    ASSERT_TRUE(start(14));
    auto* parking = dynamic_cast<game::MiniGameTrigger*>(m_mission->trigger("stand_trigger"));
    ASSERT_NE(parking, nullptr);

    // A towed body (it carries a user pointer) is ignored.
    OgreBulletDynamics::RigidBody* trailer = body("trailer", Ogre::Vector3(60, 0, -85), Ogre::Vector3(1, 1, 1));
    trailer->getBulletRigidBody()->setUserPointer(trailer);
    parking->Update(1.0 / 60.0);
    parking->Update(1.0 / 60.0);
    EXPECT_FALSE(parking->IsListening());
    EXPECT_EQ(parking->perfection(), 0);

    body("car", Ogre::Vector3(60, 0, -80), Ogre::Vector3(1, 1, 2));
    parking->Update(1.0 / 60.0);
    parking->Update(1.0 / 60.0);
    EXPECT_EQ(parking->perfection(), 101);
    m_events->Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE));
    frame();
    frame();
    EXPECT_EQ(m_mission->score(), 2020u);
    EXPECT_FALSE(m_recorder.saw("points 5000"));
}

TEST_F(MissionDataTest, AWaypointFiresAtOnceForABodyAlreadyInsideAndSwitchesOff) {
    body("waiting", Ogre::Vector3(30, 0, -40), Ogre::Vector3(1, 1, 2));
    write(15, "  <trigger type=\"waypoint\" time=\"12\" name=\"wp_b_trigger\"/>\n"
              "  <trigger type=\"waypoint\" time=\"12\" name=\"wp_a_trigger\"/>\n");
    ASSERT_TRUE(start(15));
    m_physics->Update(1.0 / 60.0);
    game::Trigger* waypoint = m_mission->trigger("wp_b_trigger");
    waypoint->Update(1.0 / 60.0);
    EXPECT_FALSE(waypoint->isActive());
    EXPECT_FALSE(dynamic_cast<game::WaypointTrigger*>(waypoint)->marker()->getVisible());
    frame();
    EXPECT_TRUE(m_recorder.saw("points 600"));
    EXPECT_EQ(m_mission->current_step(), 1u);
}

} // namespace
