#pragma once

#include <string>
#include <vector>

#include "link/transport.h"

// A carrier over one of the machine's ports (serial, Bluetooth serial):
// which port to try and when is the link's.
class PortCarrier : public Transport {
public:
    // The ports to try now, in order.
    virtual std::vector<std::string> ports() = 0;
    // Closes the open port, then opens this one and starts reading it.
    virtual bool open(const std::string& port) = 0;
};
