#pragma once

#include "application/FrameThrottle.h"

#include <base/Singleton.h>
#include <event/IListener.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace Ogre {
class Timer;
}
namespace base {
class Config;
class Statistics;
class UserData;
}
namespace display {
class Core;
}
namespace event {
class Manager;
}
namespace input {
class Bindings;
class Handler;
}
namespace ui {
class Manager;
}

namespace application {

class IApplicationState;

// The application object: creates the engine services in order, runs the
// main loop and owns the stack of application states.
class Main : public base::Singleton<Main>, public event::IListener {
public:
    Main();
    virtual ~Main();

    bool Init();
    void Run();
    // Runs every pass at `microseconds` of game time as fast as the machine
    // allows, drawing every `drawEvery`-th pass; zero restores the clock.
    void SetFixedStep(double microseconds, unsigned int drawEvery);
    // Called after every pass with its game time in seconds (the autopilot's turn).
    void SetPassObserver(std::function<void(double)> observer) { m_passObserver = std::move(observer); }
    // Ends the main loop after the current pass.
    void Quit() { m_running = 2; }
    // Frames drawn since the start.
    unsigned long frames_drawn() const { return m_framesDrawn; }
    // One pass of the main loop, given the iteration's duration.
    void RunIteration(double microseconds);

    void AddState(const std::string& name, IApplicationState* state);
    // True when `state` is the one filed under `name`.
    bool HasState(const std::string& name, const IApplicationState* state) const {
        auto it = m_states.find(name);
        return it != m_states.end() && it->second == state;
    }
    void ChangeState(const std::string& name);
    bool PushState(const std::string& name);
    void PopState();

    const char* Name() override { return "AppMain"; }
    bool HandleEvent(const event::IEvent& event) override;

    // The render core's start-up failed or the window went away: the reason, for the player.
    const std::string& failure() const { return m_failure; }

    bool IsRunning() const { return m_running == 1; }
    // The loop has been told to end (Quit, or the last state popped).
    bool HasEnded() const { return m_running == 2; }
    IApplicationState* CurrentState() const { return m_stateStack.empty() ? nullptr : m_stateStack.back(); }
    size_t StackSize() const { return m_stateStack.size(); }

private:
    bool SetupResources();

    base::Config* m_config = nullptr;
    base::UserData* m_userData = nullptr;
    std::unique_ptr<base::Statistics> m_statistics;
    display::Core* m_display = nullptr;
    input::Handler* m_input = nullptr;
    // What keys and pad controls mean; read from the settings at start.
    std::unique_ptr<input::Bindings> m_bindings;
    ui::Manager* m_ui = nullptr;
    event::Manager* m_events = nullptr;
    int m_running = 0;
    Ogre::Timer* m_timer = nullptr;
    std::deque<IApplicationState*> m_stateStack;
    std::map<std::string, IApplicationState*> m_states;
    FrameThrottle m_throttle;
    double m_fixedStep = 0.0;
    unsigned int m_drawEvery = 1;
    unsigned long m_passes = 0;
    unsigned long m_framesDrawn = 0;
    std::function<void(double)> m_passObserver;
    std::string m_failure;
};

} // namespace application
