#include "event/MissionEndedEvent.h"

namespace event {

const base::StringHash MissionEndedEvent::kEventType("MissionEndedEvent");

} // namespace event
