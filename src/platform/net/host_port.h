#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "HOST", "HOST:PORT", "[IPv6]" or "[IPv6]:PORT" as an option or setting
// gives a server. An IPv6 literal without brackets is a host without a port.
struct HostPort {
    std::string host;
    uint16_t port = 0;

    // Nothing for an empty host, unbalanced brackets, or a port that is not
    // 1 to 65535 in plain decimal digits.
    static std::optional<HostPort> parse(std::string_view text, uint16_t defaultPort);
};
