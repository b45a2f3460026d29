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

#include "link/device_id_check.h"
#include "link/transport.h"
#include "link/transports/discovery_scope.h"
#include "platform/net/net_address.h"

class Link;
class TcpStream;
class UdpSocket;

// Where the network transport looks for the Wi-Fi module. The defaults are
// the real network's; tests give loopback addresses and ports of their own.
struct NetworkConfig {
    NetAddress local{0, 1010};   // the discovery socket
    uint16_t modulePort = 1010;  // the module's text datagrams
    uint16_t tcpPort = 1010;     // the module's frames
    // The one module to talk to: the client list is exactly it, and only its
    // datagrams are read. Without it the module is looked for.
    std::optional<uint32_t> host;
    // The networks looked on; the machine's private-range interfaces when not given.
    std::optional<std::vector<DiscoveryScope::Subnet>> subnets;
    bool broadcast = true;  // "Get_IP:" to 255.255.255.255
    bool sweep = true;      // and to every host of the networks (at most a /24 each)
    uint32_t hotspot = ipv4Of(192, 168, 4, 1);  // asked when one of the networks holds it
};

// Transport type 2: finds the Wi-Fi module with UDP text datagrams on a
// discovery thread, which also sends the link's queued module commands as
// datagrams; carries frames to the module over TCP in the envelope, and hands
// what comes back (module packets or plain frames) to the frame parser.
// "Connected" is the link-alive flag.
class NetworkTransport : public Transport {
public:
    // Gives the device ID to look for when none is chosen: 0 for none
    // (the user is asked), kAnyDevice to take the device that answers when
    // it is the only one or the one picked from the client list.
    using DeviceIdSource = std::function<uint32_t()>;
    static constexpr uint32_t kAnyDevice = DeviceIdCheck::kAnyDevice;

    NetworkTransport(Link& link, NetworkConfig config = {});
    ~NetworkTransport() override;

    void connect(Handshake& handshake) override;
    bool carrierUp() const override { return m_readerRunning; }
    void sendFrame(const uint8_t* frame, size_t size) override;
    bool isConnected() const override;
    // Ends the discovery thread and the TCP reader and waits for both.
    void close() override;

    void setDeviceIdSource(DeviceIdSource source) { m_idSource = std::move(source); }
    // The link's chosen device ID (the device-ID dialog sets it too).
    void setChosenDeviceId(uint32_t id);
    uint32_t chosenDeviceId() const;
    // The module addresses that answered "Get_IP:" (the module table's client list).
    // Of several, the one the link state names (the client-list dialog's pick) is
    // taken; without a pick the user is asked with link event (10, count).
    std::vector<uint32_t> clientList() const;
    // Every address a datagram or connection went to, each once.
    std::vector<uint32_t> destinations() const;
    bool discoveryRunning() const { return m_discoveryRunning; }
    bool readerRunning() const { return m_readerRunning; }
    // The discovery socket's port; 0 while it is closed.
    uint16_t localPort() const { return m_localPort; }

private:
    void startDiscovery();
    void stopDiscovery();
    void discoveryLoop(std::stop_token stop, UdpSocket& socket);
    void probe(const std::stop_token& stop, UdpSocket& socket);
    void serveModule(const std::stop_token& stop, UdpSocket& socket);
    void receiveFor(UdpSocket& socket, uint32_t ms);
    void sendText(UdpSocket& socket, uint32_t ip, const std::string& text);
    void handleDatagram(const uint8_t* data, size_t size, NetAddress from);
    void noteClient(uint32_t ip);

    bool chooseDeviceId();
    bool chooseModule();
    std::vector<uint32_t> candidates() const;
    bool tryAddress(uint32_t ip, Handshake& handshake);
    bool openTcp(uint32_t ip);
    void closeTcp();
    void readerLoop(std::stop_token stop, const std::shared_ptr<TcpStream>& stream);
    void deliver(const uint8_t* chunk, size_t size);
    void noteDestination(uint32_t ip);
    uint32_t realMs(uint32_t ms) const;

    Link& m_link;
    TransportListener& m_listener;
    NetworkConfig m_config;
    DeviceIdSource m_idSource;
    DiscoveryScope m_scope;  // set before the discovery thread starts
    std::atomic<uint32_t> m_own{0};
    std::atomic<uint16_t> m_localPort{0};
    std::atomic<uint32_t> m_probeRounds{0};
    std::atomic<bool> m_fullSaid{false};

    std::atomic<uint32_t> m_deviceAddress{0};
    std::atomic<uint32_t> m_linkAddress{NetAddress::kBroadcast};
    int m_moduleCursor = 0;  // the discovery thread's own

    mutable std::mutex m_listMutex;  // the destinations
    std::vector<uint32_t> m_destinations;

    std::mutex m_mutex;  // the threads and the TCP stream
    std::jthread m_discovery;
    std::atomic<bool> m_discoveryRunning{false};
    std::shared_ptr<TcpStream> m_tcp;
    std::jthread m_reader;
    std::atomic<bool> m_readerRunning{false};
};
