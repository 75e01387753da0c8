#include "event/PadEvent.h"

namespace event {

const base::StringHash PadEvent::kEventType("pad_event");

} // namespace event
