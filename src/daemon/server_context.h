#pragma once

#include <atomic>
#include <cstddef>

#include "daemon/server_limits.h"

class ApiRouter;
class EventHub;
class RequestGuard;

// What every connection of the server shares; all of it lives on the server's thread.
struct ServerContext {
    ApiRouter& router;
    const RequestGuard& guard;
    EventHub& hub;
    ServerLimits limits;
    std::atomic<size_t> connections{0};
};
