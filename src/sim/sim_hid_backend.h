#pragma once

#include <vector>

#include "link/transports/hid_backend.h"

class Clock;
class SimDevice;

// The simulated device as it appears on USB: enumerated with the real vendor
// and product identifiers while present, plus any other devices a test adds.
class SimHidBackend : public HidBackend {
public:
    SimHidBackend(SimDevice& device, const Clock& clock) : m_device(device), m_clock(clock) {}

    // Another device on the bus; it opens but never answers.
    void addOtherDevice(uint16_t vendor, uint16_t product);

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;

    static constexpr const char* kPath = "sim:qx7";

private:
    SimDevice& m_device;
    const Clock& m_clock;
    std::vector<HidDeviceInfo> m_others;
};
