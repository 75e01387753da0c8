#include "application/GameState.h"

#include "application/Main.h"
#include "event/MissionEndedEvent.h"
#include "game/GameCore.h"
#include "game/MissionData.h"
#include "ui/HUDDirection.h"
#include "ui/HUDScore.h"
#include "ui/HUDSpeed.h"
#include "ui/HUDTime.h"
#include "ui/RadioMessage.h"

#include <base/StartupTrace.h>
#include <event/ApplicationStateEvent.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <game/Vehicle.h>
#include <sound/ESoundType.h>
#include <sound/Sound.h>
#include <ui/Manager.h>

#include <algorithm>

namespace application {

const double GameState::kMaxFrameSeconds = 0.1;

namespace {
const base::StringHash kMissionEndDialog("MissionEnd");

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

GameState::GameState() = default;

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
    return true;
}

void GameState::Enter() {
    m_missionEnded = false;
    m_moodSound->play();
    m_music->play();
    m_gameCore->StartMission();

    game::MissionData* mission = m_gameCore->mission_data();
    if (!mission || !mission->IsPlayable()) {
        // Nothing to play: back to the menu with a word to the player.
        if (ui::Manager::getSingleton())
            new ui::RadioMessage("#{msg_mission_unavailable}");
        queueRequest(event::ApplicationStateEvent::POP_STATE, "");
    } else {
        OpenHUD(mission->mission_number() != -1);
    }
    ListenForKeys(true);
    ListenForMissionEnd(true);
    showPointer(false);
}

void GameState::Exit() {
    m_moodSound->stop();
    m_music->stop();
    CloseHUD();
    m_gameCore->ClearMission();
    m_gameCore->SetPaused(false);
    ListenForKeys(false);
    ListenForMissionEnd(false);
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
    m_gameCore->Update(std::clamp(seconds, 0.0, kMaxFrameSeconds));

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
        if (game::Vehicle* vehicle = m_gameCore->current_vehicle())
            vehicle->Activate(false);
    }
    return false;
}

bool GameState::HandleKey(const event::IEvent& event) {
    const auto& key = static_cast<const event::KeyEvent&>(event);
    if (key.key_event_type() == event::KeyEvent::KEY_PRESSED && key.key() == OIS::KC_V) {
        // A finished mission keeps its vehicles still.
        if (!m_missionEnded)
            m_gameCore->NextVehicle();
        return true;
    }
    if (key.key_event_type() == event::KeyEvent::KEY_PRESSED && key.key() == OIS::KC_R) {
        // Back on the wheels where it stands, for an overturned or wedged vehicle.
        game::Vehicle* vehicle = m_gameCore->current_vehicle();
        if (vehicle && !m_missionEnded)
            vehicle->Recover();
        return true;
    }
    if (key.key_event_type() == event::KeyEvent::KEY_RELEASED && key.key() == OIS::KC_ESCAPE) {
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

} // namespace application
