#pragma once

#include <string>
#include <string_view>
#include <vector>

// The checks every TCP request passes before it reaches the API: the Host it
// names must be one we listen as (so that a name rebound to our address is
// refused), an Origin it carries must be that host over http (so that no other
// site's page can reach us), and it must show the bearer token.
class RequestGuard {
public:
    enum class Verdict { Allowed, BadHost, BadOrigin, NoToken };

    struct Request {
        std::string_view host;
        std::string_view origin;         // empty when the request has none
        std::string_view authorization;  // the header's value
        std::string_view queryToken;     // "token" of the query, for browsers' WebSockets
        bool needsToken = true;
    };

    RequestGuard(std::string token, std::vector<std::string> hosts);

    Verdict check(const Request& request) const;
    // The Host values a listener on address:port answers to; a listener on
    // every address answers to any address written as numbers.
    static std::vector<std::string> hostsFor(const std::string& address, unsigned port);
    void addHosts(const std::vector<std::string>& hosts);

private:
    bool knownHost(std::string_view host) const;

    std::string m_token;
    std::vector<std::string> m_hosts;
    std::vector<std::string> m_anyAddressPorts;  // ":PORT" of listeners on every address
};
