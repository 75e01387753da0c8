#pragma once

#include "event/IEvent.h"

#include <OISKeyboard.h>

namespace event {

class DW_API KeyEvent : public IEvent {
public:
    enum EKeyEventType { KEY_PRESSED = 0, KEY_RELEASED = 1 };

    static const base::StringHash kEventType;

    KeyEvent(EKeyEventType type, OIS::KeyCode key) : m_type(type), m_key(key) {}

    const base::StringHash& event_type() const override { return kEventType; }
    const EKeyEventType& key_event_type() const { return m_type; }
    const OIS::KeyCode& key() const { return m_key; }

private:
    EKeyEventType m_type;
    OIS::KeyCode m_key;
};

} // namespace event
