#include "daemon/request_guard.h"

#include <algorithm>
#include <cctype>

#include "daemon/access_token.h"

namespace {

constexpr std::string_view kWildcardMark = "*";

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// An address written as numbers cannot be rebound by a DNS answer.
bool numericHost(std::string_view host) {
    if (host.empty()) return false;
    if (host.front() == '[') return host.back() == ']';
    return std::all_of(host.begin(), host.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

}  // namespace

RequestGuard::RequestGuard(std::string token, std::vector<std::string> hosts)
    : m_token(std::move(token)) {
    addHosts(hosts);
}

void RequestGuard::addHosts(const std::vector<std::string>& hosts) {
    for (const std::string& h : hosts) {
        if (h.rfind(kWildcardMark, 0) == 0)
            m_anyAddressPorts.push_back(h.substr(1));
        else
            m_hosts.push_back(lower(h));
    }
}

std::vector<std::string> RequestGuard::hostsFor(const std::string& address, unsigned port) {
    std::string p = ":" + std::to_string(port);
    if (address == "0.0.0.0" || address == "::") return {std::string(kWildcardMark) + p};
    std::string written = address.find(':') != std::string::npos ? "[" + address + "]" : address;
    std::vector<std::string> hosts{written + p};
    if (address == "127.0.0.1" || address == "::1") hosts.push_back("localhost" + p);
    return hosts;
}

bool RequestGuard::knownHost(std::string_view host) const {
    std::string h = lower(host);
    if (std::find(m_hosts.begin(), m_hosts.end(), h) != m_hosts.end()) return true;
    size_t colon = h.rfind(':');
    if (colon == std::string::npos) return false;
    std::string port = h.substr(colon);
    return numericHost(std::string_view(h).substr(0, colon)) &&
           std::find(m_anyAddressPorts.begin(), m_anyAddressPorts.end(), port) !=
               m_anyAddressPorts.end();
}

RequestGuard::Verdict RequestGuard::check(const Request& request) const {
    if (!knownHost(request.host)) return Verdict::BadHost;
    if (!request.origin.empty()) {
        constexpr std::string_view kScheme = "http://";
        std::string origin = lower(request.origin);
        if (origin.rfind(kScheme, 0) != 0 || origin.substr(kScheme.size()) != lower(request.host))
            return Verdict::BadOrigin;
    }
    if (!request.needsToken) return Verdict::Allowed;
    std::string_view given = AccessToken::fromAuthorization(request.authorization);
    if (given.empty()) given = request.queryToken;
    return AccessToken::matches(m_token, given) ? Verdict::Allowed : Verdict::NoToken;
}
