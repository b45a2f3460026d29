#pragma once

#include <cstdint>
#include <optional>
#include <string>

inline constexpr uint32_t ipv4Of(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return uint32_t{a} << 24 | uint32_t{b} << 16 | uint32_t{c} << 8 | d;
}

// An IPv4 address (first octet in the most significant byte) and a port.
struct NetAddress {
    uint32_t ip = 0;
    uint16_t port = 0;

    static constexpr uint32_t ipv4(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
        return ipv4Of(a, b, c, d);
    }
    static constexpr uint32_t kLoopback = ipv4Of(127, 0, 0, 1);
    static constexpr uint32_t kBroadcast = 0xFFFFFFFF;

    static bool isLoopback(uint32_t ip) { return ip >> 24 == 127; }
    static std::string text(uint32_t ip);
    // A dotted address or a host name; nothing when it does not resolve.
    static std::optional<uint32_t> resolve(const std::string& host);
    // "HOST[:PORT]"; the port is defaultPort when not given. False for an empty
    // host or a port that is not 1 to 65535.
    static bool splitHostPort(const std::string& text, std::string& host, uint16_t& port,
                              uint16_t defaultPort);

    bool operator==(const NetAddress&) const = default;
};
