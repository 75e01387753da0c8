#pragma once

#include "base/Export.h"
#include "base/Singleton.h"
#include "base/StringHash.h"
#include "event/IEvent.h"

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

namespace event {

class IListener;

// Delivers events to listeners of their type, at once (Fire) or at the next
// Tick (QueueEvent). Listeners run in registration order until one consumes.
class DW_API Manager : public base::Singleton<Manager> {
public:
    static const uint16_t kNumEventQueues;

    Manager();
    virtual ~Manager();

    bool AddListener(IListener& listener, const base::StringHash& type);
    bool RemoveListener(IListener& listener, const base::StringHash& type);
    // Inline so that events nobody listens to cost no call into the library.
    bool Fire(const IEvent& event) const {
        if (m_typeBits & typeBit(event.event_type()))
            fireListened(event);
        return true;
    }
    bool QueueEvent(const IEvent* event);
    bool AbortEvent(base::StringHash type, bool allOfType);
    bool Tick();

private:
    static uint64_t typeBit(const base::StringHash& type) { return uint64_t(1) << (type.hash() & 63u); }
    void fireListened(const IEvent& event) const;

    using ListenerList = std::vector<IListener*>;

    void deliver(const IEvent& event) const;
    void compactLists() const;

    bool hasType(const base::StringHash& type) const;
    void insertType(const base::StringHash& type);
    void eraseType(const base::StringHash& type);

    // Kept sorted by hash: a flat ordered set makes the "nobody listens" check cheap.
    std::vector<base::StringHash> m_eventTypes;
    // One bit per (hash mod 64) of the listened types: most events nobody
    // listens to are turned away without searching m_eventTypes.
    uint64_t m_typeBits = 0;
    std::deque<const IEvent*> m_queues[2];
    // Removed listeners are nulled while a delivery walks the lists and
    // erased once the outermost walk ends, so any removal during delivery is safe.
    mutable std::map<uint32_t, ListenerList> m_listeners;
    uint16_t m_activeQueue = 0;
    mutable int m_walkDepth = 0;
    mutable bool m_needsCompaction = false;
};

} // namespace event

DW_SINGLETON_DECLARE(event::Manager)
