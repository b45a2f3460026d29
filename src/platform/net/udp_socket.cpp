#include "platform/net/udp_socket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/net/socket_address.h"

bool UdpSocket::open(NetAddress local, bool broadcast) {
    close();
    m_interrupted = false;
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0) return false;
    int on = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (broadcast) ::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    SocketAddress s(local);
    if (::bind(m_fd, s.data(), s.size()) != 0) {
        close();
        return false;
    }
    return true;
}

bool UdpSocket::connect(const SocketAddress& to) {
    close();
    m_interrupted = false;
    m_fd = ::socket(to.family(), SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd >= 0 && ::connect(m_fd, to.data(), to.size()) == 0) return true;
    close();
    return false;
}

void UdpSocket::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

uint16_t UdpSocket::localPort() const {
    return SocketAddress::local(m_fd).port();
}

bool UdpSocket::sendTo(NetAddress to, const uint8_t* data, size_t size) {
    if (m_fd < 0) return false;
    SocketAddress s(to);
    return ::sendto(m_fd, data, size, MSG_NOSIGNAL, s.data(), s.size()) ==
           static_cast<ssize_t>(size);
}

bool UdpSocket::send(const uint8_t* data, size_t size) {
    return m_fd >= 0 && ::send(m_fd, data, size, MSG_NOSIGNAL) == static_cast<ssize_t>(size);
}

void UdpSocket::interrupt() {
    m_interrupted = true;
    // Wakes a poll on the socket on Linux, though the call reports ENOTCONN
    // for a socket that is not connected.
    if (m_fd >= 0) ::shutdown(m_fd, SHUT_RDWR);
}

long UdpSocket::receive(uint8_t* buffer, size_t capacity, uint32_t waitMs, NetAddress* from) {
    if (m_fd < 0 || m_interrupted) return -1;
    pollfd p{m_fd, POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(waitMs));
    if (m_interrupted) return -1;
    if (ready == 0 || (ready < 0 && errno == EINTR)) return 0;
    if (ready < 0) return -1;
    sockaddr_storage s{};
    socklen_t length = sizeof s;
    ssize_t n =
        ::recvfrom(m_fd, buffer, capacity, MSG_TRUNC, reinterpret_cast<sockaddr*>(&s), &length);
    if (n < 0) return errno == EAGAIN || errno == EINTR || errno == ECONNREFUSED ? 0 : -1;
    if (from) {
        std::optional<SocketAddress> source =
            SocketAddress::of(reinterpret_cast<sockaddr*>(&s), length);
        *from = source ? source->ipv4().value_or(NetAddress{}) : NetAddress{};
    }
    return static_cast<long>(std::min<size_t>(static_cast<size_t>(n), capacity));
}
