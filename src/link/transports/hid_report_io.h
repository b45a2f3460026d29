#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "link/transports/hid_backend.h"
#include "link/transports/hid_writer.h"

// The I/O mechanics of the USB device: find it by vendor and product, write
// and read 65-byte reports, and give up blocked operations when closed.
class HidReportIo {
public:
    explicit HidReportIo(HidBackend& backend) : m_backend(backend) {}
    virtual ~HidReportIo();

    // Closes what is open, then opens the first device with both identifiers.
    // Fails while an abandoned write has not returned: the device is not usable.
    bool open(uint16_t vendor, uint16_t product);
    bool isOpen() const;
    // The path and serial number of the device opened last.
    std::string identity() const;
    // Sends bytes as consecutive reports of 64 data bytes, each within
    // timeoutMs; a report not written by then is abandoned and the write fails.
    bool write(const uint8_t* data, size_t size, uint32_t timeoutMs);
    // One input report (identifier included): its size, 0 on time-out, -1 on failure or close.
    int readReport(uint8_t* report, size_t size, uint32_t timeoutMs);
    // Makes pending and later reads and writes fail until the next open.
    void close();

private:
    std::shared_ptr<HidDevice> device() const;

    HidBackend& m_backend;
    mutable std::mutex m_mutex;
    std::shared_ptr<HidDevice> m_device;
    std::string m_identity;
    std::atomic<bool> m_aborted{true};
    HidWriter m_writer;
};
