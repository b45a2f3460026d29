#pragma once

#include <memory>
#include <string>
#include <vector>

#include "daemon/server_limits.h"

class ApiRouter;
class DaemonUi;

// The daemon's server: HTTP/1.1 and the events WebSocket on TCP listeners
// (guarded by Host, Origin and the token) and on a Unix socket (mode 0600, no
// token), all served by one thread. Link events reach every event client.
class HttpServer {
public:
    struct Listen {
        std::string address;
        unsigned port = 0;  // 0: any free port (see ports())
    };
    struct Config {
        std::vector<Listen> tcp;
        std::string unixPath;  // empty: none
        std::string token;
        ServerLimits limits;
    };

    HttpServer(ApiRouter& router, DaemonUi& ui, Config config);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds every listener and starts the thread; false, with a message, when one cannot be bound.
    bool start(std::string& error);
    void stop();
    // The bound port of each TCP listener, in the order configured.
    std::vector<unsigned> ports() const;
    // From any thread: sends a text to every event client.
    void broadcast(const std::string& text);
    size_t connections() const;

private:
    struct Inner;
    std::unique_ptr<Inner> m_inner;
};
