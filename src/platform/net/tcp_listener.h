#pragma once

#include <cstdint>
#include <memory>

#include "platform/net/net_address.h"

class TcpStream;

// A listening TCP socket whose accept waits at most a given time.
class TcpListener {
public:
    TcpListener() = default;
    ~TcpListener() { close(); }
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    bool listen(NetAddress local);
    void close();
    uint16_t localPort() const;
    // The next connection, or null when none came within waitMs.
    std::unique_ptr<TcpStream> accept(uint32_t waitMs);

private:
    int m_fd = -1;
};
