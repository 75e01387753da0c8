#pragma once

#include "event/IEvent.h"

namespace event {

class DW_API MouseEvent : public IEvent {
public:
    enum EMouseEventList { MOUSE_PRESSED = 0, MOUSE_RELEASED = 1, MOUSE_MOVED = 2 };
    enum EMouseButton { MOUSE_BUTTON_NONE = -1, MOUSE_BUTTON_LEFT = 0, MOUSE_BUTTON_RIGHT = 1 };

    // Absolute position in window pixels and wheel position, then the change since the last event.
    struct SMouseState {
        float abs_x = 0.f;
        float abs_y = 0.f;
        float abs_z = 0.f;
        float rel_x = 0.f;
        float rel_y = 0.f;
        float rel_z = 0.f;
    };

    static const base::StringHash kEventType;

    MouseEvent(EMouseEventList mouseEvent, EMouseButton button, SMouseState state)
        : m_mouseEvent(mouseEvent), m_button(button), m_state(state) {}

    const base::StringHash& event_type() const override { return kEventType; }
    const EMouseEventList& mouse_event() const { return m_mouseEvent; }
    const EMouseButton& mouse_button() const { return m_button; }
    const SMouseState& mouse_state() const { return m_state; }

private:
    EMouseEventList m_mouseEvent;
    EMouseButton m_button;
    SMouseState m_state;
};

} // namespace event
