#include "event/TimeEvent.h"

namespace event {

const base::StringHash TimeEvent::kEventType("time_event");

} // namespace event
