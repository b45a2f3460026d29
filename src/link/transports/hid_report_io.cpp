#include "link/transports/hid_report_io.h"

#include <algorithm>

#include "link/transports/hid_envelope.h"

namespace {
// Reads wait in short slices so that a close is noticed quickly.
constexpr uint32_t kReadSliceMs = 50;
}  // namespace

HidReportIo::~HidReportIo() {
    close();
}

std::shared_ptr<HidDevice> HidReportIo::device() const {
    std::lock_guard lock(m_mutex);
    return m_device;
}

bool HidReportIo::open(uint16_t vendor, uint16_t product) {
    close();
    if (m_writer.stuck()) return false;
    for (const HidDeviceInfo& info : m_backend.enumerate()) {
        if (info.vendor != vendor || info.product != product) continue;
        std::unique_ptr<HidDevice> opened = m_backend.open(info.path);
        if (!opened) continue;
        std::lock_guard lock(m_mutex);
        m_device = std::move(opened);
        m_identity = info.path + " " + info.serial;
        m_aborted = false;
        return true;
    }
    return false;
}

std::string HidReportIo::identity() const {
    std::lock_guard lock(m_mutex);
    return m_identity;
}

bool HidReportIo::isOpen() const {
    return device() != nullptr;
}

bool HidReportIo::write(const uint8_t* data, size_t size, uint32_t timeoutMs) {
    std::shared_ptr<HidDevice> dev = device();
    if (!dev) return false;
    uint8_t report[HidDevice::kReportSize];
    for (size_t from = 0; from < size; from += HidEnvelope::kReportPayload) {
        if (m_aborted) return false;
        std::fill(std::begin(report), std::end(report), 0);
        size_t n = std::min(HidEnvelope::kReportPayload, size - from);
        std::copy_n(data + from, n, report + 1);
        if (!m_writer.write(dev, report, timeoutMs)) return false;
    }
    return true;
}

int HidReportIo::readReport(uint8_t* report, size_t size, uint32_t timeoutMs) {
    std::shared_ptr<HidDevice> dev = device();
    if (!dev) return -1;
    uint32_t waited = 0;
    do {
        if (m_aborted) return -1;
        uint32_t slice = std::min(kReadSliceMs, timeoutMs - waited);
        int r = dev->readReport(report, size, slice);
        if (r != 0) return r;
        waited += slice;
    } while (waited < timeoutMs);
    return 0;
}

void HidReportIo::close() {
    m_aborted = true;
    std::lock_guard lock(m_mutex);
    m_device.reset();
}
