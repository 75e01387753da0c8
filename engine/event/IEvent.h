#pragma once

#include "base/Export.h"
#include "base/StringHash.h"

namespace event {

// Base of every event; listeners tell events apart by event_type().
class DW_API IEvent {
public:
    IEvent() = default;
    IEvent(const IEvent&) = default;
    IEvent& operator=(const IEvent&) = default;
    virtual ~IEvent() = default;

    virtual const base::StringHash& event_type() const = 0;
};

} // namespace event
