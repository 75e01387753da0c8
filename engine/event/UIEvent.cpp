#include "event/UIEvent.h"

namespace event {

const base::StringHash UIEvent::kEventType("ui_event");

} // namespace event
