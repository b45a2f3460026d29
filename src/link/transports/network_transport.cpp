#include "link/transports/network_transport.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "link/handshake.h"
#include "link/link.h"
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
const char kGetIp[] = "Get_IP:";
const char kGetLinkIp[] = "Get_LinkIP:";

}  // namespace

NetworkTransport::NetworkTransport(Link& link, NetworkConfig config)
    : m_link(link), m_listener(link.transportListener()), m_config(std::move(config)) {}

NetworkTransport::~NetworkTransport() {
    close();
}

bool NetworkTransport::isConnected() const {
    return m_link.state().alive();
}

uint32_t NetworkTransport::realMs(uint32_t ms) const {
    auto real =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_link.clock().realDuration(ms));
    return static_cast<uint32_t>(std::max<int64_t>(1, real.count()));
}

std::vector<uint32_t> NetworkTransport::clientList() const {
    return m_link.module().clients();
}

void NetworkTransport::setChosenDeviceId(uint32_t id) {
    m_link.state().chosenDeviceId = id;
}

uint32_t NetworkTransport::chosenDeviceId() const {
    return m_link.state().chosenDeviceId;
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

void NetworkTransport::startDiscovery() {
    std::lock_guard lock(m_mutex);
    // A Stop that came first must not be outlived by a new thread.
    if (m_link.state().stopping() || m_discovery.joinable()) return;
    auto socket = std::make_shared<UdpSocket>();
    // Port 1010 needs privileges on some systems; the module answers any port.
    if (!socket->open(m_config.local, m_config.broadcast) &&
        !socket->open(NetAddress{m_config.local.ip, 0}, m_config.broadcast))
        return;
    m_localPort = socket->localPort();
    m_discoveryRunning = true;
    m_discovery = std::jthread([this, socket](std::stop_token stop) {
        std::stop_callback wake(stop, [&socket] { socket->interrupt(); });
        discoveryLoop(stop, *socket);
        m_discoveryRunning = false;
    });
}

void NetworkTransport::stopDiscovery() {
    std::jthread discovery;
    {
        std::lock_guard lock(m_mutex);
        discovery = std::move(m_discovery);
    }
    // Its destruction stops and joins it.
}

void NetworkTransport::discoveryLoop(std::stop_token stop, UdpSocket& socket) {
    while (!stop.stop_requested()) {
        probe(stop, socket);
        ++m_probeRounds;
        while (!stop.stop_requested() && m_deviceAddress != 0) serveModule(stop, socket);
        m_link.clock().sleepUnlessStopped(10, stop);
    }
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
                if (!m_link.clock().sleepUnlessStopped(2, stop)) break;
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
    ModuleTable& module = m_link.module();
    uint32_t device = m_deviceAddress;
    // Not counted here: a command goes again every pass until its reply comes.
    // Commands carry passwords: only a module that proved the device ID gets them.
    if (m_link.state().alive())
        if (std::optional<std::string> text = module.pickForSending(m_moduleCursor, false))
            sendText(socket, device, *text + std::string(1, '\0'));
    uint32_t linkIp = m_linkAddress;
    if (linkIp != 0 && linkIp != m_own) {
        m_link.clock().sleepUnlessStopped(50, stop);
        module.setText(ModuleTable::LinkIp, kGetLinkIp);
        sendText(socket, device, std::string(kGetLinkIp) + std::string(1, '\0'));
    }
    receiveFor(socket, 200);
    m_link.clock().sleepUnlessStopped(1, stop);
    for (const std::string& confirmation : module.takeConfirmations(true))
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
    auto deadline = std::chrono::steady_clock::now() + m_link.clock().realDuration(ms);
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
// own address joins the client list, and only the module in use is listened to.
void NetworkTransport::handleDatagram(const uint8_t* data, size_t size, NetAddress from) {
    if (m_config.host && from.ip != *m_config.host) return;
    std::optional<uint32_t> reported = ModuleTable::reportedAddress(data, size);
    if (reported && !m_config.host && m_scope.accepts(from.ip, *reported)) noteClient(*reported);
    if (from.ip == 0 || from.ip != m_deviceAddress) return;
    ModuleTable& module = m_link.module();
    module.parse(data, size, false);
    if (module.replied(ModuleTable::LinkIp)) {
        m_linkAddress = static_cast<uint32_t>(module.value(ModuleTable::LinkIp));
        module.setReplied(ModuleTable::LinkIp, false);
    }
}

void NetworkTransport::noteClient(uint32_t ip) {
    if (!m_link.module().addClient(ip) && !m_fullSaid.exchange(true))
        m_listener.notice(TransportListener::Notice::ClientListFull);
}

// --- connection ------------------------------------------------------------

void NetworkTransport::connect(Handshake& handshake) {
    LinkState& state = m_link.state();
    close();
    m_deviceAddress = 0;
    m_linkAddress = NetAddress::kBroadcast;
    m_link.sleep(50);
    m_link.module().clearClients();
    m_fullSaid = false;
    m_scope = DiscoveryScope(m_config.subnets ? *m_config.subnets : DiscoveryScope::localSubnets());
    if (m_config.host) m_link.module().addClient(*m_config.host);
    m_probeRounds = 0;
    startDiscovery();
    // A whole round, so that every module that answers is on the list.
    while (state.running() && (clientList().empty() || m_probeRounds == 0)) m_link.sleep(20);
    m_link.sleep(200);

    while (state.running()) {
        if (!chooseDeviceId()) return;
        if (!chooseModule()) {
            m_link.sleep(1000);
            continue;
        }
        std::vector<uint32_t> clients = candidates();
        for (uint32_t ip : clients) {
            if (!state.running() || state.alive()) break;
            if (tryAddress(ip, handshake)) return;
            m_link.sleep(100);
        }
        m_deviceAddress = 0;
        state.chosenDeviceId = 0;
        if (clients.empty()) m_link.sleep(2000);
    }
}

bool NetworkTransport::chooseDeviceId() {
    LinkState& state = m_link.state();
    while (state.running()) {
        m_listener.notice(TransportListener::Notice::Searching);
        m_link.sleep(1050);
        if (state.chosenDeviceId == 0 && m_idSource) state.chosenDeviceId = m_idSource();
        if (state.chosenDeviceId != 0) return true;
        if (state.running()) m_listener.notice(TransportListener::Notice::RelayStatus, 1);
        m_link.sleep(20);
    }
    return false;
}

// Of several modules none is taken blindly: the user picks one, and a
// program that cannot ask (any device would do) takes none.
bool NetworkTransport::chooseModule() {
    LinkState& state = m_link.state();
    std::vector<uint32_t> clients = clientList();
    auto picked = [&] {
        uint32_t ip = state.networkDeviceAddress;
        return std::find(clients.begin(), clients.end(), ip) != clients.end();
    };
    if (clients.size() <= 1 || picked()) return true;
    m_listener.notice(TransportListener::Notice::ChooseModule, static_cast<int>(clients.size()));
    return picked() || state.chosenDeviceId != kAnyDevice;
}

std::vector<uint32_t> NetworkTransport::candidates() const {
    std::vector<uint32_t> clients = clientList();
    uint32_t picked = m_link.state().networkDeviceAddress;
    if (std::find(clients.begin(), clients.end(), picked) != clients.end()) return {picked};
    return clients;
}

bool NetworkTransport::tryAddress(uint32_t ip, Handshake& handshake) {
    m_deviceAddress = ip;
    m_own = m_scope.ownAddressFor(ip);
    if (!openTcp(ip)) return false;
    m_link.sleep(100);
    if (handshake.prove(*this)) return true;
    closeTcp();
    m_link.sleep(300);
    return false;
}

bool NetworkTransport::openTcp(uint32_t ip) {
    closeTcp();
    noteDestination(ip);
    auto stream = std::make_shared<TcpStream>();
    if (!stream->connect(NetAddress{ip, m_config.tcpPort}, realMs(kTcpConnectMs))) return false;
    {
        std::lock_guard lock(m_mutex);
        if (m_link.state().stopping()) return false;
        m_tcp = stream;
        m_readerRunning = true;
        m_reader = std::jthread([this, stream](std::stop_token stop) { readerLoop(stop, stream); });
    }
    return true;
}

void NetworkTransport::closeTcp() {
    std::jthread reader;
    {
        std::lock_guard lock(m_mutex);
        m_readerRunning = false;
        if (m_tcp) m_tcp->shutdown();
        m_tcp.reset();
        reader = std::move(m_reader);
    }
    // The shutdown has ended the reader's receive already.
    if (reader.joinable()) reader.join();
}

void NetworkTransport::close() {
    stopDiscovery();
    m_localPort = 0;
    closeTcp();
    m_listener.carrierDown();
}

void NetworkTransport::sendFrame(const uint8_t* frame, size_t size) {
    std::shared_ptr<TcpStream> stream;
    {
        std::lock_guard lock(m_mutex);
        stream = m_tcp;
    }
    if (!stream) return;
    std::vector<uint8_t> envelope = NetEnvelope::wrap(m_link.state().chosenDeviceId, frame, size);
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
    // The module hung up, unless closeTcp came first: the link is gone rather than silent.
    if (m_readerRunning) m_listener.carrierDown([this] { m_readerRunning = false; });
}

void NetworkTransport::deliver(const uint8_t* chunk, size_t size) {
    for (auto [start, count] : ModulePacket::carried(chunk, size))
        m_listener.received(chunk + start, count);
}
