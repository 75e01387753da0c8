// The airport world: time to load the scene (rendering and physics together),
// the physics step with the scene loaded and four vehicle-sized boxes
// driving about, and one game iteration of the real vehicles driving. Needs a display (run under xvfb-run) and the world assets.
#include "event/KeyEvent.h"
#include "game/BaggageCart.h"
#include "game/CateringTruck.h"
#include "game/FuelTruck.h"
#include "game/SceneLoader.h"
#include "physics/PhysicsCore.h"
#include "physics/bullet/DynamicsWorld.h"

#include "base/Config.h"
#include "display/Core.h"
#include "event/Manager.h"
#include "file/System.h"

#include <OGRE/Ogre.h>
#include <OGRE/Terrain/OgreTerrain.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>
#include <benchmark/benchmark.h>
#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace {

const char* const kScene = "../assets/level/airport_scene.scene";

bool fileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// Rendering as the game has it, started once for all benchmarks here.
class Rendering {
public:
    static Rendering& get() {
        static Rendering rendering;
        return rendering;
    }
    bool ready() const { return m_root != nullptr; }
    Ogre::Root* root() const { return m_root; }
    display::Core* core() const { return m_core; }

private:
    Rendering() {
        if (!fileExists(kScene)) {
            std::cerr << "PhysicsBench: no airport scene at " << kScene << std::endl;
            return;
        }
        try {
            start();
        } catch (const Ogre::Exception& error) {
            std::cerr << "PhysicsBench: rendering did not start: " << error.getDescription() << std::endl;
            m_root = nullptr;
        }
    }

    void start() {
        // The bench must not touch the player's own settings.
        static char home[] = "/tmp/kb_bench_home_XXXXXX";
        if (mkdtemp(home))
            setenv("XDG_DATA_HOME", home, 1);
        file::System::set_product_name("kestrelby");
        m_config = new base::Config();
        m_config->setBool("Display", "fullscreen", false);
        m_config->setInt("Display", "width", 1024);
        m_config->setInt("Display", "height", 768);
        m_events = new event::Manager();
        m_core = new display::Core();
        if (!m_core->Init())
            return;
        m_root = Ogre::Root::getSingletonPtr();
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        if (!groups.resourceGroupExists("GameCore"))
            groups.createResourceGroup("GameCore", false);
        if (fileExists("../assets/custom_textures"))
            groups.addResourceLocation("../assets/custom_textures", "FileSystem", "GameCore");
        groups.addResourceLocation("../assets/assets.pip", "Zip", "GameCore", true);
        groups.addResourceLocation("../assets/terrain.pip", "Zip", "General", true);
        groups.initialiseAllResourceGroups();
        // After the scripts: shadows need the caster material, and the shadow
        // programs the engine makes itself would clash with those scripts.
        m_core->EnablePSSM();
    }

    Ogre::Root* m_root = nullptr;
    base::Config* m_config = nullptr;
    event::Manager* m_events = nullptr;
    display::Core* m_core = nullptr;
};

// One loaded airport in a scene manager of its own.
struct LoadedAirport {
    Ogre::SceneManager* scene = nullptr;
    physics::PhysicsCore* physics = nullptr;
    Ogre::TerrainGroup* terrain = nullptr;

    bool load() {
        scene = Rendering::get().root()->createSceneManager("OctreeSceneManager");
        physics = new physics::PhysicsCore();
        physics->Init(scene);
        game::SceneLoader loader(kScene, scene);
        const bool ok = loader.Init();
        loader.ParseScene();
        terrain = loader.terrain_group();
        return ok;
    }

    void unload() {
        delete physics;
        physics = nullptr;
        if (terrain)
            OGRE_DELETE terrain;
        terrain = nullptr;
        Rendering::get().root()->destroySceneManager(scene);
        scene = nullptr;
    }
};

void loadScene(benchmark::State& state) {
    if (!Rendering::get().ready()) {
        state.SkipWithError("needs a display and the world assets");
        return;
    }
    for (auto _ : state) {
        LoadedAirport airport;
        if (!airport.load())
            state.SkipWithError("the airport scene did not load");
        state.PauseTiming();
        state.counters["bodies"] = double(airport.physics->world()->getRigidBodies().size());
        airport.unload();
        state.ResumeTiming();
    }
}

// The first load reads every mesh and texture from the archives, as the game does.
void BM_AirportSceneLoadCold(benchmark::State& state) {
    loadScene(state);
}
BENCHMARK(BM_AirportSceneLoadCold)->Iterations(1)->Unit(benchmark::kMillisecond);

// Later loads find the resources in memory.
void BM_AirportSceneLoadWarm(benchmark::State& state) {
    loadScene(state);
}
BENCHMARK(BM_AirportSceneLoadWarm)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_AirportPhysicsStep(benchmark::State& state) {
    if (!Rendering::get().ready()) {
        state.SkipWithError("needs a display and the world assets");
        return;
    }
    LoadedAirport airport;
    airport.load();
    btDiscreteDynamicsWorld* world = airport.physics->world()->getBulletDynamicsWorld();

    // Four boxes the size and weight of the service vehicles, each driving its own circle.
    Ogre::Vector3 centre = Ogre::Vector3::ZERO;
    int spawns = 0;
    for (Ogre::Node* child : airport.scene->getRootSceneNode()->getChildren())
        if (child->getName().find("spawn") != std::string::npos) {
            centre += child->_getDerivedPosition();
            ++spawns;
        }
    centre /= float(std::max(1, spawns));
    btBoxShape box(btVector3(1.0f, 0.75f, 2.5f));
    btVector3 inertia;
    box.calculateLocalInertia(1500.0f, inertia);
    std::vector<btDefaultMotionState> motion(4);
    std::vector<btRigidBody*> cars;
    for (int i = 0; i < 4; ++i) {
        const btVector3 at(centre.x + 12.0f * i, centre.y + 2.0f, centre.z);
        motion[i].setWorldTransform(btTransform(btQuaternion::getIdentity(), at));
        btRigidBody::btRigidBodyConstructionInfo info(1500.0f, &motion[i], &box, inertia);
        info.m_friction = 0.6f;
        cars.push_back(new btRigidBody(info));
        cars.back()->setActivationState(DISABLE_DEACTIVATION);
        world->addRigidBody(cars.back());
    }
    for (int i = 0; i < 60; ++i)
        airport.physics->Update(1.0 / 60.0);

    std::vector<double> micros;
    double t = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        t += 1.0 / 60.0;
        for (int i = 0; i < 4; ++i) {
            const float heading = float(t * 0.5 + i * 1.57);
            const btVector3 v = cars[i]->getLinearVelocity();
            cars[i]->setLinearVelocity(btVector3(8.0f * std::cos(heading), v.y(), 8.0f * std::sin(heading)));
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        airport.physics->Update(1.0 / 60.0);
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["median_us"] = micros[micros.size() / 2];
        state.counters["p95_us"] = micros[micros.size() * 95 / 100];
    }
    state.counters["bodies"] = double(world->getNumCollisionObjects());

    for (btRigidBody* car : cars) {
        world->removeRigidBody(car);
        delete car;
    }
    airport.unload();
}
BENCHMARK(BM_AirportPhysicsStep)->Iterations(3000)->Unit(benchmark::kMicrosecond);

void fireKey(OIS::KeyCode key, bool pressed) {
    event::Manager::getSingleton()->Fire(
        event::KeyEvent(pressed ? event::KeyEvent::KEY_PRESSED : event::KeyEvent::KEY_RELEASED, key));
}

// One game iteration's vehicle work: the three mission vehicles (and the
// cart's trailer) driving with the arrow keys in the airport, each updated,
// then one physics step. Vehicles build on the render core's scene.
void BM_VehicleIteration(benchmark::State& state) {
    if (!Rendering::get().ready()) {
        state.SkipWithError("needs a display and the world assets");
        return;
    }
    Ogre::SceneManager* scene = Rendering::get().core()->getSceneManager();
    physics::PhysicsCore* physics = new physics::PhysicsCore();
    physics->Init(scene);
    game::SceneLoader loader(kScene, scene);
    loader.Init();
    loader.ParseScene();
    Ogre::TerrainGroup* terrain = loader.terrain_group();

    std::vector<std::unique_ptr<game::Vehicle>> vehicles;
    const std::pair<const char*, const char*> spawns[] = {
        {"spawn_catering", "CateringTruck"}, {"spawn_fuel", "FuelTruck"}, {"spawn_baggage", "BaggageCart"}};
    for (const auto& spawn : spawns) {
        Ogre::SceneNode* node = scene->getSceneNode(spawn.first);
        const std::string type = spawn.second;
        if (type == "CateringTruck")
            vehicles.emplace_back(new game::CateringTruck(node, "normal"));
        else if (type == "FuelTruck")
            vehicles.emplace_back(new game::FuelTruck(node, "normal"));
        else
            vehicles.emplace_back(new game::BaggageCart(node, "normal"));
        vehicles.back()->Init(node->_getDerivedPosition(), node->_getDerivedOrientation());
        vehicles.back()->Activate(true);
    }
    const double step = 1.0 / 60.0;
    for (int i = 0; i < 60; ++i) {
        for (auto& vehicle : vehicles)
            vehicle->Update(step);
        physics->Update(step);
    }
    fireKey(OIS::KC_UP, true);

    std::vector<double> micros;
    int iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Weave: two seconds left, two seconds right.
        if (iteration % 120 == 0) {
            const bool left = (iteration / 120) % 2 == 0;
            fireKey(left ? OIS::KC_RIGHT : OIS::KC_LEFT, false);
            fireKey(left ? OIS::KC_LEFT : OIS::KC_RIGHT, true);
        }
        ++iteration;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (auto& vehicle : vehicles)
            vehicle->Update(step);
        physics->Update(step);
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["median_us"] = micros[micros.size() / 2];
        state.counters["p95_us"] = micros[micros.size() * 95 / 100];
    }
    float speed = 0;
    for (auto& vehicle : vehicles)
        speed += vehicle->GetVelocity().length();
    state.counters["mean_speed"] = speed / float(vehicles.size());
    for (OIS::KeyCode key : {OIS::KC_UP, OIS::KC_LEFT, OIS::KC_RIGHT})
        fireKey(key, false);
    // Vehicles go before the physics world they live in.
    vehicles.clear();
    delete physics;
    if (terrain)
        OGRE_DELETE terrain;
}
BENCHMARK(BM_VehicleIteration)->Iterations(3000)->Unit(benchmark::kMicrosecond);

} // namespace
