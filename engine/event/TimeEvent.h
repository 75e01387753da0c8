#pragma once

#include "event/IEvent.h"

namespace event {

class DW_API TimeEvent : public IEvent {
public:
    static const base::StringHash kEventType;

    TimeEvent(double lastTick, double gameTime) : m_lastTick(lastTick), m_gameTime(gameTime) {}

    const base::StringHash& event_type() const override { return kEventType; }
    double last_tick() const { return m_lastTick; }
    double game_time() const { return m_gameTime; }

private:
    double m_lastTick;
    double m_gameTime;
};

} // namespace event
