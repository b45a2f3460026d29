#include "link/transports/hid_frame_channel.h"

#include "link/transports/hid_envelope.h"

bool HidFrameChannel::sendFrame(const uint8_t* frame, size_t size) {
    std::vector<uint8_t> envelope = HidEnvelope::wrap(frame, size);
    return m_io.write(envelope.data(), envelope.size(), kWriteTimeoutMs);
}

int HidFrameChannel::readReport(uint32_t timeoutMs) {
    return m_io.readReport(m_input.data(), m_input.size(), timeoutMs);
}
