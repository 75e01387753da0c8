#pragma once

#include "event/IEvent.h"

namespace event {

class DW_API UIEvent : public IEvent {
public:
    enum EEventType { TOGGLE_GUI = 0 };

    static const base::StringHash kEventType;

    explicit UIEvent(EEventType type) : m_type(type) {}

    const base::StringHash& event_type() const override { return kEventType; }
    const EEventType& type() const { return m_type; }

private:
    EEventType m_type;
};

} // namespace event
