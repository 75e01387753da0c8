#pragma once

#include "base/Export.h"

namespace event {

class IEvent;

// Receiver of events. HandleEvent returns true to consume the event.
class DW_API IListener {
public:
    virtual ~IListener() = default;
    virtual const char* Name() = 0;
    virtual bool HandleEvent(const IEvent& event) = 0;
};

} // namespace event
