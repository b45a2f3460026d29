#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One way of carrying frames to the device (USB HID, serial, network...).
class Transport {
public:
    virtual ~Transport() = default;

    // Searches until the device answers a read of parameter 0 (link-alive set)
    // or the link run flag is cleared.
    virtual void connect() = 0;
    // Hands one whole frame over; a failure clears the link-alive flag.
    virtual void sendFrame(const uint8_t* frame, size_t size) = 0;
    virtual bool isConnected() const = 0;
    virtual void close() = 0;
    // Where the device was found (a port, a USB path and serial number), so
    // that a device that comes back can be told from another one; empty when
    // the transport cannot tell.
    virtual std::string identity() const { return {}; }
};
