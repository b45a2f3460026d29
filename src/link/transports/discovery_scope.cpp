#include "link/transports/discovery_scope.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstdlib>

#include "platform/net/net_address.h"

namespace {
constexpr uint32_t kSweepMask = 0xFFFFFF00;

bool isMulticastOrReserved(uint32_t ip) {
    return ip >> 28 >= 0xE;
}

bool isHostOf(const DiscoveryScope::Subnet& s, uint32_t ip) {
    uint32_t host = ip & ~s.mask;
    return s.contains(ip) && host != 0 && host != ~s.mask && ip != s.address &&
           !isMulticastOrReserved(ip);
}
}  // namespace

std::optional<DiscoveryScope::Subnet> DiscoveryScope::Subnet::parse(const std::string& text) {
    size_t slash = text.find('/');
    if (slash == std::string::npos) return std::nullopt;
    std::string address = text.substr(0, slash);
    std::string bits = text.substr(slash + 1);
    in_addr literal{};
    if (::inet_pton(AF_INET, address.c_str(), &literal) != 1 ||
        isMulticastOrReserved(ntohl(literal.s_addr)))
        return std::nullopt;
    char* end = nullptr;
    long n = std::strtol(bits.c_str(), &end, 10);
    if (bits.empty() || *end || n < 8 || n > 30) return std::nullopt;
    return Subnet{ntohl(literal.s_addr), ~uint32_t{0} << (32 - n)};
}

bool DiscoveryScope::isPrivate(uint32_t ip) {
    return (ip >> 24) == 10 || (ip >> 20) == (ipv4Of(172, 16, 0, 0) >> 20) ||
           (ip >> 16) == (ipv4Of(192, 168, 0, 0) >> 16);
}

std::vector<DiscoveryScope::Subnet> DiscoveryScope::localSubnets() {
    std::vector<Subnet> found;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return found;
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || !i->ifa_netmask || i->ifa_addr->sa_family != AF_INET) continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
        Subnet s{ntohl(reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr),
                 ntohl(reinterpret_cast<sockaddr_in*>(i->ifa_netmask)->sin_addr.s_addr)};
        // A public or tunnelled network is someone else's to sweep.
        if (isPrivate(s.address) && s.mask != 0 && (i->ifa_flags & IFF_POINTOPOINT) == 0 &&
            std::find(found.begin(), found.end(), s) == found.end())
            found.push_back(s);
    }
    ::freeifaddrs(list);
    return found;
}

bool DiscoveryScope::covers(uint32_t ip) const {
    return std::any_of(m_subnets.begin(), m_subnets.end(),
                       [ip](const Subnet& s) { return isHostOf(s, ip); });
}

bool DiscoveryScope::accepts(uint32_t source, uint32_t reported) const {
    return source == reported && covers(reported);
}

std::vector<uint32_t> DiscoveryScope::sweepTargets() const {
    std::vector<uint32_t> targets;
    for (const Subnet& s : m_subnets) {
        uint32_t mask = s.mask | kSweepMask;
        Subnet part{s.address, mask};
        for (uint32_t host = 1; host < (~mask & 0xFF); ++host) {
            uint32_t ip = (s.address & mask) | host;
            if (isHostOf(part, ip) && isHostOf(s, ip) &&
                std::find(targets.begin(), targets.end(), ip) == targets.end())
                targets.push_back(ip);
        }
    }
    return targets;
}

uint32_t DiscoveryScope::ownAddressFor(uint32_t ip) const {
    for (const Subnet& s : m_subnets)
        if (s.contains(ip)) return s.address;
    return 0;
}
