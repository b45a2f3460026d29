#include "link/transports/hid_transport.h"

namespace {
// A device read cannot be woken: a close waits for one slice at most.
constexpr uint32_t kReaderSliceMs = 100;
}  // namespace

HidTransport::HidTransport(TransportListener& listener, HidBackend& backend)
    : m_listener(listener),
      m_cmd(backend),
      m_assembler([this](const uint8_t* frame, size_t size) { m_listener.received(frame, size); }) {
}

HidTransport::~HidTransport() {
    close();
}

bool HidTransport::open() {
    if (!m_cmd.open()) return false;
    startReader();
    return true;
}

void HidTransport::sendFrame(const uint8_t* frame, size_t size) {
    std::lock_guard lock(m_writeMutex);
    if (!m_cmd.sendFrame(frame, size)) m_listener.carrierDown();
}

void HidTransport::close() {
    m_cmd.close();
    joinReader();
}

void HidTransport::startReader() {
    std::lock_guard lock(m_readerMutex);
    m_readerRunning = true;
    m_assembler.reset();
    m_reader = std::jthread([this](std::stop_token stop) { readerLoop(stop); });
}

void HidTransport::joinReader() {
    std::lock_guard lock(m_readerMutex);
    if (m_reader.joinable() && m_reader.get_id() != std::this_thread::get_id()) {
        m_reader.request_stop();
        m_reader.join();
    }
}

void HidTransport::readerLoop(std::stop_token stop) {
    while (!stop.stop_requested()) {
        int n = m_cmd.readReport(kReaderSliceMs);
        if (n < 0) break;
        int d = n - 1;
        if (d > 0 && d < 65535) m_assembler.add(m_cmd.input() + 1, static_cast<size_t>(d));
    }
    m_listener.carrierDown([this] { m_readerRunning = false; });
}
