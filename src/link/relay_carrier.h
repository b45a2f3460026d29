#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

#include "link/transport.h"

// A carrier to the device through a relay server. Each question to the server
// is asked once, with its wait; how often to ask and what to make of the
// answers is the link's.
class RelayCarrier : public Transport {
public:
    // What the server says about a device.
    struct Entry {
        bool valid = false;
        uint32_t boundClient = 0;  // 0 while no client holds it
        int64_t boundAt = 0;       // when it was bound, seconds since the epoch
        bool ours = false;         // a device of this kind
    };
    // Waits ms on the link's clock; false when the link is stopping.
    using Wait = std::function<bool(uint32_t ms)>;

    // One lookup of the server's name; false when it did not resolve or wait said stop.
    virtual bool lookUpServer(const Wait& wait) = 0;
    // A fresh socket for a new exchange; the reading of the last one ends.
    virtual void reopen() = 0;
    virtual std::optional<uint16_t> queryStatus() = 0;
    virtual std::optional<Entry> deviceInfo(uint32_t deviceId, uint32_t waitMs) = 0;
    // The entry last answered becomes the one frames travel by.
    virtual void adopt() = 0;
    // Opens the adopted entry's channel; true when the server acknowledged it.
    virtual bool openChannel() = 0;
    // Starts reading the device's frames, unless stop is requested.
    virtual void startReceiving(const std::stop_token& stop) = 0;
    // What the device must accept: bind number, extra word and bound client.
    virtual std::vector<uint8_t> ticket() const = 0;
    // This client as the server's entries name it.
    virtual uint32_t clientNumber() const = 0;
};
