#include "event/MiniGameEvent.h"

namespace event {

const base::StringHash MiniGameEvent::kEventType("MiniGameEvent");

} // namespace event
