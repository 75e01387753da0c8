#include "VehicleWorld.h"

#include "display/Core.h"
#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "game/BaggageCart.h"
#include "game/BaggageCartTrailer.h"
#include "game/CateringTruck.h"
#include "game/FuelTruck.h"
#include "game/SceneLoader.h"
#include "physics/PhysicsCore.h"
#include "physics/bullet/WheeledRigidBody.h"

#include <OGRE/Ogre.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <iostream>
#include <sys/stat.h>

namespace vehicletest {

namespace {

const char* const kScene = "../assets/level/airport_scene.scene";

VehicleWorld* g_world = nullptr;
Ogre::TerrainGroup* g_terrain = nullptr;

bool exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// Vehicles go before the physics core, the physics core before the window.
class AirportShutdown : public ::testing::Environment {
public:
    void TearDown() override {
        if (!g_world)
            return;
        delete g_world->physics;
        if (g_terrain)
            OGRE_DELETE g_terrain;
        g_terrain = nullptr;
        delete g_world;
        g_world = nullptr;
    }
};

} // namespace

const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = {
        {"CateringTruck", "spawn_catering"}, {"FuelTruck", "spawn_fuel"}, {"BaggageCart", "spawn_baggage"}};
    return kinds;
}

const std::vector<std::string>& Variants() {
    static const std::vector<std::string> variants = {"normal", "upgraded"};
    return variants;
}

VehicleWorld& VehicleWorld::get() {
    if (g_world)
        return *g_world;
    g_world = new VehicleWorld();
    g_world->window = &WorldWindow::get();
    // Registered after the window's own shutdown, so it runs first.
    ::testing::AddGlobalTestEnvironment(new AirportShutdown);
    if (!g_world->window->ready || !exists(kScene))
        return *g_world;

    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (!groups.resourceGroupExists("GameCore"))
        groups.createResourceGroup("GameCore", false);
    groups.addResourceLocation("../assets/custom_textures", "FileSystem", "GameCore");
    groups.addResourceLocation("../assets/assets.pip", "Zip", "GameCore", true);
    groups.addResourceLocation("../assets/terrain.pip", "Zip", "General", true);
    // The vehicles' engine sounds, registered at start-up in the game.
    groups.addResourceLocation("../assets/sfx", "FileSystem", "General");
    groups.initialiseResourceGroup("GameCore");

    Ogre::SceneManager* scene = g_world->window->scene;
    display::Core::getSingleton()->EnablePSSM();
    scene->setShadowTechnique(Ogre::SHADOWTYPE_TEXTURE_ADDITIVE_INTEGRATED);
    scene->setShadowFarDistance(3000.0f);
    scene->setShadowTextureCountPerLightType(Ogre::Light::LT_DIRECTIONAL, 3);

    g_world->physics = new physics::PhysicsCore();
    g_world->physics->Init(scene);
    game::SceneLoader loader(kScene, scene);
    g_world->ready = loader.Init();
    loader.ParseScene();
    g_terrain = loader.terrain_group();
    return *g_world;
}

std::unique_ptr<game::Vehicle> VehicleWorld::Spawn(const Kind& kind, const std::string& variant) {
    Ogre::SceneNode* node = window->scene->getSceneNode(kind.spawn);
    node->resetToInitialState();
    std::unique_ptr<game::Vehicle> vehicle;
    if (kind.name == "FuelTruck")
        vehicle.reset(new game::FuelTruck(node, variant));
    else if (kind.name == "BaggageCart")
        vehicle.reset(new game::BaggageCart(node, variant));
    else if (kind.name == "CateringTruck")
        vehicle.reset(new game::CateringTruck(node, variant));
    vehicle->Init(node->_getDerivedPosition(), node->_getDerivedOrientation());
    vehicle->Activate(false);
    return vehicle;
}

void VehicleWorld::Step(game::Vehicle& vehicle, double seconds) {
    vehicle.Update(seconds);
    physics->Update(seconds);
}

float VehicleWorld::Run(game::Vehicle& vehicle, double seconds) {
    float lowest = 1.0f;
    const game::BaggageCart* cart = dynamic_cast<const game::BaggageCart*>(&vehicle);
    for (int i = 0; i < static_cast<int>(seconds / kStep + 0.5); ++i) {
        Step(vehicle);
        lowest = std::min(lowest, Upright(vehicle));
        if (cart && cart->trailer())
            lowest = std::min(lowest, Upright(*cart->trailer()));
    }
    return lowest;
}

void VehicleWorld::SyncNodes() {
    window->scene->getRootSceneNode()->_update(true, false);
}

void VehicleWorld::Key(int code, bool pressed) {
    const event::KeyEvent event(pressed ? event::KeyEvent::KEY_PRESSED : event::KeyEvent::KEY_RELEASED,
                                static_cast<OIS::KeyCode>(code));
    event::Manager::getSingleton()->Fire(event);
}

float Upright(const game::Vehicle& vehicle) {
    return (vehicle.chassis_body()->getWorldOrientation() * Ogre::Vector3::UNIT_Y).y;
}

Ogre::Vector3 Heading(const game::Vehicle& vehicle) {
    return vehicle.chassis_body()->getWorldOrientation() * Ogre::Vector3::UNIT_Z;
}

float CouplingGap(const game::Vehicle& vehicle) {
    const game::BaggageCart* cart = dynamic_cast<const game::BaggageCart*>(&vehicle);
    if (!cart || !cart->coupling())
        return 0.0f;
    const btPoint2PointConstraint* c = cart->coupling();
    const btVector3 a = c->getRigidBodyA().getWorldTransform() * c->getPivotInA();
    const btVector3 b = c->getRigidBodyB().getWorldTransform() * c->getPivotInB();
    return static_cast<float>((a - b).length());
}

} // namespace vehicletest
