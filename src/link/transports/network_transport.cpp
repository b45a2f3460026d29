#include "link/transports/network_transport.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "link/module_table.h"
#include "link/transports/module_packet.h"
#include "link/transports/net_envelope.h"
#include "platform/clock.h"
#include "platform/net/tcp_stream.h"
#include "platform/net/udp_socket.h"

namespace {
constexpr size_t kDatagramSize = 1500;
constexpr size_t kChunkSize = 1500;
// A closed stream ends a receive at once; the reader's wait only bounds a lost wake-up.
constexpr uint32_t kReaderWaitMs = 1000;
constexpr uint32_t kTcpConnectMs = 2000;
constexpr uint32_t kTcpSendMs = 1000;
// One more than the client list holds, so that the link sees it overflow.
constexpr size_t kFoundLimit = ModuleTable::kMaxClients + 1;
const char kGetIp[] = "Get_IP:";
const char kGetLinkIp[] = "Get_LinkIP:";

}  // namespace

NetworkTransport::NetworkTransport(TransportListener& listener, const Clock& clock,
                                   ModuleTable& module, NetworkConfig config)
    : m_listener(listener), m_clock(clock), m_module(module), m_config(std::move(config)) {}

NetworkTransport::~NetworkTransport() {
    close();
}

uint32_t NetworkTransport::realMs(uint32_t ms) const {
    auto real = std::chrono::duration_cast<std::chrono::milliseconds>(m_clock.realDuration(ms));
    return static_cast<uint32_t>(std::max<int64_t>(1, real.count()));
}

std::vector<uint32_t> NetworkTransport::destinations() const {
    std::lock_guard lock(m_listMutex);
    return m_destinations;
}

void NetworkTransport::noteDestination(uint32_t ip) {
    std::lock_guard lock(m_listMutex);
    if (std::find(m_destinations.begin(), m_destinations.end(), ip) == m_destinations.end())
        m_destinations.push_back(ip);
}

// --- discovery -------------------------------------------------------------

std::shared_ptr<UdpSocket> NetworkTransport::openSocket(const std::stop_token& stop) {
    std::lock_guard lock(m_mutex);
    // A Stop that came first must not be outlived by a socket.
    if (m_socket || stop.stop_requested()) return m_socket;
    // The networks are read again for every search: interfaces come and go.
    m_scope = DiscoveryScope(m_config.subnets ? *m_config.subnets : DiscoveryScope::localSubnets());
    auto socket = std::make_shared<UdpSocket>();
    // Port 1010 needs privileges on some systems; the module answers any port.
    if (!socket->open(m_config.local, m_config.broadcast) &&
        !socket->open(NetAddress{m_config.local.ip, 0}, m_config.broadcast))
        return nullptr;
    m_localPort = socket->localPort();
    m_socket = socket;
    return socket;
}

std::vector<uint32_t> NetworkTransport::discover(const std::stop_token& stop) {
    std::shared_ptr<UdpSocket> socket = openSocket(stop);
    if (socket) {
        std::stop_callback wake(stop, [&socket] { socket->interrupt(); });
        probe(stop, *socket);
    }
    std::lock_guard lock(m_listMutex);
    std::vector<uint32_t> found = std::move(m_found);
    m_found.clear();
    // The one module given is the whole list, whether it answered or not.
    if (m_config.host) found.assign(1, *m_config.host);
    return found;
}

void NetworkTransport::probe(const std::stop_token& stop, UdpSocket& socket) {
    if (m_config.host) {
        sendText(socket, *m_config.host, kGetIp);
    } else {
        // Without a network of our own nobody's answer would be believed.
        if (m_config.broadcast && !m_scope.subnets().empty()) {
            sendText(socket, NetAddress::kBroadcast, kGetIp);
            receiveFor(socket, 100);
        }
        if (m_config.sweep) {
            for (uint32_t ip : m_scope.sweepTargets()) {
                if (!m_clock.sleepUnlessStopped(2, stop)) break;
                sendText(socket, ip, kGetIp);
            }
        }
    }
    m_linkAddress = NetAddress::kBroadcast;
    receiveFor(socket, 200);
    receiveFor(socket, 200);
    if (m_config.host || !m_scope.covers(m_config.hotspot)) return;
    sendText(socket, m_config.hotspot, kGetIp);
    receiveFor(socket, 100);
    receiveFor(socket, 200);
}

void NetworkTransport::serveModule(const std::stop_token& stop, UdpSocket& socket) {
    uint32_t device = m_deviceAddress;
    // Not counted here: a command goes again every pass until its reply comes.
    // Commands carry passwords: only a module that proved the device ID gets them.
    if (m_trusted)
        if (std::optional<std::string> text = m_module.pickForSending(m_moduleCursor, false))
            sendText(socket, device, *text + std::string(1, '\0'));
    uint32_t linkIp = m_linkAddress;
    if (linkIp != 0 && linkIp != m_own) {
        m_clock.sleepUnlessStopped(50, stop);
        m_module.setText(ModuleTable::LinkIp, kGetLinkIp);
        sendText(socket, device, std::string(kGetLinkIp) + std::string(1, '\0'));
    }
    receiveFor(socket, 200);
    m_clock.sleepUnlessStopped(1, stop);
    for (const std::string& confirmation : m_module.takeConfirmations(true))
        m_listener.notice(TransportListener::Notice::ModuleSaid, 0, confirmation);
}

void NetworkTransport::sendText(UdpSocket& socket, uint32_t ip, const std::string& text) {
    noteDestination(ip);
    socket.sendTo(NetAddress{ip, m_config.modulePort},
                  reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// A stop interrupts the socket, which ends the wait at once.
void NetworkTransport::receiveFor(UdpSocket& socket, uint32_t ms) {
    std::array<uint8_t, kDatagramSize> buffer;
    auto deadline = std::chrono::steady_clock::now() + m_clock.realDuration(ms);
    while (true) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline -
                                                                 std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        NetAddress from;
        long n = socket.receive(buffer.data(), buffer.size(), static_cast<uint32_t>(left.count()),
                                &from);
        if (n < 0) return;
        if (n > 0) handleDatagram(buffer.data(), static_cast<size_t>(n), from);
    }
}

// Anyone on the network can send a datagram: only a module that reports its
// own address is found, and only the module in use is listened to.
void NetworkTransport::handleDatagram(const uint8_t* data, size_t size, NetAddress from) {
    if (m_config.host && from.ip != *m_config.host) return;
    std::optional<uint32_t> reported = ModuleTable::reportedAddress(data, size);
    if (reported && !m_config.host && m_scope.accepts(from.ip, *reported)) noteFound(*reported);
    if (from.ip == 0 || from.ip != m_deviceAddress) return;
    m_module.parse(data, size, false);
    if (m_module.replied(ModuleTable::LinkIp)) {
        m_linkAddress = static_cast<uint32_t>(m_module.value(ModuleTable::LinkIp));
        m_module.setReplied(ModuleTable::LinkIp, false);
    }
}

void NetworkTransport::noteFound(uint32_t ip) {
    std::lock_guard lock(m_listMutex);
    if (m_found.size() < kFoundLimit &&
        std::find(m_found.begin(), m_found.end(), ip) == m_found.end())
        m_found.push_back(ip);
}

// --- the open module -------------------------------------------------------

bool NetworkTransport::open(uint32_t ip, uint32_t deviceId, const std::stop_token& stop) {
    bool busy = false;
    {
        std::lock_guard lock(m_mutex);
        busy = m_tcp || m_server.joinable();
    }
    // The discovery socket stays for the module unless another module had it.
    if (busy) hangUp();
    std::shared_ptr<UdpSocket> socket = openSocket(stop);
    if (!socket) return false;
    m_deviceAddress = ip;
    m_own = m_scope.ownAddressFor(ip);
    m_envelopeId = deviceId;
    noteDestination(ip);
    auto stream = std::make_shared<TcpStream>();
    if (!stream->connect(NetAddress{ip, m_config.tcpPort}, realMs(kTcpConnectMs))) {
        m_deviceAddress = 0;
        return false;
    }
    std::lock_guard lock(m_mutex);
    if (stop.stop_requested() || m_socket != socket) return false;
    m_tcp = stream;
    m_readerRunning = true;
    m_reader = std::jthread([this, stream](std::stop_token s) { readerLoop(s, stream); });
    m_serving = true;
    m_server = std::jthread([this, socket](std::stop_token s) {
        std::stop_callback wake(s, [&socket] { socket->interrupt(); });
        while (!s.stop_requested()) serveModule(s, *socket);
        m_serving = false;
    });
    return true;
}

void NetworkTransport::trust(uint32_t deviceId) {
    m_envelopeId = deviceId;
    m_trusted = true;
}

void NetworkTransport::hangUp() {
    std::jthread reader;
    std::jthread server;
    std::shared_ptr<UdpSocket> socket;
    {
        std::lock_guard lock(m_mutex);
        m_readerRunning = false;
        if (m_tcp) m_tcp->shutdown();
        m_tcp.reset();
        reader = std::move(m_reader);
        server = std::move(m_server);
        socket = std::move(m_socket);
        m_localPort = 0;
    }
    // Ends a discovery round on another thread too; the next search opens another.
    if (socket) socket->interrupt();
    // Their destruction stops and joins them; the shutdown has ended the reader's receive.
    reader = {};
    server = {};
    m_deviceAddress = 0;
    m_trusted = false;
}

void NetworkTransport::close() {
    hangUp();
    m_listener.carrierDown();
}

void NetworkTransport::sendFrame(const uint8_t* frame, size_t size) {
    std::shared_ptr<TcpStream> stream;
    {
        std::lock_guard lock(m_mutex);
        stream = m_tcp;
    }
    if (!stream) return;
    std::vector<uint8_t> envelope = NetEnvelope::wrap(m_envelopeId, frame, size);
    if (!stream->send(envelope.data(), envelope.size(), kTcpSendMs)) stream->shutdown();
}

void NetworkTransport::readerLoop(std::stop_token stop, const std::shared_ptr<TcpStream>& stream) {
    std::stop_callback wake(stop, [&stream] { stream->shutdown(); });
    std::array<uint8_t, kChunkSize> chunk;
    while (!stop.stop_requested()) {
        long n = stream->receive(chunk.data(), chunk.size(), kReaderWaitMs);
        if (n == 0) continue;
        if (n < 0) break;
        deliver(chunk.data(), static_cast<size_t>(n));
    }
    // The module hung up, unless hangUp came first: the link is gone rather than silent.
    if (m_readerRunning) m_listener.carrierDown([this] { m_readerRunning = false; });
}

void NetworkTransport::deliver(const uint8_t* chunk, size_t size) {
    for (auto [start, count] : ModulePacket::carried(chunk, size))
        m_listener.received(chunk + start, count);
}
