#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One opened HID device, as thin as the platform's HID access allows. Reports
// are 65 bytes with the report identifier (0) in byte 0 in both directions.
class HidDevice {
public:
    static constexpr size_t kReportSize = 65;

    virtual ~HidDevice() = default;
    // False on failure or when the write did not complete within timeoutMs.
    virtual bool writeReport(const uint8_t* report, size_t size, uint32_t timeoutMs) = 0;
    // The number of bytes read with the report identifier counted, 0 when
    // nothing arrived within timeoutMs, -1 when the device failed or is gone.
    virtual int readReport(uint8_t* report, size_t size, uint32_t timeoutMs) = 0;
};

struct HidDeviceInfo {
    std::string path;
    uint16_t vendor = 0;
    uint16_t product = 0;
    std::string serial = {};  // the serial number string, empty when the device has none
};
