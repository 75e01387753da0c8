#pragma once

#include <event/ApplicationStateEvent.h>
#include <event/IListener.h>

#include <string>
#include <vector>

// Records the state changes the dialogs ask for, as "push <name>" or "pop <name>".
class StateRequests : public event::IListener {
public:
    const char* Name() override { return "StateRequests"; }
    bool HandleEvent(const event::IEvent& event) override {
        const auto& request = static_cast<const event::ApplicationStateEvent&>(event);
        seen.push_back((request.type() == event::ApplicationStateEvent::PUSH_STATE ? "push " : "pop ") +
                       request.state());
        return false;
    }
    std::vector<std::string> seen;
};
