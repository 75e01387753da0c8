#include "application/GameState.h"

#include "application/Main.h"
#include "event/MissionEndedEvent.h"
#include "game/GameControls.h"
#include "game/GameCore.h"
#include "game/MissionData.h"
#include "ui/HUDDirection.h"
#include "ui/HUDScore.h"
#include "ui/HUDSpeed.h"
#include "ui/HUDTime.h"
#include "ui/RadioMessage.h"
#include "ui/ReplayBar.h"
#include "replay/GhostRun.h"
#include "replay/ReplayActor.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayStore.h"
#include "replay/RunRecorder.h"

#include <base/Config.h>
#include <display/Core.h>
#include <event/DialogEvent.h>
#include <replay/Recording.h>

#include <base/StartupTrace.h>
#include <event/ApplicationStateEvent.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <game/Vehicle.h>
#include <sound/ESoundType.h>
#include <sound/Sound.h>
#include <ui/Dialog.h>
#include <ui/Manager.h>

#include <algorithm>
#include <iostream>

namespace application {

const double GameState::kMaxFrameSeconds = 0.1;

namespace {
const base::StringHash kMissionEndDialog("MissionEnd");
const base::StringHash kMissionSelectDialog("MissionSelectWindow");
const char* const kGhostSection = "ui";
const char* const kGhostKey = "ghost";

void listen(event::IListener& listener, const base::StringHash& type, bool add, bool& listening) {
    event::Manager* events = event::Manager::getSingleton();
    if (!events || add == listening)
        return;
    if (add)
        events->AddListener(listener, type);
    else
        events->RemoveListener(listener, type);
    listening = add;
}

void queueRequest(event::ApplicationStateEvent::EType type, const std::string& state) {
    if (event::Manager* events = event::Manager::getSingleton())
        events->QueueEvent(new event::ApplicationStateEvent(type, state));
}

// The dialog while the UI manager still has it open; a display closed
// elsewhere is not touched again.
template <typename T>
T* stillOpen(T* dialog) {
    ui::Manager* manager = ui::Manager::getSingleton();
    return dialog && manager && manager->GetDialog(T::kDialogType) == dialog ? dialog : nullptr;
}

template <typename T>
void close(T*& dialog) {
    if (T* open = stillOpen(dialog))
        open->exitWindow();
    dialog = nullptr;
}

void showPointer(bool visible) {
    if (ui::Manager* manager = ui::Manager::getSingleton())
        manager->EnableMousePointer(visible);
}
} // namespace

GameState::GameState() : m_recorder(std::make_unique<game::RunRecorder>()) {}

GameState::~GameState() {
    ListenForKeys(false);
    ListenForMissionEnd(false);
    if (m_moodSound)
        m_moodSound->stop();
    if (m_music)
        m_music->stop();
    m_moodSound.reset();
    m_music.reset();
    m_gameCore.reset();
}

bool GameState::Init() {
    m_gameCore = std::make_unique<game::GameCore>();
    m_gameCore->LoadResources();
    base::StartupTrace::Mark("game archives indexed, their scripts parsed");
    m_moodSound = std::make_unique<sound::Sound>(sound::kSoundEffect, "game_mood_sound", "atmo_airport.ogg", true,
                                                 true, false);
    m_music = std::make_unique<sound::Sound>(sound::kSoundMusic, "game_level_music", "KB_Level.ogg", true, true,
                                             false);
    // The ghost switch is read here once, so the settings file has it (with
    // its default) before the options window shows it.
    if (base::Config* config = base::Config::getSingleton())
        config->getBool(kGhostSection, kGhostKey, true);
    return true;
}

void GameState::Enter() {
    m_missionEnded = false;
    m_missionClock = 0.0;
    m_moodSound->play();
    m_music->play();
    const std::string replay = m_gameCore->replay_file();
    if (!replay.empty()) {
        m_gameCore->set_replay_file("");
        if (!BeginWatching(replay)) {
            if (ui::Manager::getSingleton())
                new ui::RadioMessage("#{msg_replay_unavailable}");
            queueRequest(event::ApplicationStateEvent::POP_STATE, "");
        }
        ListenForKeys(true);
        showPointer(false);
        return;
    }
    m_gameCore->StartMission();

    game::MissionData* mission = m_gameCore->mission_data();
    if (!mission || !mission->IsPlayable()) {
        // Nothing to play: back to the menu with a word to the player.
        if (ui::Manager::getSingleton())
            new ui::RadioMessage("#{msg_mission_unavailable}");
        queueRequest(event::ApplicationStateEvent::POP_STATE, "");
    } else {
        OpenHUD(mission->mission_number() != -1);
        if (mission->mission_number() != -1)
            BeginRun();
    }
    ListenForKeys(true);
    ListenForMissionEnd(true);
    showPointer(false);
}

void GameState::Exit() {
    m_moodSound->stop();
    m_music->stop();
    CloseHUD();
    EndWatching();
    m_recorder->Cancel();
    m_ghost.reset();
    m_gameCore->ClearMission();
    m_gameCore->SetPaused(false);
    ListenForKeys(false);
    ListenForMissionEnd(false);
    // A mission end window left open would keep the keys of what comes next.
    if (ui::Manager* manager = ui::Manager::getSingleton())
        if (ui::Dialog* missionEnd = manager->GetDialog(kMissionEndDialog))
            missionEnd->exitWindow();
}

bool GameState::Pause() {
    if (game::Vehicle* vehicle = m_gameCore->current_vehicle())
        vehicle->Activate(false);
    m_gameCore->SetPaused(true);
    ListenForKeys(false);
    return true;
}

void GameState::Resume() {
    // After the mission's end the vehicle stays parked.
    game::Vehicle* vehicle = m_gameCore->current_vehicle();
    if (vehicle && !m_missionEnded)
        vehicle->Activate(true);
    m_gameCore->SetPaused(false);
    ListenForKeys(true);
    showPointer(false);
}

void GameState::Update(double seconds) {
    const double step = std::clamp(seconds, 0.0, kMaxFrameSeconds);
    if (m_player) {
        UpdateWatching(step);
        return;
    }
    m_gameCore->Update(step);
    m_missionClock += step;
    m_recorder->Update(*m_gameCore, step);
    if (m_ghost)
        m_ghost->Update(m_missionClock);

    game::Vehicle* vehicle = m_gameCore->current_vehicle();
    ui::HUDSpeed* speed = stillOpen(m_hudSpeed);
    if (!vehicle || !speed)
        return;
    speed->SetSpeed(vehicle->GetVelocity().length());
    if (ui::HUDTime* time = stillOpen(m_hudTime))
        time->SetTime(m_gameCore->mission_data()->remaining_time());
    if (ui::HUDDirection* direction = stillOpen(m_hudDirection)) {
        direction->SetDistance(static_cast<float>(m_gameCore->GetTargetDistance()));
        direction->SetDirection(m_gameCore->GetTargetDirection());
    }
}

bool GameState::HandleEvent(const event::IEvent& event) {
    if (event.event_type() == event::KeyEvent::kEventType)
        return HandleKey(event);
    if (event.event_type() == event::MissionEndedEvent::kEventType) {
        m_missionEnded = true;
        if (m_recorder->active()) {
            m_recorder->Finish(*m_gameCore, static_cast<const event::MissionEndedEvent&>(event).score());
            game::ReplayStore::Keep(m_recorder->recording());
        }
        if (game::Vehicle* vehicle = m_gameCore->current_vehicle())
            vehicle->Activate(false);
    }
    return false;
}

bool GameState::HandleKey(const event::IEvent& event) {
    if (m_player)
        return HandleWatchingKey(event);
    const auto& key = static_cast<const event::KeyEvent&>(event);
    if (key.key_event_type() == event::KeyEvent::KEY_PRESSED &&
        game::GameControls::Is(game::GameControls::kSwitchVehicle, key.key(), OIS::KC_V)) {
        // A finished mission keeps its vehicles still.
        if (!m_missionEnded)
            m_gameCore->NextVehicle();
        return true;
    }
    if (key.key_event_type() == event::KeyEvent::KEY_PRESSED &&
        game::GameControls::Is(game::GameControls::kResetVehicle, key.key(), OIS::KC_R)) {
        // Back on the wheels where it stands, for an overturned or wedged vehicle.
        game::Vehicle* vehicle = m_gameCore->current_vehicle();
        if (vehicle && !m_missionEnded)
            vehicle->Recover();
        return true;
    }
    if (key.key_event_type() == event::KeyEvent::KEY_RELEASED &&
        game::GameControls::Is(game::GameControls::kMenu, key.key(), OIS::KC_ESCAPE)) {
        if (!m_missionEnded) {
            if (Main* app = Main::getSingleton())
                app->PushState("InGameMenu");
        } else {
            // The mission end window leads back to the menu; without one Escape does.
            ui::Manager* manager = ui::Manager::getSingleton();
            if (!manager || !manager->GetDialog(kMissionEndDialog))
                queueRequest(event::ApplicationStateEvent::POP_STATE, "MainMenu");
        }
        return true;
    }
    return false;
}

void GameState::OpenHUD(bool mission) {
    if (!ui::Manager::getSingleton())
        return;
    m_hudSpeed = new ui::HUDSpeed();
    if (!mission)
        return;
    m_hudScore = new ui::HUDScore();
    m_hudTime = new ui::HUDTime();
    m_hudDirection = new ui::HUDDirection();
}

void GameState::CloseHUD() {
    close(m_hudSpeed);
    close(m_hudScore);
    close(m_hudTime);
    close(m_hudDirection);
}

void GameState::ListenForKeys(bool listen) {
    application::listen(*this, event::KeyEvent::kEventType, listen, m_keysListened);
}

void GameState::ListenForMissionEnd(bool listen) {
    application::listen(*this, event::MissionEndedEvent::kEventType, listen, m_endListened);
}

void GameState::BeginRun() {
    m_recorder->Begin(*m_gameCore, game::ReplayStore::kGameVersion);
    base::Config* config = base::Config::getSingleton();
    if (config && !config->getBool(kGhostSection, kGhostKey, true))
        return;
    const int32_t mission = m_gameCore->mission_number();
    const std::string& variant = m_gameCore->vehicle_variant();
    replay::Recording best;
    if (!game::ReplayStore::Load(game::ReplayStore::BestPath(mission, variant), mission, best, true))
        return;
    display::Core* core = display::Core::getSingleton();
    if (!core || !core->getSceneManager())
        return;
    auto ghost = std::make_unique<game::GhostRun>(std::move(best));
    std::string why;
    if (!ghost->Start(*core->getSceneManager(), why)) {
        std::cerr << "replay: \"" << game::ReplayStore::BestPath(mission, variant) << "\": " << why
                  << ", no ghost" << std::endl;
        return;
    }
    m_ghost = std::move(ghost);
}

bool GameState::BeginWatching(const std::string& path) {
    // The menus name the mission they offer it for; the command line does not.
    const int32_t mission = m_gameCore->mission_number() > 0 ? m_gameCore->mission_number() : -1;
    replay::Recording run;
    if (!game::ReplayStore::Load(path, mission, run, false))
        return false;
    display::Core* core = display::Core::getSingleton();
    if (!core || !core->getSceneManager())
        return false;
    m_gameCore->StartWatching();
    auto player = std::make_unique<game::ReplayPlayer>(std::move(run));
    std::string why;
    if (!player->Start(*core->getSceneManager(), why)) {
        std::cerr << "replay: \"" << path << "\": " << why << ", not played" << std::endl;
        return false;
    }
    m_player = std::move(player);
    m_gameCore->FollowChassis(m_player->actor()->chassis_entity());
    OpenHUD(true);
    if (ui::Manager::getSingleton())
        m_replayBar = new ui::ReplayBar();
    UpdateWatching(0.0);
    return true;
}

void GameState::UpdateWatching(double seconds) {
    m_player->Update(seconds);
    if (ui::HUDSpeed* speed = stillOpen(m_hudSpeed))
        speed->SetSpeed(m_player->value("speed"));
    if (ui::HUDTime* time = stillOpen(m_hudTime))
        time->SetTime(m_player->value("time"));
    if (ui::HUDScore* score = stillOpen(m_hudScore))
        score->SetScore(m_player->score());
    if (ui::HUDDirection* direction = stillOpen(m_hudDirection)) {
        direction->SetDistance(m_player->value("distance"));
        const Ogre::Quaternion arrow(m_player->value("dir_w"), m_player->value("dir_x"), m_player->value("dir_y"),
                                     m_player->value("dir_z"));
        // A run without the arrow's values shows it straight, not a zero turn.
        direction->SetDirection(arrow.Norm() > 1e-6f ? arrow : Ogre::Quaternion::IDENTITY);
    }
    if (ui::ReplayBar* bar = stillOpen(m_replayBar))
        bar->SetState(m_player->speed(), m_player->paused(), m_player->finished());
}

bool GameState::HandleWatchingKey(const event::IEvent& event) {
    const auto& key = static_cast<const event::KeyEvent&>(event);
    if (key.key_event_type() == event::KeyEvent::KEY_PRESSED) {
        switch (key.key()) {
        case OIS::KC_SPACE:
            m_player->TogglePause();
            return true;
        case OIS::KC_LEFT:
            m_player->Slower();
            return true;
        case OIS::KC_RIGHT:
            m_player->Faster();
            return true;
        default:
            return false;
        }
    }
    if (key.key_event_type() == event::KeyEvent::KEY_RELEASED && key.key() == OIS::KC_ESCAPE) {
        // Back where a run ends: the mission selection over the main menu.
        if (event::Manager* events = event::Manager::getSingleton())
            events->QueueEvent(new event::DialogEvent(kMissionSelectDialog));
        queueRequest(event::ApplicationStateEvent::POP_STATE, "MainMenu");
        return true;
    }
    return false;
}

void GameState::EndWatching() {
    if (!m_player)
        return;
    // The camera leaves the replay's chassis before it goes.
    m_gameCore->FollowChassis(nullptr);
    m_player.reset();
    close(m_replayBar);
}

} // namespace application
