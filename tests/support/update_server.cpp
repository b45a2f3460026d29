#include "update_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace {

sockaddr_in loopback(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

bool bindTo(int fd, uint16_t port) {
    sockaddr_in a = loopback(port);
    return ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

}  // namespace

UpdateServer::UpdateServer() {
    // The kernel picks the TCP port; UDP takes the same number when it is free.
    for (int attempt = 0; attempt < 20 && m_port == 0; ++attempt) {
        int tcp = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int udp = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        socklen_t size = sizeof a;
        if (bindTo(tcp, 0) && ::listen(tcp, 4) == 0 &&
            ::getsockname(tcp, reinterpret_cast<sockaddr*>(&a), &size) == 0 &&
            bindTo(udp, ntohs(a.sin_port))) {
            m_tcp = tcp;
            m_udp = udp;
            m_port = ntohs(a.sin_port);
        } else {
            ::close(tcp);
            ::close(udp);
        }
    }
    if (m_port != 0) m_thread = std::thread([this] { serve(); });
}

UpdateServer::~UpdateServer() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    for (const Held& h : m_held) ::close(h.fd);
    if (m_tcp >= 0) ::close(m_tcp);
    if (m_udp >= 0) ::close(m_udp);
}

void UpdateServer::setAnswer(std::vector<uint8_t> answer) {
    std::lock_guard lock(m_mutex);
    m_answer = std::move(answer);
}

void UpdateServer::setDownload(std::vector<uint8_t> download, bool hold, size_t trickleFrom) {
    std::lock_guard lock(m_mutex);
    m_download = std::move(download);
    m_hold = hold;
    m_trickleFrom = trickleFrom;
}

std::vector<std::vector<uint8_t>> UpdateServer::queries() const {
    std::lock_guard lock(m_mutex);
    return m_queries;
}

std::vector<std::vector<uint8_t>> UpdateServer::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void UpdateServer::serve() {
    while (!m_stop) {
        pollfd p[2] = {{m_udp, POLLIN, 0}, {m_tcp, POLLIN, 0}};
        trickle();
        if (::poll(p, 2, 20) <= 0) continue;
        if (p[0].revents & POLLIN) serveQuery();
        if (p[1].revents & POLLIN) serveDownload();
    }
}

void UpdateServer::serveQuery() {
    uint8_t buffer[2048];
    sockaddr_in from{};
    socklen_t size = sizeof from;
    ssize_t n =
        ::recvfrom(m_udp, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
    if (n <= 0) return;
    std::lock_guard lock(m_mutex);
    m_queries.emplace_back(buffer, buffer + n);
    if (!m_answer.empty())
        ::sendto(m_udp, m_answer.data(), m_answer.size(), 0, reinterpret_cast<sockaddr*>(&from),
                 size);
}

void UpdateServer::serveDownload() {
    int client = ::accept4(m_tcp, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    ++m_connections;
    uint8_t buffer[2048];
    pollfd p{client, POLLIN, 0};
    ssize_t n = ::poll(&p, 1, 2000) > 0 ? ::recv(client, buffer, sizeof buffer, 0) : 0;
    std::lock_guard lock(m_mutex);
    if (n > 0) m_requests.emplace_back(buffer, buffer + n);
    const size_t now = m_hold ? std::min(m_trickleFrom, m_download.size()) : m_download.size();
    size_t sent = 0;
    while (sent < now) {
        ssize_t k = ::send(client, m_download.data() + sent, now - sent, MSG_NOSIGNAL);
        if (k <= 0) break;
        sent += static_cast<size_t>(k);
    }
    if (m_hold)
        m_held.push_back({client, sent});
    else
        ::close(client);
}

void UpdateServer::trickle() {
    std::lock_guard lock(m_mutex);
    for (Held& h : m_held)
        if (h.sent < m_download.size() &&
            ::send(h.fd, m_download.data() + h.sent, 1, MSG_NOSIGNAL | MSG_DONTWAIT) == 1)
            ++h.sent;
}
