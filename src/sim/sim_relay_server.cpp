#include "sim/sim_relay_server.h"

#include <array>
#include <ctime>

#include "link/transports/module_packet.h"
#include "link/transports/net_envelope.h"
#include "platform/clock.h"

namespace {
constexpr uint32_t kSliceMs = 5;
constexpr uint32_t kRoute = 0x0102;
constexpr uint32_t kBindExtra = 0x0077;

int64_t now() {
    return static_cast<int64_t>(std::time(nullptr));
}
}  // namespace

SimRelayServer::SimRelayServer(SimDevice& device, const Clock& clock)
    : m_device(device),
      m_clock(clock),
      m_unaskedListeners(device.unaskedListeners()),
      m_unaskedListener(m_unaskedListeners->add([this] { m_unaskedDue = true; })) {
    m_device.setBehindRelay(true);
}

SimRelayServer::~SimRelayServer() {
    m_unaskedListeners->remove(m_unaskedListener);
    stop();
}

bool SimRelayServer::start(uint16_t controlPort) {
    stop();
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (m_control.open(NetAddress{NetAddress::kLoopback, controlPort}, false)) {
            uint16_t port = m_control.localPort();
            if (port < 65535 &&
                m_data.open(NetAddress{NetAddress::kLoopback, static_cast<uint16_t>(port + 1)},
                            false)) {
                m_controlPort = port;
                m_stop = std::stop_source();
                m_thread = std::jthread([this] { serve(); });
                return true;
            }
            m_control.close();
        }
        if (controlPort != 0) break;
    }
    m_error = "the relay server's ports on 127.0.0.1 could not be opened";
    return false;
}

void SimRelayServer::stop() {
    m_stop.request_stop();
    if (m_thread.joinable()) m_thread.join();
    m_control.close();
    m_data.close();
}

void SimRelayServer::setBinding(uint32_t client, int64_t since) {
    std::lock_guard lock(m_mutex);
    m_bound = client;
    m_boundAt = since;
    m_boundAddress = {};
}

uint32_t SimRelayServer::boundClient() const {
    std::lock_guard lock(m_mutex);
    return m_bound;
}

void SimRelayServer::serve() {
    std::array<uint8_t, 2048> buffer;
    while (!m_stop.stop_requested()) {
        NetAddress from;
        long n = m_control.receive(buffer.data(), buffer.size(), kSliceMs, &from);
        if (n > 0) control(buffer.data(), static_cast<size_t>(n), from);
        n = m_data.receive(buffer.data(), buffer.size(), kSliceMs, &from);
        if (n > 0) data(buffer.data(), static_cast<size_t>(n), from);
        sayUnasked();
    }
}

// Only the client holding the channel hears it; until one does, it waits.
void SimRelayServer::sayUnasked() {
    NetAddress to;
    RelayPacket::ClientId client;
    {
        std::lock_guard lock(m_mutex);
        if (m_bound == 0 || m_boundAddress.port == 0) return;
        to = m_boundAddress;
        client = m_boundId;
    }
    if (m_unaskedDue.exchange(false)) carry(to, client, m_device.takeUnasked());
}

RelayPacket::Block SimRelayServer::blockFor(uint32_t deviceId) const {
    RelayPacket::Block b{};
    if (deviceId != m_device.deviceId()) return b;
    std::lock_guard lock(m_mutex);
    b[RelayPacket::Magic] = m_device.value(0);
    b[RelayPacket::Channel] = kChannel;
    b[RelayPacket::Valid] = 1;
    b[RelayPacket::Route] = kRoute;
    b[RelayPacket::BoundClient] = m_bound;
    b[RelayPacket::BindNumber] = kBindNumber;
    b[RelayPacket::BindExtra] = kBindExtra;
    b[RelayPacket::BoundAt] = static_cast<uint32_t>(m_boundAt);
    return b;
}

bool SimRelayServer::mayBind(uint32_t client) const {
    return m_bound == 0 || m_bound == client || now() - m_boundAt > kStaleSeconds;
}

void SimRelayServer::control(const uint8_t* bytes, size_t size, NetAddress from) {
    auto request = RelayPacket::parseReply(bytes, size);
    if (!request) return;
    const std::vector<uint8_t>& a = request->arguments;
    uint32_t client = RelayPacket::number(request->client);
    uint32_t argument = a.size() >= 4 ? NetEnvelope::getU32Le(a.data()) : 0;
    switch (request->command) {
        case RelayPacket::Status:
            reply(from, request->client, RelayPacket::Status, {1, 0});
            break;
        case RelayPacket::OpenChannel: {
            uint32_t ack = 0;
            {
                std::lock_guard lock(m_mutex);
                if (argument == kChannel && mayBind(client)) {
                    if (m_bound != client) m_boundAt = now();
                    m_bound = client;
                    m_boundAddress = from;
                    m_boundId = request->client;
                    ack = kChannel;
                }
            }
            std::vector<uint8_t> args;
            NetEnvelope::putU32Le(args, ack);
            reply(from, request->client, RelayPacket::OpenChannel, args);
            break;
        }
        case RelayPacket::CloseChannel: {
            std::lock_guard lock(m_mutex);
            if (argument == kChannel && m_bound == client) m_bound = 0;
            break;
        }
        case RelayPacket::DeviceInfo: {
            std::vector<uint8_t> args;
            RelayPacket::putBlock(args, blockFor(argument));
            reply(from, request->client, RelayPacket::DeviceInfo, args);
            break;
        }
        default:
            break;
    }
}

void SimRelayServer::data(const uint8_t* bytes, size_t size, NetAddress from) {
    RelayPacket::ClientId client;
    {
        std::lock_guard lock(m_mutex);
        // Only the client holding the channel reaches the device.
        if (m_bound == 0 || !(from == m_boundAddress)) return;
        client = m_boundId;
    }
    for (const ModulePacket::Found& f : ModulePacket::scan(bytes, size)) {
        if (f.start != 0 || f.size < ModulePacket::kDataOffset + 2) return;
        auto opened = NetEnvelope::open(bytes + ModulePacket::kDataOffset,
                                        f.size - ModulePacket::kDataOffset - 2);
        if (!opened || opened->id != kChannel) return;
        carry(from, client,
              m_device.receive(bytes + ModulePacket::kDataOffset + opened->frameStart,
                               opened->frameSize));
        return;
    }
}

void SimRelayServer::carry(NetAddress to, const RelayPacket::ClientId& client,
                           const std::vector<SimDevice::Reply>& replies) {
    const ModulePacket::Addressing addressing{static_cast<uint8_t>(kChannel),
                                              static_cast<uint8_t>(kChannel >> 8),
                                              static_cast<uint8_t>(kChannel >> 16),
                                              static_cast<uint8_t>(kChannel >> 24),
                                              0,
                                              0};
    for (const SimDevice::Reply& r : replies) {
        if (m_stop.stop_requested()) return;
        if (r.delayMs) m_clock.sleep(r.delayMs);
        std::vector<uint8_t> carried(client.begin(), client.end());
        carried.insert(carried.end(), r.bytes.begin(), r.bytes.end());
        std::vector<uint8_t> packet =
            ModulePacket::build(addressing, carried.data(), carried.size());
        m_data.sendTo(to, packet.data(), packet.size());
    }
}

void SimRelayServer::reply(NetAddress to, const RelayPacket::ClientId& client, uint8_t command,
                           const std::vector<uint8_t>& arguments) {
    std::vector<uint8_t> payload{command};
    payload.insert(payload.end(), arguments.begin(), arguments.end());
    std::vector<uint8_t> packet = RelayPacket::control(client, payload);
    m_control.sendTo(to, packet.data(), packet.size());
}
