#pragma once

#include "event/IEvent.h"

namespace event {

// The parking precision, in percent, confirmed at a mini-game trigger.
class PerfectionEvent : public IEvent {
public:
    static const base::StringHash kEventType;

    explicit PerfectionEvent(float perfection) : m_perfection(perfection) {}

    const base::StringHash& event_type() const override { return kEventType; }
    float perfection() const { return m_perfection; }

private:
    float m_perfection;
};

} // namespace event
