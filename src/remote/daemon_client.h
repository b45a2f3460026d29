#pragma once

#include <chrono>
#include <string>

// A client of a running qx7d, for the programs that go through it instead of
// owning the device: one request per connection, over its Unix socket or TCP.
class DaemonClient {
public:
    struct Reply {
        int status = 0;     // 0: qx7d was not reached (see error)
        std::string body;   // JSON, or a preset file's bytes
        std::string error;  // what went wrong on the way
    };

    static constexpr const char* kTokenFile = "qx7d.token";

    // target: empty for the default socket, "http://HOST:PORT[/][#token=TOKEN]"
    // for TCP (without a token in it the token file's is used), else the path
    // of a socket. False, with a message, when it is none of these.
    bool configure(const std::string& target, std::string& error);
    Reply request(const std::string& method, const std::string& path,
                  const std::string& body = {}) const;
    // Connecting, sending and the whole answer together; a job the daemon runs
    // before it answers (a mode recall) fits well inside the default.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // Where qx7d is: the socket's path or host:port.
    const std::string& where() const { return m_tcp ? m_host : m_socket; }
    // How to reach it, for a connection of one's own (the events).
    bool tcp() const { return m_tcp; }
    const std::string& socketPath() const { return m_socket; }
    const std::string& hostPort() const { return m_host; }
    const std::string& address() const { return m_address; }
    const std::string& port() const { return m_port; }
    const std::string& token() const { return m_token; }
    // The error message of a reply that is not 200: the daemon's, or the status.
    static std::string problem(const Reply& reply);

    static std::string defaultSocket();
    static std::string tokenPath();

private:
    bool m_tcp = false;
    std::string m_socket;
    std::string m_host;  // host:port
    std::string m_address;
    std::string m_port;
    std::string m_token;
    std::chrono::milliseconds m_timeout{30000};
};
