#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

#include "link/transports/relay_packet.h"
#include "platform/net/net_address.h"
#include "platform/net/udp_socket.h"
#include "sim/sim_device.h"

class Clock;

// A relay server with the simulated device registered on it, on 127.0.0.1:
// control packets on one port (status, channels, device information), data
// packets on the next. One client at a time holds the device's channel; a
// binding older than the stale age may be taken over. What the device says
// unasked goes to the client holding the channel within a slice.
class SimRelayServer {
public:
    static constexpr uint32_t kChannel = 0x00C8A001;
    static constexpr uint32_t kBindNumber = 0x5EED0042;
    static constexpr uint32_t kStaleSeconds = 300;

    SimRelayServer(SimDevice& device, const Clock& clock);
    ~SimRelayServer();
    SimRelayServer(const SimRelayServer&) = delete;
    SimRelayServer& operator=(const SimRelayServer&) = delete;

    // Port 0: the kernel picks a control port whose next port is free too.
    bool start(uint16_t controlPort = 0);
    void stop();
    uint16_t controlPort() const { return m_controlPort; }
    uint16_t dataPort() const { return static_cast<uint16_t>(m_controlPort + 1); }
    const std::string& error() const { return m_error; }

    // The client holding the channel (0 for none) and when it took it (Unix seconds).
    void setBinding(uint32_t client, int64_t since);
    uint32_t boundClient() const;

private:
    void serve();
    void control(const uint8_t* data, size_t size, NetAddress from);
    void data(const uint8_t* data, size_t size, NetAddress from);
    void sayUnasked();
    void carry(NetAddress to, const RelayPacket::ClientId& client,
               const std::vector<SimDevice::Reply>& replies);
    void reply(NetAddress to, const RelayPacket::ClientId& client, uint8_t command,
               const std::vector<uint8_t>& arguments);
    RelayPacket::Block blockFor(uint32_t deviceId) const;
    bool mayBind(uint32_t client) const;

    SimDevice& m_device;
    const Clock& m_clock;
    UdpSocket m_control;
    UdpSocket m_data;
    uint16_t m_controlPort = 0;
    std::string m_error;
    std::jthread m_thread;
    // Made anew by start while no thread serves; its stop ends the thread's waits.
    std::stop_source m_stop;

    mutable std::mutex m_mutex;
    uint32_t m_bound = 0;
    int64_t m_boundAt = 0;
    NetAddress m_boundAddress;
    RelayPacket::ClientId m_boundId{};

    std::atomic<bool> m_unaskedDue{false};
    const std::shared_ptr<SimListeners> m_unaskedListeners;
    const int m_unaskedListener;
};
