#pragma once

#include "link/transport.h"

// A carrier to the one device on a local bus (USB HID): it opens whatever
// device of ours is there; when to try again is the link's.
class DeviceCarrier : public Transport {
public:
    // Opens the device and starts reading it; false when none is there.
    virtual bool open() = 0;
};
