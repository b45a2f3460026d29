#pragma once

#include <memory>
#include <string>
#include <vector>

#include "daemon/event_sink.h"

// The event clients; one text is shared by all of them. Server thread only.
class EventHub {
public:
    void add(const std::shared_ptr<EventSink>& sink);
    void broadcast(const std::string& text);
    size_t count();

private:
    void prune();

    std::vector<std::weak_ptr<EventSink>> m_sinks;
};
