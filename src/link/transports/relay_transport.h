#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/relay_carrier.h"
#include "link/transports/relay_packet.h"
#include "platform/net/name_lookup.h"
#include "platform/net/net_address.h"

class Clock;
class UdpSocket;

// Where the relay server is. There is no built-in host: without one the
// transport is not made.
struct RelayConfig {
    std::string host;
    uint16_t controlPort = 11742;
    uint16_t dataPort = 11743;
    NetAddress local{0, 0};
    // How the host name becomes an address (tests give their own).
    NameLookup::Resolver resolve = SocketAddress::resolveIpv4;
};

// Transport type 4: reaches the device through a relay server with UDP
// control packets (status, channel, device information) and data packets
// that carry frames both ways.
// The protocol has no authentication: only datagrams from the server's
// address and its two ports are read, which a trusted server makes enough.
class RelayTransport : public RelayCarrier {
public:
    // The server's list of devices keeps at most this many.
    static constexpr size_t kServerListLimit = 64;

    RelayTransport(TransportListener& listener, const Clock& clock, RelayConfig config);
    ~RelayTransport() override;

    bool lookUpServer(const Wait& wait) override;
    void reopen() override;
    std::optional<uint16_t> queryStatus() override;
    std::optional<Entry> deviceInfo(uint32_t deviceId, uint32_t waitMs) override;
    void adopt() override;
    bool openChannel() override;
    void startReceiving(const std::stop_token& stop) override;
    std::vector<uint8_t> ticket() const override;
    uint32_t clientNumber() const override { return RelayPacket::number(m_client); }

    bool carrierUp() const override { return m_receiving; }
    void sendFrame(const uint8_t* frame, size_t size) override;
    // Closes the channel on the server, ends the receive thread and waits for it.
    void close() override;

    RelayPacket::ClientId clientId() const { return m_client; }
    bool receiverRunning() const { return m_receiving; }
    // Every address a packet went to, each once.
    std::vector<uint32_t> destinations() const;
    // The socket's port; 0 while there is none.
    uint16_t localPort() const;

private:
    void sendControl(const std::vector<uint8_t>& packet);
    // Receives for ms (clock time) or until a reply with this command came.
    std::optional<RelayPacket::Reply> awaitReply(uint8_t command, uint32_t ms);
    void handleDatagram(const uint8_t* data, size_t size);
    bool fromServer(NetAddress from) const;
    void stopReceiver();
    void receiveLoop(std::stop_token stop, const std::shared_ptr<UdpSocket>& socket);

    TransportListener& m_listener;
    const Clock& m_clock;
    RelayConfig m_config;
    RelayPacket::ClientId m_client{};
    std::atomic<uint32_t> m_server{0};
    std::atomic<uint32_t> m_channel{0};

    mutable std::mutex m_mutex;  // the socket, the blocks, the server list, the thread
    std::shared_ptr<UdpSocket> m_socket;
    RelayPacket::Block m_block{};
    RelayPacket::Block m_answered{};
    std::vector<RelayPacket::Block> m_serverList;
    std::vector<uint32_t> m_destinations;
    std::jthread m_receiver;
    std::atomic<bool> m_receiving{false};
};
