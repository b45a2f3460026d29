#include "link/transports/udp_socket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "link/transports/socket_address.h"

bool UdpSocket::open(NetAddress local, bool broadcast) {
    close();
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0) return false;
    int on = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (broadcast) ::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in s = socketAddress(local);
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&s), sizeof s) != 0) {
        close();
        return false;
    }
    return true;
}

void UdpSocket::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

uint16_t UdpSocket::localPort() const {
    return boundPort(m_fd);
}

bool UdpSocket::sendTo(NetAddress to, const uint8_t* data, size_t size) {
    if (m_fd < 0) return false;
    sockaddr_in s = socketAddress(to);
    return ::sendto(m_fd, data, size, MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&s), sizeof s) ==
           static_cast<ssize_t>(size);
}

long UdpSocket::receive(uint8_t* buffer, size_t capacity, uint32_t waitMs, NetAddress* from) {
    if (m_fd < 0) return -1;
    pollfd p{m_fd, POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(waitMs));
    if (ready == 0 || (ready < 0 && errno == EINTR)) return 0;
    if (ready < 0) return -1;
    sockaddr_in s{};
    socklen_t length = sizeof s;
    ssize_t n =
        ::recvfrom(m_fd, buffer, capacity, MSG_TRUNC, reinterpret_cast<sockaddr*>(&s), &length);
    if (n < 0) return errno == EAGAIN || errno == EINTR || errno == ECONNREFUSED ? 0 : -1;
    if (from) *from = netAddress(s);
    return static_cast<long>(std::min<size_t>(static_cast<size_t>(n), capacity));
}
