#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/net/socket_address.h"

// One host name resolved on a thread of its own, so that whoever waits for it
// can give up at once: a name server that never answers cannot hold a Stop.
// An abandoned lookup ends by itself and touches nothing but its own result.
class NameLookup {
public:
    using Resolver = std::function<std::optional<SocketAddress>(const std::string&)>;
    // Waits ms on the caller's clock; false when the caller is stopping.
    using Wait = std::function<bool(uint32_t ms)>;
    enum class State { Pending, Found, Failed };

    static constexpr uint32_t kSliceMs = 20;
    static constexpr uint32_t kFirstRetryMs = 1000;
    static constexpr uint32_t kLastRetryMs = 30000;

    NameLookup(std::string host, Resolver resolver);

    State state() const;
    // The address once found; empty before.
    SocketAddress address() const;

    // Looks the name up until it is found; one that does not resolve is asked
    // again after 1 s, then twice as long each time up to 30 s. Nothing when
    // wait says stop, also while a lookup hangs.
    static std::optional<SocketAddress> untilFound(const std::string& host,
                                                   const Resolver& resolver, const Wait& wait);

private:
    struct Result;
    std::shared_ptr<Result> m_result;
};
