#pragma once

#include <array>
#include <cstdint>

#include "link/transports/hid_device.h"
#include "link/transports/hid_report_io.h"

// The command layer of the USB device: frames go out inside the envelope and
// come back one input report at a time.
class HidFrameChannel {
public:
    static constexpr uint16_t kVendor = 0x4084;
    static constexpr uint16_t kProduct = 0x4357;
    static constexpr uint32_t kWriteTimeoutMs = 100;

    explicit HidFrameChannel(HidBackend& backend) : m_io(backend) {}
    virtual ~HidFrameChannel() = default;

    bool open() { return m_io.open(kVendor, kProduct); }
    void close() { m_io.close(); }
    std::string identity() const { return m_io.identity(); }
    // Wraps the frame in its envelope and writes the reports.
    bool sendFrame(const uint8_t* frame, size_t size);
    // Reads one report into the input buffer; see HidReportIo::readReport.
    int readReport(uint32_t timeoutMs);
    const uint8_t* input() const { return m_input.data(); }

private:
    HidReportIo m_io;
    std::array<uint8_t, HidDevice::kReportSize> m_input{};
};
