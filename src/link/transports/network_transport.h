#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/module_carrier.h"
#include "link/transports/discovery_scope.h"
#include "platform/net/net_address.h"

class Clock;
class ModuleTable;
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

// Transport type 2: asks for the Wi-Fi modules with UDP text datagrams,
// carries frames to the one opened over TCP in the envelope, and hands what
// comes back (module packets or plain frames) to the link. While a module is
// open, a thread of its own sends the link's queued module commands to it as
// datagrams and reads its text replies into the module table.
class NetworkTransport : public ModuleCarrier {
public:
    // Module replies go into module, and its queued commands go out.
    NetworkTransport(TransportListener& listener, const Clock& clock, ModuleTable& module,
                     NetworkConfig config = {});
    ~NetworkTransport() override;

    std::vector<uint32_t> discover(const std::stop_token& stop) override;
    bool open(uint32_t ip, uint32_t deviceId, const std::stop_token& stop) override;
    void trust(uint32_t deviceId) override;
    void hangUp() override;
    bool carrierUp() const override { return m_readerRunning; }
    void sendFrame(const uint8_t* frame, size_t size) override;
    // Ends the module's threads and waits for them.
    void close() override;

    // Every address a datagram or connection went to, each once.
    std::vector<uint32_t> destinations() const;
    bool servingModule() const { return m_serving; }
    bool readerRunning() const { return m_readerRunning; }
    // The discovery socket's port; 0 while it is closed.
    uint16_t localPort() const { return m_localPort; }

private:
    std::shared_ptr<UdpSocket> openSocket(const std::stop_token& stop);
    void probe(const std::stop_token& stop, UdpSocket& socket);
    void serveModule(const std::stop_token& stop, UdpSocket& socket);
    void receiveFor(UdpSocket& socket, uint32_t ms);
    void sendText(UdpSocket& socket, uint32_t ip, const std::string& text);
    void handleDatagram(const uint8_t* data, size_t size, NetAddress from);
    void noteFound(uint32_t ip);

    void readerLoop(std::stop_token stop, const std::shared_ptr<TcpStream>& stream);
    void deliver(const uint8_t* chunk, size_t size);
    void noteDestination(uint32_t ip);
    uint32_t realMs(uint32_t ms) const;

    TransportListener& m_listener;
    const Clock& m_clock;
    ModuleTable& m_module;
    NetworkConfig m_config;
    DiscoveryScope m_scope;  // set while no module thread runs
    std::atomic<uint32_t> m_own{0};
    std::atomic<uint16_t> m_localPort{0};

    std::atomic<uint32_t> m_deviceAddress{0};
    std::atomic<uint32_t> m_linkAddress{NetAddress::kBroadcast};
    std::atomic<uint32_t> m_envelopeId{0};
    std::atomic<bool> m_trusted{false};
    int m_moduleCursor = 0;  // the serving thread's own

    mutable std::mutex m_listMutex;  // the destinations and the modules found
    std::vector<uint32_t> m_destinations;
    std::vector<uint32_t> m_found;

    std::mutex m_mutex;  // the socket, the threads and the TCP stream
    std::shared_ptr<UdpSocket> m_socket;
    std::jthread m_server;
    std::atomic<bool> m_serving{false};
    std::shared_ptr<TcpStream> m_tcp;
    std::jthread m_reader;
    std::atomic<bool> m_readerRunning{false};
};
