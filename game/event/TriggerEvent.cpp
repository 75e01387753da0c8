#include "event/TriggerEvent.h"

namespace event {

const base::StringHash TriggerEvent::kEventType("TriggerEvent");

} // namespace event
