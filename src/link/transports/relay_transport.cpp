#include "link/transports/relay_transport.h"

#include <algorithm>
#include <array>
#include <chrono>

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
}  // namespace

RelayTransport::RelayTransport(TransportListener& listener, const Clock& clock, RelayConfig config)
    : m_listener(listener),
      m_clock(clock),
      m_config(std::move(config)),
      m_client(ClientId::ofThisMachine()) {}

RelayTransport::~RelayTransport() {
    close();
}

uint16_t RelayTransport::localPort() const {
    std::lock_guard lock(m_mutex);
    return m_socket ? m_socket->localPort() : 0;
}

std::vector<uint32_t> RelayTransport::destinations() const {
    std::lock_guard lock(m_mutex);
    return m_destinations;
}

bool RelayTransport::lookUpServer(const Wait& wait) {
    NameLookup lookup(m_config.host, m_config.resolve);
    while (lookup.state() == NameLookup::State::Pending)
        if (!wait(NameLookup::kSliceMs)) return false;
    std::optional<NetAddress> ipv4 =
        lookup.state() == NameLookup::State::Found ? lookup.address().ipv4() : std::nullopt;
    if (ipv4) m_server = ipv4->ip;
    return ipv4.has_value();
}

void RelayTransport::reopen() {
    stopReceiver();
    auto socket = std::make_shared<UdpSocket>();
    socket->open(m_config.local, true);
    std::lock_guard lock(m_mutex);
    m_socket = socket;
    m_serverList.clear();
}

std::optional<uint16_t> RelayTransport::queryStatus() {
    sendControl(RelayPacket::statusQuery(m_client));
    if (auto reply = awaitReply(RelayPacket::Status, 2000)) return reply->status();
    return std::nullopt;
}

std::optional<RelayCarrier::Entry> RelayTransport::deviceInfo(uint32_t deviceId, uint32_t waitMs) {
    sendControl(RelayPacket::deviceInfo(m_client, deviceId));
    auto reply = awaitReply(RelayPacket::DeviceInfo, waitMs);
    std::optional<RelayPacket::Block> b = reply ? reply->block() : std::nullopt;
    if (!b) return std::nullopt;
    {
        std::lock_guard lock(m_mutex);
        m_answered = *b;
    }
    return Entry{(*b)[RelayPacket::Valid] != 0, (*b)[RelayPacket::BoundClient],
                 int64_t{(*b)[RelayPacket::BoundAt]},
                 ((*b)[RelayPacket::Magic] & 0xFFFF) == RelayPacket::kDeviceMagic};
}

void RelayTransport::adopt() {
    std::lock_guard lock(m_mutex);
    m_block = m_answered;
    m_channel = m_block[RelayPacket::Channel];
}

bool RelayTransport::openChannel() {
    sendControl(RelayPacket::openChannel(m_client, m_channel));
    auto reply = awaitReply(RelayPacket::OpenChannel, 1000);
    return reply && reply->acknowledgement();
}

std::vector<uint8_t> RelayTransport::ticket() const {
    RelayPacket::Block b;
    {
        std::lock_guard lock(m_mutex);
        b = m_block;
    }
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
    // A close interrupts the socket, which ends the wait at once.
    auto deadline = std::chrono::steady_clock::now() + m_clock.realDuration(ms);
    while (true) {
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

void RelayTransport::startReceiving(const std::stop_token& stop) {
    std::lock_guard lock(m_mutex);
    // A Stop that came first must not be outlived by a new thread.
    if (stop.stop_requested() || m_receiver.joinable() || !m_socket) return;
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
    const Clock& clock = m_clock;
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
