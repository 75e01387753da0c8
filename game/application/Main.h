#pragma once

#include "application/FrameThrottle.h"

#include <base/Singleton.h>
#include <event/IListener.h>

#include <deque>
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
    IApplicationState* CurrentState() const { return m_stateStack.empty() ? nullptr : m_stateStack.back(); }
    size_t StackSize() const { return m_stateStack.size(); }

private:
    bool SetupResources();

    base::Config* m_config = nullptr;
    base::UserData* m_userData = nullptr;
    std::unique_ptr<base::Statistics> m_statistics;
    display::Core* m_display = nullptr;
    input::Handler* m_input = nullptr;
    ui::Manager* m_ui = nullptr;
    event::Manager* m_events = nullptr;
    int m_running = 0;
    Ogre::Timer* m_timer = nullptr;
    std::deque<IApplicationState*> m_stateStack;
    std::map<std::string, IApplicationState*> m_states;
    FrameThrottle m_throttle;
    std::string m_failure;
};

} // namespace application
