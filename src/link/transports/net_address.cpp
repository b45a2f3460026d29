#include "link/transports/net_address.h"

#include <arpa/inet.h>
#include <netdb.h>

#include "link/host_port.h"

std::string NetAddress::text(uint32_t ip) {
    return std::to_string(ip >> 24) + "." + std::to_string(ip >> 16 & 0xFF) + "." +
           std::to_string(ip >> 8 & 0xFF) + "." + std::to_string(ip & 0xFF);
}

std::optional<uint32_t> NetAddress::resolve(const std::string& host) {
    in_addr literal{};
    if (::inet_pton(AF_INET, host.c_str(), &literal) == 1) return ntohl(literal.s_addr);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return std::nullopt;
    uint32_t ip = ntohl(reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return ip;
}

bool NetAddress::splitHostPort(const std::string& text, std::string& host, uint16_t& port,
                               uint16_t defaultPort) {
    std::optional<HostPort> parsed = HostPort::parse(text, defaultPort);
    host = parsed ? parsed->host : std::string();
    port = parsed ? parsed->port : defaultPort;
    return parsed.has_value();
}
