#include "game/SpawnFactory.h"

#include "game/BaggageCart.h"
#include "game/CateringTruck.h"
#include "game/FuelTruck.h"
#include "game/GameCore.h"
#include "game/MissionData.h"

#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreStringConverter.h>

namespace game {

namespace {
void logPlacement(const char* when, const std::string& vehicle, Ogre::SceneNode* node) {
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(std::string(when) + " spawning vehicle " + vehicle + " at " +
                        Ogre::StringConverter::toString(node->_getDerivedPosition()));
}
} // namespace

IObject* SpawnFactory::Spawn(Ogre::SceneNode* spawnPoint) {
    MissionData* mission = MissionData::getSingleton();
    if (!spawnPoint || !mission)
        return nullptr;
    MissionData::SpawnInfo info;
    if (!mission->GetSpawnInfo(spawnPoint->getName(), info) || info.kind != MissionData::kSpawnVehicle)
        return nullptr;

    logPlacement("pre reset", info.vehicle, spawnPoint);
    // A node moved during an earlier mission is back where the scene put it.
    spawnPoint->resetToInitialState();
    logPlacement("after reset", info.vehicle, spawnPoint);

    const GameCore* core = GameCore::getSingleton();
    const std::string variant = core ? core->vehicle_variant() : "normal";
    Vehicle* vehicle = nullptr;
    if (info.vehicle == "FuelTruck")
        vehicle = new FuelTruck(spawnPoint, variant);
    else if (info.vehicle == "BaggageCart")
        vehicle = new BaggageCart(spawnPoint, variant);
    else if (info.vehicle == "CateringTruck")
        vehicle = new CateringTruck(spawnPoint, variant);
    else
        return nullptr;

    vehicle->Init(spawnPoint->_getDerivedPosition(), spawnPoint->_getDerivedOrientation());
    vehicle->Activate(false);
    return vehicle;
}

} // namespace game
