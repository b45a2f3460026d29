#include "link/transports/envelope_assembler.h"

#include <algorithm>

#include "link/transports/hid_envelope.h"

void EnvelopeAssembler::add(const uint8_t* data, size_t size) {
    if (HidEnvelope::startsEnvelope(data, size)) {
        m_expected = static_cast<size_t>(data[2] << 8 | data[3]);
        size_t n = std::min({size - HidEnvelope::kHeaderSize, m_expected, kBufferSize});
        std::copy_n(data + HidEnvelope::kHeaderSize, n, m_buffer.begin());
        m_fill = n;
    } else {
        if (m_fill >= kRestartAt) m_fill = 0;
        size_t n = std::min(size, kBufferSize - m_fill);
        std::copy_n(data, n, m_buffer.begin() + static_cast<long>(m_fill));
        m_fill += n;
    }
    if (m_expected > 0 && m_fill >= m_expected) {
        size_t n = m_expected;
        m_fill = n;
        // Handed over once: stray reports after it must not deliver the frame again.
        m_expected = 0;
        m_sink(m_buffer.data(), n);
    }
}

void EnvelopeAssembler::reset() {
    m_fill = 0;
    m_expected = 0;
}
