#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

// Plain clients of qx7d for the tests: one request per connection over
// loopback TCP or the Unix socket, and an events WebSocket that collects
// what arrives on a thread of its own.
namespace testhttp {

using Headers = std::vector<std::pair<std::string, std::string>>;

struct Reply {
    int status = 0;  // 0: the connection ended without an answer
    std::string body;
    nlohmann::json json() const { return nlohmann::json::parse(body, nullptr, false); }
};

// Host is 127.0.0.1:port unless headers name one.
Reply tcp(unsigned port, const std::string& method, const std::string& target,
          const std::string& body = {}, const Headers& headers = {});
Reply local(const std::string& socket, const std::string& method, const std::string& target,
            const std::string& body = {});
// Raw bytes to the port; what comes back until the server closes.
std::string raw(unsigned port, const std::string& bytes);

class Events {
public:
    // Opens /api/v1/events with the token in the query; reading starts unless told not to.
    Events(unsigned port, const std::string& token, bool read = true);
    ~Events();
    bool open() const { return m_open; }
    // Texts received so far.
    std::vector<std::string> texts() const;
    // Whether an event of the type has arrived; for index 0 or more, only
    // one of that parameter with that value counts.
    bool received(const std::string& type, int index = -1, int value = 0) const;

private:
    struct Socket;
    std::unique_ptr<Socket> m_socket;
    bool m_open = false;
    mutable std::mutex m_mutex;
    std::deque<std::string> m_texts;
    std::thread m_reader;
};

}  // namespace testhttp
