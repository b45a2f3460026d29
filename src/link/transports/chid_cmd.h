#pragma once

#include <array>
#include <cstdint>

#include "chid_io.h"
#include "hid_device.h"

// The command layer of the USB device: frames go out inside the envelope and
// come back one input report at a time.
class CHidCmd {
public:
    static constexpr uint16_t kVendor = 0x4084;
    static constexpr uint16_t kProduct = 0x4357;
    static constexpr uint32_t kWriteTimeoutMs = 100;

    explicit CHidCmd(HidBackend& backend) : m_io(backend) {}
    virtual ~CHidCmd() = default;

    bool open() { return m_io.open(kVendor, kProduct); }
    void close() { m_io.close(); }
    // Wraps the frame in its envelope and writes the reports.
    bool sendFrame(const uint8_t* frame, size_t size);
    // Reads one report into the input buffer; see CHidIO::readReport.
    int readReport(uint32_t timeoutMs);
    const uint8_t* input() const { return m_input.data(); }

private:
    CHidIO m_io;
    std::array<uint8_t, HidDevice::kReportSize> m_input{};
};
