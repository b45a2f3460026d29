#include "platform/net/tcp_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/net/socket_address.h"
#include "platform/net/tcp_stream.h"

bool TcpListener::listen(NetAddress local) {
    close();
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0) return false;
    int on = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    SocketAddress s(local);
    if (::bind(m_fd, s.data(), s.size()) != 0 || ::listen(m_fd, 4) != 0) {
        close();
        return false;
    }
    return true;
}

void TcpListener::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

uint16_t TcpListener::localPort() const {
    return SocketAddress::local(m_fd).port();
}

std::unique_ptr<TcpStream> TcpListener::accept(uint32_t waitMs) {
    if (m_fd < 0) return nullptr;
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(waitMs)) <= 0) return nullptr;
    int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return nullptr;
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return std::make_unique<TcpStream>(fd);
}
