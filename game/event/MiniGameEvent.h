#pragma once

#include "event/IEvent.h"

#include <cstdint>

namespace event {

// A mini-game was won.
class MiniGameEvent : public IEvent {
public:
    static const base::StringHash kEventType;

    enum EGame : std::uint32_t { kBaggage = 0, kCatering = 1, kPump = 2, kRepair = 3 };

    MiniGameEvent(std::uint32_t first, std::uint32_t game) : m_first(first), m_game(game) {}

    const base::StringHash& event_type() const override { return kEventType; }
    std::uint32_t first() const { return m_first; }
    std::uint32_t game() const { return m_game; }

private:
    std::uint32_t m_first;
    std::uint32_t m_game;
};

} // namespace event
