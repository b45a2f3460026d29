#pragma once

#include <mutex>

#include "link/transports/hid_device.h"

typedef struct hid_device_ hid_device;

// One device opened through hidapi. hidapi leaves the report identifier 0 out
// of what it reads and wants it in front of what it writes; the link counts
// it in both directions, as the interface says.
class HidapiDevice : public HidDevice {
public:
    // Takes both handles; writer may be null, then reader serves both ways.
    HidapiDevice(hid_device* reader, hid_device* writer);
    ~HidapiDevice() override;
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    // hidapi has no write time-out: a write that returns later than timeoutMs counts as failed.
    bool writeReport(const uint8_t* report, size_t size, uint32_t timeoutMs) override;
    int readReport(uint8_t* report, size_t size, uint32_t timeoutMs) override;

private:
    hid_device* m_reader;
    hid_device* m_writer;
    // hidapi calls on one handle from two threads race on its error text.
    std::mutex m_sharedHandle;
};
