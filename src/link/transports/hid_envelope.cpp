#include "link/transports/hid_envelope.h"

#include <algorithm>

#include "link/transports/hid_device.h"

std::vector<uint8_t> HidEnvelope::wrap(const uint8_t* frame, size_t size) {
    std::vector<uint8_t> envelope(kHeaderSize + size);
    envelope[0] = 0xAE;
    envelope[1] = 0x1E;
    envelope[2] = static_cast<uint8_t>(size >> 8);
    envelope[3] = static_cast<uint8_t>(size);
    envelope[4] = 0xC8;
    std::copy_n(frame, size, envelope.begin() + kHeaderSize);
    return envelope;
}

std::vector<uint8_t> HidEnvelope::reports(const uint8_t* frame, size_t size) {
    std::vector<uint8_t> envelope = wrap(frame, size);
    size_t count = (envelope.size() + kReportPayload - 1) / kReportPayload;
    std::vector<uint8_t> out(count * HidDevice::kReportSize, 0);
    for (size_t r = 0; r < count; ++r) {
        size_t from = r * kReportPayload;
        size_t n = std::min(kReportPayload, envelope.size() - from);
        std::copy_n(envelope.begin() + static_cast<long>(from), n,
                    out.begin() + static_cast<long>(r * HidDevice::kReportSize + 1));
    }
    return out;
}
