#pragma once

namespace application {

// One screen or mode of the game. The application keeps states in a registry
// (which owns them) and a stack whose top is the current state.
class IApplicationState {
public:
    virtual ~IApplicationState() = default;

    // The state deletes itself.
    virtual void Destroy() { delete this; }
    // Called once when the state is registered; false keeps it out of the registry.
    virtual bool Init() { return true; }
    virtual void Enter() {}
    virtual void Exit() {}
    // Another state is about to be pushed on top; false refuses the push.
    virtual bool Pause() { return false; }
    virtual void Resume() {}
    virtual void Update(double seconds) {}
};

} // namespace application
