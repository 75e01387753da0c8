#pragma once

#include "event/IEvent.h"

#include <cstdint>

namespace event {

// Points for the mission score: an increment to add, or the new total to show.
class ScoreEvent : public IEvent {
public:
    static const base::StringHash kEventType;

    enum EKind : std::uint32_t { kIncrement = 0, kTotal = 1 };

    ScoreEvent(std::uint32_t value, std::uint32_t kind) : m_value(value), m_kind(kind) {}

    const base::StringHash& event_type() const override { return kEventType; }
    std::uint32_t value() const { return m_value; }
    std::uint32_t kind() const { return m_kind; }

private:
    std::uint32_t m_value;
    std::uint32_t m_kind;
};

} // namespace event
