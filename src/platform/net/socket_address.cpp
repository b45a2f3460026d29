#include "platform/net/socket_address.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <cstring>

SocketAddress::SocketAddress(NetAddress ipv4) {
    sockaddr_in s{};
    s.sin_family = AF_INET;
    s.sin_addr.s_addr = htonl(ipv4.ip);
    s.sin_port = htons(ipv4.port);
    std::memcpy(&m_storage, &s, sizeof s);
    m_size = sizeof s;
}

std::optional<SocketAddress> SocketAddress::of(const sockaddr* address, socklen_t size) {
    const bool v4 = address->sa_family == AF_INET && size >= socklen_t{sizeof(sockaddr_in)};
    const bool v6 = address->sa_family == AF_INET6 && size >= socklen_t{sizeof(sockaddr_in6)};
    if (!v4 && !v6) return std::nullopt;
    SocketAddress out;
    out.m_size = v4 ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
    std::memcpy(&out.m_storage, address, out.m_size);
    return out;
}

SocketAddress SocketAddress::local(int fd) {
    sockaddr_storage s{};
    socklen_t length = sizeof s;
    if (fd < 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&s), &length) != 0) return {};
    return of(reinterpret_cast<sockaddr*>(&s), length).value_or(SocketAddress());
}

SocketAddress SocketAddress::peer(int fd) {
    sockaddr_storage s{};
    socklen_t length = sizeof s;
    if (fd < 0 || ::getpeername(fd, reinterpret_cast<sockaddr*>(&s), &length) != 0) return {};
    return of(reinterpret_cast<sockaddr*>(&s), length).value_or(SocketAddress());
}

std::optional<SocketAddress> SocketAddress::resolve(const std::string& host) {
    return resolveAs(host, AF_UNSPEC);
}

std::optional<SocketAddress> SocketAddress::resolveIpv4(const std::string& host) {
    return resolveAs(host, AF_INET);
}

std::optional<SocketAddress> SocketAddress::resolveAs(const std::string& host, int family) {
    addrinfo hints{};
    hints.ai_family = family;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
    std::optional<SocketAddress> out;
    for (addrinfo* a = found; a && !out; a = a->ai_next) out = of(a->ai_addr, a->ai_addrlen);
    ::freeaddrinfo(found);
    return out;
}

uint16_t SocketAddress::port() const {
    if (family() == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in*>(&m_storage)->sin_port);
    if (family() == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&m_storage)->sin6_port);
    return 0;
}

SocketAddress SocketAddress::withPort(uint16_t port) const {
    SocketAddress out = *this;
    if (family() == AF_INET) reinterpret_cast<sockaddr_in*>(&out.m_storage)->sin_port = htons(port);
    if (family() == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&out.m_storage)->sin6_port = htons(port);
    return out;
}

std::optional<NetAddress> SocketAddress::ipv4() const {
    if (family() != AF_INET) return std::nullopt;
    const auto* s = reinterpret_cast<const sockaddr_in*>(&m_storage);
    return NetAddress{ntohl(s->sin_addr.s_addr), ntohs(s->sin_port)};
}
