#include "platform/net/name_lookup.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

struct NameLookup::Result {
    std::atomic<State> state{State::Pending};
    std::mutex mutex;
    SocketAddress address;
};

NameLookup::NameLookup(std::string host, Resolver resolver) : m_result(std::make_shared<Result>()) {
    std::jthread([result = m_result, host = std::move(host), resolver = std::move(resolver)] {
        std::optional<SocketAddress> found = resolver(host);
        if (found) {
            std::lock_guard lock(result->mutex);
            result->address = *found;
        }
        result->state = found ? State::Found : State::Failed;
    }).detach();
}

NameLookup::State NameLookup::state() const {
    return m_result->state;
}

SocketAddress NameLookup::address() const {
    std::lock_guard lock(m_result->mutex);
    return m_result->address;
}

std::optional<SocketAddress> NameLookup::untilFound(const std::string& host,
                                                    const Resolver& resolver, const Wait& wait) {
    for (uint32_t retryMs = kFirstRetryMs;; retryMs = std::min(retryMs * 2, kLastRetryMs)) {
        NameLookup lookup(host, resolver);
        while (lookup.state() == State::Pending)
            if (!wait(kSliceMs)) return std::nullopt;
        if (lookup.state() == State::Found) return lookup.address();
        if (!wait(retryMs)) return std::nullopt;
    }
}
