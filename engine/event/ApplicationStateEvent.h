#pragma once

#include "event/IEvent.h"

#include <string>

namespace event {

// Asks the application to push the named state, or to pop one state or back to the named one.
class DW_API ApplicationStateEvent : public IEvent {
public:
    enum EType { POP_STATE = 1, PUSH_STATE = 2 };

    static const base::StringHash kEventType;

    ApplicationStateEvent(EType type, const std::string& state) : m_type(type), m_state(state) {}

    const base::StringHash& event_type() const override { return kEventType; }
    EType type() const { return m_type; }
    const std::string& state() const { return m_state; }

private:
    EType m_type;
    std::string m_state;
};

} // namespace event
