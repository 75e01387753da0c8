#include "event/ApplicationStateEvent.h"

namespace event {

const base::StringHash ApplicationStateEvent::kEventType("application_state_event");

} // namespace event
