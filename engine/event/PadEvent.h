#pragma once

#include "event/IEvent.h"

#include <string>

namespace event {

// A game-controller control went down or up: a button, a trigger past its
// half-way mark or a stick half past most of its travel. The control carries
// SDL's game-controller name ("a", "start", "righttrigger", "leftx-").
class DW_API PadEvent : public IEvent {
public:
    static const base::StringHash kEventType;

    PadEvent(std::string control, bool pressed) : m_control(std::move(control)), m_pressed(pressed) {}

    const base::StringHash& event_type() const override { return kEventType; }
    const std::string& control() const { return m_control; }
    bool pressed() const { return m_pressed; }

private:
    std::string m_control;
    bool m_pressed;
};

} // namespace event
