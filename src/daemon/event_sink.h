#pragma once

#include <memory>
#include <string>

// A client that takes the event texts (a WebSocket on TCP or a Unix socket).
class EventSink {
public:
    virtual ~EventSink() = default;
    // On the server's thread; a client that cannot keep up is dropped.
    virtual void send(std::shared_ptr<const std::string> text) = 0;
};
