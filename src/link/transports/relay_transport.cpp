#include "link/transports/relay_transport.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>

#include "link/handshake.h"
#include "link/link.h"
#include "link/transports/client_id.h"
#include "link/transports/net_envelope.h"
#include "platform/clock.h"
#include "platform/net/udp_socket.h"

namespace {
constexpr size_t kDatagramSize = 2048;
// An interrupted socket ends a receive at once; the receiver's wait only
// bounds the time to its next keep-alive check.
constexpr uint32_t kReceiveWaitMs = 1000;
constexpr uint32_t kKeepAliveMs = 300000;
constexpr int kBusyMessages = 3;
}  // namespace

RelayTransport::RelayTransport(Link& link, RelayConfig config)
    : m_link(link),
      m_listener(link.transportListener()),
      m_config(std::move(config)),
      m_client(ClientId::ofThisMachine()) {}

RelayTransport::~RelayTransport() {
    close();
}

bool RelayTransport::isConnected() const {
    return m_link.state().alive();
}

RelayPacket::Block RelayTransport::block() const {
    std::lock_guard lock(m_mutex);
    return m_block;
}

uint16_t RelayTransport::localPort() const {
    std::lock_guard lock(m_mutex);
    return m_socket ? m_socket->localPort() : 0;
}

std::vector<uint32_t> RelayTransport::destinations() const {
    std::lock_guard lock(m_mutex);
    return m_destinations;
}

void RelayTransport::connect(Handshake& handshake) {
    m_link.sleep(550);
    if (!resolveServer()) return;
    while (m_link.state().running() && cycle(handshake) == Step::Again) {
    }
}

// A Stop abandons a lookup that hangs or the wait before the next one.
bool RelayTransport::resolveServer() {
    LinkState& state = m_link.state();
    if (!state.running()) return false;
    auto wait = [&](uint32_t ms) {
        m_link.sleep(ms);
        return state.running();
    };
    std::optional<SocketAddress> server =
        NameLookup::untilFound(m_config.host, m_config.resolve, wait);
    std::optional<NetAddress> ipv4 = server ? server->ipv4() : std::nullopt;
    if (!ipv4) return false;
    m_server = ipv4->ip;
    return state.running();
}

RelayTransport::Step RelayTransport::cycle(Handshake& handshake) {
    if (m_link.state().running()) m_listener.notice(TransportListener::Notice::Searching);
    stopReceiver();
    m_link.sleep(1200);
    {
        auto socket = std::make_shared<UdpSocket>();
        socket->open(m_config.local, true);
        std::lock_guard lock(m_mutex);
        m_socket = socket;
        m_serverList.clear();
    }
    if (!queryStatus()) return Step::Again;
    if (!chooseDeviceId()) {
        m_link.sleep(3000);
        return Step::Again;
    }
    if (fetchDeviceInfo() == Step::Again) return Step::Again;
    if (!openChannel() || !confirmBinding()) return Step::Again;
    startReceiver();
    m_link.sleep(500);
    return handshake.prove(*this, bindTicket()) ? Step::Done : Step::Again;
}

bool RelayTransport::queryStatus() {
    LinkState& state = m_link.state();
    std::optional<uint16_t> status;
    for (int attempt = 1; !status && state.running(); ++attempt) {
        if (attempt > 11) {
            m_listener.notice(TransportListener::Notice::RelayStatus, m_status);
            m_link.sleep(2000);
            return false;
        }
        sendControl(RelayPacket::statusQuery(m_client));
        if (auto reply = awaitReply(RelayPacket::Status, 2000)) status = reply->status();
    }
    if (!status) return false;
    m_status = *status;
    m_listener.notice(TransportListener::Notice::RelayStatus, m_status);
    return true;
}

void RelayTransport::setChosenDeviceId(uint32_t id) {
    m_link.state().chosenDeviceId = id;
}

bool RelayTransport::chooseDeviceId() {
    std::atomic<uint32_t>& chosen = m_link.state().chosenDeviceId;
    if (chosen == 0 && m_idSource) chosen = m_idSource();
    return chosen != 0;
}

bool RelayTransport::acceptable(const RelayPacket::Block& b) const {
    if (b[RelayPacket::Valid] == 0) return false;
    uint32_t bound = b[RelayPacket::BoundClient];
    if (bound == 0 || bound == RelayPacket::number(m_client)) return true;
    auto now = static_cast<int64_t>(std::time(nullptr));
    return now - int64_t{b[RelayPacket::BoundAt]} > int64_t{m_config.staleBindingSeconds};
}

RelayTransport::Step RelayTransport::fetchDeviceInfo() {
    std::optional<RelayPacket::Block> found;
    std::optional<RelayPacket::Block> last;
    for (int attempt = 0; attempt < 10 && !found && m_link.state().running(); ++attempt) {
        if (attempt > 0) m_link.sleep(500);
        sendControl(RelayPacket::deviceInfo(m_client, m_link.state().chosenDeviceId));
        auto reply = awaitReply(RelayPacket::DeviceInfo, 2000);
        if (!reply || !reply->block()) continue;
        last = reply->block();
        if (acceptable(*last)) found = last;
    }
    if (!found) {
        if (m_busyCount < kBusyMessages && m_link.state().running()) {
            ++m_busyCount;
            bool busy = last && (*last)[RelayPacket::BoundClient] != 0;
            m_listener.notice(busy ? TransportListener::Notice::EquipmentBusy
                                   : TransportListener::Notice::WrongDeviceId);
        }
        m_link.sleep(1000);
        return Step::Again;
    }
    if (((*found)[RelayPacket::Magic] & 0xFFFF) != RelayPacket::kDeviceMagic) {
        m_listener.notice(TransportListener::Notice::WrongDeviceId);
        m_link.sleep(1000);
        return Step::Again;
    }
    std::lock_guard lock(m_mutex);
    m_block = *found;
    m_channel = (*found)[RelayPacket::Channel];
    return Step::Done;
}

bool RelayTransport::openChannel() {
    for (int attempt = 0; attempt < 10 && m_link.state().running(); ++attempt) {
        sendControl(RelayPacket::openChannel(m_client, m_channel));
        if (auto reply = awaitReply(RelayPacket::OpenChannel, 1000))
            if (reply->acknowledgement()) return true;
    }
    return false;
}

bool RelayTransport::confirmBinding() {
    for (int attempt = 0; attempt < 10 && m_link.state().running(); ++attempt) {
        sendControl(RelayPacket::deviceInfo(m_client, m_link.state().chosenDeviceId));
        auto reply = awaitReply(RelayPacket::DeviceInfo, 1000);
        auto b = reply ? reply->block() : std::nullopt;
        if (b && (*b)[RelayPacket::BoundClient] == RelayPacket::number(m_client)) {
            std::lock_guard lock(m_mutex);
            m_block = *b;
            return true;
        }
    }
    return false;
}

std::vector<uint8_t> RelayTransport::bindTicket() const {
    RelayPacket::Block b = block();
    std::vector<uint8_t> ticket;
    NetEnvelope::putU32Le(ticket, b[RelayPacket::BindNumber]);
    ticket.push_back(static_cast<uint8_t>(b[RelayPacket::BindExtra]));
    ticket.push_back(static_cast<uint8_t>(b[RelayPacket::BindExtra] >> 8));
    NetEnvelope::putU32Le(ticket, b[RelayPacket::BoundClient]);
    return ticket;
}

void RelayTransport::sendControl(const std::vector<uint8_t>& packet) {
    std::shared_ptr<UdpSocket> socket;
    {
        std::lock_guard lock(m_mutex);
        socket = m_socket;
        if (std::find(m_destinations.begin(), m_destinations.end(), m_server.load()) ==
            m_destinations.end())
            m_destinations.push_back(m_server);
    }
    if (socket)
        socket->sendTo(NetAddress{m_server, m_config.controlPort}, packet.data(), packet.size());
}

std::optional<RelayPacket::Reply> RelayTransport::awaitReply(uint8_t command, uint32_t ms) {
    std::shared_ptr<UdpSocket> socket;
    {
        std::lock_guard lock(m_mutex);
        socket = m_socket;
    }
    if (!socket) return std::nullopt;
    std::array<uint8_t, kDatagramSize> buffer;
    auto deadline = std::chrono::steady_clock::now() + m_link.clock().realDuration(ms);
    while (m_link.state().running()) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline -
                                                                 std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        NetAddress from;
        long n = socket->receive(buffer.data(), buffer.size(), static_cast<uint32_t>(left.count()),
                                 &from);
        if (n < 0) break;  // closed
        if (n == 0 || !fromServer(from)) continue;
        auto reply = RelayPacket::parseReply(buffer.data(), static_cast<size_t>(n));
        if (!reply) continue;
        if (reply->command == RelayPacket::ServerList) {
            if (auto b = reply->block()) {
                std::lock_guard lock(m_mutex);
                if (m_serverList.size() < kServerListLimit) m_serverList.push_back(*b);
            }
            continue;
        }
        if (reply->command == command) return reply;
    }
    return std::nullopt;
}

void RelayTransport::sendFrame(const uint8_t* frame, size_t size) {
    std::shared_ptr<UdpSocket> socket;
    RelayPacket::Block b;
    {
        std::lock_guard lock(m_mutex);
        socket = m_socket;
        b = m_block;
    }
    if (!socket) return;
    std::vector<uint8_t> packet = RelayPacket::data(b, frame, size);
    socket->sendTo(NetAddress{m_server, m_config.dataPort}, packet.data(), packet.size());
}

// The client ID goes out in clear, so it proves nothing: the sender must be the server.
bool RelayTransport::fromServer(NetAddress from) const {
    return from.ip == m_server &&
           (from.port == m_config.controlPort || from.port == m_config.dataPort);
}

void RelayTransport::handleDatagram(const uint8_t* data, size_t size) {
    if (auto frames = RelayPacket::framesFor(data, size, m_client))
        m_listener.received(data + frames->first, frames->second);
}

void RelayTransport::startReceiver() {
    std::lock_guard lock(m_mutex);
    if (m_link.state().stopping() || m_receiver.joinable() || !m_socket) return;
    m_receiving = true;
    m_receiver = std::jthread(
        [this, socket = m_socket](std::stop_token stop) { receiveLoop(stop, socket); });
}

void RelayTransport::stopReceiver() {
    std::jthread receiver;
    {
        std::lock_guard lock(m_mutex);
        m_receiving = false;
        receiver = std::move(m_receiver);
    }
    // Its destruction stops and joins it.
}

void RelayTransport::receiveLoop(std::stop_token stop, const std::shared_ptr<UdpSocket>& socket) {
    std::stop_callback wake(stop, [&socket] { socket->interrupt(); });
    std::array<uint8_t, kDatagramSize> buffer;
    const Clock& clock = m_link.clock();
    uint32_t lastKeepAlive = clock.ticks();
    while (!stop.stop_requested()) {
        NetAddress from;
        long n = socket->receive(buffer.data(), buffer.size(), kReceiveWaitMs, &from);
        if (n < 0) break;
        if (n > 0 && fromServer(from)) handleDatagram(buffer.data(), static_cast<size_t>(n));
        if (ticksSince(clock.ticks(), lastKeepAlive) >= kKeepAliveMs) {
            lastKeepAlive = clock.ticks();
            sendControl(RelayPacket::openChannel(m_client, m_channel));
        }
    }
}

void RelayTransport::close() {
    if (m_channel != 0) sendControl(RelayPacket::closeChannel(m_client, m_channel.exchange(0)));
    std::shared_ptr<UdpSocket> socket;
    {
        std::lock_guard lock(m_mutex);
        socket = m_socket;
    }
    // Ends a wait for a control reply on the supervisor thread too.
    m_listener.carrierDown([this] { m_receiving = false; });
    if (socket) socket->interrupt();
    stopReceiver();
}
