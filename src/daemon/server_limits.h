#pragma once

#include <chrono>
#include <cstddef>

// What one client may take of the server.
struct ServerLimits {
    size_t connections = 32;
    size_t bodyBytes = 256 * 1024;  // a preset file fits with room to spare
    size_t headerBytes = 8 * 1024;
    size_t headerCount = 64;
    size_t messageBytes = 4096;  // from an event client
    // Unsent to an event client; past that it is dropped. A full read's events
    // (1745 parameters) fit many times over.
    size_t queuedBytes = 4 * 1024 * 1024;
    std::chrono::seconds idle{30};
    std::chrono::milliseconds refusalDelay{250};  // after a wrong or missing token
};
