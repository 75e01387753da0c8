#pragma once

#include "application/IApplicationState.h"

#include <event/IListener.h>
#include <event/KeyEvent.h>
#include <event/MiniGameEvent.h>

#include <memory>

namespace sound {
class Sound;
}

namespace application {

// The shape the four mini-games share: key events reach the game only while
// it is entered and not paused, the result goes out once per entry, and a
// game with its result sent ignores further updates and keys until the
// mission data pops it.
class MiniGameState : public IApplicationState, public event::IListener {
public:
    MiniGameState(const MiniGameState&) = delete;
    MiniGameState& operator=(const MiniGameState&) = delete;
    ~MiniGameState() override;

    void Enter() final;
    void Exit() final;
    bool Pause() final;
    void Resume() final;
    void Update(double seconds) final;

    const char* Name() override { return m_name; }
    // Never consumes the event.
    bool HandleEvent(const event::IEvent& event) final;

    bool IsListening() const { return m_listening; }
    bool ResultSent() const { return m_resultSent; }

protected:
    explicit MiniGameState(const char* name);

    // The game's own parts of the state operations.
    virtual void OnEnter() = 0;
    virtual void OnExit() = 0;
    virtual void OnPause() {}
    virtual void OnResume() {}
    virtual void OnUpdate(double seconds) = 0;
    virtual void OnKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) = 0;

    // Queues the mini-game event for the game, once per entry.
    void SendResult(event::MiniGameEvent::EGame game);
    // Queues points for the mission score, cut toward zero; nothing below zero.
    static void SendScore(double points);
    // A looping effect, loaded but not playing.
    static std::unique_ptr<sound::Sound> MakeSound(const char* name, const char* file);
    // Leaves the game without a result (its time ran out).
    static void PopSelf();

private:
    void StartListening();
    void StopListening();

    const char* m_name;
    bool m_listening = false;
    bool m_resultSent = false;
};

} // namespace application
