#include "daemon/event_hub.h"

#include <algorithm>

void EventHub::add(const std::shared_ptr<EventSink>& sink) {
    prune();
    m_sinks.push_back(sink);
}

void EventHub::broadcast(const std::string& text) {
    auto shared = std::make_shared<const std::string>(text);
    bool gone = false;
    for (const auto& weak : m_sinks) {
        if (auto sink = weak.lock())
            sink->send(shared);
        else
            gone = true;
    }
    if (gone) prune();
}

size_t EventHub::count() {
    prune();
    return m_sinks.size();
}

void EventHub::prune() {
    std::erase_if(m_sinks, [](const std::weak_ptr<EventSink>& w) { return w.expired(); });
}
