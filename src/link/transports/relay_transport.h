#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/transport.h"
#include "link/transports/relay_packet.h"
#include "platform/net/name_lookup.h"
#include "platform/net/net_address.h"

class Link;
class UdpSocket;

// Where the relay server is. There is no built-in host: without one the
// transport is not made.
struct RelayConfig {
    std::string host;
    uint16_t controlPort = 11742;
    uint16_t dataPort = 11743;
    NetAddress local{0, 0};
    // The binding age after which another client's binding no longer counts.
    uint32_t staleBindingSeconds = 300;
    // How the host name becomes an address (tests give their own).
    NameLookup::Resolver resolve = SocketAddress::resolveIpv4;
};

// Transport type 4: reaches the device through a relay server with UDP
// control packets (status, channel, device information) and data packets
// that carry frames both ways. "Connected" is the link-alive flag.
// The protocol has no authentication: only datagrams from the server's
// address and its two ports are read, which a trusted server makes enough.
class RelayTransport : public Transport {
public:
    // The server's list of devices keeps at most this many.
    static constexpr size_t kServerListLimit = 64;

    // Gives the device ID when none is chosen; 0 when there is none yet.
    using DeviceIdSource = std::function<uint32_t()>;

    RelayTransport(Link& link, RelayConfig config);
    ~RelayTransport() override;

    void connect(Handshake& handshake) override;
    bool carrierUp() const override { return m_receiving; }
    void sendFrame(const uint8_t* frame, size_t size) override;
    bool isConnected() const override;
    // Closes the channel on the server, ends the receive thread and waits for it.
    void close() override;

    void setDeviceIdSource(DeviceIdSource source) { m_idSource = std::move(source); }
    // The link's chosen device ID (the device-ID dialog sets it too).
    void setChosenDeviceId(uint32_t id);
    RelayPacket::ClientId clientId() const { return m_client; }
    uint16_t status() const { return m_status; }
    RelayPacket::Block block() const;
    bool receiverRunning() const { return m_receiving; }
    // Every address a packet went to, each once.
    std::vector<uint32_t> destinations() const;
    // The socket's port; 0 while there is none.
    uint16_t localPort() const;

private:
    enum class Step { Done, Again };

    bool resolveServer();
    Step cycle(Handshake& handshake);
    bool queryStatus();
    bool chooseDeviceId();
    Step fetchDeviceInfo();
    bool openChannel();
    bool confirmBinding();
    // What the device must accept: bind number, extra word and bound client.
    std::vector<uint8_t> bindTicket() const;
    bool acceptable(const RelayPacket::Block& block) const;

    void sendControl(const std::vector<uint8_t>& packet);
    // Receives for ms (clock time) or until a reply with this command came.
    std::optional<RelayPacket::Reply> awaitReply(uint8_t command, uint32_t ms);
    void handleDatagram(const uint8_t* data, size_t size);
    bool fromServer(NetAddress from) const;
    void startReceiver();
    void stopReceiver();
    void receiveLoop(std::stop_token stop, const std::shared_ptr<UdpSocket>& socket);

    Link& m_link;
    TransportListener& m_listener;
    RelayConfig m_config;
    DeviceIdSource m_idSource;
    RelayPacket::ClientId m_client{};
    std::atomic<uint32_t> m_server{0};
    std::atomic<uint16_t> m_status{0};
    std::atomic<uint32_t> m_channel{0};
    int m_busyCount = 0;

    mutable std::mutex m_mutex;  // the socket, the block, the server list, the thread
    std::shared_ptr<UdpSocket> m_socket;
    RelayPacket::Block m_block{};
    std::vector<RelayPacket::Block> m_serverList;
    std::vector<uint32_t> m_destinations;
    std::jthread m_receiver;
    std::atomic<bool> m_receiving{false};
};
