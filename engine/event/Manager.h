#pragma once

#include "base/Export.h"
#include "base/Singleton.h"
#include "base/StringHash.h"

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

namespace event {

class IEvent;
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
    bool Fire(const IEvent& event) const;
    bool QueueEvent(const IEvent* event);
    bool AbortEvent(base::StringHash type, bool allOfType);
    bool Tick();

private:
    using ListenerList = std::vector<IListener*>;

    void deliver(const IEvent& event) const;
    void compactLists() const;

    bool hasType(const base::StringHash& type) const;
    void insertType(const base::StringHash& type);
    void eraseType(const base::StringHash& type);

    // Kept sorted by hash: a flat ordered set makes the "nobody listens" check cheap.
    std::vector<base::StringHash> m_eventTypes;
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
