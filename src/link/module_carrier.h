#pragma once

#include <cstdint>
#include <stop_token>
#include <vector>

#include "link/transport.h"

// A carrier to the Wi-Fi modules on the network. It asks the network and
// carries frames; which module to open and when to ask again is the link's.
class ModuleCarrier : public Transport {
public:
    // One round of asking the network, while no module is open: the module
    // addresses believed since the last round, each once. A stop ends it early.
    virtual std::vector<uint32_t> discover(const std::stop_token& stop) = 0;
    // Opens the frame stream to the module at ip; frames travel in envelopes
    // that name deviceId. Nothing opens once stop is requested.
    virtual bool open(uint32_t ip, uint32_t deviceId, const std::stop_token& stop) = 0;
    // The device behind the open module proved to be deviceId: frames name it,
    // and the queued module commands, which carry passwords, may go to it.
    virtual void trust(uint32_t deviceId) = 0;
    // Closes the module's stream and lets go of the network.
    virtual void hangUp() = 0;
};
