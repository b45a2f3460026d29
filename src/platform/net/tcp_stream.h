#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/net/net_address.h"

class SocketAddress;

// One TCP connection with timed waits. shutdown() may come from another
// thread and ends a receive there at once; the descriptor itself is closed
// only by the destructor, after every user has let go of it.
class TcpStream {
public:
    TcpStream() = default;
    explicit TcpStream(int fd) : m_fd(fd) {}
    ~TcpStream();
    TcpStream(const TcpStream&) = delete;
    TcpStream& operator=(const TcpStream&) = delete;

    // Connects without a send delay; false after waitMs or on a refusal.
    bool connect(NetAddress to, uint32_t waitMs);
    bool connect(const SocketAddress& to, uint32_t waitMs);
    // The same in steps, for a caller that notices a stop while it waits.
    enum class Connecting { Connected, Waiting, Failed };
    Connecting beginConnect(const SocketAddress& to);
    Connecting awaitConnected(uint32_t waitMs);
    bool isOpen() const { return m_fd >= 0 && !m_shut; }
    // All bytes, or false (a peer that takes nothing for waitMs counts as gone).
    bool send(const uint8_t* data, size_t size, uint32_t waitMs);
    // Bytes received, 0 when nothing came within waitMs, -1 when the
    // connection ended or was shut down.
    long receive(uint8_t* buffer, size_t capacity, uint32_t waitMs);
    void shutdown();
    NetAddress peer() const;

private:
    int m_fd = -1;
    std::atomic<bool> m_shut{false};
};
