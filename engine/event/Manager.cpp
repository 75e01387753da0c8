#include "event/Manager.h"

#include "event/IEvent.h"
#include "event/IListener.h"

#include <algorithm>

DW_SINGLETON_DEFINE(event::Manager)

namespace event {

const uint16_t Manager::kNumEventQueues = 2;

Manager::Manager() = default;

Manager::~Manager() {
    for (auto& queue : m_queues) {
        for (const IEvent* ev : queue)
            delete ev;
        queue.clear();
    }
    m_listeners.clear();
    m_eventTypes.clear();
    m_typeBits = 0;
}

bool Manager::hasType(const base::StringHash& type) const {
    if ((m_typeBits & typeBit(type)) == 0)
        return false;
    auto it = std::lower_bound(m_eventTypes.begin(), m_eventTypes.end(), type);
    return it != m_eventTypes.end() && *it == type;
}

void Manager::insertType(const base::StringHash& type) {
    auto it = std::lower_bound(m_eventTypes.begin(), m_eventTypes.end(), type);
    if (it == m_eventTypes.end() || *it != type)
        m_eventTypes.insert(it, type);
    m_typeBits |= typeBit(type);
}

void Manager::eraseType(const base::StringHash& type) {
    auto it = std::lower_bound(m_eventTypes.begin(), m_eventTypes.end(), type);
    if (it == m_eventTypes.end() || *it != type)
        return;
    m_eventTypes.erase(it);
    m_typeBits = 0;
    for (const base::StringHash& remaining : m_eventTypes)
        m_typeBits |= typeBit(remaining);
}

bool Manager::AddListener(IListener& listener, const base::StringHash& type) {
    insertType(type);
    ListenerList& list = m_listeners[type.hash()];
    if (std::find(list.begin(), list.end(), &listener) == list.end())
        list.push_back(&listener);
    return true;
}

bool Manager::RemoveListener(IListener& listener, const base::StringHash& type) {
    auto entry = m_listeners.find(type.hash());
    if (entry == m_listeners.end())
        return false;
    ListenerList& list = entry->second;
    auto it = std::find(list.begin(), list.end(), &listener);
    if (it == list.end())
        return false;

    if (m_walkDepth > 0) {
        *it = nullptr;
        m_needsCompaction = true;
        if (std::all_of(list.begin(), list.end(), [](IListener* l) { return l == nullptr; }))
            eraseType(type);
    } else {
        list.erase(it);
        if (list.empty()) {
            m_listeners.erase(entry);
            eraseType(type);
        }
    }
    return true;
}

void Manager::deliver(const IEvent& event) const {
    auto entry = m_listeners.find(event.event_type().hash());
    if (entry == m_listeners.end())
        return;

    // Indexing (not iterators) keeps the walk valid when listeners are added meanwhile.
    const ListenerList& list = entry->second;
    ++m_walkDepth;
    for (size_t i = 0; i < list.size(); ++i) {
        IListener* listener = list[i];
        if (listener && listener->HandleEvent(event))
            break;
    }
    if (--m_walkDepth == 0 && m_needsCompaction)
        compactLists();
}

void Manager::compactLists() const {
    m_needsCompaction = false;
    for (auto it = m_listeners.begin(); it != m_listeners.end();) {
        ListenerList& list = it->second;
        list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
        it = list.empty() ? m_listeners.erase(it) : std::next(it);
    }
}

void Manager::fireListened(const IEvent& event) const {
    if (hasType(event.event_type()))
        deliver(event);
}

bool Manager::QueueEvent(const IEvent* event) {
    if (!event)
        return true;
    if (!hasType(event->event_type())) {
        delete event;
        return true;
    }
    m_queues[m_activeQueue].push_back(event);
    return true;
}

bool Manager::AbortEvent(base::StringHash type, bool allOfType) {
    if (!hasType(type) || !allOfType)
        return true;
    auto& queue = m_queues[m_activeQueue];
    auto keep = std::stable_partition(queue.begin(), queue.end(), [&](const IEvent* ev) {
        return ev->event_type() != type;
    });
    for (auto it = keep; it != queue.end(); ++it)
        delete *it;
    queue.erase(keep, queue.end());
    return true;
}

bool Manager::Tick() {
    const uint16_t current = m_activeQueue;
    m_activeQueue = static_cast<uint16_t>((current + 1) % kNumEventQueues);

    auto& queue = m_queues[current];
    while (!queue.empty()) {
        const IEvent* event = queue.front();
        deliver(*event);
        queue.pop_front();
        delete event;
    }
    return true;
}

} // namespace event
