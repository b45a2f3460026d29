#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The networks the Wi-Fi module is looked for on, each an interface's own
// address and netmask, and which answers to "Get_IP:" may be believed.
class DiscoveryScope {
public:
    struct Subnet {
        uint32_t address = 0;  // the PC's own address on it
        uint32_t mask = 0;

        bool contains(uint32_t ip) const { return (ip & mask) == (address & mask); }
        // "A.B.C.D/BITS" with BITS 8 to 30.
        static std::optional<Subnet> parse(const std::string& text);
        bool operator==(const Subnet&) const = default;
    };

    // The machine's private-range IPv4 interfaces that are up (getifaddrs).
    static std::vector<Subnet> localSubnets();
    // 10/8, 172.16/12, 192.168/16.
    static bool isPrivate(uint32_t ip);

    DiscoveryScope() = default;
    explicit DiscoveryScope(std::vector<Subnet> subnets) : m_subnets(std::move(subnets)) {}

    const std::vector<Subnet>& subnets() const { return m_subnets; }
    // A "Get_IP:" reply is believed only from the address it reports, and
    // only for a host of one of the subnets other than the PC itself.
    bool accepts(uint32_t source, uint32_t reported) const;
    bool covers(uint32_t ip) const;
    // The hosts the sweep asks: every host of each subnet, but of a subnet
    // wider than /24 only the /24 around the PC's own address.
    std::vector<uint32_t> sweepTargets() const;
    // The PC's own address on the subnet holding ip; 0 when none does.
    uint32_t ownAddressFor(uint32_t ip) const;

private:
    std::vector<Subnet> m_subnets;
};
