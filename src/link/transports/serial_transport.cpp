#include "link/transports/serial_transport.h"

#include <array>

#include "link/transports/serial_line.h"

namespace {
constexpr size_t kReadChunk = 4096;
constexpr uint32_t kEventWaitMs = 10000;
}  // namespace

SerialTransport::SerialTransport(TransportListener& listener, PortSource ports)
    : m_listener(listener), m_ports(std::move(ports)) {}

SerialTransport::~SerialTransport() {
    close();
}

bool SerialTransport::open(const std::string& path) {
    close();
    auto line = std::make_unique<SerialLine>();
    if (!line->open(path)) return false;
    std::lock_guard lock(m_mutex);
    SerialLine* raw = line.get();
    m_line = std::move(line);
    m_path = path;
    m_open = true;
    m_reader = std::jthread([this, raw] { readerLoop(raw); });
    return true;
}

void SerialTransport::close() {
    std::unique_ptr<SerialLine> line;
    std::jthread reader;
    {
        std::lock_guard lock(m_mutex);
        if (m_line) {
            m_listener.carrierDown([this] { m_open = false; });
            m_line->interrupt();
            line = std::move(m_line);
            m_path.clear();
        }
        if (m_reader.joinable() && m_reader.get_id() != std::this_thread::get_id())
            reader = std::move(m_reader);
    }
    if (reader.joinable()) reader.join();
    // The port itself closes here, after its reader has let go of it.
}

void SerialTransport::sendFrame(const uint8_t* frame, size_t size) {
    std::lock_guard lock(m_mutex);
    if (!m_line || !m_open) return;
    if (!m_line->write(frame, size, kWriteTimeoutMs)) m_listener.carrierDown();
}

std::string SerialTransport::currentPort() const {
    std::lock_guard lock(m_mutex);
    return m_path;
}

void SerialTransport::readerLoop(SerialLine* line) {
    std::array<uint8_t, kReadChunk> buffer;
    while (m_open) {
        SerialLine::Wait wait = line->waitReadable(kEventWaitMs);
        if (wait == SerialLine::Wait::Interrupted || wait == SerialLine::Wait::Timeout) continue;
        if (wait == SerialLine::Wait::Gone) break;
        long n = 0;
        while (m_open && (n = line->read(buffer.data(), buffer.size())) > 0) {
            ++m_chunks;
            m_listener.received(buffer.data(), static_cast<size_t>(n));
        }
        if (n == SerialLine::kGone) break;
    }
    // The port went away: close it from here (the line must not be used after this).
    if (m_open) close();
}
