#include "link/transports/hidapi_device.h"

#include <hidapi.h>

#include <chrono>

HidapiDevice::HidapiDevice(hid_device* reader, hid_device* writer)
    : m_reader(reader), m_writer(writer) {}

HidapiDevice::~HidapiDevice() {
    if (m_writer) hid_close(m_writer);
    hid_close(m_reader);
}

bool HidapiDevice::writeReport(const uint8_t* report, size_t size, uint32_t timeoutMs) {
    if (size != kReportSize || report[0] != 0) return false;
    std::unique_lock<std::mutex> shared;
    if (!m_writer) shared = std::unique_lock(m_sharedHandle);
    auto start = std::chrono::steady_clock::now();
    int written = hid_write(m_writer ? m_writer : m_reader, report, size);
    auto took = std::chrono::steady_clock::now() - start;
    // Backends differ in whether the identifier byte is counted.
    bool whole = written == static_cast<int>(size) || written == static_cast<int>(size) - 1;
    return whole && took <= std::chrono::milliseconds(timeoutMs);
}

int HidapiDevice::readReport(uint8_t* report, size_t size, uint32_t timeoutMs) {
    if (size < 2) return -1;
    std::unique_lock<std::mutex> shared;
    if (!m_writer) shared = std::unique_lock(m_sharedHandle);
    int got = hid_read_timeout(m_reader, report + 1, size - 1, static_cast<int>(timeoutMs));
    if (got < 0) return -1;
    if (got == 0) return 0;
    report[0] = 0;
    return got + 1;
}
