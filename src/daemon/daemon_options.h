#pragma once

#include <string>
#include <vector>

#include "daemon/http_server.h"

// The command line of qx7d apart from the transport options (TransportChoice
// takes those out first).
struct DaemonOptions {
    static constexpr unsigned kDefaultPort = 8437;

    std::vector<HttpServer::Listen> listen;  // empty after parse: 127.0.0.1:kDefaultPort
    std::string socketPath;                  // empty after parse: none
    std::string tokenPath;
    bool noTcp = false;
    bool noSocket = false;
    bool newToken = false;
    bool quiet = false;
    bool help = false;

    // Empty when the line was understood, else what is wrong with it. Fills
    // in the defaults: the listener, the socket in runtimeFolder, the token file.
    static std::string parse(const std::vector<std::string>& args, const std::string& runtimeFolder,
                             DaemonOptions& out);
    // "ADDR:PORT" or "[ADDR]:PORT"; false when it is neither.
    static bool parseListen(const std::string& text, HttpServer::Listen& out);
    static const char* usage();
};
