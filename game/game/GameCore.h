#pragma once

#include <base/Singleton.h>
#include <game/IObjectManager.h>

#include <OGRE/OgreQuaternion.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace Ogre {
class Entity;
class TerrainGroup;
} // namespace Ogre
namespace physics {
class PhysicsCore;
}
namespace display {
namespace cam {
class DebugCamera;
class VehicleCam;
} // namespace cam
} // namespace display

namespace game {

class IObject;
class MissionData;
class SpawnFactory;
class TriggerFactory;
class Vehicle;

// The gameplay hub: builds the airport once, starts and clears missions,
// owns every live game object, knows the player's vehicle and runs the
// per-frame update (objects, vehicles, mission clock, physics).
class GameCore : public base::Singleton<GameCore>, public IObjectManager {
public:
    // The physics advances in steps of this length, as many as the clock asks for.
    static const double kPhysicsStep;

    GameCore();
    virtual ~GameCore();

    GameCore(const GameCore&) = delete;
    GameCore& operator=(const GameCore&) = delete;

    // Takes ownership; vehicles (type 2) and other objects are kept apart.
    void AddObject(IObject* object) override;
    void RemoveObject(uint32_t id) override;
    void RemoveObject(IObject* object) override;

    void LoadResources();
    // Builds the world on the first call, then (re)starts the stored mission.
    bool StartMission();
    void ClearMission();
    // Builds the world when needed and clears the mission without loading
    // another: the airport alone, for watching a replay.
    void StartWatching();
    // The vehicle camera rides on a chassis that is not a vehicle's (a
    // replay's); null puts it back on the debug camera.
    void FollowChassis(Ogre::Entity* chassis);
    void Update(double seconds);
    // The controls pass to the vehicle with the next id, wrapping around.
    void NextVehicle();

    // Zero without a vehicle.
    double GetTargetDistance() const;
    // The identity without a vehicle.
    Ogre::Quaternion GetTargetDirection() const;

    Vehicle* current_vehicle() const { return m_currentVehicle; }
    MissionData* mission_data() const { return m_missionData.get(); }
    int32_t mission_number() const { return m_missionNumber; }
    void set_mission_number(int32_t mission) { m_missionNumber = mission; }
    const std::string& vehicle_variant() const { return m_vehicleVariant; }
    void set_vehicle_variant(const std::string& variant) { m_vehicleVariant = variant; }
    // A replay file to watch instead of playing: set by the menus before the
    // game state is pushed, taken (and cleared) by the game state.
    const std::string& replay_file() const { return m_replayFile; }
    void set_replay_file(const std::string& path) { m_replayFile = path; }

    bool IsBuilt() const { return m_built; }
    // While another screen covers the game (menu, mini-game) nothing in the
    // world reacts to keys.
    bool IsPaused() const { return m_paused; }
    void SetPaused(bool paused) { m_paused = paused; }
    const std::map<uint32_t, std::unique_ptr<IObject>>& objects() const { return m_objects; }
    const std::map<uint32_t, std::unique_ptr<Vehicle>>& vehicles() const { return m_vehicles; }

private:
    void BuildWorld();
    void DriveVehicle(Vehicle* vehicle);

    bool m_built = false;
    std::unique_ptr<physics::PhysicsCore> m_physicsCore;
    Ogre::TerrainGroup* m_terrainGroup = nullptr;
    // Owned by the camera manager.
    display::cam::DebugCamera* m_debugCamera = nullptr;
    display::cam::VehicleCam* m_vehicleCam = nullptr;
    std::map<uint32_t, std::unique_ptr<IObject>> m_objects;
    std::map<uint32_t, std::unique_ptr<Vehicle>> m_vehicles;
    std::unique_ptr<MissionData> m_missionData;
    std::unique_ptr<TriggerFactory> m_triggerFactory;
    std::unique_ptr<SpawnFactory> m_spawnFactory;
    Vehicle* m_currentVehicle = nullptr;
    int32_t m_missionNumber = -1;
    std::string m_vehicleVariant = "normal";
    std::string m_replayFile;

    bool m_paused = false;
};

} // namespace game
