#include "link/transports/hid_transport.h"

#include "link/link.h"
#include "link/link_event.h"
#include "link/transport_type.h"

namespace {
constexpr uint32_t kReaderSliceMs = 100;
}  // namespace

HidTransport::HidTransport(Link& link, HidBackend& backend)
    : m_link(link), m_cmd(backend), m_assembler([&link](const uint8_t* frame, size_t size) {
          link.parser().parse(frame, size);
      }) {}

HidTransport::~HidTransport() {
    close();
}

void HidTransport::connect() {
    LinkState& state = m_link.state();
    while (state.running()) {
        m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
        Transport* serial = m_link.transportFor(TransportType::Serial);
        if (serial && serial != this && serial->isConnected()) serial->close();
        m_link.sleep(100);
        state.linkAlive = false;
        while (!state.alive() && state.running()) {
            close();
            if (!m_cmd.open()) {
                m_link.sleep(100);
                continue;
            }
            startReader();
            Mirror& mirror = m_link.mirror();
            mirror.setReceivedMark(Mirror::kMagic, false);
            state.replySemaphore
                .tryAcquire();  // a release left from before must not end the wait early
            state.awaitingReply = true;
            m_link.readParameter(Mirror::kMagic);
            if (m_readerRunning) m_link.waitForReply(500);
            state.awaitingReply = false;
            if (mirror.received(Mirror::kMagic) && claimAlive()) {
                m_link.sleep(100);
                return;
            }
            break;  // searching again, announced at the top
        }
    }
}

void HidTransport::sendFrame(const uint8_t* frame, size_t size) {
    std::lock_guard lock(m_writeMutex);
    if (!m_cmd.sendFrame(frame, size)) m_link.state().linkAlive = false;
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
    LinkState& state = m_link.state();
    while (!stop.stop_requested()) {
        int n = m_cmd.readReport(kReaderSliceMs);
        if (n < 0) break;
        int d = n - 1;
        if (d > 0 && d < 65535) m_assembler.add(m_cmd.input() + 1, static_cast<size_t>(d));
    }
    // Link-alive drops first: whoever sees the reader stopped must see the link down too.
    std::lock_guard lock(m_aliveMutex);
    state.linkAlive = false;
    m_readerRunning = false;
}

bool HidTransport::claimAlive() {
    std::lock_guard lock(m_aliveMutex);
    if (m_readerRunning) m_link.state().linkAlive = true;
    return m_readerRunning;
}
