#pragma once

#include "event/IEvent.h"

#include <cstdint>

namespace event {

// A mission was completed with its final score.
class MissionEndedEvent : public IEvent {
public:
    static const base::StringHash kEventType;

    MissionEndedEvent(std::int32_t mission, std::uint32_t score, std::uint32_t flag = 0)
        : m_mission(mission), m_score(score), m_flag(flag) {}

    const base::StringHash& event_type() const override { return kEventType; }
    std::int32_t mission() const { return m_mission; }
    std::uint32_t score() const { return m_score; }
    std::uint32_t flag() const { return m_flag; }

private:
    std::int32_t m_mission;
    std::uint32_t m_score;
    std::uint32_t m_flag;
};

} // namespace event
