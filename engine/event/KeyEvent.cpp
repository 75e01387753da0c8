#include "event/KeyEvent.h"

namespace event {

const base::StringHash KeyEvent::kEventType("key_event");

} // namespace event
