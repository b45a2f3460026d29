#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/net_address.h"
#include "platform/net/tcp_listener.h"
#include "platform/net/udp_socket.h"
#include "sim/sim_device.h"

class Clock;
class TcpStream;

// The simulated device as its Wi-Fi module sees the network: text commands
// as UDP datagrams ("Get_IP:" answered with the module's own address, the
// rest by the device), frames in their envelope over TCP, and the device's
// replies back as module packets, late and in pieces as its faults say; what
// the device says unasked goes to the connected program within a slice.
// Serves on a loopback address (127.0.0.1 unless given).
class SimModuleServer {
public:
    SimModuleServer(SimDevice& device, const Clock& clock);
    ~SimModuleServer();
    SimModuleServer(const SimModuleServer&) = delete;
    SimModuleServer& operator=(const SimModuleServer&) = delete;

    // Texts (UDP) and frames (TCP) on the same port number; 0: the kernel
    // picks one free for both. False with error() when the port is taken.
    bool start(uint16_t port = 0, uint32_t address = NetAddress::kLoopback);
    void stop();
    uint16_t port() const { return m_port; }
    const std::string& error() const { return m_error; }
    // Replies as plain frames instead of module packets.
    void setPlainReplies(bool plain) { m_plain = plain; }

    uint64_t connections() const { return m_connections; }
    uint64_t datagrams() const { return m_datagrams; }
    // The ID field of the last envelope received.
    uint32_t lastEnvelopeId() const { return m_lastId; }

private:
    void serve();
    void answerDatagram(const uint8_t* data, size_t size, NetAddress from);
    void takeStream(const uint8_t* data, size_t size);
    // Unasked words wait for a connection, as the device cannot say them to nobody.
    void sayUnasked();
    void answer(const std::vector<SimDevice::Reply>& replies);
    std::vector<uint8_t> packetOf(const std::vector<uint8_t>& frame) const;

    SimDevice& m_device;
    const Clock& m_clock;
    UdpSocket m_udp;
    TcpListener m_listener;
    std::unique_ptr<TcpStream> m_stream;
    std::vector<uint8_t> m_input;
    std::string m_error;
    uint16_t m_port = 0;
    uint32_t m_address = NetAddress::kLoopback;
    std::atomic<bool> m_plain{false};
    std::jthread m_thread;
    // Made anew by start while no thread serves; its stop ends the thread's waits.
    std::stop_source m_stop;
    std::atomic<uint64_t> m_connections{0};
    std::atomic<uint64_t> m_datagrams{0};
    std::atomic<uint32_t> m_lastId{0};
    std::atomic<bool> m_unaskedDue{false};
    const std::shared_ptr<SimListeners> m_unaskedListeners;
    const int m_unaskedListener;
};
