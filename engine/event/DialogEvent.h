#pragma once

#include "event/IEvent.h"

namespace event {

// Asks the UI manager to open or close the dialog of the given type.
class DW_API DialogEvent : public IEvent {
public:
    static const base::StringHash kEventType;

    explicit DialogEvent(base::StringHash type) : m_type(type) {}

    const base::StringHash& event_type() const override { return kEventType; }
    const base::StringHash& GetType() const { return m_type; }

private:
    base::StringHash m_type;
};

} // namespace event
