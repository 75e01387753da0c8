#include "game/MissionData.h"

#include "application/Main.h"
#include "game/ITriggerFactory.h"
#include "event/MiniGameEvent.h"
#include "event/MissionEndedEvent.h"
#include "event/ScoreEvent.h"
#include "event/TriggerEvent.h"
#include "ui/RadioMessage.h"

#include <base/UserData.h>
#include <display/Core.h>
#include <event/ApplicationStateEvent.h>
#include <event/DialogEvent.h>
#include <event/Manager.h>
#include <game/IObject.h>
#include <game/IObjectManager.h>
#include <game/ISpawnFactory.h>
#include <game/Trigger.h>
#include <ui/Manager.h>

#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

#include <cmath>
#include <iostream>
#include <limits>

namespace game {

const char* const MissionData::kMissionFolder = "../assets/level/mission/";
const float MissionData::kMaxStepTime = 3600.0f;
const uint32_t MissionData::kPointsPerSecond = 50;
const char* const MissionData::kVehicles[] = {"FuelTruck", "BaggageCart", "CateringTruck", nullptr};
const char* const MissionData::kMiniGames[] = {"CateringState", "RepairState", "BaggageState", "PumpState", nullptr};

namespace {

const base::StringHash kMissionEndDialog("MissionEnd");
const base::StringHash* const kListenedEvents[] = {&event::TriggerEvent::kEventType,
                                                   &event::MiniGameEvent::kEventType,
                                                   &event::ScoreEvent::kEventType};

bool isOneOf(const std::string& name, const char* const* names) {
    for (; *names; ++names)
        if (name == *names)
            return true;
    return false;
}

void warn(const std::string& file, const std::string& what) {
    std::cerr << "MissionData: " << file << ": " << what << std::endl;
}

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

uint32_t saturatingAdd(uint32_t a, uint32_t b) {
    return b > std::numeric_limits<uint32_t>::max() - a ? std::numeric_limits<uint32_t>::max() : a + b;
}

} // namespace

MissionData::MissionData(ISpawnFactory* spawnFactory, ITriggerFactory* triggerFactory,
                         IObjectManager* objectManager, Ogre::SceneManager* sceneManager)
    : m_spawnFactory(spawnFactory), m_triggerFactory(triggerFactory), m_objectManager(objectManager),
      m_sceneManager(sceneManager), m_missionFolder(kMissionFolder) {
    if (!m_sceneManager && display::Core::getSingleton())
        m_sceneManager = display::Core::getSingleton()->getSceneManager();
}

MissionData::~MissionData() {
    Listen(false);
}

std::string MissionData::MissionFile(int32_t mission) const {
    return m_missionFolder + "mission" + std::to_string(mission) + ".xml";
}

bool MissionData::Load(int32_t mission) {
    if (m_loaded || !m_steps.empty() || !m_vehicleIds.empty() || !m_triggerObjects.empty())
        Clear();
    m_missionNumber = mission;
    m_score = 0;

    const std::string path = MissionFile(mission);
    const std::string file = baseName(path);
    MissionFileReader reader;
    if (!reader.Read(path))
        return false;
    for (const MissionFileReader::Entry& entry : reader.entries()) {
        switch (entry.kind) {
        case MissionFileReader::kSpawnEntry:
            LoadSpawn(entry, file);
            break;
        case MissionFileReader::kMiniGameEntry:
            LoadMiniGame(entry, file);
            break;
        case MissionFileReader::kTriggerEntry:
            LoadTrigger(entry, file);
            break;
        }
    }
    m_loaded = true;
    return true;
}

Ogre::SceneNode* MissionData::FindNode(const std::string& name, const std::string& file) const {
    if (!m_sceneManager || name.empty() || !m_sceneManager->hasSceneNode(name)) {
        warn(file, "no scene node \"" + name + "\", element skipped");
        return nullptr;
    }
    return m_sceneManager->getSceneNode(name);
}

void MissionData::LoadSpawn(const MissionFileReader::Entry& entry, const std::string& file) {
    const std::string& type = entry.type;
    const std::string& vehicle = entry.vehicle;
    const std::string& name = entry.name;

    if (m_spawns.count(name)) {
        warn(file, "spawn \"" + name + "\" is used twice, the second is skipped");
        return;
    }
    SpawnInfo info;
    if (type == "vehicle") {
        if (!isOneOf(vehicle, kVehicles)) {
            warn(file, "unknown vehicle \"" + vehicle + "\" at \"" + name + "\", spawn skipped");
            return;
        }
        info.kind = kSpawnVehicle;
        info.vehicle = vehicle;
    } else {
        warn(file, "spawn \"" + name + "\" of type \"" + type + "\" places nothing");
    }
    Ogre::SceneNode* node = FindNode(name, file);
    if (!node)
        return;
    m_spawns.emplace(name, info);
    if (info.kind != kSpawnVehicle || !m_spawnFactory)
        return;

    IObject* object = m_spawnFactory->Spawn(node);
    if (!object) {
        warn(file, "no " + vehicle + " could be placed at \"" + name + "\"");
        return;
    }
    m_vehicleIds.push_back(object->id());
    if (m_objectManager)
        m_objectManager->AddObject(object);
}

void MissionData::LoadMiniGame(const MissionFileReader::Entry& entry, const std::string& file) {
    const std::string& game = entry.game;
    if (!isOneOf(game, kMiniGames)) {
        warn(file, "unknown mini-game \"" + game + "\", step skipped");
        return;
    }
    m_steps.push_back(Step{kPlayMiniGame, game});
}

void MissionData::LoadTrigger(const MissionFileReader::Entry& entry, const std::string& file) {
    const std::string& type = entry.type;
    const std::string& name = entry.name;
    const std::string& timeText = entry.timeText;

    if (m_triggerObjects.count(name)) {
        // A trigger reached again later: one more step, same trigger.
        m_steps.push_back(Step{kReachTrigger, name});
        return;
    }

    TriggerInfo info;
    if (type == "mini_game") {
        info.type = kMiniGameTrigger;
    } else if (type == "waypoint") {
        info.type = kWaypointTrigger;
    } else {
        warn(file, "trigger \"" + name + "\" has unknown type \"" + type + "\", step skipped");
        return;
    }
    const double time = entry.time;
    if (!entry.hasTime || time < 0.0 || time > kMaxStepTime) {
        warn(file, "trigger \"" + name + "\" has time \"" + timeText + "\" outside [0, 3600] s, step skipped");
        return;
    }
    info.time = static_cast<float>(time);

    Ogre::SceneNode* node = FindNode(name, file);
    if (!node)
        return;
    // The factory reads the record, so it goes in first; it is taken out
    // again when no trigger comes of it.
    m_triggers[name] = info;
    Trigger* trigger = m_triggerFactory ? m_triggerFactory->CreateTrigger(node) : nullptr;
    if (!trigger) {
        m_triggers.erase(name);
        warn(file, "no trigger could be placed at \"" + name + "\", step skipped");
        return;
    }
    m_triggerObjects[name] = trigger;
    if (m_objectManager)
        m_objectManager->AddObject(trigger);
    m_steps.push_back(Step{kReachTrigger, name});
}

void MissionData::Start() {
    Listen(true);
    m_currentStep = 0;
    m_started = true;
    m_miniGameRunning = false;
    m_endPending = false;
    if (!IsPlayable()) {
        // Nothing to play is no completion: no progress, no mission end.
        if (m_loaded)
            std::cerr << "MissionData: " << baseName(MissionFile(m_missionNumber)) << " has no steps" << std::endl;
        m_currentStep = m_steps.size();
        return;
    }
    ProcessStep();
}

void MissionData::ProcessStep() {
    if (m_currentStep >= m_steps.size()) {
        m_remainingTime = 0.0;
        m_endPending = m_missionNumber != -1;
        return;
    }
    const Step& step = m_steps[m_currentStep];
    if (step.kind == kReachTrigger) {
        auto trigger = m_triggerObjects.find(step.name);
        auto info = m_triggers.find(step.name);
        if (trigger != m_triggerObjects.end() && info != m_triggers.end()) {
            m_remainingTime = info->second.time;
            trigger->second->Activate(true);
        }
        return;
    }
    if (!PushMiniGame(step.name)) {
        std::cerr << "MissionData: the mini-game \"" << step.name << "\" is not available, step skipped" << std::endl;
        Advance();
    }
}

void MissionData::Advance() {
    if (m_currentStep < m_steps.size())
        ++m_currentStep;
    ProcessStep();
}

bool MissionData::PushMiniGame(const std::string& name) {
    event::Manager* events = event::Manager::getSingleton();
    if (!events)
        return false;
    application::Main* app = application::Main::getSingleton();
    const application::IApplicationState* before = app ? app->CurrentState() : nullptr;
    events->Fire(event::ApplicationStateEvent(event::ApplicationStateEvent::PUSH_STATE, name));
    // Without an application (tests drive the mission alone) the push is taken as done.
    if (app && app->CurrentState() == before)
        return false;
    m_miniGameRunning = true;
    return true;
}

void MissionData::Finish() {
    m_endPending = false;
    if (m_missionNumber == -1)
        return;
    if (base::UserData* user = base::UserData::getSingleton()) {
        // A hand-edited value below 1 counts as the first mission.
        const int progress = std::max(1, user->GetInt("mission", "progress", 1));
        if (progress == m_missionNumber)
            user->SetInt("mission", "progress", m_missionNumber + 1);
    }
    if (event::Manager* events = event::Manager::getSingleton()) {
        events->Fire(event::DialogEvent(kMissionEndDialog));
        events->QueueEvent(new event::MissionEndedEvent(m_missionNumber, m_score, 0));
    }
}

void MissionData::Update(double seconds) {
    if (m_endPending) {
        Finish();
        return;
    }
    if (!m_started || m_currentStep >= m_steps.size())
        return;
    if (m_miniGameRunning && m_steps[m_currentStep].kind == kPlayMiniGame) {
        // The game runs again although the mini-game sent no result: its time
        // ran out. The player tries it again rather than being stuck here.
        m_miniGameRunning = false;
        std::cerr << "MissionData: the time for \"" << m_steps[m_currentStep].name << "\" is up, it starts again"
                  << std::endl;
        if (ui::Manager::getSingleton())
            new ui::RadioMessage("#{msg_time_up}");
        if (!PushMiniGame(m_steps[m_currentStep].name))
            Advance();
        return;
    }
    m_remainingTime -= seconds;
    if (m_remainingTime < 0.0)
        m_remainingTime = 0.0;
}

bool MissionData::HandleEvent(const event::IEvent& event) {
    const base::StringHash& type = event.event_type();
    if (type == event::TriggerEvent::kEventType) {
        if (m_currentStep >= m_steps.size() || m_steps[m_currentStep].kind != kReachTrigger)
            return false;
        auto it = m_triggerObjects.find(m_steps[m_currentStep].name);
        const auto& reached = static_cast<const event::TriggerEvent&>(event);
        if (it == m_triggerObjects.end() || it->second != reached.trigger())
            return false;
        const uint32_t points = static_cast<uint32_t>(std::floor(m_remainingTime)) * kPointsPerSecond;
        if (event::Manager* events = event::Manager::getSingleton())
            events->Fire(event::ScoreEvent(points, event::ScoreEvent::kIncrement));
        Advance();
    } else if (type == event::MiniGameEvent::kEventType) {
        if (!m_miniGameRunning || m_currentStep >= m_steps.size() || m_steps[m_currentStep].kind != kPlayMiniGame)
            return false;
        m_miniGameRunning = false;
        if (event::Manager* events = event::Manager::getSingleton())
            events->Fire(event::ApplicationStateEvent(event::ApplicationStateEvent::POP_STATE, ""));
        Advance();
    } else if (type == event::ScoreEvent::kEventType) {
        const auto& score = static_cast<const event::ScoreEvent&>(event);
        if (score.kind() != event::ScoreEvent::kIncrement)
            return false;
        m_score = saturatingAdd(m_score, score.value());
        if (event::Manager* events = event::Manager::getSingleton())
            events->QueueEvent(new event::ScoreEvent(m_score, event::ScoreEvent::kTotal));
    }
    return false;
}

void MissionData::Clear() {
    Listen(false);
    m_score = 0;
    m_triggers.clear();

    // Triggers end their overlaps first, while the bodies inside still exist,
    // so their leave handlers close what they opened; then the triggers go,
    // then the vehicles, by the ids this mission gave them.
    for (auto& entry : m_triggerObjects)
        entry.second->Activate(false);
    for (auto& entry : m_triggerObjects)
        if (m_objectManager)
            m_objectManager->RemoveObject(entry.second);
    m_triggerObjects.clear();
    for (uint32_t id : m_vehicleIds)
        if (m_objectManager)
            m_objectManager->RemoveObject(id);
    m_vehicleIds.clear();
    m_spawns.clear();
    m_steps.clear();

    m_currentStep = 0;
    m_remainingTime = 0.0;
    m_loaded = false;
    m_started = false;
    m_miniGameRunning = false;
    m_endPending = false;
}

bool MissionData::GetTriggerInfo(const std::string& name, TriggerInfo& info) const {
    auto it = m_triggers.find(name);
    if (it == m_triggers.end())
        return false;
    info = it->second;
    return true;
}

bool MissionData::GetSpawnInfo(const std::string& name, SpawnInfo& info) const {
    auto it = m_spawns.find(name);
    if (it == m_spawns.end())
        return false;
    info = it->second;
    return true;
}

Ogre::Vector3 MissionData::GetTargetPosition() const {
    if (m_currentStep >= m_steps.size() || m_steps[m_currentStep].kind != kReachTrigger)
        return Ogre::Vector3::ZERO;
    Trigger* current = trigger(m_steps[m_currentStep].name);
    return current ? current->GetPosition() : Ogre::Vector3::ZERO;
}

Trigger* MissionData::trigger(const std::string& name) const {
    auto it = m_triggerObjects.find(name);
    return it == m_triggerObjects.end() ? nullptr : it->second;
}

void MissionData::Listen(bool listen) {
    event::Manager* events = event::Manager::getSingleton();
    if (!events || listen == m_listening)
        return;
    for (const base::StringHash* type : kListenedEvents) {
        if (listen)
            events->AddListener(*this, *type);
        else
            events->RemoveListener(*this, *type);
    }
    m_listening = listen;
}

} // namespace game
