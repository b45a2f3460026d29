#pragma once

#include <memory>
#include <string>
#include <vector>

#include "link/transports/hid_device.h"

// Finds and opens HID devices: hidapi on a real system, the simulated device
// in tests and in the simulated mode.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    virtual std::vector<HidDeviceInfo> enumerate() = 0;
    virtual std::unique_ptr<HidDevice> open(const std::string& path) = 0;
};
