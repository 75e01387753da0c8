#include "event/ScoreEvent.h"

namespace event {

const base::StringHash ScoreEvent::kEventType("ScoreEvent");

} // namespace event
