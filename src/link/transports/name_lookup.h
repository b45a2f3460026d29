#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// One host name resolved on a thread of its own, so that whoever waits for it
// can give up at once: a name server that never answers cannot hold a Stop.
// An abandoned lookup ends by itself and touches nothing but its own result.
class NameLookup {
public:
    using Resolver = std::function<std::optional<uint32_t>(const std::string&)>;
    enum class State { Pending, Found, Failed };

    NameLookup(std::string host, Resolver resolver);

    State state() const;
    // The address once found; 0 before.
    uint32_t address() const;

private:
    struct Result;
    std::shared_ptr<Result> m_result;
};
