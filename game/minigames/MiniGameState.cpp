#include "minigames/MiniGameState.h"

#include "application/Main.h"
#include "game/GameControls.h"

#include <event/Manager.h>
#include <event/ScoreEvent.h>
#include <sound/Sound.h>

#include <cstdint>
#include <limits>

namespace application {

namespace {
// Everything a mini-game listens to, added and removed together.
const base::StringHash* const kListenedEvents[] = {&event::KeyEvent::kEventType};
} // namespace

MiniGameState::MiniGameState(const char* name) : m_name(name) {}

MiniGameState::~MiniGameState() {
    StopListening();
}

void MiniGameState::StartListening() {
    event::Manager* events = event::Manager::getSingleton();
    if (m_listening || !events)
        return;
    for (const base::StringHash* type : kListenedEvents)
        events->AddListener(*this, *type);
    m_listening = true;
}

void MiniGameState::StopListening() {
    event::Manager* events = event::Manager::getSingleton();
    if (!m_listening || !events)
        return;
    for (const base::StringHash* type : kListenedEvents)
        events->RemoveListener(*this, *type);
    m_listening = false;
}

void MiniGameState::Enter() {
    m_resultSent = false;
    OnEnter();
    StartListening();
}

void MiniGameState::Exit() {
    OnExit();
    StopListening();
}

bool MiniGameState::Pause() {
    StopListening();
    OnPause();
    return true;
}

void MiniGameState::Resume() {
    StartListening();
    OnResume();
}

void MiniGameState::Update(double seconds) {
    if (!m_resultSent)
        OnUpdate(seconds);
}

bool MiniGameState::HandleEvent(const event::IEvent& event) {
    if (!m_resultSent && event.event_type() == event::KeyEvent::kEventType) {
        const auto& key = static_cast<const event::KeyEvent&>(event);
        OnKey(key.key_event_type(), static_cast<OIS::KeyCode>(game::GameControls::MiniGameKey(key.key())));
    }
    return false;
}

void MiniGameState::SendResult(event::MiniGameEvent::EGame game) {
    if (m_resultSent)
        return;
    m_resultSent = true;
    if (event::Manager* events = event::Manager::getSingleton())
        events->QueueEvent(new event::MiniGameEvent(0, game));
}

void MiniGameState::SendScore(double points) {
    std::uint32_t value = 0;
    if (points >= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))
        value = std::numeric_limits<std::uint32_t>::max();
    else if (points > 0.0)
        value = static_cast<std::uint32_t>(points);
    if (event::Manager* events = event::Manager::getSingleton())
        events->QueueEvent(new event::ScoreEvent(value, event::ScoreEvent::kIncrement));
}

std::unique_ptr<sound::Sound> MiniGameState::MakeSound(const char* name, const char* file) {
    const bool stream = false;
    const bool loop = true;
    const bool prebuffer = false;
    return std::make_unique<sound::Sound>(sound::kSoundEffect, name, file, stream, loop, prebuffer);
}

void MiniGameState::PopSelf() {
    if (Main* app = Main::getSingleton())
        app->PopState();
}

} // namespace application
