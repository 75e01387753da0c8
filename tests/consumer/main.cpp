// Uses the engine as an outside program would: hashes a text and fires one of
// the engine's events through its event manager. Exit code 0 when both behave.
#include <duskwright/base/StringHash.h>
#include <duskwright/event/IListener.h>
#include <duskwright/event/KeyEvent.h>
#include <duskwright/event/Manager.h>

#include <cstdio>

namespace {

class KeyCounter : public event::IListener {
public:
    const char* Name() override { return "KeyCounter"; }
    bool HandleEvent(const event::IEvent& event) override {
        if (event.event_type() == event::KeyEvent::kEventType &&
            static_cast<const event::KeyEvent&>(event).key() == OIS::KC_SPACE)
            ++m_spaces;
        return false;
    }
    int m_spaces = 0;
};

} // namespace

int main() {
    const base::StringHash hash("key_event");
    if (hash.hash() != 0x16502A65u || !(hash == event::KeyEvent::kEventType)) {
        std::fprintf(stderr, "consumer: \"key_event\" hashes to %08X\n", static_cast<unsigned>(hash.hash()));
        return 1;
    }

    event::Manager events;
    KeyCounter counter;
    events.AddListener(counter, event::KeyEvent::kEventType);
    events.Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE));
    events.Fire(event::KeyEvent(event::KeyEvent::KEY_RELEASED, OIS::KC_ESCAPE));
    events.RemoveListener(counter, event::KeyEvent::kEventType);
    events.Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_SPACE));
    if (event::Manager::getSingleton() != &events || counter.m_spaces != 1) {
        std::fprintf(stderr, "consumer: the listener saw %d space presses instead of 1\n", counter.m_spaces);
        return 1;
    }
    std::printf("consumer: hashed \"key_event\" to %08X and received 1 key event\n", static_cast<unsigned>(hash.hash()));
    return 0;
}
