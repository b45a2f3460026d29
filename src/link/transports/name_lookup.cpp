#include "link/transports/name_lookup.h"

#include <atomic>
#include <thread>

struct NameLookup::Result {
    std::atomic<State> state{State::Pending};
    std::atomic<uint32_t> address{0};
};

NameLookup::NameLookup(std::string host, Resolver resolver) : m_result(std::make_shared<Result>()) {
    std::thread([result = m_result, host = std::move(host), resolver = std::move(resolver)] {
        std::optional<uint32_t> ip = resolver(host);
        result->address = ip.value_or(0);
        result->state = ip ? State::Found : State::Failed;
    }).detach();
}

NameLookup::State NameLookup::state() const {
    return m_result->state;
}

uint32_t NameLookup::address() const {
    return m_result->address;
}
