#include "event/PerfectionEvent.h"

namespace event {

const base::StringHash PerfectionEvent::kEventType("PerfectionEvent");

} // namespace event
