#include "platform/net/net_address.h"

#include "platform/net/host_port.h"
#include "platform/net/socket_address.h"

std::string NetAddress::text(uint32_t ip) {
    return std::to_string(ip >> 24) + "." + std::to_string(ip >> 16 & 0xFF) + "." +
           std::to_string(ip >> 8 & 0xFF) + "." + std::to_string(ip & 0xFF);
}

std::optional<uint32_t> NetAddress::resolve(const std::string& host) {
    std::optional<SocketAddress> found = SocketAddress::resolveIpv4(host);
    if (!found) return std::nullopt;
    return found->ipv4()->ip;
}

bool NetAddress::splitHostPort(const std::string& text, std::string& host, uint16_t& port,
                               uint16_t defaultPort) {
    std::optional<HostPort> parsed = HostPort::parse(text, defaultPort);
    host = parsed ? parsed->host : std::string();
    port = parsed ? parsed->port : defaultPort;
    return parsed.has_value();
}
