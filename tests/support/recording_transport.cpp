#include "recording_transport.h"

RecordingTransport::RecordingTransport(std::unique_ptr<DeviceCarrier> inner,
                                       std::function<uint64_t()> stamp)
    : m_inner(std::move(inner)), m_stamp(std::move(stamp)) {}

void RecordingTransport::sendFrame(const uint8_t* frame, size_t size) {
    {
        std::lock_guard lock(m_mutex);
        m_sent.push_back({std::vector<uint8_t>(frame, frame + size), m_stamp ? m_stamp() : 0});
    }
    m_inner->sendFrame(frame, size);
    if (m_afterSend) m_afterSend(std::vector<uint8_t>(frame, frame + size));
}

std::vector<RecordingTransport::Sent> RecordingTransport::sent() const {
    std::lock_guard lock(m_mutex);
    return m_sent;
}
