#pragma once

#include "event/IEvent.h"

namespace game { class Trigger; }

namespace event {

// A trigger was reached; the trigger is observed, not owned.
class TriggerEvent : public IEvent {
public:
    static const base::StringHash kEventType;

    explicit TriggerEvent(game::Trigger* trigger) : m_trigger(trigger) {}

    const base::StringHash& event_type() const override { return kEventType; }
    game::Trigger* trigger() const { return m_trigger; }

private:
    game::Trigger* m_trigger;
};

} // namespace event
