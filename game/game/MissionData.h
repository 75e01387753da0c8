#pragma once

#include "game/MissionFileReader.h"

#include <base/Singleton.h>
#include <event/IListener.h>

#include <OGRE/OgreVector.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Ogre {
class SceneManager;
class SceneNode;
}

namespace game {

class IObjectManager;
class ISpawnFactory;
class ITriggerFactory;
class Trigger;

// Runs one mission: reads the mission file, places its vehicles and triggers
// on the named scene nodes, walks its steps one by one, counts each step's
// time down, adds up the score and, at the end, stores the player's progress.
class MissionData : public event::IListener, public base::Singleton<MissionData> {
public:
    enum ETriggerType : int32_t { kMiniGameTrigger = 0, kWaypointTrigger = 1 };
    enum ESpawnKind : int32_t { kSpawnNothing = -1, kSpawnVehicle = 0 };
    enum EStepKind : int32_t { kReachTrigger = 0, kPlayMiniGame = 2 };

    struct TriggerInfo {
        int32_t type = kWaypointTrigger;
        float time = 0.0f;
    };
    struct SpawnInfo {
        int32_t kind = kSpawnNothing;
        std::string vehicle;
    };
    struct Step {
        int32_t kind;
        std::string name;
    };

    static const char* const kMissionFolder;
    // A step's time limit must lie within [0, kMaxStepTime] seconds.
    static const float kMaxStepTime;
    static const uint32_t kPointsPerSecond;
    // The vehicle names the spawn factory knows and the states a mission may push.
    static const char* const kVehicles[];
    static const char* const kMiniGames[];

    // The scene manager defaults to the render core's.
    MissionData(ISpawnFactory* spawnFactory, ITriggerFactory* triggerFactory, IObjectManager* objectManager,
                Ogre::SceneManager* sceneManager = nullptr);
    virtual ~MissionData();

    MissionData(const MissionData&) = delete;
    MissionData& operator=(const MissionData&) = delete;

    // False, with nothing created, when the file cannot be read.
    bool Load(int32_t mission);
    void Start();
    // Removes everything Load created; safe to call at any time.
    void Clear();
    void Update(double seconds);

    bool HandleEvent(const event::IEvent& event) override;
    const char* Name() override { return "MissionData"; }

    bool GetTriggerInfo(const std::string& name, TriggerInfo& info) const;
    bool GetSpawnInfo(const std::string& name, SpawnInfo& info) const;
    // The current step's trigger, or the origin when the step is no trigger step.
    Ogre::Vector3 GetTargetPosition() const;

    double remaining_time() const { return m_remainingTime; }
    int32_t mission_number() const { return m_missionNumber; }
    uint32_t score() const { return m_score; }

    // A mission that could be read and has at least one step.
    bool IsPlayable() const { return m_loaded && !m_steps.empty(); }
    bool IsComplete() const { return m_started && IsPlayable() && m_currentStep >= m_steps.size(); }
    const std::vector<Step>& steps() const { return m_steps; }
    size_t current_step() const { return m_currentStep; }
    Trigger* trigger(const std::string& name) const;
    // The path of a mission's file; tests may point the folder elsewhere.
    std::string MissionFile(int32_t mission) const;
    void set_mission_folder(const std::string& folder) { m_missionFolder = folder; }

private:
    void LoadSpawn(const MissionFileReader::Entry& entry, const std::string& file);
    void LoadTrigger(const MissionFileReader::Entry& entry, const std::string& file);
    void LoadMiniGame(const MissionFileReader::Entry& entry, const std::string& file);
    Ogre::SceneNode* FindNode(const std::string& name, const std::string& file) const;

    void ProcessStep();
    void Advance();
    bool PushMiniGame(const std::string& name);
    void Finish();
    void Listen(bool listen);

    std::map<std::string, TriggerInfo> m_triggers;
    std::map<std::string, SpawnInfo> m_spawns;
    std::vector<Step> m_steps;
    size_t m_currentStep = 0;
    // Owned by the object manager from the moment they are registered.
    std::map<std::string, Trigger*> m_triggerObjects;
    ISpawnFactory* m_spawnFactory;
    ITriggerFactory* m_triggerFactory;
    IObjectManager* m_objectManager;
    Ogre::SceneManager* m_sceneManager;
    double m_remainingTime = 0.0;
    int32_t m_missionNumber = -1;
    uint32_t m_score = 0;

    // The ids of the vehicles this mission spawned: what Clear removes.
    std::vector<uint32_t> m_vehicleIds;
    std::string m_missionFolder;
    bool m_loaded = false;
    bool m_started = false;
    bool m_listening = false;
    // A mini-game was pushed and has not reported its result yet.
    bool m_miniGameRunning = false;
    // The last step is done; the end is announced at the next update, once
    // the scores queued together with the last result have been added.
    bool m_endPending = false;
};

} // namespace game
