#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/net/net_address.h"

class SocketAddress;

// A UDP socket whose receives wait at most a given time or until interrupted.
class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket() { close(); }
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Binds local (port 0: the kernel picks); broadcasting allowed when asked.
    bool open(NetAddress local, bool broadcast);
    void close();
    // A socket of the address's family that sends to it and reads only its
    // datagrams.
    bool connect(const SocketAddress& to);
    bool isOpen() const { return m_fd >= 0; }
    uint16_t localPort() const;

    bool sendTo(NetAddress to, const uint8_t* data, size_t size);
    // To the address it is connected to.
    bool send(const uint8_t* data, size_t size);
    // One datagram of at most capacity bytes (the rest is cut off): its size,
    // 0 when none came within waitMs, -1 on an error.
    long receive(uint8_t* buffer, size_t capacity, uint32_t waitMs, NetAddress* from = nullptr);
    // From another thread: ends a receive that waits now, and every later
    // one returns -1 at once.
    void interrupt();

private:
    int m_fd = -1;
    std::atomic<bool> m_interrupted{false};
};
