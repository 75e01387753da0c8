#include "event/DialogEvent.h"

namespace event {

const base::StringHash DialogEvent::kEventType("dialog_event");

} // namespace event
