#include "link/transports/network_transport.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "link/link.h"
#include "link/link_event.h"
#include "link/transports/module_packet.h"
#include "link/transports/net_envelope.h"
#include "platform/clock.h"
#include "platform/net/tcp_stream.h"
#include "platform/net/udp_socket.h"
#include "texts/network_texts.h"

namespace {
constexpr size_t kDatagramSize = 1500;
constexpr size_t kChunkSize = 1500;
constexpr uint32_t kSliceMs = 20;  // receives are cut into slices this long (real time)
constexpr uint32_t kTcpConnectMs = 2000;
constexpr uint32_t kTcpSendMs = 1000;
constexpr uint32_t kDeviceIdWaitMs = 3000;
const char kGetIp[] = "Get_IP:";
const char kGetLinkIp[] = "Get_LinkIP:";

}  // namespace

NetworkTransport::NetworkTransport(Link& link, NetworkConfig config)
    : m_link(link), m_config(std::move(config)) {}

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
    m_discovery = std::jthread([this, socket] {
        discoveryLoop(*socket);
        m_discoveryRunning = false;
    });
}

void NetworkTransport::stopDiscovery() {
    std::jthread discovery;
    {
        std::lock_guard lock(m_mutex);
        m_discoveryRunning = false;
        discovery = std::move(m_discovery);
    }
    if (discovery.joinable()) discovery.join();
}

void NetworkTransport::discoveryLoop(UdpSocket& socket) {
    while (m_discoveryRunning) {
        probe(socket);
        ++m_probeRounds;
        while (m_discoveryRunning && m_deviceAddress != 0) serveModule(socket);
        if (m_discoveryRunning) m_link.clock().sleep(10);
    }
}

void NetworkTransport::probe(UdpSocket& socket) {
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
                if (!m_discoveryRunning) break;
                sendText(socket, ip, kGetIp);
                m_link.clock().sleep(2);
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

void NetworkTransport::serveModule(UdpSocket& socket) {
    ModuleTable& module = m_link.module();
    uint32_t device = m_deviceAddress;
    // Not counted here: a command goes again every pass until its reply comes.
    // Commands carry passwords: only a module that proved the device ID gets them.
    if (m_link.state().alive())
        if (std::optional<std::string> text = module.pickForSending(m_moduleCursor, false))
            sendText(socket, device, *text + std::string(1, '\0'));
    uint32_t linkIp = m_linkAddress;
    if (linkIp != 0 && linkIp != m_own) {
        m_link.clock().sleep(50);
        module.setText(ModuleTable::LinkIp, kGetLinkIp);
        sendText(socket, device, std::string(kGetLinkIp) + std::string(1, '\0'));
    }
    receiveFor(socket, 200);
    m_link.clock().sleep(1);
    for (const std::string& confirmation : module.takeConfirmations(true))
        m_link.message(confirmation, "WiFi");
}

void NetworkTransport::sendText(UdpSocket& socket, uint32_t ip, const std::string& text) {
    noteDestination(ip);
    socket.sendTo(NetAddress{ip, m_config.modulePort},
                  reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void NetworkTransport::receiveFor(UdpSocket& socket, uint32_t ms) {
    std::array<uint8_t, kDatagramSize> buffer;
    auto deadline = std::chrono::steady_clock::now() + m_link.clock().realDuration(ms);
    while (m_discoveryRunning) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        NetAddress from;
        long n = socket.receive(buffer.data(), buffer.size(),
                                std::min<uint32_t>(kSliceMs, static_cast<uint32_t>(left.count())),
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
        m_link.message(networktext::ClientListFull);
}

// --- connection ------------------------------------------------------------

void NetworkTransport::connect() {
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
        state.linkAlive = false;
        std::vector<uint32_t> clients = candidates();
        for (uint32_t ip : clients) {
            if (!state.running() || state.alive()) break;
            if (tryAddress(ip)) return;
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
        m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
        m_link.sleep(1050);
        if (state.chosenDeviceId == 0 && m_idSource) state.chosenDeviceId = m_idSource();
        if (state.chosenDeviceId != 0) return true;
        if (state.running()) m_link.ui().sendEvent(LinkEvent::RelayStatus, 1);
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
    m_link.ui().sendEvent(LinkEvent::ClientList, static_cast<int>(clients.size()));
    return picked() || state.chosenDeviceId != kAnyDevice;
}

std::vector<uint32_t> NetworkTransport::candidates() const {
    std::vector<uint32_t> clients = clientList();
    uint32_t picked = m_link.state().networkDeviceAddress;
    if (std::find(clients.begin(), clients.end(), picked) != clients.end()) return {picked};
    return clients;
}

bool NetworkTransport::tryAddress(uint32_t ip) {
    LinkState& state = m_link.state();
    m_deviceAddress = ip;
    m_own = m_scope.ownAddressFor(ip);
    if (!openTcp(ip)) return false;
    m_link.sleep(100);
    state.replySemaphore.tryAcquire();
    m_link.device().setDeviceId(nullptr, 0);
    state.awaitingReply = true;
    m_link.send(Command::ReadDeviceId, {0});
    state.replySemaphore.acquire(m_link.clock(), kDeviceIdWaitMs);
    state.awaitingReply = false;
    uint32_t id = m_link.device().deviceIdNumber();
    if (id != 0 && state.chosenDeviceId == kAnyDevice) state.chosenDeviceId = id;
    // A pick that did not hold the device is dropped, so that the user is asked again.
    if (id == 0 || id != state.chosenDeviceId) state.networkDeviceAddress = 0;
    if (id != 0 && id == state.chosenDeviceId && state.running()) {
        state.linkAlive = true;
        return true;
    }
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
        m_reader = std::jthread([this, stream] { readerLoop(stream); });
    }
    for (int k = 0; k < 100 && !m_readerRunning; ++k) m_link.clock().sleep(2);
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
    // Receives are sliced, so the reader ends well within 500 ms.
    if (reader.joinable()) reader.join();
}

void NetworkTransport::close() {
    LinkState& state = m_link.state();
    state.linkAlive = false;
    stopDiscovery();
    m_localPort = 0;
    closeTcp();
    if (state.awaitingReply) state.replySemaphore.release();
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

void NetworkTransport::readerLoop(std::shared_ptr<TcpStream> stream) {
    std::array<uint8_t, kChunkSize> chunk;
    LinkState& state = m_link.state();
    while (m_readerRunning && state.running()) {
        long n = stream->receive(chunk.data(), chunk.size(), kSliceMs);
        if (n == 0) continue;
        if (n < 0) {
            // The module hung up: the link is gone rather than silent.
            if (m_readerRunning) state.linkAlive = false;
            break;
        }
        deliver(chunk.data(), static_cast<size_t>(n));
    }
    m_readerRunning = false;
}

void NetworkTransport::deliver(const uint8_t* chunk, size_t size) {
    for (auto [start, count] : ModulePacket::carried(chunk, size))
        m_link.parser().parse(chunk + start, count);
}
