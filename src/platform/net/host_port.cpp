#include "platform/net/host_port.h"

#include <algorithm>

namespace {
std::optional<uint16_t> portOf(std::string_view digits) {
    if (digits.empty() || digits.size() > 5 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    unsigned value = 0;
    for (char c : digits) value = value * 10 + static_cast<unsigned>(c - '0');
    if (value < 1 || value > 65535) return std::nullopt;
    return static_cast<uint16_t>(value);
}
}  // namespace

std::optional<HostPort> HostPort::parse(std::string_view text, uint16_t defaultPort) {
    HostPort out{std::string(text), defaultPort};
    std::string_view rest;
    if (!text.empty() && text.front() == '[') {
        size_t close = text.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        out.host = std::string(text.substr(1, close - 1));
        rest = text.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') return std::nullopt;
    } else {
        size_t colon = text.find(':');
        // Two colons or more: an IPv6 address, which has no port without brackets.
        if (colon != std::string_view::npos &&
            text.find(':', colon + 1) == std::string_view::npos) {
            out.host = std::string(text.substr(0, colon));
            rest = text.substr(colon);
        }
    }
    if (!rest.empty()) {
        std::optional<uint16_t> port = portOf(rest.substr(1));
        if (!port) return std::nullopt;
        out.port = *port;
    }
    if (out.host.empty() || out.host.find_first_of("[]") != std::string::npos) return std::nullopt;
    return out;
}
