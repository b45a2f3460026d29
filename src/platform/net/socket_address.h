#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/net/net_address.h"

// An IPv4 or IPv6 address with its port, as the socket calls take it.
class SocketAddress {
public:
    SocketAddress() = default;
    explicit SocketAddress(NetAddress ipv4);
    // Nothing for a family other than IPv4 and IPv6.
    static std::optional<SocketAddress> of(const sockaddr* address, socklen_t size);
    // The address a socket is bound to, or its peer; empty when there is none.
    static SocketAddress local(int fd);
    static SocketAddress peer(int fd);

    // A numeric address or a host name: the first address it has, of either
    // family or IPv4 only; nothing when it does not resolve. The port is 0.
    static std::optional<SocketAddress> resolve(const std::string& host);
    static std::optional<SocketAddress> resolveIpv4(const std::string& host);

    bool empty() const { return m_size == 0; }
    int family() const { return m_storage.ss_family; }
    uint16_t port() const;
    SocketAddress withPort(uint16_t port) const;
    // The IPv4 address and port; nothing for IPv6.
    std::optional<NetAddress> ipv4() const;

    const sockaddr* data() const { return reinterpret_cast<const sockaddr*>(&m_storage); }
    socklen_t size() const { return m_size; }

private:
    static std::optional<SocketAddress> resolveAs(const std::string& host, int family);

    sockaddr_storage m_storage{};
    socklen_t m_size = 0;
};
