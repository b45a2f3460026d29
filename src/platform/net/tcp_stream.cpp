#include "platform/net/tcp_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/net/socket_address.h"

TcpStream::~TcpStream() {
    if (m_fd >= 0) ::close(m_fd);
}

bool TcpStream::connect(NetAddress to, uint32_t waitMs) {
    return connect(SocketAddress(to), waitMs);
}

bool TcpStream::connect(const SocketAddress& to, uint32_t waitMs) {
    Connecting state = beginConnect(to);
    if (state == Connecting::Waiting) state = awaitConnected(waitMs);
    return state == Connecting::Connected;
}

TcpStream::Connecting TcpStream::beginConnect(const SocketAddress& to) {
    if (m_fd >= 0) return Connecting::Failed;
    m_fd = ::socket(to.family(), SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0) return Connecting::Failed;
    int on = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (::connect(m_fd, to.data(), to.size()) == 0) return Connecting::Connected;
    return errno == EINPROGRESS ? Connecting::Waiting : Connecting::Failed;
}

TcpStream::Connecting TcpStream::awaitConnected(uint32_t waitMs) {
    if (m_fd < 0) return Connecting::Failed;
    pollfd p{m_fd, POLLOUT, 0};
    int ready = ::poll(&p, 1, static_cast<int>(waitMs));
    if (ready == 0 || (ready < 0 && errno == EINTR)) return Connecting::Waiting;
    int error = 0;
    socklen_t length = sizeof error;
    bool ok =
        ready > 0 && ::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    return ok ? Connecting::Connected : Connecting::Failed;
}

bool TcpStream::send(const uint8_t* data, size_t size, uint32_t waitMs) {
    size_t done = 0;
    while (done < size && isOpen()) {
        ssize_t n = ::send(m_fd, data + done, size - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        pollfd p{m_fd, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(waitMs)) <= 0) return false;
    }
    return done == size;
}

long TcpStream::receive(uint8_t* buffer, size_t capacity, uint32_t waitMs) {
    if (!isOpen()) return -1;
    pollfd p{m_fd, POLLIN, 0};
    int ready = ::poll(&p, 1, static_cast<int>(waitMs));
    if (ready == 0 || (ready < 0 && errno == EINTR)) return 0;
    if (ready < 0 || m_shut) return -1;
    ssize_t n = ::recv(m_fd, buffer, capacity, 0);
    if (n > 0) return static_cast<long>(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    return -1;
}

void TcpStream::shutdown() {
    m_shut = true;
    if (m_fd >= 0) ::shutdown(m_fd, SHUT_RDWR);
}

NetAddress TcpStream::peer() const {
    return SocketAddress::peer(m_fd).ipv4().value_or(NetAddress{});
}
