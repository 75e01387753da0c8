#include "game/GameCore.h"

#include "application/InGameMenuState.h"
#include "application/Main.h"
#include "display/DebugCamera.h"
#include "display/VehicleCam.h"
#include "game/MissionData.h"
#include "game/SpawnFactory.h"
#include "game/TriggerFactory.h"
#include "minigames/BaggageState.h"
#include "minigames/CateringState.h"
#include "minigames/PumpState.h"
#include "minigames/RepairState.h"

#include <display/Core.h>
#include <display/cam/CameraManager.h>
#include <game/SceneLoader.h>
#include <game/Vehicle.h>
#include <physics/PhysicsCore.h>

#include <OGRE/OgreSceneManager.h>
#include <OGRE/Terrain/OgreTerrain.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>

#include <algorithm>

namespace game {

const double GameCore::kPhysicsStep = 1.0 / 60.0;

namespace {
const unsigned int kDefaultCamera = 1;
const unsigned int kDebugCamera = 2;
const unsigned int kVehicleCamera = 3;
const unsigned short kVehicleType = 2;
const char* const kScene = "../assets/level/airport_scene.scene";
const double kPumpSeconds = 60.0;
const float kShadowFarDistance = 3000.0f;
const size_t kDirectionalShadowTextures = 3;

// The registry owns a state once it files it; one it refuses is deleted here.
void registerState(application::Main& app, const std::string& name, application::IApplicationState* state) {
    app.AddState(name, state);
    if (!app.HasState(name, state))
        state->Destroy();
}

display::cam::CameraManager* cameras() {
    return display::cam::CameraManager::getSingleton();
}
} // namespace

GameCore::GameCore() = default;

GameCore::~GameCore() {
    // Triggers let go of their overlaps while the vehicles exist, then
    // everything in the world goes before the physics world itself.
    if (m_missionData)
        m_missionData->Clear();
    m_objects.clear();
    if (m_currentVehicle)
        m_currentVehicle->Activate(false);
    m_currentVehicle = nullptr;
    m_vehicles.clear();
    m_missionData.reset();
    m_spawnFactory.reset();
    m_triggerFactory.reset();

    if (display::cam::CameraManager* manager = cameras()) {
        manager->SwitchCamera(kDefaultCamera);
        if (m_debugCamera)
            manager->RemoveCamera(kDebugCamera);
        if (m_vehicleCam)
            manager->RemoveCamera(kVehicleCamera);
    }
    m_debugCamera = nullptr;
    m_vehicleCam = nullptr;

    if (m_terrainGroup) {
        OGRE_DELETE m_terrainGroup;
        m_terrainGroup = nullptr;
        if (Ogre::TerrainGlobalOptions::getSingletonPtr())
            OGRE_DELETE Ogre::TerrainGlobalOptions::getSingletonPtr();
    }
    m_physicsCore.reset();
}

void GameCore::LoadResources() {
    display::Core* core = display::Core::getSingleton();
    if (!core)
        return;
    core->AddResourceGroup("GameCore");
    core->AddResourceFolder("../assets/custom_textures", "GameCore");
    core->AddResourceZip("../assets/assets.pip", "GameCore");
    core->AddResourceZip("../assets/terrain.pip", "General");
    core->InitResourceGroup("GameCore");
}

void GameCore::BuildWorld() {
    m_built = true;
    if (application::Main* app = application::Main::getSingleton()) {
        registerState(*app, "PumpState", new application::PumpState(kPumpSeconds));
        registerState(*app, "BaggageState", new application::BaggageState());
        registerState(*app, "RepairState", new application::RepairState());
        registerState(*app, "CateringState", new application::CateringState());
        registerState(*app, "InGameMenu", new application::InGameMenuState());
    }

    display::Core* core = display::Core::getSingleton();
    Ogre::SceneManager* scene = core ? core->getSceneManager() : nullptr;
    if (core)
        core->EnablePSSM();

    if (display::cam::CameraManager* manager = cameras()) {
        auto debugCamera = std::make_unique<display::cam::DebugCamera>(kDebugCamera);
        auto vehicleCam = std::make_unique<display::cam::VehicleCam>(kVehicleCamera);
        debugCamera->InitCamera();
        vehicleCam->InitCamera();
        m_debugCamera = debugCamera.release();
        m_vehicleCam = vehicleCam.release();
        manager->AddCamera(kDebugCamera, m_debugCamera);
        manager->AddCamera(kVehicleCamera, m_vehicleCam);
        manager->SwitchCamera(kDebugCamera);
    }

    if (scene) {
        scene->setShadowTechnique(Ogre::SHADOWTYPE_TEXTURE_ADDITIVE_INTEGRATED);
        scene->setShadowFarDistance(kShadowFarDistance);
        scene->setShadowTextureCountPerLightType(Ogre::Light::LT_DIRECTIONAL, kDirectionalShadowTextures);
    }

    m_physicsCore = std::make_unique<physics::PhysicsCore>();
    m_physicsCore->Init();

    m_triggerFactory = std::make_unique<TriggerFactory>();
    m_spawnFactory = std::make_unique<SpawnFactory>();

    if (scene) {
        SceneLoader loader(kScene, scene);
        loader.Init();
        loader.ParseScene();
        m_terrainGroup = loader.terrain_group();
    }

    m_missionData = std::make_unique<MissionData>(m_spawnFactory.get(), m_triggerFactory.get(), this, scene);
}

bool GameCore::StartMission() {
    if (!m_built)
        BuildWorld();
    m_paused = false;
    m_missionData->Clear();
    m_missionData->Load(m_missionNumber);
    m_missionData->Start();
    if (!m_vehicles.empty())
        DriveVehicle(m_vehicles.begin()->second.get());
    return true;
}

void GameCore::StartWatching() {
    if (!m_built)
        BuildWorld();
    m_paused = false;
    if (m_missionData)
        m_missionData->Clear();
}

void GameCore::FollowChassis(Ogre::Entity* chassis) {
    if (m_vehicleCam)
        m_vehicleCam->AttachToChassis(chassis);
    if (display::cam::CameraManager* manager = cameras())
        manager->SwitchCamera(chassis ? kVehicleCamera : kDebugCamera);
}

void GameCore::ClearMission() {
    if (m_missionData)
        m_missionData->Clear();
}

void GameCore::DriveVehicle(Vehicle* vehicle) {
    if (m_currentVehicle && m_currentVehicle != vehicle)
        m_currentVehicle->Activate(false);
    m_currentVehicle = vehicle;
    m_currentVehicle->Activate(true);
    if (m_vehicleCam)
        m_vehicleCam->AttachToVehicle(vehicle);
    if (display::cam::CameraManager* manager = cameras())
        manager->SwitchCamera(kVehicleCamera);
}

void GameCore::Update(double seconds) {
    for (auto& entry : m_objects)
        entry.second->Update(seconds);
    for (auto& entry : m_vehicles)
        entry.second->Update(seconds);
    if (m_missionData)
        m_missionData->Update(seconds);
    // The physics takes fixed steps for exactly the time that passed, so the
    // world moves at the speed of the clock however fast or slow frames are
    // drawn, and shows the bodies between the steps where the frame falls.
    if (m_physicsCore)
        m_physicsCore->Update(std::max(seconds, 0.0));
}

void GameCore::NextVehicle() {
    if (m_vehicles.empty() || !m_currentVehicle)
        return;
    auto next = m_vehicles.upper_bound(m_currentVehicle->id());
    if (next == m_vehicles.end())
        next = m_vehicles.begin();
    if (next->second.get() == m_currentVehicle)
        return;
    m_currentVehicle->Activate(false);
    m_currentVehicle = next->second.get();
    m_currentVehicle->Activate(true);
    if (m_vehicleCam)
        m_vehicleCam->AttachToVehicle(m_currentVehicle);
}

double GameCore::GetTargetDistance() const {
    if (!m_currentVehicle || !m_missionData)
        return 0.0;
    return m_currentVehicle->GetPosition().distance(m_missionData->GetTargetPosition());
}

Ogre::Quaternion GameCore::GetTargetDirection() const {
    if (!m_currentVehicle || !m_missionData)
        return Ogre::Quaternion::IDENTITY;
    // On the ground plane only: the chassis rides above the target, and a
    // target nearly ahead then turned the arrow over rather than round, so
    // the HUD showed it as behind. A half turn goes round the vertical.
    Ogre::Vector3 away = m_currentVehicle->GetPosition() - m_missionData->GetTargetPosition();
    Ogre::Vector3 heading = m_currentVehicle->GetDirection();
    away.y = 0;
    heading.y = 0;
    if (away.isZeroLength() || heading.isZeroLength())
        return Ogre::Quaternion::IDENTITY;
    return heading.getRotationTo(away, Ogre::Vector3::UNIT_Y);
}

void GameCore::AddObject(IObject* object) {
    if (!object)
        return;
    if (object->type() == kVehicleType) {
        auto* vehicle = dynamic_cast<Vehicle*>(object);
        if (!vehicle || m_vehicles.count(vehicle->id()))
            return;
        m_vehicles.emplace(vehicle->id(), std::unique_ptr<Vehicle>(vehicle));
    } else if (!m_objects.count(object->id())) {
        m_objects.emplace(object->id(), std::unique_ptr<IObject>(object));
    }
}

void GameCore::RemoveObject(uint32_t id) {
    auto object = m_objects.find(id);
    if (object != m_objects.end()) {
        m_objects.erase(object);
        return;
    }
    auto vehicle = m_vehicles.find(id);
    if (vehicle == m_vehicles.end())
        return;
    if (vehicle->second.get() == m_currentVehicle) {
        m_currentVehicle->Activate(false);
        if (display::cam::CameraManager* manager = cameras())
            manager->SwitchCamera(kDebugCamera);
        m_currentVehicle = nullptr;
    }
    m_vehicles.erase(vehicle);
}

void GameCore::RemoveObject(IObject* object) {
    if (object)
        RemoveObject(object->id());
}

} // namespace game
