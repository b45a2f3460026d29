#include "chid_cmd.h"

#include "hid_envelope.h"

bool CHidCmd::sendFrame(const uint8_t* frame, size_t size) {
    std::vector<uint8_t> envelope = HidEnvelope::wrap(frame, size);
    return m_io.write(envelope.data(), envelope.size(), kWriteTimeoutMs);
}

int CHidCmd::readReport(uint32_t timeoutMs) {
    return m_io.readReport(m_input.data(), m_input.size(), timeoutMs);
}
