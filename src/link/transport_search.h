#pragma once

class Handshake;

// How the link looks for its device over one kind of carrier: when to ask
// again, which candidate to open, what to wait for. The carrier only asks
// and carries.
class TransportSearch {
public:
    virtual ~TransportSearch() = default;
    // Searches until a carrier is up and the handshake proved the device on
    // it, or the link stops or turns to another transport.
    virtual void connect(Handshake& handshake) = 0;
};
