// Addresses as options give them and as the socket calls take them; only
// numeric addresses, so nothing asks a name server.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <optional>

#include "platform/net/host_port.h"
#include "platform/net/net_address.h"
#include "platform/net/socket_address.h"

TEST(HostPortTest, NamesAddressesAndBracketedIpv6) {
    struct Case {
        const char* text;
        const char* host;  // null: refused
        uint16_t port;
    } cases[] = {
        {"relay.lan", "relay.lan", 7},
        {"relay.lan:11742", "relay.lan", 11742},
        {"127.0.0.1:65535", "127.0.0.1", 65535},
        {"[::1]:8080", "::1", 8080},
        {"[fe80::1%eth0]", "fe80::1%eth0", 7},
        {"fe80::1", "fe80::1", 7},
        {"relay.lan:0", nullptr, 0},
        {"relay.lan:65536", nullptr, 0},
        {"relay.lan: 80", nullptr, 0},
        {"relay.lan:+80", nullptr, 0},
        {"relay.lan:", nullptr, 0},
        {":80", nullptr, 0},
        {"[::1", nullptr, 0},
        {"[::1]x", nullptr, 0},
        {"[]:80", nullptr, 0},
        {"", nullptr, 0},
    };
    for (const Case& c : cases) {
        std::optional<HostPort> parsed = HostPort::parse(c.text, 7);
        ASSERT_EQ(parsed.has_value(), c.host != nullptr) << c.text;
        if (!parsed) continue;
        EXPECT_EQ(parsed->host, c.host) << c.text;
        EXPECT_EQ(parsed->port, c.port) << c.text;
    }
}

TEST(SocketAddressTest, ResolvesBothFamiliesOrOnlyIpv4) {
    struct Case {
        const char* host;
        bool ipv4Only;
        int family;  // 0: nothing found
    } cases[] = {
        {"127.0.0.1", false, AF_INET},
        {"::1", false, AF_INET6},
        {"127.0.0.1", true, AF_INET},
        {"::1", true, 0},
    };
    for (const Case& c : cases) {
        std::optional<SocketAddress> found =
            c.ipv4Only ? SocketAddress::resolveIpv4(c.host) : SocketAddress::resolve(c.host);
        EXPECT_EQ(found ? found->family() : 0, c.family) << c.host << " " << c.ipv4Only;
        if (!found) continue;
        SocketAddress withPort = found->withPort(24502);
        EXPECT_EQ(withPort.port(), 24502) << c.host;
        EXPECT_EQ(withPort.ipv4().has_value(), c.family == AF_INET) << c.host;
    }
    EXPECT_EQ(SocketAddress(NetAddress{NetAddress::kLoopback, 9}).ipv4(),
              (NetAddress{NetAddress::kLoopback, 9}));
}
