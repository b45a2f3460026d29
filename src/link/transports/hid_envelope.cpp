#include "hid_envelope.h"

#include <algorithm>

#include "hid_device.h"

std::vector<uint8_t> HidEnvelope::wrap(const uint8_t* frame, size_t size) {
    std::vector<uint8_t> envelope{0xAE, 0x1E, static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size), 0xC8};
    envelope.insert(envelope.end(), frame, frame + size);
    return envelope;
}

std::vector<uint8_t> HidEnvelope::reports(const uint8_t* frame, size_t size) {
    std::vector<uint8_t> envelope = wrap(frame, size);
    size_t count = (envelope.size() + kReportPayload - 1) / kReportPayload;
    std::vector<uint8_t> out(count * HidDevice::kReportSize, 0);
    for (size_t r = 0; r < count; ++r) {
        size_t from = r * kReportPayload;
        size_t n = std::min(kReportPayload, envelope.size() - from);
        std::copy_n(envelope.begin() + static_cast<long>(from), n, out.begin() + static_cast<long>(r * HidDevice::kReportSize + 1));
    }
    return out;
}
