#include "event/MouseEvent.h"

namespace event {

const base::StringHash MouseEvent::kEventType("mouse_event");

} // namespace event
