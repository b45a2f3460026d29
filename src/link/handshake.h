#pragma once

#include <cstdint>
#include <vector>

class Transport;

// How the link proves the device at the other end of a carrier that has just
// come up. A success leaves the link alive.
class Handshake {
public:
    virtual ~Handshake() = default;
    // On the supervisor thread. The ticket is what the transport holds for the
    // device (the relay's binding); empty elsewhere.
    virtual bool prove(const Transport& carrier, const std::vector<uint8_t>& ticket = {}) = 0;
};
