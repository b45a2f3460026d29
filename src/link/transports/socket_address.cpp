#include "link/transports/socket_address.h"

#include <arpa/inet.h>
#include <sys/socket.h>

sockaddr_in socketAddress(NetAddress a) {
    sockaddr_in s{};
    s.sin_family = AF_INET;
    s.sin_addr.s_addr = htonl(a.ip);
    s.sin_port = htons(a.port);
    return s;
}

NetAddress netAddress(const sockaddr_in& s) {
    return NetAddress{ntohl(s.sin_addr.s_addr), ntohs(s.sin_port)};
}

uint16_t boundPort(int fd) {
    sockaddr_in s{};
    socklen_t length = sizeof s;
    if (fd < 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&s), &length) != 0) return 0;
    return ntohs(s.sin_port);
}
